#pragma once

#include "browser/PTBrowserSidebar.h"
#include "library/bundle/PTSourceListSelection.h"
#include "sidebar/PTSourceListColumn.h"

#include <QPointer>

#include "sidebar/PTSourceListController.h"

// Puts the source list in the main window's left column and answers for it: the grid's questions about the
// current set and selection, and the library's requests to select what it made. The inspector's half of the
// grid's questions goes on to the inspector installed before, when there is one.
class PTSourceListSidebar : public PTSourceListColumn,
                            public PTBrowserSidebar,
                            public PTSourceListSelection,
                            public std::enable_shared_from_this<PTSourceListSidebar> {
public:
    // Installs one shared instance as the column; the other two roles are installed when the column is made.
    static void install();

    QWidget* makeColumn(QWidget* parent) override;
    PTSourceListController* controller() const { return controller_; }

    PTCollection* currentCollection() override;
    Objects selectedGroupsAndCollections() override;
    void selectItems(const Objects& objects, bool extend, std::function<void()> completion) override;
    void selectItems(const QVector<pt::store::ManagedObject*>& objects, bool extend) override;
    void forceSelectionPropagation(const std::function<void()>& block) override;
    void beginEditForManagedObject(pt::store::ManagedObject* object) override;
    void setInspectedCollections(const QVector<PTCollection*>& sets, const Objects& topLevelObjects) override;
    void setInspectedItems(const QVector<PTItem*>& items, bool clearing) override;
    void reloadInspector() override;
    bool beginEditingItemName() override;
    void saveInspectedItemEdits(std::function<void()> completion) override;
    QString applicationForFiles(const QList<QUrl>& files) override;
    void openFilesInApplication(const QList<QUrl>& files, const QString& application) override;
    OpenInControl* makeOpenInControl(QWidget* parent) override;

private:
    QPointer<PTSourceListController> controller_;
    std::shared_ptr<PTBrowserSidebar> inspector_;
};
