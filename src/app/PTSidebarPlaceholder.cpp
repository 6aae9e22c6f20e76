#include "app/PTSidebarPlaceholder.h"

#include "app/PTSetListPlaceholder.h"

#include <QDesktopServices>

PTSidebarPlaceholder::PTSidebarPlaceholder(PTSetListPlaceholder* sets)
    : sets_(sets)
{
}

PTCollection* PTSidebarPlaceholder::currentCollection()
{
    const QVector<PTCollection*> selected = sets_ ? sets_->selectedSets() : QVector<PTCollection*>();
    return selected.size() == 1 ? selected.first() : nullptr;
}

PTBrowserSidebar::Objects PTSidebarPlaceholder::selectedGroupsAndCollections()
{
    Objects objects;
    if (sets_)
        for (PTCollection* set : sets_->selectedSets())
            objects.append(set);
    return objects;
}

void PTSidebarPlaceholder::selectItems(const Objects& objects, bool extend, std::function<void()> completion)
{
    if (sets_) {
        QVector<PTCollection*> sets;
        for (pt::store::ManagedObject* object : objects) {
            if (auto* set = PTCollection::from(object))
                sets.append(set);
        }
        sets_->selectSets(sets, extend);
    }
    if (completion)
        completion();
}

void PTSidebarPlaceholder::forceSelectionPropagation(const std::function<void()>& block)
{
    block();
    if (sets_)
        sets_->propagateSelection();
}

// The list of sets renames nothing, and there is no inspector yet: these requests have no one to go to.
void PTSidebarPlaceholder::beginEditForManagedObject(pt::store::ManagedObject*) {}
void PTSidebarPlaceholder::setInspectedCollections(const QVector<PTCollection*>&, const Objects&) {}
void PTSidebarPlaceholder::setInspectedItems(const QVector<PTItem*>&, bool) {}
void PTSidebarPlaceholder::reloadInspector() {}

void PTSidebarPlaceholder::saveInspectedItemEdits(std::function<void()> completion)
{
    completion();
}

bool PTSidebarPlaceholder::beginEditingItemName()
{
    return false;
}

QString PTSidebarPlaceholder::applicationForFiles(const QList<QUrl>&)
{
    return {};
}

void PTSidebarPlaceholder::openFilesInApplication(const QList<QUrl>& files, const QString&)
{
    for (const QUrl& file : files)
        QDesktopServices::openUrl(file);
}

PTBrowserSidebar::OpenInControl* PTSidebarPlaceholder::makeOpenInControl(QWidget*)
{
    return nullptr;
}
