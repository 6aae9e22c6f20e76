#pragma once

#include "browser/PTBrowserSidebar.h"

#include <QPointer>

class PTSetListPlaceholder;

// Answers the icon browser for the sidebars while only their stand-ins exist: the current set and selecting
// sets come from the list of sets; the inspector has nothing to show; files open in the desktop's default
// application; the preview panel has no open-in control.
class PTSidebarPlaceholder : public PTBrowserSidebar {
public:
    explicit PTSidebarPlaceholder(PTSetListPlaceholder* sets);

    PTCollection* currentCollection() override;
    Objects selectedGroupsAndCollections() override;
    void selectItems(const Objects& objects, bool extend, std::function<void()> completion) override;
    void forceSelectionPropagation(const std::function<void()>& block) override;
    void beginEditForManagedObject(pt::store::ManagedObject* object) override;
    void setInspectedCollections(const QVector<PTCollection*>& sets, const Objects& topLevelObjects) override;
    void setInspectedItems(const QVector<PTItem*>& items, bool clearing) override;
    void reloadInspector() override;
    bool beginEditingItemName() override;
    void saveInspectedItemEdits(std::function<void()> completion) override;
    QString applicationForFiles(const QList<QUrl>& files) override;
    void openFilesInApplication(const QList<QUrl>& files, const QString& application) override;
    // None: the preview panel goes without one until the sidebar's own exists.
    OpenInControl* makeOpenInControl(QWidget* parent) override;

private:
    QPointer<PTSetListPlaceholder> sets_;
};
