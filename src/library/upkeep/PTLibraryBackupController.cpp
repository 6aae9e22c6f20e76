#include "library/upkeep/PTLibraryBackupController.h"

#include "foundation/SystemError.h"
#include "library/PTLibraryController.h"
#include "library/upkeep/PTLibraryShell.h"
#include "platform/plist/PropertyList.h"
#include "platform/runtime/Defaults.h"
#include "platform/runtime/DispatchQueue.h"
#include "platform/runtime/Logging.h"
#include "platform/store/StoreFileCopy.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QUuid>

#include <cmath>
#include <condition_variable>
#include <mutex>
#include <optional>

using asyncCopy::CopyStatus;
using asyncCopy::Outcome;
using asyncCopy::Stage;
using pt::store::StoreFileCopy;

namespace {

// What the handlers of one sheet-run backup share; the sheet's completion may arrive after the copy reports.
struct SheetRun {
    std::shared_ptr<PTProgressSheet> sheet;
    std::mutex mutex;
    PTProgressSheet::Completion completion;
    std::optional<int> pendingCode;
    asyncCopy::CancelBlock cancelCopy;
    bool cancelled = false;
    bool succeeded = false;

    void end(int code)
    {
        PTProgressSheet::Completion run;
        {
            std::lock_guard lock(mutex);
            if (!completion) {
                pendingCode = code;
                return;
            }
            run = completion;
        }
        run(code, true);
    }
    void take(PTProgressSheet::Completion given)
    {
        std::optional<int> code;
        {
            std::lock_guard lock(mutex);
            completion = given;
            code = pendingCode;
        }
        if (code)
            given(*code, true);
    }
};

bool onMainThread()
{
    return QCoreApplication::instance() && QThread::currentThread() == QCoreApplication::instance()->thread();
}

} // namespace

PTLibraryBackupController::PTLibraryBackupController(PTLibraryController* library)
    : title(QStringLiteral("Backing up Library"))
    , subtitle(QStringLiteral("Please wait whilst we backup your Library."))
    , completionText(QStringLiteral("Backup Complete"))
    , buttonControlLabel(QStringLiteral("Close"))
    , library_(library)
{
}

PTLibraryBackupController::~PTLibraryBackupController() = default;

QString PTLibraryBackupController::defaultBackupLocation()
{
    const QString chosen = pt::Defaults::standard().stringForKey(BackupPathKey);
    if (!chosen.isEmpty()) {
        QDir().mkpath(chosen);
        return chosen;
    }
    return PTLibraryController::defaultBaseDirectoryByAppendingPath(BackupsFolderName, true);
}

QString PTLibraryBackupController::progressMessage(qint64 done, qint64 total)
{
    const qint64 percentage = done == 0 || total == 0 ? 0 : qint64(std::floor(double(done) / double(total) * 100.0 + 0.5));
    return QStringLiteral("%1% - Backing up File %2 of %3").arg(percentage).arg(done).arg(total);
}

QString PTLibraryBackupController::computeDestinationForMode(int mode)
{
    if (mode == DefaultLocation) {
        destinationPath = QDir(defaultBackupLocation()).filePath(PTLibraryController::defaultNameWithTimestamp());
    } else if (mode != PresetDestination) {
        const auto shell = PTLibraryShell::installed();
        PTLibraryShell::PanelRequest request;
        request.title = QStringLiteral("Backup Library");
        request.prompt = QStringLiteral("Backup");
        request.proposedName = PTLibraryController::defaultNameWithTimestamp();
        QString chosen = shell ? shell->runSavePanel(request) : QString();
        if (chosen.isEmpty())
            return {};
        if (QFileInfo(chosen).suffix().trimmed().isEmpty())
            chosen = PTLibraryController::computeLocation(chosen);
        destinationPath = chosen;
    }
    return destinationPath;
}

bool PTLibraryBackupController::backupByPresentingModalForMode(int mode, int userInterfaceMode)
{
    const QString destination = computeDestinationForMode(mode);
    if (destination.isEmpty())
        return false;
    if (userInterfaceMode == NoSheet || !PTLibraryShell::installed())
        return backupBlockingThreadWithDestination(destination);
    return backupWithSheet(destination, userInterfaceMode);
}

pt::Result<asyncCopy::CancelBlock> PTLibraryBackupController::startCopy(const QString& destination,
                                                                        asyncCopy::StatusHandler handler)
{
    // Refused before anything is made: the copy would otherwise snapshot the store into the library, or replace
    // a folder holding the library and delete it.
    if (asyncCopy::pathsOverlap(library_->path(), destination))
        return systemError(asyncCopy::ErrorDomain, EINVAL, destination);
    const QFileInfo target(destination);
    QDir().mkpath(target.path());
    QString snapshot;
    if (library_->persistantStoreCoordinatorExists()) {
        snapshot = QDir(target.path()).filePath(QStringLiteral(".%1.%2.store")
                                                    .arg(target.fileName(), QUuid::createUuid().toString(QUuid::WithoutBraces)));
        if (auto r = StoreFileCopy::copy(library_->persistantStoreCoordinatorPath(), snapshot); !r)
            return r.error();
    }
    auto started = asyncCopy::asynchronousCopyFileAtPath(
        library_->path(), destination, [snapshot, destination, handler](const CopyStatus& reported) {
            CopyStatus status = reported;
            if (status.stage == Stage::Complete && !snapshot.isEmpty()) {
                if (status.outcome == Outcome::Done) {
                    // The copied store file may be torn (it was written meanwhile): the snapshot replaces it.
                    const QString store = QDir(destination).filePath(PTLibraryController::StoreFileName);
                    QFile::remove(store);
                    for (const QString& companion : StoreFileCopy::companionPaths(store))
                        QFile::remove(companion);
                    if (!QFile::rename(snapshot, store)) {
                        status.outcome = Outcome::Failed;
                        status.error = pt::Error::withDescription(asyncCopy::ErrorDomain, EIO,
                                                                  QStringLiteral("Cannot place the store copy in %1").arg(destination));
                    }
                }
                QFile::remove(snapshot);
            }
            handler(status);
        });
    if (!started)
        QFile::remove(snapshot);
    return started;
}

bool PTLibraryBackupController::backupBlockingThreadWithDestination(const QString& destination)
{
    auto copied = copyPackageBlocking(destination);
    if (!copied)
        qCWarning(lcLibrary).noquote() << "backup failed:" << copied.error().toString();
    return copied && completeWithDestination(destination);
}

pt::Result<void> PTLibraryBackupController::copyPackageBlocking(const QString& destination)
{
    struct Wait {
        std::mutex mutex;
        std::condition_variable done;
        bool finished = false;
        CopyStatus status;
    };
    auto wait = std::make_shared<Wait>();
    auto started = startCopy(destination, [wait](const CopyStatus& status) {
        if (status.stage != Stage::Complete)
            return;
        std::lock_guard lock(wait->mutex);
        wait->finished = true;
        wait->status = status;
        wait->done.notify_all();
    });
    if (!started)
        return started.error();
    if (onMainThread()) {
        while (!wait->finished)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    } else {
        std::unique_lock lock(wait->mutex);
        wait->done.wait(lock, [&] { return wait->finished; });
    }
    if (wait->status.outcome == Outcome::Done)
        return {};
    if (!wait->status.error.isNull())
        return wait->status.error;
    return pt::Error::withDescription(asyncCopy::ErrorDomain, ECANCELED, QStringLiteral("The copy was cancelled"));
}

bool PTLibraryBackupController::backupWithSheet(const QString& destination, int userInterfaceMode)
{
    auto run = std::make_shared<SheetRun>();
    run->sheet = PTLibraryShell::installed()->makeProgressSheet(title);
    PTProgressSheet& sheet = *run->sheet;
    sheet.setSubTitle(subtitle);
    sheet.setButtonControlLabel(buttonControlLabel);
    sheet.setUserInteractiveMode(userInterativeMode);
    sheet.setFloatingMode(true);
    sheet.setAllowsCancellation(allowsCancellation);
    sheet.setAllowsButtonControls(userInterfaceMode == ButtonSheet);

    const int timeout = int(completionTimeout);
    const bool userCloses = userInterfaceMode == ButtonSheet;
    // Ends a self-closing sheet after the timeout; a sheet the user closes waits for its button instead.
    const auto endAfterTimeout = [run, timeout](int code) {
        pt::DispatchQueue::global(pt::QueuePriority::High).after(timeout, [run, code] {
            pt::DispatchQueue::main().async([run, code] { run->end(code); });
        });
    };
    const auto letUserClose = [run] {
        run->sheet->setAllowsCancellation(false);
        run->sheet->setUserInteractiveMode(0);
    };
    const QString doneText = completionText;
    auto started = startCopy(destination, [this, run, destination, doneText, userCloses, endAfterTimeout,
                                           letUserClose](const CopyStatus& status) {
        if (run->cancelled)
            return;
        switch (status.stage) {
        case Stage::Preflighting:
            run->sheet->setMessage(QStringLiteral("Calculating..."));
            break;
        case Stage::Running:
            run->sheet->setMessage(progressMessage(status.objectsCompleted, status.totalObjects));
            run->sheet->setProgress(status.objectsCompleted, status.totalObjects);
            break;
        case Stage::Complete:
            if (status.outcome == Outcome::Done && completeWithDestination(destination)) {
                run->sheet->setMessage(doneText);
                run->sheet->setProgress(status.totalObjects, status.totalObjects);
                run->succeeded = true;
                if (userCloses)
                    pt::DispatchQueue::main().async(letUserClose);
                else
                    endAfterTimeout(1);
            } else {
                qCWarning(lcLibrary).noquote() << "backup failed:" << status.error.toString();
                run->sheet->setMessage(status.error.isNull() ? QStringLiteral("The backup could not be completed.")
                                                             : status.error.localizedDescription());
                if (userCloses)
                    letUserClose();
                else
                    endAfterTimeout(0);
            }
            break;
        case Stage::Undefined:
            break;
        }
    });
    if (!started) {
        qCWarning(lcLibrary).noquote() << "backup not started:" << started.error().toString();
        return false;
    }
    run->cancelCopy = *started;
    sheet.setCancelHandler([run, userCloses, endAfterTimeout] {
        // Too late once the copy is whole and marked.
        if (run->succeeded)
            return;
        run->cancelled = true;
        run->sheet->setAllowsCancellation(false);
        run->cancelCopy();
        if (userCloses) {
            run->sheet->setUserInteractiveMode(0);
            run->sheet->setMessage(UserAborted);
        } else {
            endAfterTimeout(0);
        }
    });
    sheet.runModal([run](PTProgressSheet::Completion completion) { run->take(std::move(completion)); });
    const bool succeeded = run->succeeded && !run->cancelled;
    // The sheet's cancel handler and the copy hold the run, which holds them: let go of both now it is over.
    sheet.setCancelHandler(nullptr);
    run->cancelCopy = nullptr;
    return succeeded;
}

bool PTLibraryBackupController::completeWithDestination(const QString& destination)
{
    const QVariantMap marker{{MarkerDateKey, QDateTime::currentDateTimeUtc()}};
    auto written = pt::PropertyList::writeFile(marker, QDir(destination).filePath(PTLibraryController::BackupMarkerFileName));
    if (!written)
        qCWarning(lcLibrary).noquote() << "backup marker not written:" << written.error().toString();
    return written.ok();
}
