#include "library/bundle/PTTernImporter.h"

#include "foundation/DataAdditions.h"
#include "library/store/ContextAdditions.h"
#include "library/entities/EntityValues.h"
#include "library/ImportNaming.h"
#include "library/entities/PTCollection.h"
#include "library/controllers/PTCollectionController.h"
#include "library/entities/PTGroup.h"
#include "library/controllers/PTGroupController.h"
#include "library/entities/PTItem.h"
#include "library/PTLibraryController.h"
#include "library/upkeep/PTLibraryShell.h"
#include "library/entities/PTLicence.h"
#include "library/controllers/PTLicenceController.h"
#include "library/store/PTStoreFunctions.h"
#include "library/controllers/PTTagController.h"
#include "library/bundle/PTBundleFileCopy.h"
#include "library/bundle/PTSourceListSelection.h"
#include "library/bundle/PTTernExporter.h"
#include "platform/runtime/Logging.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QStorageInfo>

#include <algorithm>

#include <cmath>
#include <limits>

using pt::store::ObjectContext;
using pt::store::ObjectID;

namespace {

const QString SingleImportTitle = QStringLiteral("Importing Pictern, please wait...");
const QString MultipleImportTitle = QStringLiteral("Importing Picterns...");
const QString MultipleImportSubTitle = QStringLiteral("Importing %1 Rorev.");
const QString ImportCompleteTitle = QStringLiteral("Import Complete");
constexpr double SheetLingerSeconds = 1.0;

const QString LicencesKey = QStringLiteral("licences");
const QString GroupsKey = QStringLiteral("groups");
const QString SetsKey = QStringLiteral("sets");
const QString ItemsKey = QStringLiteral("items");

// Fields of a record; a value of the wrong type counts as absent.
std::optional<QString> stringField(const QJsonObject& record, const QString& key)
{
    const QJsonValue value = record.value(key);
    return value.isString() ? std::optional<QString>(value.toString()) : std::nullopt;
}

// A non-empty string, the form every reference to another record takes.
QString referenceField(const QJsonObject& record, const QString& key)
{
    return stringField(record, key).value_or(QString());
}

std::optional<qint64> integerField(const QJsonObject& record, const QString& key)
{
    constexpr double Limit = 9007199254740992.0; // 2^53: every integer below is exact in a double
    const QJsonValue value = record.value(key);
    if (!value.isDouble() || !std::isfinite(value.toDouble()) || std::abs(value.toDouble()) > Limit)
        return std::nullopt;
    return qint64(value.toDouble());
}

QDateTime dateFromArchivedFormat(const std::optional<QString>& text)
{
    if (!text)
        return {};
    const QDateTime date = QDateTime::fromString(*text, PTTernExporter::DateFormat);
    return date.isValid() ? date : QDateTime();
}

// Fields read as names or references, and as free text.
const QStringList NameFields{QStringLiteral("name"),    QStringLiteral("identifier"), QStringLiteral("parent"),
                             QStringLiteral("licence"), QStringLiteral("file"),       QStringLiteral("date"),
                             QStringLiteral("unicode")};
const QStringList TextFields{QStringLiteral("description"), QStringLiteral("tags"), QStringLiteral("text"),
                             QStringLiteral("url")};

bool fitsIn(const QJsonValue& value, qint64 maxBytes)
{
    if (!value.isString())
        return true;
    const QString text = value.toString();
    // UTF-8 never takes fewer bytes than UTF-16 code units: long texts are refused before any conversion.
    return text.size() <= maxBytes && text.toUtf8().size() <= maxBytes;
}

bool isWithinCaps(const QJsonObject& record)
{
    const auto fit = [&record](const QStringList& keys, qint64 maxBytes) {
        return std::all_of(keys.begin(), keys.end(), [&](const QString& key) { return fitsIn(record.value(key), maxBytes); });
    };
    return fit(NameFields, PTTernImporter::MaxNameBytes) && fit(TextFields, PTTernImporter::MaxTextBytes);
}

qint64 saturatingAdd(qint64 a, qint64 b)
{
    return a > std::numeric_limits<qint64>::max() - b ? std::numeric_limits<qint64>::max() : a + b;
}

QString proposedKeyForString(const QString& string)
{
    return string.toLower().trimmed().remove(QLatin1Char(' '));
}

struct ImportRun {
    QStringList remaining;
    QVector<ObjectID> collected;
    std::shared_ptr<PTProgressSheet> sheet;
    std::function<void()> completion;
};

void finishRun(const std::shared_ptr<ImportRun>& run)
{
    if (run->sheet)
        run->sheet->setTitle(ImportCompleteTitle);
    pt::dispatchAfter(SheetLingerSeconds, pt::DispatchQueue::main(), [run] {
        if (run->sheet)
            run->sheet->endSession();
        QVector<pt::store::ManagedObject*> objects;
        if (ObjectContext* context = PTMainManagedObjectContext()) {
            for (const ObjectID& id : std::as_const(run->collected)) {
                if (pt::store::ManagedObject* object = context->existingObjectWithID(id))
                    objects.append(object);
            }
        }
        if (const std::shared_ptr<PTSourceListSelection> selection = PTSourceListSelection::installed())
            selection->selectItems(objects, false);
        if (run->completion)
            run->completion();
    });
}

void importNext(const std::shared_ptr<ImportRun>& run)
{
    if (run->remaining.isEmpty()) {
        finishRun(run);
        return;
    }
    auto importer = PTTernImporter::create(run->remaining.first());
    importer->setErrorHandler(&PTTernImporter::presentError);
    importer->setCompletionHandler([run](const QVector<ObjectID>& objects) {
        run->collected += objects;
        PTTernImporter::purge();
        run->remaining.removeFirst();
        importNext(run);
    });
    importer->begin();
}

} // namespace

bool PTTernImporter::isPathATern(const QString& path)
{
    const QFileInfo info(path);
    return info.suffix() == PTTernExporter::Extension && QFileInfo(QDir(path).filePath(PTTernExporter::MetaFile)).isFile();
}

void PTTernImporter::presentError(const pt::Error& error)
{
    const std::shared_ptr<PTLibraryShell> shell = PTLibraryShell::installed();
    if (!shell)
        return;
    if (error.domain == ErrorDomain && error.code == UnsupportedVersion)
        shell->presentAlert(QStringLiteral("Unsupported Tern Version"),
                            QStringLiteral("The Tern file you are trying to import is unsupported and cannot be imported."));
    else if (error.domain == ErrorDomain && error.code == Corrupt)
        shell->presentAlert(QStringLiteral("Corrupt Tern"),
                            QStringLiteral("It appears the Tern file you are trying to import is corrupt."));
    else
        shell->presentAlert(QString(), QString());
}

void PTTernImporter::openTernFromOpenPanel()
{
    const std::shared_ptr<PTLibraryShell> shell = PTLibraryShell::installed();
    if (!shell)
        return;
    PTLibraryShell::PanelRequest request;
    request.allowedExtensions = {PTTernExporter::Extension};
    request.packageExtensions = PTTernExporter::PackageExtensions;
    // Plain folders lead to the bundles; other packages (libraries) are neither.
    request.shouldShowFilename = [](const QString& path) {
        const QFileInfo info(path);
        return info.suffix() == PTTernExporter::Extension ||
               (info.isDir() && !PTTernExporter::PackageExtensions.contains(info.suffix(), Qt::CaseInsensitive));
    };
    const QStringList paths = shell->runOpenPanelForPaths(request);
    if (!paths.isEmpty())
        importRorevAtURLs(paths, nullptr);
}

void PTTernImporter::importRorevAtURLs(const QStringList& paths, std::function<void()> completion)
{
    auto run = std::make_shared<ImportRun>();
    run->remaining = paths;
    run->completion = std::move(completion);
    if (const std::shared_ptr<PTLibraryShell> shell = PTLibraryShell::installed()) {
        const bool single = paths.size() < 2;
        run->sheet = shell->makeProgressSheet(single ? SingleImportTitle : MultipleImportTitle);
        if (run->sheet) {
            run->sheet->setSubTitle(single ? QString() : MultipleImportSubTitle.arg(paths.size()));
            run->sheet->beginSession();
        }
    }
    importNext(run);
}

std::shared_ptr<PTTernImporter> PTTernImporter::create(const QString& path)
{
    std::shared_ptr<PTTernImporter> importer(new PTTernImporter());
    importer->path_ = path;
    return importer;
}

void PTTernImporter::begin()
{
    queue_ = std::make_unique<pt::OperationQueue>(QStringLiteral("com.pictern.tern.importer"));
    queue_->setMaxConcurrentOperationCount(MaxConcurrentOperationCount);
    if (ObjectContext* context = PTMainManagedObjectContext()) {
        coordinator_ = context->sharedCoordinator();
        for (PTLicence* licence : PTLicenceController::sharedController().licences()) {
            if (!licence->name().isEmpty())
                libraryLicences_.append(licence->objectID());
        }
    }
    if (const PTLibraryController* library = PTLibraryController::currentLibrary())
        libraryPath_ = library->path();
    auto self = shared_from_this();
    queue_->addOperation([self] { self->readMeta(); });
    queue_->notifyWhenEmpty([self] { self->finished(); });
}

void PTTernImporter::readMeta()
{
    QFile file(QDir(path_).filePath(PTTernExporter::MetaFile));
    if (!coordinator_ || !file.open(QIODevice::ReadOnly) || file.size() > MaxMetaSize)
        return handleErrorWithCode(Corrupt);
    const QByteArray data = file.readAll();
    if (data.isEmpty())
        return handleErrorWithCode(Corrupt);
    if (!dataAdditions::isGzippedData(data))
        return handleErrorWithCode(UnsupportedVersion);
    const pt::Result<QByteArray> json = dataAdditions::gunzippedData(data, MaxMetaSize);
    if (!json)
        return handleErrorWithCode(Corrupt);
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(*json, &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject())
        return handleErrorWithCode(Corrupt);
    const QJsonObject meta = document.object();
    for (const QString& key : {LicencesKey, GroupsKey, SetsKey, ItemsKey}) {
        if (meta.contains(key) && !meta.value(key).isObject())
            return handleErrorWithCode(Corrupt);
    }
    keepRecordsWithinCaps(meta);
    const qint64 planned = plannedCopyBytes();
    if (planned < 0)
        return handleErrorWithCode(Corrupt);
    copyBudget_ = planned;
    std::shared_ptr<pt::Operation> previous;
    queueSection(&PTTernImporter::unarchiveLicences, previous);
    queueSection(&PTTernImporter::unarchiveGroups, previous);
    queueSection(&PTTernImporter::unarchiveSets, previous);
    auto self = shared_from_this();
    auto items = pt::BlockOperation::create([self] {
        const QVector<QJsonObject> records = self->records(ItemsKey);
        QVector<QJsonObject> batch;
        for (qsizetype i = 0; i < records.size(); ++i) {
            batch.append(records[i]);
            if ((i > 0 && i % BatchSize == 0) || i == records.size() - 1) {
                self->queue_->addOperation([self, batch] { self->processUnarchiveOfItems(batch); });
                batch.clear();
            }
        }
    });
    items->addDependency(previous);
    queue_->addOperation(items);
}

void PTTernImporter::queueSection(void (PTTernImporter::*step)(), std::shared_ptr<pt::Operation>& previous)
{
    auto self = shared_from_this();
    auto operation = pt::BlockOperation::create([self, step] { (self.get()->*step)(); });
    if (previous)
        operation->addDependency(previous);
    queue_->addOperation(operation);
    previous = operation;
}

void PTTernImporter::handleErrorWithCode(ErrorCode code)
{
    queue_->cancelAllOperations();
    if (!errorHandler_)
        return;
    auto self = shared_from_this();
    pt::DispatchQueue::main().async([self, code] { self->errorHandler_(pt::Error(ErrorDomain, code)); });
}

void PTTernImporter::keepRecordsWithinCaps(const QJsonObject& meta)
{
    qint64 skipped = 0;
    for (const QString& key : {LicencesKey, GroupsKey, SetsKey, ItemsKey}) {
        QVector<QJsonObject>& kept = sections_[key];
        const QJsonObject section = meta.value(key).toObject();
        for (auto it = section.constBegin(); it != section.constEnd(); ++it) {
            if (!it.value().isObject())
                continue;
            const QJsonObject record = it.value().toObject();
            if (isWithinCaps(record))
                kept.append(record);
            else
                ++skipped;
        }
    }
    skipped_ = skipped;
    if (skipped > 0)
        qCWarning(lcLibrary) << "bundle:" << skipped << "records with fields over the size caps skipped";
}

qint64 PTTernImporter::plannedCopyBytes() const
{
    const QString icons = QDir(path_).filePath(PTTernExporter::IconsFolder);
    if (QFileInfo(icons).isSymLink())
        return 0; // nothing is copied from a linked folder
    QHash<QString, qint64> sizes;
    qint64 held = 0;
    for (const QFileInfo& info : QDir(icons).entryInfoList(QDir::Files | QDir::Hidden | QDir::NoSymLinks)) {
        sizes.insert(info.fileName(), info.size());
        held = saturatingAdd(held, info.size());
    }
    const QStorageInfo storage(libraryPath_);
    const qint64 free = storage.isValid() ? storage.bytesAvailable() : std::numeric_limits<qint64>::max();
    const qint64 limit = std::min(saturatingAdd(held, SharedFileAllowance), free);
    qint64 planned = 0;
    for (const QJsonObject& record : records(ItemsKey)) {
        if (!referenceField(record, QStringLiteral("parent")).isEmpty())
            planned = saturatingAdd(planned, sizes.value(referenceField(record, QStringLiteral("file"))));
        if (planned > limit) {
            qCWarning(lcLibrary) << "bundle: records would copy more than the bundle holds or the disk has free";
            return -1;
        }
    }
    return planned;
}

bool PTTernImporter::chargeCopy(qint64 bytes)
{
    return copyBudget_.fetch_sub(bytes) >= bytes;
}

void PTTernImporter::inWorkerContext(const std::function<void(ObjectContext&)>& work)
{
    contextAdditions::runInWorkerContext(coordinator_, work);
}

void PTTernImporter::unarchiveLicences()
{
    inWorkerContext([this](ObjectContext& context) {
        QHash<QString, ObjectID> names;
        for (const ObjectID& id : std::as_const(libraryLicences_)) {
            PTLicence* licence = PTLicence::from(context.existingObjectWithID(id));
            const QString key = licence ? proposedKeyForString(licence->name()) : QString();
            if (!key.isEmpty())
                names.insert(key, id);
        }
        for (const QJsonObject& record : records(LicencesKey)) {
            const QString name = referenceField(record, QStringLiteral("name"));
            const QString key = proposedKeyForString(name);
            ObjectID resolved = key.isEmpty() ? ObjectID() : names.value(key);
            if (resolved.isNull()) {
                PTLicence* licence = PTLicence::insert(context);
                licence->setName(name);
                licence->setUrl(referenceField(record, QStringLiteral("url")));
                licence->setText(referenceField(record, QStringLiteral("text")));
                (void)context.obtainPermanentIDs({licence});
                resolved = licence->objectID();
                std::lock_guard lock(licences_.mutex);
                licences_.order.append(resolved);
            }
            const QString identifier = referenceField(record, QStringLiteral("identifier"));
            std::lock_guard lock(licences_.mutex);
            if (!identifier.isEmpty())
                licences_.map.insert(identifier, resolved);
        }
    });
}

pt::store::ManagedObject* PTTernImporter::objectForIdentifier(const QString& identifier, const QString& entityName,
                                                              ObjectContext& context, bool create)
{
    Created& created = entityName == PTGroup::EntityName ? groups_ : sets_;
    std::lock_guard lock(created.mutex);
    if (!identifier.isEmpty()) {
        if (auto found = created.map.constFind(identifier); found != created.map.constEnd())
            return context.existingObjectWithID(*found);
    }
    if (!create)
        return nullptr;
    pt::store::ManagedObject* object = context.insert(entityName);
    if (PTCollection* set = PTCollection::from(object))
        PTSetNewObjectDefaults(set); // a set made only because items name it still needs its own folder
    if (auto made = context.obtainPermanentIDs({object}); !made)
        qCWarning(lcLibrary).noquote() << "bundle: no permanent ID:" << made.error().toString();
    if (!identifier.isEmpty())
        created.map.insert(identifier, object->objectID());
    created.order.append(object->objectID());
    return object;
}

PTGroup* PTTernImporter::groupForIdentifier(const QString& identifier, ObjectContext& context)
{
    return PTGroup::from(objectForIdentifier(identifier, PTGroup::EntityName, context, true));
}

PTCollection* PTTernImporter::setForIdentifier(const QString& identifier, ObjectContext& context, bool create)
{
    return PTCollection::from(objectForIdentifier(identifier, PTCollection::EntityName, context, create));
}

std::optional<ObjectID> PTTernImporter::licenceForIdentifier(const QString& identifier)
{
    std::lock_guard lock(licences_.mutex);
    if (auto found = licences_.map.constFind(identifier); !identifier.isEmpty() && found != licences_.map.constEnd())
        return *found;
    return std::nullopt;
}

void PTTernImporter::unarchiveGroups()
{
    inWorkerContext([this](ObjectContext& context) {
        for (const QJsonObject& record : records(GroupsKey)) {
            PTGroup* group = groupForIdentifier(referenceField(record, QStringLiteral("identifier")), context);
            if (!group)
                continue;
            group->setName(referenceField(record, QStringLiteral("name")));
            group->setSort(integerField(record, QStringLiteral("sort")).value_or(0));
            group->setInformativeText(referenceField(record, QStringLiteral("description")));
            const QString parent = referenceField(record, QStringLiteral("parent"));
            if (PTGroup* parentGroup = parent.isEmpty() ? nullptr : groupForIdentifier(parent, context))
                relations_.addRelationshipBetween(group->objectID(), parentGroup->objectID(),
                                                  PTImporter2Relations::GroupToParentGroup);
        }
    });
}

void PTTernImporter::unarchiveSets()
{
    inWorkerContext([this](ObjectContext& context) {
        for (const QJsonObject& record : records(SetsKey)) {
            PTCollection* set = setForIdentifier(referenceField(record, QStringLiteral("identifier")), context, true);
            if (!set)
                continue;
            set->setName(referenceField(record, QStringLiteral("name")));
            set->setInformativeText(referenceField(record, QStringLiteral("description")));
            set->setDate(dateFromArchivedFormat(stringField(record, QStringLiteral("date"))));
            if (const std::optional<qint64> sort = integerField(record, QStringLiteral("sort")))
                set->setSort(*sort);
            PTSetNewObjectDefaults(set);
            if (const auto licence = licenceForIdentifier(referenceField(record, QStringLiteral("licence"))))
                relations_.addRelationshipBetween(set->objectID(), *licence, PTImporter2Relations::SetToLicence);
            const QString parent = referenceField(record, QStringLiteral("parent"));
            if (PTGroup* group = parent.isEmpty() ? nullptr : groupForIdentifier(parent, context))
                relations_.addRelationshipBetween(set->objectID(), group->objectID(), PTImporter2Relations::SetToGroup);
        }
        // Sets that items name but the bundle does not define are made here, once, before the item batches run
        // side by side: otherwise each batch could make its own.
        for (const QJsonObject& record : records(ItemsKey)) {
            const QString parent = referenceField(record, QStringLiteral("parent"));
            if (!parent.isEmpty())
                setForIdentifier(parent, context, true);
        }
    });
}

void PTTernImporter::processUnarchiveOfItems(const QVector<QJsonObject>& records)
{
    const QString icons = QDir(path_).filePath(PTTernExporter::IconsFolder);
    if (QFileInfo(icons).isSymLink() || copyBudget_ < 0)
        return;
    inWorkerContext([&](ObjectContext& context) {
        struct Made {
            PTItem* item;
            const QJsonObject* record;
            QString file;
            qint64 size;
        };
        QVector<Made> made;
        QVector<pt::store::ManagedObject*> items;
        for (const QJsonObject& record : records) {
            // The file must lie directly in "icons": a name with a path in it, or a link, could read from
            // anywhere on the disk.
            const QString file = referenceField(record, QStringLiteral("file"));
            if (!entityValues::isPlainFileName(file))
                continue;
            const QFileInfo sourceInfo(QDir(icons).filePath(file));
            if (sourceInfo.isSymLink() || !sourceInfo.isFile())
                continue;
            PTItem* item = PTItem::insert(context);
            item->setName(referenceField(record, QStringLiteral("name")));
            item->setDate(dateFromArchivedFormat(stringField(record, QStringLiteral("date"))));
            item->setUnicode(referenceField(record, QStringLiteral("unicode")));
            item->setWidth(integerField(record, QStringLiteral("width")).value_or(0));
            item->setHeight(integerField(record, QStringLiteral("height")).value_or(0));
            if (const std::optional<qint64> type = integerField(record, QStringLiteral("type")))
                item->setType(*type);
            item->setInformativeText(referenceField(record, QStringLiteral("description")));
            made.append({item, &record, file, sourceInfo.size()});
            items.append(item);
        }
        // One store transaction for the whole batch.
        if (auto obtained = context.obtainPermanentIDs(items); !obtained)
            qCWarning(lcLibrary).noquote() << "bundle: no permanent IDs:" << obtained.error().toString();
        {
            std::lock_guard lock(items_.mutex);
            for (const Made& m : made)
                items_.order.append(m.item->objectID());
        }
        // Sets and their folders, looked up once per batch.
        QHash<QString, std::pair<PTCollection*, QString>> sets;
        for (const Made& m : made) {
            PTItem* item = m.item;
            if (const auto licence = licenceForIdentifier(referenceField(*m.record, QStringLiteral("licence"))))
                relations_.addRelationshipBetween(item->objectID(), *licence, PTImporter2Relations::ItemToLicence);
            if (const std::optional<QString> tags = stringField(*m.record, QStringLiteral("tags")))
                PTTagController::applyTagsStringArray(tags->split(QLatin1Char(',')), {item}, false);
            else
                PTTagController::autoApplyTagsToItem(item);
            const QString parent = referenceField(*m.record, QStringLiteral("parent"));
            if (parent.isEmpty())
                continue;
            auto found = sets.constFind(parent);
            if (found == sets.constEnd()) {
                PTCollection* set = setForIdentifier(parent, context, false);
                found = sets.insert(parent, {set, set ? set->formattedDirectory() : QString()});
            }
            const auto& [set, folder] = *found;
            if (!set)
                continue;
            const QString copied = folder.isEmpty() || !chargeCopy(m.size)
                                       ? QString()
                                       : PTBundleFileCopy::copyIntoFolder(QDir(icons).filePath(m.file), m.file, folder);
            // A file that grew while it was copied is charged too; a broken-off import is rolled back.
            if (copied.isEmpty() || !chargeCopy(QFileInfo(QDir(folder).filePath(copied)).size() - m.size)) {
                context.deleteObject(item);
                continue;
            }
            item->setNewFileName(copied);
            relations_.addRelationshipBetween(item->objectID(), set->objectID(), PTImporter2Relations::ItemToSet);
        }
    });
}

void PTTernImporter::rollBack(ObjectContext& context)
{
    for (const ObjectID& id : std::as_const(sets_.order)) {
        PTCollection* set = PTCollection::from(context.existingObjectWithID(id));
        if (const QString folder = set ? set->formattedDirectory() : QString(); !folder.isEmpty())
            QDir(folder).removeRecursively();
    }
    for (const ObjectID& id : items_.order + sets_.order + groups_.order + licences_.order) {
        if (pt::store::ManagedObject* object = context.existingObjectWithID(id))
            context.deleteObject(object);
    }
}

void PTTernImporter::finished()
{
    // The queue is empty: drop it here, so that the last reference to the importer, wherever it goes, never
    // waits for the queue from one of the queue's own operations.
    queue_.reset();
    auto self = shared_from_this();
    pt::DispatchQueue::global(pt::QueuePriority::High).async([self] {
        pt::DispatchQueue::main().async([self] {
            QVector<ObjectID> result;
            const bool brokenOff = self->copyBudget_ < 0;
            if (ObjectContext* context = PTMainManagedObjectContext(); context && brokenOff) {
                self->rollBack(*context);
                PTSaveManagedObjectContext();
            } else if (context) {
                const QVector<ObjectID> created = self->groups_.order + self->sets_.order;
                // New sets reach the main context through merges before they are linked; only the objects that
                // were at the top level before count.
                qint64 count = 0;
                for (pt::store::ManagedObject* object : PTGroupController::sharedController().objectsForGroup(nullptr, true))
                    count += created.contains(object->objectID()) ? 0 : 1;
                self->relations_.propagateRelationshipsIntoContext(*context);
                for (const ObjectID& id : created) {
                    pt::store::ManagedObject* object = context->existingObjectWithID(id);
                    if (!object || PTGroupController::parentOf(object))
                        continue;
                    result.append(id);
                    PTGroupController::setSortOf(object, ++count);
                }
                PTSaveManagedObjectContext();
            }
            if (brokenOff && self->errorHandler_)
                self->errorHandler_(pt::Error(ErrorDomain, Corrupt));
            if (self->completion_)
                self->completion_(result);
        });
    });
}

void PTTernImporter::purge()
{
    PTCollectionController::sharedController().purge();
    PTGroupController::sharedController().purge();
    PTLicenceController::sharedController().purge();
    if (PTHasManagedObjectContext())
        PTMainManagedObjectContext()->processPendingChanges();
    PTLicenceController::sharedController().notifyObserversOfDidChange();
    PTCollectionController::sharedController().notifyObserversOfDidChange();
}
