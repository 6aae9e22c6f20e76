#include "transfer/import/PTImporter2.h"

#include "foundation/StringAdditions.h"
#include "foundation/WebP.h"
#include "library/ImageHeaderProbe.h"
#include "library/ImportNaming.h"
#include "library/bundle/PTBundleFileCopy.h"
#include "library/controllers/PTTagController.h"
#include "library/entities/PTCollection.h"
#include "library/entities/PTGroup.h"
#include "library/entities/PTItem.h"
#include "library/store/ContextAdditions.h"
#include "library/store/PTStoreFunctions.h"
#include "library/upkeep/PDFDocumentCheck.h"
#include "library/upkeep/PTLibraryShell.h"
#include "platform/graphics/ImageFileReader.h"
#include "platform/runtime/Logging.h"
#include "transfer/import/PTImportExpansion.h"
#include "transfer/import/PTImportFolderListing.h"
#include "transfer/import/PTImportJournal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <algorithm>

using pt::store::ManagedObject;
using pt::store::ObjectContext;
using pt::store::ObjectID;

namespace {

const QString NotAnImage = QStringLiteral("not an image");
const QString SetRemoved = QStringLiteral("its set was removed during the import");
const QString LeadsOutside = QStringLiteral("link leads outside the imported folders");
const QString NotUTF8 = QStringLiteral("name is not valid UTF-8");
constexpr int MaxLinkHops = 40;

qint64 itemTypeForFileType(PTImportFileType type)
{
    switch (type) {
    case PTImportFileType::PNG:
        return PTItem::PNG;
    case PTImportFileType::GIF:
        return PTItem::GIF;
    case PTImportFileType::ICNS:
        return PTItem::ICNS;
    case PTImportFileType::PDF:
        return PTItem::PDF;
    case PTImportFileType::WebP:
        return PTItem::WEBP;
    case PTImportFileType::ICO:
        return PTItem::ICO;
    default:
        return PTItem::SVG;
    }
}

// Why a link leads nowhere: a loop, or a target that does not exist.
QString brokenLinkReason(const QString& path)
{
    QSet<QString> seen;
    QString current = path;
    for (int hop = 0; hop < MaxLinkHops && QFileInfo(current).isSymLink(); ++hop) {
        if (seen.contains(current))
            return QStringLiteral("link loop");
        seen.insert(current);
        current = QFileInfo(current).symLinkTarget();
    }
    return QFileInfo(current).isSymLink() ? QStringLiteral("link loop") : QStringLiteral("dangling link");
}

std::optional<QString> bitmapInvalidReason(const QString& path, PTImportFileType type)
{
    const QByteArray head = imageHeaderProbe::readHead(path);
    std::optional<QSize> size;
    switch (type) {
    case PTImportFileType::PNG:
        size = imageHeaderProbe::pngSize(head);
        break;
    case PTImportFileType::GIF:
        size = imageHeaderProbe::gifSize(head);
        break;
    case PTImportFileType::ICO:
        size = imageHeaderProbe::icoSize(head);
        break;
    case PTImportFileType::WebP:
        size = imageHeaderProbe::webpSize(head);
        break;
    default:
        break;
    }
    if (size && qint64(size->width()) * size->height() > PTImporter2::MaxPixels)
        return QStringLiteral("too large (%1 x %2 pixels)").arg(size->width()).arg(size->height());
    if (type == PTImportFileType::WebP) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) && !WebP::imageWithWebPData(file.readAll()).isNull()
                   ? std::nullopt
                   : std::optional<QString>(NotAnImage);
    }
    pt::ImageFileReader file(path);
    QImageReader& reader = file.reader();
    const QImage image = reader.read();
    if (image.isNull() || image.width() == 0 || image.height() == 0)
        return NotAnImage;
    return std::nullopt;
}

} // namespace

std::shared_ptr<PTImporter2> PTImporter2::create(ManagedObject* target, const QStringList& paths, PTImportOptions options)
{
    std::shared_ptr<PTImporter2> importer(new PTImporter2());
    importer->options_ = options;
    importer->initialPaths_ = paths;
    importer->chosenPaths_ = QSet<QString>(paths.begin(), paths.end());
    for (const QString& path : paths)
        if (const QFileInfo info(path); info.isDir())
            importer->chosenFolders_ << info.canonicalFilePath();
    if (target) {
        if (target->objectID().isTemporary() && target->context())
            (void)target->context()->obtainPermanentIDs({target});
        importer->target_ = target->objectID();
    }
    return importer;
}

PTImporter2::~PTImporter2() = default;

std::optional<QString> PTImporter2::invalidReason(const QString& path, PTImportFileType type)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("unreadable: %1").arg(file.errorString());
    file.close();
    switch (type) {
    case PTImportFileType::SVG:
        return std::nullopt;
    case PTImportFileType::PDF:
        return pdfDocumentCheck::hasFirstPage(path) ? std::nullopt : std::optional<QString>(QStringLiteral("not a PDF document"));
    case PTImportFileType::PNG:
    case PTImportFileType::GIF:
    case PTImportFileType::ICNS:
    case PTImportFileType::ICO:
    case PTImportFileType::WebP:
        return bitmapInvalidReason(path, type);
    default:
        return QStringLiteral("not an icon file");
    }
}

void PTImporter2::begin()
{
    queue_ = std::make_unique<pt::OperationQueue>(QStringLiteral("com.pictern.importer"));
    queue_->setMaxConcurrentOperationCount(MaxConcurrentOperationCount);
    expansions_ = std::make_unique<QTemporaryDir>(QDir::temp().filePath(QStringLiteral("pictern-import-XXXXXX")));
    journal_ = std::make_unique<PTImportJournal>();
    auto self = shared_from_this();
    PTSaveManagedObjectContextWithCompletion([self](const pt::Error&) {
        ObjectContext* context = PTMainManagedObjectContext();
        ManagedObject* target = context && !self->target_.isNull() ? context->existingObjectWithID(self->target_) : nullptr;
        Batch batch;
        batch.entries = self->initialPaths_;
        if (PTCollection* set = PTCollection::from(target)) {
            batch.parentSet = set->objectID();
            batch.parentGroup = set->group() ? set->group()->objectID() : ObjectID();
            batch.forceUseSet = true;
        } else if (PTGroup* group = PTGroup::from(target)) {
            batch.parentGroup = group->objectID();
        }
        const bool singleFolder = self->initialPaths_.size() == 1 && QFileInfo(self->initialPaths_.first()).isDir()
                                  && !PTImportIsPackage(self->initialPaths_.first());
        if (!PTImportOptionsContain(self->options_, PTImportOption::DescendIntoFolders) && singleFolder) {
            batch.parentPath = self->initialPaths_.first();
            const PTImportFolderListing listing = self->listFolder(batch.parentPath);
            for (const PTImportFolderListing::Entry& entry : listing.entries())
                batch.entries << entry.name;
        }
        if (target && context)
            self->coordinator_ = context->sharedCoordinator();
        if (self->coordinator_)
            self->queueItems(batch);
        self->queue_->notifyWhenEmpty([self] { self->finished(); });
    });
}

void PTImporter2::queueItems(Batch batch)
{
    auto self = shared_from_this();
    queue_->addOperation([self, batch = std::move(batch)] { self->runBatch(batch); });
}

bool PTImporter2::firstVisit(const QString& folder)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    std::lock_guard lock(mutex_);
    if (canonical.isEmpty() || visitedFolders_.contains(canonical))
        return false;
    visitedFolders_.insert(canonical);
    return true;
}

bool PTImporter2::insideChosenFolders(const QString& path) const
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return !canonical.isEmpty() && std::any_of(chosenFolders_.begin(), chosenFolders_.end(), [&](const QString& root) {
               return canonical == root || canonical.startsWith(root.endsWith(u'/') ? root : root + u'/');
           });
}

PTImportFolderListing PTImporter2::listFolder(const QString& folder)
{
    PTImportFolderListing listing(folder);
    const bool descend = PTImportOptionsContain(options_, PTImportOption::DescendIntoFolders);
    for (const PTImportFolderListing::Entry& entry : listing.undecodable()) {
        const PTImportFileType type = PTImportFileTypeForExtension(QFileInfo(entry.path).suffix());
        if (entry.folder ? descend : PTImportOptionsContain(options_, PTImportOptionForFileType(type)))
            reject(entry.path, NotUTF8);
    }
    return listing;
}

void PTImporter2::reject(const QString& path, const QString& reason)
{
    std::lock_guard lock(mutex_);
    rejected_.append({path, reason});
}

void PTImporter2::queueFolder(const QString& folder, const ObjectID& group, const ObjectID& set)
{
    QStringList folders;
    QStringList files;
    const PTImportFolderListing listing = listFolder(folder);
    for (const PTImportFolderListing::Entry& entry : listing.entries())
        (entry.folder && !PTImportIsPackage(entry.path) ? folders : files) << entry.path;
    Batch first{folders + files.mid(0, FilesPerBatch), {}, group, set, false};
    queueItems(first);
    for (qsizetype start = FilesPerBatch; start < files.size(); start += FilesPerBatch)
        queueItems(Batch{files.mid(start, FilesPerBatch), {}, group, set, false});
}

ManagedObject* PTImporter2::insertContainer(ObjectContext& context, const QString& entity, const QString& folder,
                                            PTGroup* parent, qint64 sort)
{
    const QString name = QFileInfo(folder).fileName();
    const QString tidy = PTImportOptionsContain(options_, PTImportOption::KeepFileNames) ? name : PTPrettifyName(name);
    ManagedObject* object = nullptr;
    if (entity == PTGroup::EntityName) {
        PTGroup* group = PTGroup::insert(context);
        group->setName(tidy);
        group->setSort(sort);
        group->setGroup(parent);
        object = group;
    } else {
        PTCollection* set = PTCollection::insert(context);
        set->setName(tidy);
        set->setSort(sort);
        PTSetNewObjectDefaults(set);
        set->setGroup(parent);
        object = set;
    }
    if (auto obtained = context.obtainPermanentIDs({object}); !obtained)
        qCWarning(lcTransfer).noquote() << "import: no permanent ID:" << obtained.error().toString();
    journal_->recordContainer(object->objectID());
    std::lock_guard lock(mutex_);
    createdIDs_.append(object->objectID());
    return object;
}

void PTImporter2::runBatch(const Batch& batch)
{
    contextAdditions::runInWorkerContext(coordinator_, [&](ObjectContext& context) {
        PTGroup* group = batch.parentGroup.isNull() ? nullptr : PTGroup::from(context.existingObjectWithID(batch.parentGroup));
        PTCollection* set =
            batch.parentSet.isNull() ? nullptr : PTCollection::from(context.existingObjectWithID(batch.parentSet));
        const bool setVanished = !batch.parentSet.isNull() && !set;
        const QString folder = set ? set->formattedDirectory() : QString();
        qint64 sort = 0;
        QVector<Made> made;
        for (const QString& entry : batch.entries) {
            const QString path = batch.parentPath.isEmpty() ? entry : QDir(batch.parentPath).filePath(entry);
            const QFileInfo info(path);
            const bool accepted = PTImportOptionsContain(
                options_, PTImportOptionForFileType(PTImportFileTypeForExtension(info.suffix())));
            if (info.isSymLink() && !info.exists()) {
                if (accepted && set)
                    reject(path, brokenLinkReason(path));
                continue;
            }
            if (info.isDir() && !PTImportIsPackage(path)) {
                if (!PTImportOptionsContain(options_, PTImportOption::DescendIntoFolders))
                    continue;
                // A pack's link to "/" or the home folder would bring in everything behind it.
                if (!insideChosenFolders(path)) {
                    reject(path, LeadsOutside);
                    continue;
                }
                if (!firstVisit(path))
                    continue;
                ObjectID childGroup = batch.parentGroup;
                ObjectID childSet = batch.parentSet;
                if (PTImportOptionsContain(options_, PTImportOption::FoldersBecomeGroupsAndSets)) {
                    const int holds = PTImportAnalyseFolder(path, options_);
                    if (holds & PTImportFolderContents::SubFolder)
                        childGroup = insertContainer(context, PTGroup::EntityName, path, group, sort++)->objectID();
                    // The set of the folder's own files stands beside the group made for the same folder.
                    if ((holds & PTImportFolderContents::AcceptedFile) && !batch.forceUseSet)
                        childSet = insertContainer(context, PTCollection::EntityName, path, group, sort++)->objectID();
                }
                // Batches of other workers fetch the new group and set from the store.
                if (auto saved = context.save(); !saved)
                    qCWarning(lcTransfer).noquote() << "import: worker not saved:" << saved.error().toString();
                queueFolder(path, childGroup, childSet);
                continue;
            }
            if (!accepted || !PTImportPathIsAccepted(path, options_))
                continue;
            // A pack's link to a private file would copy it into the library; a file the user chose is taken.
            if (info.isSymLink() && !chosenPaths_.contains(path) && !insideChosenFolders(path)) {
                reject(path, LeadsOutside);
                continue;
            }
            if (setVanished)
                reject(path, SetRemoved);
            else if (set && !folder.isEmpty())
                importItemAtPath(path, folder, context, made);
        }
        if (!made.isEmpty())
            storeItems(context, set, made);
    });
    if (progress_) {
        auto self = shared_from_this();
        pt::DispatchQueue::main().async([self] { self->progress_(self->imported_); });
    }
}

void PTImporter2::storeItems(ObjectContext& context, PTCollection* set, const QVector<Made>& made)
{
    QVector<ManagedObject*> items;
    for (const Made& m : made) {
        m.item->setCollection(set);
        PTTagController::autoApplyTagsToItem(m.item);
        items.append(m.item);
    }
    if (auto obtained = context.obtainPermanentIDs(items); !obtained)
        qCWarning(lcTransfer).noquote() << "import: no permanent IDs:" << obtained.error().toString();
    // The store refuses items whose set was removed since the batch began.
    if (auto saved = context.save(); !saved) {
        const QString reason = coordinator_->exists(set->objectID())
                                   ? QStringLiteral("not stored: %1").arg(saved.error().localizedDescription())
                                   : SetRemoved;
        for (const Made& m : made) {
            QFile::remove(m.copied);
            reject(m.source, reason);
            context.deleteObject(m.item);
        }
        imported_ -= made.size();
        return;
    }
    std::lock_guard lock(mutex_);
    for (const Made& m : made) {
        createdIDs_.append(m.item->objectID());
        pathMap_.insert(m.item->objectID(), m.source);
        copiedMap_.insert(m.item->objectID(), m.copied);
    }
}

void PTImporter2::importItemAtPath(const QString& path, const QString& folder, ObjectContext& context,
                                   QVector<Made>& made)
{
    const std::optional<PTImportPathInfo> info = PTImportPathInfoForPath(path);
    if (!info || info->type == PTImportFileType::Other)
        return;
    // Only regular files (or links to them) are read: a pipe or a device would block or never end.
    if (!QFileInfo(path).isFile()) {
        reject(path, QStringLiteral("not a regular file"));
        return;
    }
    if (!PTImportTypeExpands(info->type, options_)) {
        itemForPath(path, *info, false, folder, context, made);
        return;
    }
    // One folder per expanded file: two files of the same name write parts of the same names.
    const QString own = expansions_->filePath(QString::number(++expansionCount_));
    for (const PTImportExpansion::Entry& entry : PTImportExpansion::expand(path, info->type, own)) {
        PTImportPathInfo entryInfo = PTImportPathInfoForPath(entry.path).value_or(PTImportPathInfo());
        if (entry.name)
            entryInfo.name = *entry.name;
        PTItem* item = itemForPath(entry.path, entryInfo, entry.temporary, folder, context, made);
        if (!item)
            continue;
        if (!entry.unicode.isEmpty())
            item->setUnicode(entry.unicode);
        if (const QSet<QString> tags = PTTagController::tagsForString(entry.tags); !tags.isEmpty())
            PTTagController::applyTagsStringArray(tags.values(), {item}, false);
    }
    QDir(own).removeRecursively();
}

PTItem* PTImporter2::itemForPath(const QString& path, const PTImportPathInfo& info, bool temporary,
                                 const QString& folder, ObjectContext& context, QVector<Made>& made)
{
    if (const std::optional<QString> reason = invalidReason(path, info.type)) {
        reject(path, *reason);
        if (temporary)
            QFile::remove(path);
        return nullptr;
    }
    PTItem* item = PTItem::insert(context);
    const QString name =
        PTImportOptionsContain(options_, PTImportOption::KeepFileNames) ? info.name : PTPrettifyName(info.name);
    item->setName(name);
    item->setDate(QDateTime::currentDateTime());
    item->setWidth(info.width);
    item->setHeight(info.height);
    item->setType(itemTypeForFileType(info.type));
    QString error;
    const QString fileName = PTBundleFileCopy::copyIntoFolder(
        path, stringAdditions::normalizedString(name + u'.' + QFileInfo(path).suffix()), folder, &error, &namer_,
        [this](const QString& copy) { journal_->recordFile(copy); });
    if (!fileName.isEmpty() && PTImportOptionsContain(options_, PTImportOption::UseFileTags))
        PTTagController::applyTagsFromResourceValue(item, path);
    if (temporary)
        QFile::remove(path);
    if (fileName.isEmpty()) {
        context.deleteObject(item);
        reject(path, QStringLiteral("copy failed: %1").arg(error));
        return nullptr;
    }
    item->setNewFileName(fileName);
    made.append({item, path, QDir(folder).filePath(fileName)});
    ++imported_;
    return item;
}

void PTImporter2::finished()
{
    // Dropped here: the last reference to the importer must never wait for the queue from one of its operations.
    queue_.reset();
    auto self = shared_from_this();
    pt::DispatchQueue::global(pt::QueuePriority::High).async([self] { self->settle(); });
}

void PTImporter2::settle()
{
    if (coordinator_) {
        QVector<ObjectID> items;
        for (const ObjectID& id : std::as_const(createdIDs_))
            if (pathMap_.contains(id))
                items.append(id);
        for (qsizetype first = 0; first < items.size(); first += ItemsPerSave)
            contextAdditions::runInWorkerContext(coordinator_, [&](ObjectContext& context) {
                contextAdditions::loadObjectsWithIDs(context, items.mid(first, ItemsPerSave));
                dropItemsWithoutSet(context);
            });
        contextAdditions::runInWorkerContext(coordinator_, [&](ObjectContext& context) { removeEmptyContainers(context); });
    }
    for (const ObjectID& id : std::as_const(createdIDs_))
        if (!removed_.contains(id))
            kept_.append(id);
    // The merges of the saves above were queued on the main thread first, so the result sees them.
    auto self = shared_from_this();
    pt::DispatchQueue::main().async([self] { self->loadResultFrom(0); });
}

void PTImporter2::dropItem(const ObjectID& id)
{
    QFile::remove(copiedMap_.value(id));
    rejected_.append({pathMap_.value(id), SetRemoved});
    removed_.insert(id);
}

void PTImporter2::dropItemsWithoutSet(ObjectContext& context)
{
    // The items this context holds are those just loaded.
    for (ManagedObject* object : context.registeredObjects()) {
        PTItem* item = PTItem::from(object);
        if (!item || item->isDeleted() || !pathMap_.contains(item->objectID()))
            continue;
        PTCollection* set = item->collection();
        // The set went away while its files were copied: the item would have neither set nor file.
        if (!set || set->isDeleted() || !context.existingObjectWithID(set->objectID())) {
            dropItem(item->objectID());
            context.deleteObject(item);
        } else {
            filled_.insert(set->objectID());
        }
    }
}

void PTImporter2::removeEmptyContainers(ObjectContext& context)
{
    // New sets and groups that keep something: only this import's items and sets fill them. Children were made
    // after their parents: walking backwards settles a group's sets before the group.
    for (auto it = createdIDs_.crbegin(); it != createdIDs_.crend(); ++it) {
        if (it->entity()->name() == PTItem::EntityName)
            continue;
        ManagedObject* object = context.existingObjectWithID(*it);
        if (!object)
            continue;
        const bool remove = !filled_.contains(*it);
        if (PTCollection* set = PTCollection::from(object)) {
            if (remove)
                QDir().rmdir(set->formattedDirectory());
            else if (set->group())
                filled_.insert(set->group()->objectID());
        } else if (PTGroup* group = PTGroup::from(object); group && !remove && group->group()) {
            filled_.insert(group->group()->objectID());
        }
        if (remove) {
            removed_.insert(*it);
            context.deleteObject(object);
        }
    }
}

void PTImporter2::loadResultFrom(qsizetype first)
{
    ObjectContext* context = PTHasManagedObjectContext() ? PTMainManagedObjectContext() : nullptr;
    if (!context || first >= kept_.size()) {
        complete();
        return;
    }
    const QVector<ObjectID> ids = kept_.mid(first, ObjectsPerTurn);
    contextAdditions::loadObjectsWithIDs(*context, ids);
    for (const ObjectID& id : ids) {
        ManagedObject* object = context->existingObjectWithID(id);
        if (PTItem* item = PTItem::from(object)) {
            // A removal of its set that the main context has not saved yet.
            if (PTCollection* set = item->collection();
                !set || set->isDeleted() || !context->existingObjectWithID(set->objectID())) {
                dropItem(id);
                context->deleteObject(item);
                continue;
            }
            result_.items.append(item);
            permPathMap_.insert(pathMap_.value(id), id);
        } else if (PTCollection* set = PTCollection::from(object)) {
            result_.sets.append(set);
        } else if (PTGroup* group = PTGroup::from(object)) {
            result_.groups.append(group);
        }
    }
    auto self = shared_from_this();
    pt::DispatchQueue::main().async([self, first] { self->loadResultFrom(first + ObjectsPerTurn); });
}

void PTImporter2::complete()
{
    result_.rejected = rejected_;
    // The journal goes once what the import kept is stored for good.
    std::shared_ptr<PTImportJournal> journal = std::move(journal_);
    if (PTHasManagedObjectContext())
        PTSaveManagedObjectContextWithCompletion([journal](const pt::Error&) { journal->finish(); });
    else
        journal->finish();
    expansions_.reset();
    if (const std::shared_ptr<PTLibraryShell> shell = PTLibraryShell::installed())
        shell->postNotice(NoticeTitle, NoticeMessage.arg(result_.items.size()));
    if (completion_)
        completion_(result_);
}

PTItem* PTImporter2::importedItemForPathURL(const QString& path) const
{
    const ObjectID id = permPathMap_.value(path);
    ObjectContext* context = PTHasManagedObjectContext() ? PTMainManagedObjectContext() : nullptr;
    return context && !id.isNull() ? PTItem::from(context->existingObjectWithID(id)) : nullptr;
}
