#include "library/PTLibraryController.h"

#include "foundation/DispatchHelpers.h"
#include "foundation/StringAdditions.h"
#include "foundation/SystemError.h"
#include "library/ImportNaming.h"
#include "library/upkeep/PTLibraryBackupController.h"
#include "library/upkeep/PTLibraryIndexer.h"
#include "library/upkeep/PTLibraryShell.h"
#include "library/upkeep/PTMigrationController.h"
#include "library/store/PTStoreFunctions.h"
#include "library/store/PTStoreStack.h"
#include "platform/plist/PropertyList.h"
#include "platform/runtime/Defaults.h"
#include "platform/runtime/DispatchQueue.h"
#include "platform/runtime/Logging.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QPointer>
#include <QUuid>

#include <filesystem>

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
        sharedLibrary() = initWithLibraryPath(location(), true);
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
    const pt::Result<QString> folder = PTStoreStack::applicationFilesDirectory();
    if (folder)
        return *folder;
    qCWarning(lcLibrary).noquote() << folder.error().toString() << folder.error().localizedFailureReason();
    // The path all the same: what is made in it next fails there and says so, rather than landing elsewhere.
    return folder.error().userInfo.value(pt::Error::FilePathKey).toString();
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

std::unique_ptr<PTLibraryController> PTLibraryController::initWithLibraryPath(const QString& path,
                                                                             bool performAutoBackupIntegrityCheck)
{
    if (!QFileInfo(path).isDir())
        return nullptr;
    std::unique_ptr<PTLibraryController> library(new PTLibraryController(path));
    if (performAutoBackupIntegrityCheck)
        library->checkBackupStatus();
    library->load();
    return library;
}

PTLibraryController::PTLibraryController(const QString& path) : path_(path) {}

PTLibraryController::~PTLibraryController() = default;

void PTLibraryController::load()
{
    terminateObserver_ = pt::NotificationCenter::defaultCenter().addObserver(
        WillTerminateNotification, nullptr, [this](const pt::Notification&) { checkAutoBackup(); });
    const auto stored = pt::PropertyList::fromFile(metaLocation());
    metaWasRead_ = stored.ok() && stored->typeId() == QMetaType::QVariantMap;
    if (metaWasRead_) {
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

qint64 PTLibraryController::backupFrequency()
{
    return pt::Defaults::standard().integerForKey(BackupFrequencyKey);
}

bool PTLibraryController::wantsBackupFromFrequencyReached()
{
    return wantsBackupFromFrequency(backupFrequency(),
                                    pt::Defaults::standard().objectForKey(BackupFrequencyLastCheckKey).toDateTime(),
                                    QDateTime::currentDateTime());
}

bool PTLibraryController::wantsBackupFromFrequency(qint64 frequency, const QDateTime& lastCheck, const QDateTime& now)
{
    if (frequency < EveryQuit || frequency > Monthly)
        return false;
    if (frequency == EveryQuit || !lastCheck.isValid())
        return true;
    // Whole calendar periods: the 5th of two months is not the same day, week 1 of two years not the same week.
    const QDate last = lastCheck.toLocalTime().date();
    const QDate today = now.toLocalTime().date();
    switch (frequency) {
    case Daily:
        return last != today;
    case Weekly: {
        int lastYear = 0;
        int thisYear = 0;
        const int lastWeek = last.weekNumber(&lastYear);
        return lastWeek != today.weekNumber(&thisYear) || lastYear != thisYear;
    }
    default:
        return last.year() != today.year() || last.month() != today.month();
    }
}

void PTLibraryController::checkBackupStatus()
{
    const QString markerPath = QDir(path_).filePath(BackupMarkerFileName);
    QDateTime date;
    if (QFileInfo::exists(markerPath)) {
        const auto marker = pt::PropertyList::fromFile(markerPath);
        if (marker && marker->typeId() == QMetaType::QVariantMap)
            date = marker->toMap().value(PTLibraryBackupController::MarkerDateKey).toDateTime().toLocalTime();
    } else if (!QFileInfo(path_).fileName().contains(QLatin1String("backup"))) {
        return;
    }
    const QString base = defaultBaseDirectoryByAppendingPath({}, true);
    const QString name = PTSafeUniqueFileName(
        QStringLiteral("%1@%2.%3").arg(QFileInfo(defaultName()).completeBaseName(), dateStringFromDate(date), Extension),
        base);
    PTLibraryBackupController backup(this);
    backup.destinationPath = QDir(base).filePath(name);
    backup.title = QStringLiteral("Importing from Backup");
    backup.subtitle = QStringLiteral("We have detected you are loading a Library which is has been marked as a backup. "
                                     "Please wait whilst we Import it.");
    backup.completionTimeout = 2.0;
    backup.completionText = QStringLiteral("Import Complete");
    backup.allowsCancellation = false;
    backup.buttonControlLabel = QStringLiteral("Continue");
    if (!backup.backupByPresentingModalForMode(PTLibraryBackupController::PresetDestination,
                                               PTLibraryBackupController::ImportSheet)) {
        // The copy failed: open the package as it is rather than not at all.
        qCWarning(lcLibrary) << "could not import the backup copy" << path_;
        return;
    }
    QFile::remove(QDir(backup.destinationPath).filePath(BackupMarkerFileName));
    path_ = backup.destinationPath;
    makeCurrentLibrary();
}

void PTLibraryController::checkAutoBackup()
{
    // Every open package hears the notification; only the current library backs up.
    if (sharedLibrary().get() != this || PTMigrationController::migrationWasPerformed())
        return;
    const bool wanted = wantsBackupFromFrequencyReached();
    pt::Defaults::standard().set(BackupFrequencyLastCheckKey, QDateTime::currentDateTimeUtc());
    pt::Defaults::standard().synchronize();
    if (!wanted)
        return;
    const auto shell = PTLibraryShell::installed();
    if (shell)
        shell->saveTerminationState();
    // After the final save, so that the copy holds the last changes.
    PTSaveManagedObjectContextWithCompletion([this, shell](const pt::Error&) {
        backupLibraryWithMode(PTLibraryBackupController::DefaultLocation,
                              PTLibraryBackupController::SelfClosingSheet, false);
        if (shell)
            shell->restoreTerminationState();
    });
}

QString PTLibraryController::moveToLocation(const QString& path, pt::Error* error)
{
    synchronizeMeta();
    return movePackage(path_, computeLocation(path), error);
}

QString PTLibraryController::unusedLocationInBaseDirectory(const QString& name)
{
    const QDir base(defaultBaseDirectoryByAppendingPath(QString(), true));
    QString stem = QFileInfo(computeLocation(name)).completeBaseName();
    while (stem.startsWith(u'.'))
        stem.remove(0, 1); // never a hidden library
    if (stem.isEmpty())
        stem = QFileInfo(defaultName()).completeBaseName();
    QString candidate = base.filePath(stem + u'.' + Extension);
    for (int n = 2; QFileInfo(candidate).exists() || QFileInfo(candidate).isSymLink(); ++n)
        candidate = base.filePath(QStringLiteral("%1 %2.%3").arg(stem, QString::number(n), Extension));
    return candidate;
}

QString PTLibraryController::movePackage(const QString& from, const QString& destination, pt::Error* error)
{
    namespace fs = std::filesystem;
    const auto failed = [&](int errorNumber, const QString& at) {
        if (error)
            *error = systemError(QStringLiteral("NSPOSIXErrorDomain"), errorNumber, at);
        return QString();
    };
    if (QFileInfo::exists(destination))
        return failed(EEXIST, destination);
    std::error_code ec;
    fs::rename(fs::path(from.toStdString()), fs::path(destination.toStdString()), ec);
    if (ec == std::errc::cross_device_link) {
        // Another file system: the whole copy is in place before the original goes.
        const QString staging = QStringLiteral("%1.%2.moving").arg(destination, QUuid::createUuid().toString(QUuid::WithoutBraces));
        ec.clear();
        fs::copy(from.toStdString(), staging.toStdString(), fs::copy_options::recursive | fs::copy_options::copy_symlinks, ec);
        if (!ec)
            fs::rename(staging.toStdString(), destination.toStdString(), ec);
        if (ec) {
            std::error_code ignored;
            fs::remove_all(staging.toStdString(), ignored);
            return failed(ec.value(), destination);
        }
        fs::remove_all(from.toStdString(), ec);
        if (ec)
            qCWarning(lcLibrary) << "moved library copied; the original could not be removed:" << from;
        return destination;
    }
    if (ec)
        return failed(ec.value(), destination);
    return destination;
}

QString PTLibraryController::backupToLocation(const QString& path, pt::Error* error)
{
    const QString destination = computeLocation(path);
    PTLibraryBackupController backup(this);
    if (auto copied = backup.copyPackageBlocking(destination); !copied) {
        if (error)
            *error = copied.error();
        return {};
    }
    setLastBackupDate(QDateTime::currentDateTimeUtc());
    return destination;
}

bool PTLibraryController::switchLibrary()
{
    const auto shell = PTLibraryShell::installed();
    if (!shell)
        return false;
    PTLibraryShell::PanelRequest request;
    request.title = QStringLiteral("Switch Library");
    request.prompt = QStringLiteral("Switch");
    request.allowedExtensions = {Extension};
    // A library is a folder chosen as one item, never entered.
    request.packageExtensions = {Extension};
    request.shouldShowFilename = [this](const QString& path) { return panelShouldShowFilename(path); };
    const QString chosen = shell->runOpenPanel(request);
    return !chosen.isEmpty() && switchLibraryToLibraryAtURL(chosen);
}

QString PTLibraryController::refusalToSwitchTo(const QString& path)
{
    const auto other = initWithLibraryPath(path, false);
    if (!other)
        return QStringLiteral("There is no Library at %1.").arg(path);
    // An empty package is a new library: the restart creates its files.
    if (QDir(path).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
        return {};
    if (!other->metaWasRead_)
        return QStringLiteral("The folder %1 is not a Pictern Library: its META file is missing or cannot be read.")
            .arg(path);
    if (!QFileInfo(other->persistantStoreCoordinatorPath()).isFile())
        return QStringLiteral("The Library at %1 has no database (%2).").arg(path, StoreFileName);
    const QString version = applicationShortVersionString();
    if (PTCompareVersions(version, other->buildVersion()) < 0)
        return QStringLiteral("Sorry, the Library you are trying to switch to was built using a newer version of "
                              "Pictern (%1). Please upgrade your version of Pictern (%2).")
            .arg(other->buildVersion(), version);
    return {};
}

bool PTLibraryController::switchLibraryToLibraryAtURL(const QString& path)
{
    const auto shell = PTLibraryShell::installed();
    if (const QString refusal = refusalToSwitchTo(path); !refusal.isEmpty()) {
        qCWarning(lcLibrary).noquote() << "not switching to" << path << ":" << refusal;
        if (shell)
            shell->presentAlert(QStringLiteral("Unable to Switch Library"), refusal);
        return false;
    }
    const QString target = path;
    const auto start = [this, shell, target] {
        if (!shell) {
            switchLibraryTo(target, 3.0);
            return;
        }
        activeSheet_ = shell->makeProgressSheet(QStringLiteral("Switching Library..."));
        activeSheet_->setFloatingMode(true);
        activeSheet_->runModal([this, target](const PTProgressSheet::Completion& completion) {
            switchLibraryTo(target, 3.0);
            completion(0, false);
        });
    };
    if (PTHasManagedObjectContext())
        PTSaveManagedObjectContextWithCompletion([start](const pt::Error&) { start(); });
    else
        start();
    return true;
}

void PTLibraryController::switchLibraryTo(const QString& path, double timeInterval)
{
    pt::Defaults::standard().set(PathKey, path);
    pt::Defaults::standard().synchronize();
    pt::DispatchQueue::main().after(timeInterval, [] {
        if (const auto shell = PTLibraryShell::installed()) {
            shell->forceNextAvailableTermination(true);
            shell->restartApplication();
        }
    });
}

void PTLibraryController::moveLibrary()
{
    const auto shell = PTLibraryShell::installed();
    if (!shell)
        return;
    PTLibraryShell::PanelRequest request;
    request.title = QStringLiteral("Move Library");
    request.prompt = QStringLiteral("Move");
    request.proposedName = QFileInfo(path_).fileName();
    const QString chosen = shell->runSavePanel(request);
    if (chosen.isEmpty())
        return;
    PTSaveManagedObjectContextWithCompletion([this, shell, chosen](const pt::Error&) {
        // Every save has ended; closing the store folds its log into the file, and nothing writes it again.
        if (PTStoreStack* stack = PTStoreStack::shared())
            if (auto closed = stack->closeStore(); !closed)
                qCWarning(lcLibrary).noquote() << "store not closed before the move:" << closed.error().toString();
        activeSheet_ = shell->makeProgressSheet(QStringLiteral("Moving Library..."));
        activeSheet_->setFloatingMode(true);
        const std::shared_ptr<PTProgressSheet> sheet = activeSheet_;
        sheet->runModal([this, shell, chosen, sheet](const PTProgressSheet::Completion& completion) {
            pt::Error error;
            const QString destination = moveToLocation(chosen, &error);
            if (destination.isEmpty()) {
                pt::DispatchQueue::main().async([this, shell, error] {
                    activeSheet_.reset();
                    shell->presentError(error);
                    // The store is closed: start again on the library where it is.
                    switchLibraryTo(path_, 0);
                });
                completion(-1001, true);
                return;
            }
            completion(-1000, false);
            PTDispatchAfterOnTimeoutQueue([sheet] {
                sheet->setTitle(QStringLiteral("Move Complete!"));
                sheet->setSubTitle(QStringLiteral("Restarting Pictern..."));
            }, pt::DispatchQueue::main(), 0, 3.0);
            PTDispatchAfterOnTimeoutQueue([this, destination] { switchLibraryTo(destination, 0); },
                                          pt::DispatchQueue::main(), 0, 3.0);
        });
    });
}

bool PTLibraryController::backupLibraryWithMode(int mode, int userInterfaceMode, bool presentBackupOnCompletion)
{
    PTLibraryBackupController backup(this);
    if (!backup.backupByPresentingModalForMode(mode, userInterfaceMode))
        return false;
    setLastBackupDate(QDateTime::currentDateTimeUtc());
    if (presentBackupOnCompletion)
        if (const auto shell = PTLibraryShell::installed())
            shell->showFilesInFileManager({backup.destinationPath});
    return true;
}

void PTLibraryController::reindexWithRestart(bool restart, pt::store::ObjectContext* context)
{
    const auto shell = PTLibraryShell::installed();
    if (!shell || !context)
        return;
    const std::shared_ptr<PTProgressSheet> sheet = shell->makeProgressSheet(QStringLiteral("Indexing Library"));
    sheet->setFloatingMode(true);
    sheet->setSubTitle(QStringLiteral("Checking Library Itegrity..."));
    PTSaveManagedObjectContext();
    const auto coordinator = context->sharedCoordinator();
    const auto main = pt::DispatchQueue::main();
    sheet->runModal([=](const PTProgressSheet::Completion& completion) {
        PTDispatchAfterOnTimeoutQueue([=] {
            sheet->setSubTitle(QStringLiteral("Fixing Library..."));
            // The work holds no queue: it merges when it has returned, and the timed steps follow it.
            pt::DispatchQueue::global(pt::QueuePriority::High).async([=] {
                const pt::store::DidSave changes = PTLibraryIndexer::reindex(coordinator);
                main.async([=] {
                    context->mergeChanges(changes);
                    PTDispatchAfterOnTimeoutQueue([=] {
                        sheet->setTitle(QStringLiteral("Indexing Complete"));
                        if (restart)
                            sheet->setSubTitle(QStringLiteral("Restarting Pictern..."));
                    }, main, 0, 4.0);
                    PTDispatchAfterOnTimeoutQueue([=] {
                        PTSaveManagedObjectContext();
                        completion(1, true);
                        if (restart)
                            shell->restartApplication();
                    }, main, 0, 2.0);
                });
            });
        }, main, 0, 1.0);
    });
}

std::shared_ptr<PTProgressPanel> PTLibraryController::progressPanel()
{
    if (!progressPanel_ && pt::DispatchQueue::main().isCurrent()) {
        if (const auto shell = PTLibraryShell::installed())
            progressPanel_ = shell->makeProgressPanel();
    }
    return progressPanel_;
}

void PTLibraryController::runModalProgressPanelWithBlock(std::function<void()> block)
{
    // Held for the whole run: the block may outlive a shell or a library that goes away meanwhile.
    const std::shared_ptr<PTProgressPanel> panel = progressPanel();
    if (panel)
        panel->show();
    // The main thread goes on serving the window (drawing, the main queue) while the block works; only the
    // panel's modality keeps the user off the window.
    QEventLoop loop;
    const QPointer<QEventLoop> waiting(&loop);
    pt::DispatchQueue::global(pt::QueuePriority::High).async([block = std::move(block), waiting] {
        if (block)
            block();
        pt::DispatchQueue::main().async([waiting] {
            if (waiting)
                waiting->quit();
        });
    });
    loop.exec();
    if (panel)
        panel->hide();
}

void PTLibraryController::hideModalProgressPanel()
{
    if (const auto panel = progressPanel())
        panel->hide();
}

void PTLibraryController::setProgressTitle(const QString& title)
{
    if (const auto panel = progressPanel())
        panel->setTitle(title);
}

void PTLibraryController::setProgressDescription(const QString& description)
{
    if (const auto panel = progressPanel())
        panel->setDescription(description);
}

bool PTLibraryController::panelShouldShowFilename(const QString& path) const
{
    const QFileInfo candidate(path);
    const QFileInfo package(path_);
    const QString a = candidate.canonicalFilePath().isEmpty() ? candidate.absoluteFilePath() : candidate.canonicalFilePath();
    const QString b = package.canonicalFilePath().isEmpty() ? package.absoluteFilePath() : package.canonicalFilePath();
    return a != b;
}
