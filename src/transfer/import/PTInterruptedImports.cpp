#include "transfer/import/PTInterruptedImports.h"

#include "library/PTLibraryController.h"
#include "library/entities/PTCollection.h"
#include "library/entities/PTGroup.h"
#include "library/entities/PTItem.h"
#include "library/store/ContextAdditions.h"
#include "library/store/PTStoreFunctions.h"
#include "library/upkeep/PTLibraryShell.h"
#include "platform/runtime/DispatchQueue.h"
#include "platform/store/Predicate.h"
#include "platform/store/StoreCoordinator.h"
#include "transfer/import/PTImportJournal.h"
#include "transfer/import/PackageSetFolder.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

using pt::store::ManagedObject;
using pt::store::ObjectContext;
using pt::store::ObjectID;

namespace {

struct Kept {
    qint64 items = 0;
    QSet<ObjectID> sets;
};

QString counted(qint64 count, const QString& one, const QString& several)
{
    return count == 1 ? one : several.arg(count);
}

QString keptText(const Kept& kept)
{
    if (kept.items == 0)
        return PTInterruptedImports::NothingKeptMessage;
    const QString items = counted(kept.items, QStringLiteral("1 icon"), QStringLiteral("%1 icons"));
    const QString sets = counted(kept.sets.size(), QStringLiteral("1 set"), QStringLiteral("%1 sets"));
    return (kept.items == 1 ? PTInterruptedImports::KeptOneMessage : PTInterruptedImports::KeptMessage).arg(items, sets);
}

PTCollection* setWithIdentifier(ObjectContext& context, const QString& identifier)
{
    pt::store::FetchRequest request;
    request.entityName = PTCollection::EntityName;
    request.predicate = *pt::store::Predicate::parse(QStringLiteral("identifier=%@"), {identifier});
    const auto found = context.fetch(request);
    return found && !found->isEmpty() ? PTCollection::from(found->front()) : nullptr;
}

// Removes the copied files that no item of their folder's set names, and counts the ones that stay. Only files
// made after the import began are its own: a name it found taken was another file's.
void removeUnnamedFiles(ObjectContext& context, const QString& libraryPath, const PTImportJournal::Entries& entries,
                        Kept& kept)
{
    QHash<QString, QSet<QString>> byFolder;
    for (const QString& file : entries.files)
        byFolder[QFileInfo(QFileInfo(file).path()).fileName()].insert(QFileInfo(file).fileName());
    for (auto it = byFolder.cbegin(); it != byFolder.cend(); ++it) {
        const PackageSetFolder folder(libraryPath, it.key());
        if (!folder.isOpen())
            continue;
        PTCollection* set = setWithIdentifier(context, it.key());
        QSet<QString> named;
        for (PTItem* item : set ? set->items() : QVector<PTItem*>())
            named.insert(item->newFileName());
        for (const QString& file : it.value()) {
            const std::optional<QDateTime> changed = folder.changeTime(file);
            if (!changed || !entries.began.isValid() || *changed < entries.began)
                continue;
            if (!named.contains(file)) {
                folder.remove(file);
            } else {
                ++kept.items;
                kept.sets.insert(set->objectID());
            }
        }
        // The folder of a set that was never stored.
        if (!set)
            folder.removeIfEmpty();
    }
}

// Removes the sets and groups the import made that hold nothing. Children were made after their parents: walking
// backwards removes a group's empty sets and groups before the group is looked at.
void removeEmptyContainers(ObjectContext& context, const QString& libraryPath, const QStringList& containers)
{
    const std::shared_ptr<pt::store::StoreCoordinator> coordinator = context.sharedCoordinator();
    for (auto uri = containers.crbegin(); uri != containers.crend(); ++uri) {
        const std::optional<ObjectID> id = coordinator->objectIDForUri(*uri);
        ManagedObject* object = id ? context.existingObjectWithID(*id) : nullptr;
        if (PTCollection* set = PTCollection::from(object); set && set->items().isEmpty()) {
            PackageSetFolder(libraryPath, set->computedIdentifier()).removeIfEmpty();
            context.deleteObject(set);
        } else if (PTGroup* group = PTGroup::from(object);
                   group && group->sets().isEmpty() && group->groups().isEmpty()) {
            context.deleteObject(group);
        }
    }
}

void tell(qsizetype interrupted, const Kept& kept)
{
    const std::shared_ptr<PTLibraryShell> shell = PTLibraryShell::installed();
    if (!shell)
        return;
    shell->presentAlert(interrupted == 1 ? PTInterruptedImports::AlertMessage
                                         : PTInterruptedImports::AlertMessageForSeveral.arg(interrupted),
                        keptText(kept));
}

} // namespace

void PTInterruptedImports::tidy(std::function<void()> done)
{
    const auto finish = [done = std::move(done)] {
        if (done)
            done();
    };
    const PTLibraryController* library = PTLibraryController::currentLibrary();
    const QStringList journals = library ? PTImportJournal::journalsIn(library->path()) : QStringList();
    ObjectContext* context = journals.isEmpty() ? nullptr : PTMainManagedObjectContext();
    if (!context) {
        finish();
        return;
    }
    const QString libraryPath = library->path();
    const std::shared_ptr<pt::store::StoreCoordinator> coordinator = context->sharedCoordinator();
    pt::DispatchQueue::global(pt::QueuePriority::High).async([journals, libraryPath, coordinator, finish] {
        Kept kept;
        qsizetype interrupted = 0;
        bool stored = false;
        contextAdditions::runInWorkerContext(coordinator, [&](ObjectContext& worker) {
            for (const QString& journal : journals) {
                const std::optional<PTImportJournal::Entries> entries = PTImportJournal::read(journal, libraryPath);
                if (!entries) {
                    // Not a journal we made: it goes now (a link, not what it names), or it stays for good.
                    QFile::remove(journal);
                    continue;
                }
                ++interrupted;
                removeUnnamedFiles(worker, libraryPath, *entries, kept);
                removeEmptyContainers(worker, libraryPath, entries->containers);
            }
            stored = bool(worker.save());
        });
        // Only once the removals are stored: otherwise the next launch tidies again.
        if (stored)
            for (const QString& journal : journals)
                QFile::remove(journal);
        // The merge of the save above was queued on the main thread first.
        pt::DispatchQueue::main().async([interrupted, kept, finish] {
            if (interrupted > 0)
                tell(interrupted, kept);
            finish();
        });
    });
}
