#pragma once

#include "foundation/AsyncCopy.h"

#include <QString>

#include <functional>
#include <memory>

class PTLibraryController;
class PTProgressSheet;

// Copies a whole library package to a backup location and marks the copy with a ".backup" file. The store file
// is copied with SQLite's online backup (one consistent snapshot, also while the store is being written); every
// other file by the background folder copy. A backup answers true only when the copy is whole and marked; a
// failed or cancelled copy leaves no marker. One controller per backup; main thread, except that interface mode
// 0 may run on any thread while the main queue keeps running.
class PTLibraryBackupController {
public:
    // Where the copy goes.
    enum BackupMode { DefaultLocation = 0, ChosenInPanel = 1, PresetDestination = 2 };
    // 0 no sheet (the calling thread waits); 1 a sheet that closes itself; 2 a sheet the user closes with its
    // button; 3 like 1.
    enum InterfaceMode { NoSheet = 0, SelfClosingSheet = 1, ButtonSheet = 2, ImportSheet = 3 };

    static inline const QString BackupPathKey = QStringLiteral("PTLibraryPreferencesBackupPath");
    static inline const QString BackupsFolderName = QStringLiteral("Backups");
    static inline const QString MarkerDateKey = QStringLiteral("date");
    static inline const QString UserAborted = QStringLiteral("User Aborted");

    explicit PTLibraryBackupController(PTLibraryController* library);
    ~PTLibraryBackupController();

    // The folder under PTLibraryPreferencesBackupPath, else "Backups" in the base folder (created when missing).
    static QString defaultBackupLocation();

    PTLibraryController* library() const { return library_; }
    QString title;
    QString subtitle;
    QString informativeText;
    QString completionText;
    QString buttonControlLabel;
    QString destinationPath;
    bool allowsCancellation = true;
    int userInterativeMode = 1;
    double completionTimeout = 0.0;

    // The destination for the mode, also stored in destinationPath; empty when the user cancels the panel.
    QString computeDestinationForMode(int mode);
    // Runs the backup; false when there is no destination, the user cancelled or the copy failed.
    bool backupByPresentingModalForMode(int mode, int userInterfaceMode);
    // The copy without a sheet; waits for it (pumping the main queue when called on the main thread).
    bool backupBlockingThreadWithDestination(const QString& destination);
    // The same copy without the marker: a consistent copy of the package, or the error.
    pt::Result<void> copyPackageBlocking(const QString& destination);
    // Writes the marker into the copy.
    bool completeWithDestination(const QString& destination);

    // "%ld%% - Backing up File %ld of %ld", the percentage rounded half up.
    static QString progressMessage(qint64 done, qint64 total);

private:
    // Snapshots the store, then starts the copy of the rest; the handler hears the copy's reports, and on the
    // Complete report the snapshot has replaced the copied store file (a failure there turns it into Failed).
    pt::Result<asyncCopy::CancelBlock> startCopy(const QString& destination, asyncCopy::StatusHandler handler);
    bool backupWithSheet(const QString& destination, int userInterfaceMode);

    PTLibraryController* library_;
};
