#pragma once

#include "browser/PTBrowserSidebar.h"
#include "sidebar/inspector/PTInspectorColumn.h"

#include "sidebar/inspector/PTSideBarController.h"

#include <QPointer>

// Puts the inspector in the main window's right column and answers the grid's inspector questions. Installed at
// start-up before the source list, which hands these questions on to the sidebar installed before it.
class PTInspectorSidebar : public PTInspectorColumn,
                           public PTBrowserSidebar,
                           public std::enable_shared_from_this<PTInspectorSidebar> {
public:
    static void install();

    QWidget* makeColumn(QWidget* parent) override;
    void splitViewReady(std::shared_ptr<PTSideColumns> columns, bool firstLaunch) override;
    PTSideBarController* controller() const { return controller_; }

    // The source list answers these; without one there is nothing to answer.
    PTCollection* currentCollection() override { return nullptr; }
    Objects selectedGroupsAndCollections() override { return {}; }
    void selectItems(const Objects&, bool, std::function<void()> completion) override;
    void forceSelectionPropagation(const std::function<void()>& block) override;
    void beginEditForManagedObject(pt::store::ManagedObject*) override {}

    void setInspectedCollections(const QVector<PTCollection*>& sets, const Objects& topLevelObjects) override;
    void setInspectedItems(const QVector<PTItem*>& items, bool clearing) override;
    void reloadInspector() override;
    bool beginEditingItemName() override;
    void saveInspectedItemEdits(std::function<void()> completion) override;
    QString applicationForFiles(const QList<QUrl>& files) override;
    void openFilesInApplication(const QList<QUrl>& files, const QString& application) override;
    OpenInControl* makeOpenInControl(QWidget* parent) override;

private:
    QPointer<PTSideBarController> controller_;
};
