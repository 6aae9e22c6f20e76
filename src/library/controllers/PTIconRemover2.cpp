#include "library/controllers/PTIconRemover2.h"

#include "foundation/DispatchHelpers.h"
#include "library/entities/PTCollection.h"
#include "library/controllers/PTCollectionController.h"
#include "library/controllers/PTConfirmation.h"
#include "library/entities/PTGroup.h"
#include "library/controllers/PTGroupController.h"
#include "library/entities/PTItem.h"
#include "library/upkeep/PTLibraryShell.h"
#include "library/store/PTStoreFunctions.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

using pt::store::ObjectID;

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("PTIconRemover2", text);
}

pt::store::ManagedObject* resolve(const ObjectID& id)
{
    pt::store::ObjectContext* context = PTMainManagedObjectContext();
    return context ? context->existingObjectWithID(id) : nullptr;
}

// One turn of the event loop, without waiting for events.
void pump()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

template <class T>
QVector<ObjectID> idsOf(const QVector<T*>& objects)
{
    QVector<ObjectID> ids;
    ids.reserve(objects.size());
    for (T* object : objects)
        ids.append(object->objectID());
    return ids;
}

void appendOnce(QVector<ObjectID>& ids, const ObjectID& id)
{
    if (!ids.contains(id))
        ids.append(id);
}

} // namespace

bool PTIconRemover2::defaultRemovalForItems(const Objects& objects, Handler beforeRemoval, Handler completion)
{
    if (!PTConfirmation::confirm(tr("Are you sure?"), tr("Are you sure you wish to remove the selected items?"),
                                 PTCollectionController::DeleteSuppressionKey))
        return false;
    std::shared_ptr<PTProgressSheet> sheet = PTLibraryShell::presentSheet(tr("Removing Selected Items..."));
    if (beforeRemoval)
        beforeRemoval();
    std::shared_ptr<PTIconRemover2> remover = create(objects);
    remover->setCompletionHandler([sheet, completion] {
        if (sheet)
            sheet->setTitle(tr("Items Removed Successfully"));
        PTDispatchAfter(
            [sheet, completion] {
                if (sheet)
                    sheet->endSession();
                if (completion)
                    completion();
            },
            pt::DispatchQueue::main(), 1.0);
    });
    remover->process();
    return true;
}

std::shared_ptr<PTIconRemover2> PTIconRemover2::create(const Objects& objects)
{
    return std::shared_ptr<PTIconRemover2>(new PTIconRemover2(objects));
}

// Only IDs are kept: the event loop runs between the steps, and an object may be gone when its turn comes.
PTIconRemover2::PTIconRemover2(const Objects& objects) : objects_(idsOf(objects)) {}

void PTIconRemover2::process()
{
    QVector<ObjectID> items, sets, groups;
    for (const ObjectID& id : objects_) {
        pt::store::ManagedObject* object = resolve(id);
        if (PTItem::from(object)) {
            appendOnce(items, id);
        } else if (PTCollection* set = PTCollection::from(object)) {
            if (set->removeable())
                appendOnce(sets, id);
        } else if (PTGroup* group = PTGroup::from(object)) {
            appendOnce(groups, id);
            for (PTCollection* inner : PTGroupController::sharedController().collectionsForGroup(group)) {
                if (inner->removeable())
                    appendOnce(sets, inner->objectID());
            }
        }
    }
    if (!items.isEmpty())
        processItems(items);
    if (!sets.isEmpty())
        processCollections(sets);
    if (!groups.isEmpty())
        processGroups(groups);
    complete();
}

void PTIconRemover2::processItems(const QVector<ObjectID>& ids)
{
    for (const ObjectID& id : ids) {
        if (PTItem* item = PTItem::from(resolve(id))) {
            removeItem(item);
            pump();
        }
    }
    saveContextAndProcessChanges();
}

void PTIconRemover2::removeItem(PTItem* item)
{
    // An item without a usable file name has no file URL, so this never reaches the set's folder.
    const QString file = item->fileURL().toLocalFile();
    if (!file.isEmpty())
        QFile::remove(file);
    item->setLicence(nullptr);
    item->setCollection(nullptr);
    PTMainManagedObjectContext()->deleteObject(item);
}

void PTIconRemover2::processCollections(const QVector<ObjectID>& ids)
{
    for (const ObjectID& id : ids)
        removeCollection(id);
    saveContextAndProcessChanges();
}

void PTIconRemover2::removeCollection(const ObjectID& id)
{
    // Items that joined the set while its items were being removed (a merge in one of the turns) go too.
    PTCollection* set = PTCollection::from(resolve(id));
    if (!set || !set->removeable())
        return;
    while (set && !set->items().isEmpty()) {
        processItems(idsOf(set->items()));
        set = PTCollection::from(resolve(id));
    }
    if (!set)
        return;
    PTGroup* parent = set->group();
    set->setLicence(nullptr);
    set->setGroup(nullptr);
    PTCollectionController::sharedController().removeCollection(set);
    if (const QString folder = set->formattedDirectory(); !folder.isEmpty())
        QDir(folder).removeRecursively();
    PTMainManagedObjectContext()->deleteObject(set);
    PTGroupController::sharedController().purgeGroup(parent);
    pump();
}

void PTIconRemover2::processGroups(const QVector<ObjectID>& ids)
{
    QSet<ObjectID> visited;
    for (const ObjectID& id : ids)
        removeGroup(id, visited);
    saveContextAndProcessChanges();
}

// Depth first, one child at a time and looked up afresh after each, so that a group goes only when empty.
void PTIconRemover2::removeGroup(const ObjectID& id, QSet<ObjectID>& visited)
{
    if (visited.contains(id))
        return;
    visited.insert(id);
    for (;;) {
        PTGroup* group = PTGroup::from(resolve(id));
        if (!group)
            return;
        ObjectID next;
        bool nextIsGroup = false;
        for (PTGroup* child : group->groups()) {
            if (!visited.contains(child->objectID())) {
                next = child->objectID();
                nextIsGroup = true;
                break;
            }
        }
        if (!nextIsGroup) {
            for (PTCollection* set : group->sets()) {
                if (set->removeable()) {
                    next = set->objectID();
                    break;
                }
            }
        }
        if (next.isNull())
            break;
        if (nextIsGroup)
            removeGroup(next, visited);
        else
            removeCollection(next);
    }
    PTGroup* group = PTGroup::from(resolve(id));
    if (!group)
        return;
    // Left are only what may not go (the Miscellaneous set) or a group above this one in a looped tree: both
    // move to the top level rather than hang on to a deleted group.
    for (PTCollection* set : group->sets())
        set->setGroup(nullptr);
    for (PTGroup* child : group->groups())
        child->setGroup(nullptr);
    PTGroupController::sharedController().removeGroup(group);
    PTMainManagedObjectContext()->deleteObject(group);
    pump();
}

void PTIconRemover2::saveContextAndProcessChanges()
{
    if (pt::store::ObjectContext* context = PTMainManagedObjectContext())
        context->processPendingChanges();
    PTSaveManagedObjectContext();
    pump();
}

void PTIconRemover2::complete()
{
    auto self = shared_from_this();
    PTSaveManagedObjectContextWithCompletion([self](const pt::Error&) {
        PTDispatchAfter([self] { self->runComplete(); }, pt::DispatchQueue::main(), 0.0);
    });
}

void PTIconRemover2::runComplete()
{
    if (const std::shared_ptr<PTLibraryShell> shell = PTLibraryShell::installed())
        shell->postNotice(tr("Items Removed"), tr("Your items were successfully removed."));
    if (completionHandler_)
        completionHandler_();
}
