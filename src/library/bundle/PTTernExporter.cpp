#include "library/bundle/PTTernExporter.h"

#include "foundation/DataAdditions.h"
#include "foundation/StringAdditions.h"
#include "library/store/ContextAdditions.h"
#include "library/entities/EntityValues.h"
#include "library/entities/PTCollection.h"
#include "library/entities/PTGroup.h"
#include "library/entities/PTItem.h"
#include "library/PTLibraryController.h"
#include "library/upkeep/PTLibraryShell.h"
#include "library/entities/PTLicence.h"
#include "library/store/PTStoreFunctions.h"
#include "library/bundle/PTBundleFileCopy.h"
#include "platform/runtime/Logging.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QLocale>
#include <QSaveFile>


namespace {

const QString ExportingTitle = QStringLiteral("Exporting Tern, please wait...");
const QString ExportCompleteTitle = QStringLiteral("Export Complete");
const QString ExportIncompleteTitle = QStringLiteral("Export Incomplete");
const QString ExportFailedTitle = QStringLiteral("Export Failed");
constexpr double SheetLingerSeconds = 1.0;

QString formattedDate(const QDateTime& date)
{
    return QLocale::c().toString(date.toLocalTime(), PTTernExporter::DateFormat);
}

bool isBlank(const QString& text)
{
    return text.trimmed().isEmpty();
}

void insertSort(QJsonObject& record, const pt::store::ManagedObject& object, qint64 sort)
{
    if (!object.value(QStringLiteral("sort")).isNull())
        record.insert(QStringLiteral("sort"), double(sort));
}

void insertDescription(QJsonObject& record, const QString& description)
{
    if (!isBlank(description))
        record.insert(QStringLiteral("description"), description);
}

// True when replacing the path would delete the current library or a folder that holds it.
bool holdsLibrary(const QString& path)
{
    const PTLibraryController* library = PTLibraryController::currentLibrary();
    if (!library)
        return false;
    const QString libraryPath = QDir::cleanPath(QFileInfo(library->path()).absoluteFilePath());
    const QString candidate = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    return libraryPath == candidate || libraryPath.startsWith(candidate + QLatin1Char('/')) || candidate == u"/";
}

} // namespace

void PTTernExporter::exportManagedObject(pt::store::ManagedObject* object)
{
    if (!PTCollection::from(object) && !PTGroup::from(object))
        return;
    const std::shared_ptr<PTLibraryShell> shell = PTLibraryShell::installed();
    if (!shell)
        return;
    const QString name = PTCollection::from(object) ? PTCollection::from(object)->name() : PTGroup::from(object)->name();
    PTLibraryShell::PanelRequest request;
    request.proposedName = QStringLiteral("%1.%2").arg(stringAdditions::normalizedString(name), Extension);
    request.allowedExtensions = {Extension};
    request.packageExtensions = PackageExtensions;
    const QString path = shell->runSavePanel(request);
    if (!path.isEmpty())
        exportManagedObjectToPath(object, path, path);
}

QString PTTernExporter::bundlePathForPath(const QString& path, const QString& confirmedPath)
{
    const QFileInfo info(path);
    const QString stem = QDir(info.absolutePath()).filePath(info.suffix().isEmpty() ? info.fileName()
                                                                                    : info.completeBaseName());
    const QString target = stem + u'.' + Extension;
    const bool confirmed = !confirmedPath.isEmpty() && QDir::cleanPath(QFileInfo(confirmedPath).absoluteFilePath()) ==
                                                           QDir::cleanPath(target);
    if ((!QFileInfo::exists(target) && !QFileInfo(target).isSymLink()) || (confirmed && !holdsLibrary(target)))
        return target;
    for (int n = 2;; ++n) {
        const QString candidate = QStringLiteral("%1 %2.%3").arg(stem).arg(n).arg(Extension);
        if (!QFileInfo::exists(candidate) && !QFileInfo(candidate).isSymLink())
            return candidate;
    }
}

void PTTernExporter::exportManagedObjectToPath(pt::store::ManagedObject* object, const QString& path,
                                               const QString& confirmedPath)
{
    const QString target = bundlePathForPath(path, confirmedPath);
    const pt::store::ObjectID id = object->objectID();
    pt::DispatchQueue::main().async([id, target] {
        pt::store::ObjectContext* context = PTMainManagedObjectContext();
        pt::store::ManagedObject* object = context ? context->existingObjectWithID(id) : nullptr;
        if (!object)
            return;
        const std::shared_ptr<PTLibraryShell> shell = PTLibraryShell::installed();
        std::shared_ptr<PTProgressSheet> sheet(shell ? shell->makeProgressSheet(ExportingTitle) : nullptr);
        if (sheet)
            sheet->beginSession();
        auto exporter = create(object, target);
        // Weak: the exporter owns its completion.
        exporter->setCompletionHandler([sheet, weak = std::weak_ptr<PTTernExporter>(exporter)] {
            const std::shared_ptr<PTTernExporter> exporter = weak.lock();
            const int failed = exporter ? exporter->failedCopies() : 0;
            const QString failure = exporter ? exporter->failureReason() : QString();
            if (sheet) {
                sheet->setTitle(!failure.isEmpty() ? ExportFailedTitle
                                : failed           ? ExportIncompleteTitle
                                                   : ExportCompleteTitle);
                pt::dispatchAfter(SheetLingerSeconds, pt::DispatchQueue::main(), [sheet] { sheet->endSession(); });
            }
            const std::shared_ptr<PTLibraryShell> shell = PTLibraryShell::installed();
            if (shell && !failure.isEmpty())
                shell->presentAlert(QCoreApplication::translate("PTTernExporter", "The export failed"), failure);
            else if (shell && failed)
                shell->presentAlert(QCoreApplication::translate("PTTernExporter", "The export is incomplete"),
                                    QCoreApplication::translate("PTTernExporter",
                                                                "%1 icon files could not be copied into the bundle.")
                                        .arg(QString::number(failed)));
        });
        exporter->begin();
    });
}

std::shared_ptr<PTTernExporter> PTTernExporter::create(pt::store::ManagedObject* object, const QString& path)
{
    std::shared_ptr<PTTernExporter> exporter(new PTTernExporter());
    exporter->path_ = path;
    exporter->iconsPath_ = QDir(path).filePath(IconsFolder);
    if (pt::store::ObjectContext* context = object->context()) {
        // Workers find the object in the store only under its permanent ID.
        if (auto made = context->obtainPermanentIDs({object}); !made)
            qCWarning(lcLibrary).noquote() << "bundle: no permanent ID:" << made.error().toString();
        exporter->coordinator_ = context->sharedCoordinator();
    }
    exporter->objectID_ = object->objectID();
    return exporter;
}

void PTTernExporter::begin()
{
    queue_ = std::make_unique<pt::OperationQueue>(QStringLiteral("com.pictern.tern.exporter"));
    auto self = shared_from_this();
    if (holdsLibrary(path_)) {
        qCWarning(lcLibrary).noquote() << "bundle: refusing to replace the library or a folder holding it:" << path_;
        fail(QCoreApplication::translate("PTTernExporter", "The bundle would replace the library."));
        return;
    }
    const QFileInfo existing(path_);
    if (existing.isSymLink() || existing.isFile())
        QFile::remove(path_);
    else if (existing.isDir())
        QDir(path_).removeRecursively();
    if (!QDir().mkpath(iconsPath_)) {
        fail(QCoreApplication::translate("PTTernExporter", "The folder \"%1\" could not be created.")
                 .arg(QDir::toNativeSeparators(path_)));
        return;
    }
    PTSaveManagedObjectContextWithCompletion([self](const pt::Error&) {
        self->queueObject(self->objectID_, true);
        self->queue_->notifyWhenEmpty([self] { self->finished(); });
    });
}

void PTTernExporter::fail(const QString& reason)
{
    failureReason_ = reason;
    pt::DispatchQueue::main().async([self = shared_from_this()] {
        if (self->completion_)
            self->completion_();
    });
}

void PTTernExporter::queueObject(const pt::store::ObjectID& id, bool ignoreParent)
{
    auto self = shared_from_this();
    queue_->addOperation([self, id, ignoreParent] {
        if (!self->coordinator_)
            return;
        pt::store::ObjectContext context(pt::store::ObjectContext::Kind::Confinement, self->coordinator_);
        pt::store::ManagedObject* object = context.existingObjectWithID(id);
        if (PTCollection* set = PTCollection::from(object)) {
            self->exportCollection(set, ignoreParent);
        } else if (PTGroup* group = PTGroup::from(object)) {
            self->exportGroup(group, ignoreParent);
            for (PTGroup* child : group->groups())
                self->queueObject(child->objectID(), false);
            for (PTCollection* set : group->sets())
                self->queueObject(set->objectID(), false);
        }
        contextAdditions::resetAndBreakCycles(context);
    });
}

void PTTernExporter::exportGroup(PTGroup* group, bool ignoreParent)
{
    const QString identifier = identifierForObjectID(group->objectID());
    QJsonObject record{{QStringLiteral("name"), group->name()}, {QStringLiteral("identifier"), identifier}};
    insertSort(record, *group, group->sort());
    insertDescription(record, group->informativeText());
    if (group->group() && !ignoreParent)
        record.insert(QStringLiteral("parent"), identifierForObjectID(group->group()->objectID()));
    store(groupsMutex_, groups_, record);
}

void PTTernExporter::exportCollection(PTCollection* set, bool ignoreParent)
{
    const QString identifier = identifierForObjectID(set->objectID());
    QJsonObject record{{QStringLiteral("name"), set->name()}, {QStringLiteral("identifier"), identifier}};
    insertSort(record, *set, set->sort());
    insertDescription(record, set->informativeText());
    const QDateTime date = set->date();
    record.insert(QStringLiteral("date"), formattedDate(date.isValid() ? date : QDateTime::currentDateTime()));
    if (set->group() && !ignoreParent)
        record.insert(QStringLiteral("parent"), identifierForObjectID(set->group()->objectID()));
    record.insert(QStringLiteral("licence"), computeLicence(set->licence()));

    const QString folder = set->formattedDirectory();
    for (PTItem* item : set->items()) {
        const QString itemIdentifier = identifierForObjectID(item->objectID());
        QJsonObject itemRecord{
            {QStringLiteral("name"), item->name()},
            {QStringLiteral("width"), double(item->width())},
            {QStringLiteral("height"), double(item->height())},
            {QStringLiteral("type"), double(item->type())},
            {QStringLiteral("identifier"), itemIdentifier},
            {QStringLiteral("parent"), identifier},
            {QStringLiteral("unicode"), item->unicode()},
            {QStringLiteral("licence"), computeLicence(item->licence())},
        };
        if (item->date().isValid())
            itemRecord.insert(QStringLiteral("date"), formattedDate(item->date()));
        if (!item->tagsString().isEmpty())
            itemRecord.insert(QStringLiteral("tags"), item->tagsString());
        insertDescription(itemRecord, item->informativeText());
        const QString source = folder.isEmpty() || item->newFileName().isEmpty()
                                   ? QString()
                                   : QDir(folder).filePath(item->newFileName());
        const QString file = source.isEmpty() || !QFileInfo(source).isFile()
                                 ? QString()
                                 : PTBundleFileCopy::copyIntoFolder(source, item->newFileName(), iconsPath_);
        if (file.isEmpty()) {
            ++failedCopies_;
            qCWarning(lcLibrary).noquote() << "bundle: icon not copied:" << source;
            continue;
        }
        itemRecord.insert(QStringLiteral("file"), file);
        store(itemsMutex_, items_, itemRecord);
    }
    store(setsMutex_, sets_, record);
}

QString PTTernExporter::computeLicence(PTLicence* licence)
{
    if (!licence)
        return QString(u""_qs);
    const QString identifier = identifierForObjectID(licence->objectID());
    std::lock_guard lock(licencesMutex_);
    if (!licences_.contains(identifier)) {
        // Missing fields are written as empty strings, never null, so that readers find strings throughout.
        licences_.insert(identifier, QJsonObject{
                                         {QStringLiteral("name"), licence->name().isNull() ? u""_qs : licence->name()},
                                         {QStringLiteral("identifier"), identifier},
                                         {QStringLiteral("url"), licence->url().isNull() ? u""_qs : licence->url()},
                                         {QStringLiteral("text"), licence->text().isNull() ? u""_qs : licence->text()},
                                     });
    }
    return identifier;
}

QString PTTernExporter::identifierForObjectID(const pt::store::ObjectID& id)
{
    if (id.isNull())
        return {};
    const QString key = id.uriPath();
    std::lock_guard lock(identifiersMutex_);
    auto found = identifiers_.constFind(key);
    if (found != identifiers_.constEnd())
        return *found;
    const QString identifier = entityValues::newIdentifier();
    identifiers_.insert(key, identifier);
    return identifier;
}

void PTTernExporter::store(std::mutex& mutex, QHash<QString, QJsonObject>& records, const QJsonObject& record)
{
    std::lock_guard lock(mutex);
    records.insert(record.value(QStringLiteral("identifier")).toString(), record);
}

QJsonObject PTTernExporter::section(std::mutex& mutex, const QHash<QString, QJsonObject>& records)
{
    std::lock_guard lock(mutex);
    QJsonObject result;
    for (auto it = records.constBegin(); it != records.constEnd(); ++it)
        result.insert(it.key(), it.value());
    return result;
}

void PTTernExporter::finished()
{
    auto self = shared_from_this();
    queue_->addOperation([self] {
        QString failure = self->writeMeta();
        pt::DispatchQueue::main().async([self, failure] {
            // Dropped here, so that the last reference to the exporter never waits for the queue from one of
            // the queue's own operations.
            self->queue_.reset();
            self->failureReason_ = failure;
            // A bundle without META is no bundle: nothing to show.
            if (const std::shared_ptr<PTLibraryShell> shell = PTLibraryShell::installed(); shell && failure.isEmpty())
                shell->showFilesInFileManager({self->path_});
            if (self->completion_)
                self->completion_();
        });
    });
}

QString PTTernExporter::writeMeta()
{
    const QString version = QCoreApplication::applicationVersion();
    const QJsonObject meta{
        {QStringLiteral("version"), FormatVersion},
        {QStringLiteral("build"), QJsonObject{{QStringLiteral("version"), version}, {QStringLiteral("build"), version}}},
        {QStringLiteral("date"), formattedDate(QDateTime::currentDateTime())},
    };
    const QJsonObject root{
        {QStringLiteral("meta"), meta},
        {QStringLiteral("groups"), section(groupsMutex_, groups_)},
        {QStringLiteral("sets"), section(setsMutex_, sets_)},
        {QStringLiteral("licences"), section(licencesMutex_, licences_)},
        {QStringLiteral("items"), section(itemsMutex_, items_)},
    };
    const pt::Result<QByteArray> gzipped =
        dataAdditions::gzippedDataWithCompressionLevel(QJsonDocument(root).toJson(QJsonDocument::Compact), 1.0f);
    if (!gzipped) {
        qCWarning(lcLibrary).noquote() << "bundle: META not compressed:" << gzipped.error().toString();
        return gzipped.error().localizedDescription();
    }
    QSaveFile file(QDir(path_).filePath(MetaFile));
    if (!file.open(QIODevice::WriteOnly) || file.write(*gzipped) != gzipped->size() || !file.commit()) {
        qCWarning(lcLibrary).noquote() << "bundle: META not written:" << file.errorString();
        return QCoreApplication::translate("PTTernExporter", "The bundle's index could not be written: %1")
            .arg(file.errorString());
    }
    return {};
}
