#include "library/PTLibraryController.h"

#include "foundation/StringAdditions.h"
#include "platform/plist/PropertyList.h"
#include "platform/runtime/Defaults.h"
#include "platform/runtime/Logging.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QStandardPaths>

namespace {

std::unique_ptr<PTLibraryController>& sharedLibrary()
{
    static std::unique_ptr<PTLibraryController> library;
    return library;
}

bool sharedLibraryLoaded = false;

const QLocale& usLocale()
{
    static const QLocale locale(QLocale::English, QLocale::UnitedStates);
    return locale;
}

QString joined(const QString& base, const QString& relativePath, bool create)
{
    const QString path = relativePath.isEmpty() ? base : QDir(base).filePath(relativePath);
    if (create && !QFileInfo::exists(path))
        QDir().mkpath(path);
    return path;
}

} // namespace

void PTLibraryController::registerDefaults()
{
    pt::Defaults::standard().registerDefaults({{BackupFrequencyKey, 3}});
}

PTLibraryController* PTLibraryController::currentLibrary()
{
    if (!sharedLibraryLoaded) {
        sharedLibraryLoaded = true;
        sharedLibrary() = initWithLibraryPath(location());
    }
    return sharedLibrary().get();
}

void PTLibraryController::setCurrentLibrary(std::unique_ptr<PTLibraryController> library)
{
    sharedLibraryLoaded = true;
    sharedLibrary() = std::move(library);
    if (sharedLibrary())
        sharedLibrary()->makeCurrentLibrary();
}

QString PTLibraryController::defaultName()
{
    return QStringLiteral("Pictern.") + Extension;
}

QString PTLibraryController::defaultBaseDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Pictern");
}

QString PTLibraryController::defaultBaseDirectoryByAppendingPath(const QString& relativePath,
                                                                 bool createIntermediateDirectories)
{
    return joined(defaultBaseDirectory(), relativePath, createIntermediateDirectories);
}

QString PTLibraryController::location()
{
    return locationByCheckingExistance(false, nullptr, nullptr);
}

QString PTLibraryController::locationByCheckingExistance(bool check, bool* exists, bool* didExist)
{
    const QString stored = pt::Defaults::standard().stringForKey(PathKey);
    if (didExist)
        *didExist = !stored.isEmpty();
    const QString path = stored.isEmpty() ? QDir(defaultBaseDirectory()).filePath(defaultName()) : stored;
    if (check && exists)
        *exists = QFileInfo::exists(path);
    return path;
}

QString PTLibraryController::computeLocation(const QString& path)
{
    const QFileInfo info(path);
    if (info.suffix().toLower() == Extension)
        return path;
    const QString name = info.fileName();
    const int dot = name.lastIndexOf(u'.');
    const QString stem = dot > 0 ? name.left(dot) : name;
    return QDir(info.path()).filePath(stem + u'.' + Extension);
}

QString PTLibraryController::dateStringFromDate(const QDateTime& date)
{
    return usLocale().toString(date.isValid() ? date : QDateTime::currentDateTime(), QStringLiteral("MM-dd-yyyy"));
}

QString PTLibraryController::timestampString()
{
    return usLocale().toString(QDateTime::currentDateTime(), QStringLiteral("MM-dd-yyyy@HH-mm-ss"));
}

QString PTLibraryController::defaultNameWithTimestamp()
{
    return QStringLiteral("Pictern-backup-%1.%2").arg(timestampString(), Extension);
}

QString PTLibraryController::applicationShortVersionString()
{
    return QCoreApplication::applicationVersion();
}

std::unique_ptr<PTLibraryController> PTLibraryController::initWithCreatingLibraryAtPath(const QString& path)
{
    std::unique_ptr<PTLibraryController> library(new PTLibraryController(path));
    QDir().mkpath(path);
    library->load();
    return library;
}

std::unique_ptr<PTLibraryController> PTLibraryController::initWithLibraryPath(const QString& path)
{
    if (!QFileInfo(path).isDir())
        return nullptr;
    std::unique_ptr<PTLibraryController> library(new PTLibraryController(path));
    library->load();
    return library;
}

PTLibraryController::PTLibraryController(const QString& path) : path_(path) {}

void PTLibraryController::load()
{
    const auto stored = pt::PropertyList::fromFile(metaLocation());
    if (stored.ok() && stored->typeId() == QMetaType::QVariantMap) {
        meta_ = stored->toMap();
        return;
    }
    if (QFileInfo::exists(metaLocation()))
        qCWarning(lcLibrary) << "unreadable META, starting a new one:" << metaLocation();
    meta_ = {
        {MetaVersionKey, InitialVersionNumber},
        {MetaBuildDateKey, QDateTime::currentDateTimeUtc()},
        {MetaBuildVersionKey, applicationShortVersionString()},
    };
}

bool PTLibraryController::synchronizeMeta()
{
    meta_.insert(MetaBuildVersionKey, applicationShortVersionString());
    const auto written = pt::PropertyList::writeFile(meta_, metaLocation());
    if (!written)
        qCWarning(lcLibrary) << "META not written:" << written.error().toString();
    return written.ok();
}

double PTLibraryController::versionNumber() const
{
    return meta_.value(MetaVersionKey).toDouble();
}

void PTLibraryController::setVersionNumber(double version)
{
    meta_.insert(MetaVersionKey, version);
    synchronizeMeta();
}

QDateTime PTLibraryController::buildDate() const
{
    return meta_.value(MetaBuildDateKey).toDateTime();
}

QString PTLibraryController::buildVersion() const
{
    return meta_.value(MetaBuildVersionKey).toString();
}

QDateTime PTLibraryController::lastBackupDate() const
{
    return meta_.value(MetaBackupDateKey).toDateTime();
}

void PTLibraryController::setLastBackupDate(const QDateTime& date)
{
    meta_.insert(MetaBackupDateKey, date);
    synchronizeMeta();
}

void PTLibraryController::makeCurrentLibrary() const
{
    pt::Defaults::standard().set(PathKey, path_);
}

void PTLibraryController::createIfNeeded() const
{
    if (!QFileInfo::exists(path_))
        QDir().mkpath(path_);
}

int PTLibraryController::compareVersionWithString(const QString& version) const
{
    return PTCompareVersions(version, buildVersion());
}

int PTLibraryController::compareLibraryVersion(const PTLibraryController& other) const
{
    return compareVersionWithString(other.buildVersion());
}

QString PTLibraryController::nameWithTimestamp() const
{
    return QStringLiteral("%1-backup-%2.%3").arg(QFileInfo(path_).completeBaseName(), timestampString(), Extension);
}

QString PTLibraryController::persistantStoreCoordinatorPath() const
{
    return QDir(path_).filePath(StoreFileName);
}

bool PTLibraryController::persistantStoreCoordinatorExists() const
{
    return QFileInfo::exists(persistantStoreCoordinatorPath());
}

QString PTLibraryController::metaLocation() const
{
    return QDir(path_).filePath(MetaFileName);
}

QUrl PTLibraryController::locationURL() const
{
    return QUrl::fromLocalFile(path_);
}

QString PTLibraryController::locationByAppendingPath(const QString& relativePath,
                                                     bool createIntermediateDirectories) const
{
    return joined(path_, relativePath, createIntermediateDirectories);
}

void PTLibraryController::checkItegrity()
{
    const QDir base(defaultBaseDirectory());
    const QStringList entries = base.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    if (entries.isEmpty())
        return;
    const QString package = QFileInfo(path_).absoluteFilePath();
    for (const QString& name : entries) {
        if (QFileInfo(name).suffix() == Extension)
            continue;
        const QString from = base.absoluteFilePath(name);
        if (from == package)
            continue;
        // A rename within one file system: the entry is in one place or the other, never lost. One that cannot
        // move (a name taken in the package) stays where it was.
        if (!QDir().rename(from, QDir(path_).filePath(name)))
            qCWarning(lcLibrary) << "could not move" << from << "into the library";
    }
    synchronizeMeta();
}
