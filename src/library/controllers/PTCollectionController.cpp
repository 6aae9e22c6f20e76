#include "library/controllers/PTCollectionController.h"

#include "foundation/DispatchHelpers.h"
#include "foundation/StringAdditions.h"
#include "library/store/ContextAdditions.h"
#include "library/entities/EntityValues.h"
#include "library/ImportNaming.h"
#include "library/entities/PTCollection.h"
#include "library/entities/PTGroup.h"
#include "library/controllers/PTConfirmation.h"
#include "library/controllers/PTGroupController.h"
#include "library/controllers/PTIconRemover.h"
#include "library/entities/PTItem.h"
#include "library/PTLibraryController.h"
#include "library/upkeep/PTLibraryShell.h"
#include "library/controllers/PTMenuBuilder.h"
#include "library/upkeep/PTProgressSheet.h"
#include "library/controllers/PTReplacementImport.h"
#include "library/controllers/PTStoredFileMove.h"
#include "library/upkeep/PTFSEvent.h"
#include "library/upkeep/PTImportValidation.h"
#include "library/store/PTStoreFunctions.h"
#include "platform/runtime/Defaults.h"
#include "platform/runtime/Logging.h"
#include "platform/runtime/NotificationCenter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

using pt::store::ManagedObject;
using pt::store::Predicate;

PTCollectionController& PTCollectionController::sharedController()
{
    static PTCollectionController controller;
    return controller;
}

PTCollectionController::PTCollectionController()
{
    if (PTHasManagedObjectContext())
        checkLegacyFolders();
}

const pt::store::EntityDescription* PTCollectionController::entity() const
{
    pt::store::ObjectContext* context = PTMainManagedObjectContext();
    return context ? context->coordinator()->model().entity(PTCollection::EntityName) : nullptr;
}

QVector<PTCollection*> PTCollectionController::collections()
{
    if (!collections_) {
        pt::store::ObjectContext* context = PTMainManagedObjectContext();
        if (!context)
            return {};
        const auto predicate = Predicate::parse(QStringLiteral("type=NULL OR type=0"));
        const auto fetched = context->fetch({PTCollection::EntityName, *predicate});
        if (!fetched) {
            qCWarning(lcLibrary).noquote() << fetched.error().toString();
            return {};
        }
        QVector<PTCollection*> list;
        for (ManagedObject* object : *fetched)
            list.append(PTCollection::from(object));
        collections_ = list;
    }
    return *collections_;
}

PTCollection* PTCollectionController::miscCollection()
{
    if (misc_)
        return misc_;
    pt::store::ObjectContext* context = PTMainManagedObjectContext();
    if (!context)
        return nullptr;
    const auto predicate = Predicate::parse(QStringLiteral("type=%@"), {PTCollection::MiscellaneousType});
    const auto fetched = context->fetch({PTCollection::EntityName, *predicate});
    if (fetched && !fetched->isEmpty()) {
        misc_ = PTCollection::from(fetched->first());
    } else {
        if (!fetched)
            qCWarning(lcLibrary).noquote() << fetched.error().toString();
        misc_ = PTCollection::insert(*context);
        misc_->setType(PTCollection::MiscellaneousType);
        misc_->setName(PTCollection::MiscellaneousName);
        misc_->setSort(-100);
        misc_->setIdentifier(entityValues::newIdentifier());
    }
    return misc_;
}

QVector<PTCollection*> PTCollectionController::collectionsSortedByGroup()
{
    QVector<PTCollection*> sets;
    if (PTCollection* misc = miscCollection())
        sets.append(misc);
    PTGroupController& groups = PTGroupController::sharedController();
    const std::function<void(PTGroup*)> walk = [&](PTGroup* group) {
        for (ManagedObject* child : groups.objectsForGroup(group)) {
            if (auto* set = PTCollection::from(child))
                sets.append(set);
            else
                walk(PTGroup::from(child));
        }
    };
    walk(nullptr);
    return sets;
}

QVector<PTCollection*> PTCollectionController::sortCollections(const QVector<PTCollection*>& sets)
{
    if (sets.size() < 2)
        return sets;
    const QVector<PTCollection*> order = collectionsSortedByGroup();
    QHash<PTCollection*, qint64> positions;
    for (qint64 i = 0; i < order.size(); ++i) {
        order[i]->setTempSort2(i);
        positions.insert(order[i], i);
    }
    QVector<PTCollection*> sorted = sets;
    for (PTCollection* set : sorted)
        set->setTempSort(positions.value(set, order.size()));
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](PTCollection* a, PTCollection* b) { return a->tempSort() < b->tempSort(); });
    return sorted;
}

std::optional<QVector<PTCollection*>>
PTCollectionController::collectionsSortedByDescriptor(const pt::store::SortDescriptor& descriptor)
{
    pt::store::ObjectContext* context = PTMainManagedObjectContext();
    const pt::store::EntityDescription* sets = entity();
    if (!collections_ || !context || !sets)
        return std::nullopt;
    if (sets->attributeIndex(descriptor.key) < 0) {
        qCWarning(lcLibrary) << "sets cannot be sorted by" << descriptor.key;
        return std::nullopt;
    }
    // The store orders them as its fetches do; only the cached sets are asked for.
    pt::store::FetchRequest request;
    request.entityName = PTCollection::EntityName;
    request.predicate = *Predicate::parse(QStringLiteral("SELF IN %@"), {*collections_});
    request.sort = {descriptor};
    const auto fetched = context->fetch(request);
    if (!fetched) {
        qCWarning(lcLibrary).noquote() << fetched.error().toString();
        return std::nullopt;
    }
    QVector<PTCollection*> sorted;
    for (ManagedObject* object : *fetched)
        sorted.append(PTCollection::from(object));
    return sorted;
}

PTCollection* PTCollectionController::createCollectionWithName(const QString& name, pt::store::ObjectContext* context)
{
    pt::store::ObjectContext* main = PTMainManagedObjectContext();
    if (!context)
        context = main;
    if (!context)
        return nullptr;
    // Loaded first, so that the new set is appended once rather than also fetched.
    if (context == main)
        collections();
    PTCollection* set = PTCollection::insert(*context);
    set->setName(stringAdditions::trim(name));
    PTSetNewObjectDefaults(set);
    // Last at the top level: new groups are numbered past the end, so the count alone may not be last.
    const PTGroupController::Children topLevel = PTGroupController::sharedController().objectsForGroup(nullptr);
    qint64 sort = topLevel.size();
    for (ManagedObject* object : topLevel)
        sort = std::max(sort, PTGroupController::sortOf(object) + 1);
    set->setSort(sort);
    if (context == main) {
        if (collections_ && !collections_->contains(set))
            collections_->append(set);
        PTGroupController::sharedController().purgeGroup(nullptr);
    }
    return set;
}

QVector<PTCollection*> PTCollectionController::mergeCollections(const QVector<PTCollection*>& sets)
{
    QVector<PTCollection*> kept;
    PTStoredFileMove folders;
    if (!sets.isEmpty()) {
        PTCollection* target = sets.first();
        for (PTCollection* set : sets) {
            if (set == target || !set->removeable())
                continue;
            if (!moveItems(set->items(), target).isEmpty()) {
                qCWarning(lcLibrary) << "set" << set->name() << "kept: some of its files could not be moved";
                kept.append(set);
                continue;
            }
            broadcastRemovalOfCollection(set);
            removeCollection(set);
            PTGroupController::sharedController().removeCollection(set);
            folders.removeOnceStored(set->formattedDirectory());
            set->setLicence(nullptr);
            set->context()->deleteObject(set);
        }
    }
    if (!folders.isEmpty())
        folders.save();
    notifyObserversOfDidChange();
    return kept;
}

QVector<PTItem*> PTCollectionController::cloneItems(const QVector<PTItem*>& items, PTCollection* target)
{
    QVector<PTItem*> copies;
    QSet<QString> handedOut;
    const QString folder = target->formattedDirectory();
    for (PTItem* item : items) {
        if (item->collection() == target)
            continue;
        const QString name = PTSafeUniqueFileName(item->newFileName(), folder, &handedOut);
        if (!PTStoredFileMove::placeInto(item->fileURL().toLocalFile(), folder, name,
                                         PTStoredFileMove::Placement::Copy)) {
            handedOut.remove(name);
            qCWarning(lcLibrary) << "no copy of" << item->name() << ": its file could not be copied";
            continue;
        }
        PTItem* copy = PTItem::from(contextAdditions::clone(*item->context(), item, nullptr));
        if (auto obtained = copy->context()->obtainPermanentIDs({copy}); !obtained)
            qCWarning(lcLibrary).noquote() << obtained.error().toString();
        copy->setLicence(item->licence());
        copy->setCollection(target);
        copy->setNewFileName(name);
        copies.append(copy);
    }
    PTSaveManagedObjectContext();
    return copies;
}

QVector<PTItem*> PTCollectionController::moveItems(const QVector<PTItem*>& items, PTCollection* target,
                                                   const Handler& beforeOriginalDelete)
{
    QVector<PTItem*> failed;
    PTStoredFileMove oldFiles;
    QSet<QString> handedOut;
    const QString folder = target->formattedDirectory();
    for (PTItem* item : items) {
        if (item->collection() == target)
            continue;
        const QString oldFile = item->fileURL().toLocalFile();
        const QString name = PTSafeUniqueFileName(item->newFileName(), folder, &handedOut);
        if (!PTStoredFileMove::placeInto(oldFile, folder, name, PTStoredFileMove::Placement::Link)) {
            handedOut.remove(name);
            qCWarning(lcLibrary) << "item" << item->name() << "not moved: its file could not be copied";
            failed.append(item);
            continue;
        }
        item->setCollection(target);
        item->setNewFileName(name);
        oldFiles.removeOnceStored(oldFile);
    }
    if (beforeOriginalDelete)
        beforeOriginalDelete();
    oldFiles.save();
    return failed;
}

bool PTCollectionController::deleteCollection(PTCollection* set)
{
    if (!set->removeable()
        || !PTConfirmation::confirm(QCoreApplication::translate("PTCollectionController", "Are you sure?"),
                                    QCoreApplication::translate("PTCollectionController",
                                                                "Are you sure you want to delete this set?"),
                                    DeleteSuppressionKey))
        return false;
    removeCollection(set);
    sheet_ = PTLibraryShell::presentSheet(QCoreApplication::translate("PTCollectionController", "Removing Set..."));
    const pt::store::ObjectID id = set->objectID();
    PTDispatchAfter(
        [this, id] {
            pt::store::ObjectContext* context = PTMainManagedObjectContext();
            PTCollection* set = context ? PTCollection::from(context->existingObjectWithID(id)) : nullptr;
            if (!set)
                return;
            PTGroupController::sharedController().removeCollection(set);
            broadcastRemovalOfCollection(set);
            notifyObserversOfDidChange();
            std::shared_ptr<PTIconRemover> remover = PTIconRemover::create();
            remover->removeCollection(set, {}, [this, remover] {
                if (sheet_)
                    sheet_->setTitle(QCoreApplication::translate("PTCollectionController", "Set Removed"));
                PTGroupController::sharedController().purgeRemovalOfCollections();
                PTDispatchAfter(
                    [this] {
                        if (sheet_)
                            sheet_->endSession();
                        sheet_.reset();
                    },
                    pt::DispatchQueue::main(), 1.0);
            });
        },
        pt::DispatchQueue::main(), 0.5);
    return true;
}

bool PTCollectionController::deleteItemsAlerted(const QVector<PTItem*>& items, const Handler& beforeDelete,
                                                const Handler& completion)
{
    const QString what = items.size() == 1 ? QStringLiteral("this item") : QStringLiteral("these items");
    if (!PTConfirmation::confirm(
            QCoreApplication::translate("PTCollectionController", "Are you sure?"),
            QCoreApplication::translate("PTCollectionController", "Are you sure you want to delete %1?").arg(what),
            DeleteSuppressionKey))
        return false;
    if (beforeDelete)
        beforeDelete();
    QVector<pt::store::ObjectID> ids;
    for (PTItem* item : items)
        ids.append(item->objectID());
    sheet_ = PTLibraryShell::presentSheet(QCoreApplication::translate("PTCollectionController", "Removing Icons..."));
    std::shared_ptr<PTIconRemover> remover = PTIconRemover::create();
    remover->removeIconsWithObjectIDs(ids, [this, remover, completion] {
        pt::DispatchQueue::main().async([this, completion] {
            if (sheet_)
                sheet_->setTitle(QCoreApplication::translate("PTCollectionController", "Icons Removed"));
            // The deleted items are stored at once: their files are gone already.
            PTSaveManagedObjectContext();
            PTDispatchAfter(
                [this, completion] {
                    if (completion)
                        completion();
                    if (sheet_)
                        sheet_->endSession();
                    sheet_.reset();
                },
                pt::DispatchQueue::main(), 1.0);
        });
    });
    return true;
}

void PTCollectionController::addIconsFromMenuItem(ManagedObject* object)
{
    PTCollection* set = PTCollection::from(object);
    if (const std::shared_ptr<PTLibraryShell> shell = PTLibraryShell::installed(); shell && set)
        shell->presentAddIconsSheet(set);
}

void PTCollectionController::removeCollectionFromSender(ManagedObject* object)
{
    if (PTCollection* set = PTCollection::from(object))
        deleteCollection(set);
}

void PTCollectionController::menuForCollection(PTCollection* set, PTMenuBuilder& menu)
{
    menu.addItem(QCoreApplication::translate("PTCollectionController", "Add Icons..."), AddIconsAction, set);
    menu.addSeparator();
    menu.addItem(QCoreApplication::translate("PTCollectionController", "Edit"), QString(), set);
    menu.addItem(QCoreApplication::translate("PTCollectionController", "Delete"), RemoveCollectionAction, set);
}

bool PTCollectionController::requiresConfirmationOfRemoval()
{
    return !pt::Defaults::standard().boolForKey(DeleteSuppressionKey);
}

void PTCollectionController::removeCollection(PTCollection* set)
{
    if (collections_)
        collections_->removeAll(set);
    itemCounts_.remove(set->identifier());
}

void PTCollectionController::broadcastRemovalOfCollection(PTCollection* set)
{
    post(WillDeleteCollectionNotification, {{CollectionKey, QVariant::fromValue<ManagedObject*>(set)}});
}

void PTCollectionController::notifyObserversOfDidChange()
{
    post(CollectionsDidChangeNotification);
}

void PTCollectionController::notifyObserversAboutUpdatesWithItems(const QVector<PTItem*>& items)
{
    QVariantList list;
    for (PTItem* item : items)
        list.append(QVariant::fromValue<ManagedObject*>(item));
    post(CollectionsDidUpdateNotification, {{ItemsKey, list}});
}

void PTCollectionController::post(const QString& name, const QVariantMap& userInfo)
{
    pt::NotificationCenter::defaultCenter().post(name, this, userInfo);
}

void PTCollectionController::purge()
{
    collections_.reset();
    misc_ = nullptr;
}

void PTCollectionController::purgeAndNotify(const Handler& block)
{
    purge();
    PTGroupController::sharedController().purge();
    notifyObserversOfDidChange();
    if (block)
        block();
    notifyObserversOfDidChange();
}

void PTCollectionController::adopt(const QVector<PTCollection*>& sets)
{
    pt::store::ObjectContext* context = PTMainManagedObjectContext();
    collections();
    if (!collections_)
        return;
    // The list holds ordinary sets of the main context only: the Miscellaneous set has its own place.
    for (PTCollection* set : sets) {
        if (set->context() == context && set->type() != PTCollection::MiscellaneousType && !set->isDeleted()
            && !collections_->contains(set))
            collections_->append(set);
    }
}

void PTCollectionController::batchItemsFromCollectionsArray(const QVector<PTCollection*>& sets)
{
    if (pt::store::ObjectContext* context = PTMainManagedObjectContext())
        contextAdditions::unfaultRelationships(*context, {QStringLiteral("items")}, {sets.begin(), sets.end()},
                                               PTCollection::EntityName);
}

void PTCollectionController::batchCollectionsFromItemArray(const QVector<PTItem*>& items)
{
    if (pt::store::ObjectContext* context = PTMainManagedObjectContext())
        contextAdditions::unfaultRelationships(*context, {}, {items.begin(), items.end()}, PTItem::EntityName);
}

qint64 PTCollectionController::itemsCountForCollection(PTCollection* set, const std::optional<Predicate>& predicate)
{
    const QString key = set->identifier();
    if (const qint64 cached = itemCounts_.value(key); cached != 0)
        return cached;
    pt::store::ObjectContext* context = PTMainManagedObjectContext();
    if (!context)
        return 0;
    const auto own = Predicate::parse(QStringLiteral("collection=%@"), {set});
    const Predicate condition = predicate ? Predicate::andPredicate({*own, *predicate}) : *own;
    const auto counted = context->count({PTItem::EntityName, condition});
    if (!counted) {
        qCWarning(lcLibrary).noquote() << counted.error().toString();
        return 0;
    }
    itemCounts_.insert(key, *counted);
    return *counted;
}

void PTCollectionController::cleanupFileSystemForObject(PTItem* item)
{
    const QString original = item->originalFileURL().toLocalFile();
    if (!original.isEmpty()) {
        QFile::remove(original);
        QDir().rmdir(QFileInfo(original).path());
    }
    // The older location is a stored path; only a file inside the library is ever removed.
    PTLibraryController* library = PTLibraryController::currentLibrary();
    const QString location = item->location();
    if (library && !location.isEmpty()) {
        const QString root = QDir(library->path()).canonicalPath() + QLatin1Char('/');
        const QString file = QFileInfo(location).canonicalFilePath();
        if (!file.isEmpty() && file.startsWith(root))
            QFile::remove(file);
    }
}

void PTCollectionController::checkLegacyFolders()
{
    PTLibraryController* library = PTLibraryController::currentLibrary();
    if (!library)
        return;
    for (PTCollection* set : collections()) {
        const QString legacyName = stringAdditions::normalizedString(set->name());
        if (!entityValues::isPlainFileName(legacyName))
            continue;
        const QString legacy = library->locationByAppendingPath(
            QStringLiteral("%1/%2").arg(PTLibraryController::SetsFolderName, legacyName), false);
        if (!QFileInfo(legacy).isDir() || legacy == set->formattedDirectory())
            continue;
        const QString folder = set->formattedDirectory();
        const QDir old(legacy);
        for (const QString& entry : old.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
            QFile::rename(old.filePath(entry), QStringLiteral("%1/%2").arg(folder, entry));
        // Entries that could not be moved (a name taken) stay, and so does their folder.
        QDir().rmdir(legacy);
    }
}

void PTCollectionController::replaceItem(PTItem* item, const QString& path, std::function<void(bool replaced)> completion)
{
    const std::shared_ptr<PTReplacementImport> import = PTReplacementImport::installed();
    if (!import || !item->collection()) {
        qCWarning(lcLibrary) << "the file of" << item->name() << "cannot be replaced: no import into its set";
        if (completion)
            completion(false);
        return;
    }
    const pt::store::ObjectID id = item->objectID();
    import->importPaths({path}, item->collection(), PTImportValidation::AllOptions,
                        [import, id, completion](const PTReplacementImport::Result& result) {
        pt::store::ObjectContext* context = PTMainManagedObjectContext();
        PTItem* item = context ? PTItem::from(context->existingObjectWithID(id)) : nullptr;
        PTItem* imported = result.items.value(0);
        bool replaced = false;
        PTStoredFileMove move;
        if (!result.unreadable.isEmpty()) {
            import->presentCorruptImages(result.unreadable);
        } else if (item && imported) {
            const QString oldFile = item->fileURL().toLocalFile();
            const QString newFile = imported->fileURL().toLocalFile();
            // The import put the new file into the item's set folder under a name of its own: the item names it
            // from now on, and the old file goes only once the store does. A refused save gives the item its old
            // file back, untouched.
            replaced = QFileInfo(newFile).isFile();
            if (!replaced) {
                qCWarning(lcLibrary) << "the file of" << item->name() << "was not replaced: the import left no file";
            } else {
                PTStoredFileMove::Restore restore = [import, values = PTStoredFileMove::fileValues(item)](PTItem* item) {
                    values(item);
                    import->purgeImagesOfItem(item);
                };
                item->setNewFileName(QFileInfo(newFile).fileName());
                item->setType(imported->type());
                item->setDate(imported->date());
                item->setUnicode(imported->unicode());
                item->setWidth(imported->width());
                item->setHeight(imported->height());
                import->purgeImagesOfItem(item);
                move.replaceOnceStored(item, oldFile, std::move(restore));
            }
        }
        if (imported) {
            // Its file is either the item's now or of no use.
            if (!replaced)
                QFile::remove(imported->fileURL().toLocalFile());
            imported->setCollection(nullptr);
            imported->setLicence(nullptr);
            imported->context()->deleteObject(imported);
        }
        move.save([completion, replaced](bool stored) {
            if (completion)
                completion(replaced && stored);
        });
    });
}

void PTCollectionController::addChangeHandler(ChangeHandler handler)
{
    changeHandlers_.append(std::move(handler));
}

void PTCollectionController::processPTFSEvent(const PTFSEvent& event, PTCollection* set)
{
    constexpr quint32 relevant = PTFSEvent::ItemCreated | PTFSEvent::ItemRemoved | PTFSEvent::ItemModified;
    QStringList names;
    for (int i = 0; i < event.count() && i < event.flags.size(); ++i) {
        if ((event.flags[i] & relevant) == PTFSEvent::ItemModified)
            names.append(QFileInfo(event.paths[i]).fileName());
    }
    for (const ChangeHandler& handler : std::as_const(changeHandlers_))
        handler(set, names);
}
