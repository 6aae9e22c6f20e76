#pragma once

#include "platform/runtime/Error.h"
#include "platform/runtime/NotificationCenter.h"

#include <QDateTime>
#include <QString>
#include <QUrl>
#include <QVariantMap>

#include <functional>
#include <memory>

namespace pt::store {
class ObjectContext;
}

// One library package on disk: a folder with the extension "ptlibrary" holding META, the store file and the
// folders of sets, originals, export presets and swatches. One instance is the process's current library; the
// object store opens the store file it names. Main thread only.
class PTLibraryController {
public:
    static inline const QString Extension = QStringLiteral("ptlibrary");
    static inline const QString MetaFileName = QStringLiteral("META");
    static inline const QString StoreFileName = QStringLiteral("Rorev.db");
    static inline const QString SetsFolderName = QStringLiteral("Sets");
    static inline const QString OriginalsFolderName = QStringLiteral("Originals");
    static inline const QString ExportPresetsFolderName = QStringLiteral("Export Presets");
    static inline const QString SwatchesFolderName = QStringLiteral("Swatches");
    static inline const QString BackupMarkerFileName = QStringLiteral(".backup");

    static inline const QString MetaVersionKey = QStringLiteral("version");
    static inline const QString MetaBuildDateKey = QStringLiteral("builddate");
    static inline const QString MetaBuildVersionKey = QStringLiteral("buildversion");
    static inline const QString MetaBackupDateKey = QStringLiteral("backupdate");
    static constexpr double InitialVersionNumber = 0.3;

    static inline const QString PathKey = QStringLiteral("PTLibraryPreferencesPath");
    static inline const QString BackupFrequencyKey = QStringLiteral("PTLibraryPreferencesBackupFrequency");
    static inline const QString BackupFrequencyLastCheckKey =
        QStringLiteral("PTLibraryPreferencesBackupFrequencyLastCheck");
    static inline const QString WillTerminateNotification = QStringLiteral("PTApplicationWillTerminate");

    // Automatic backups at quit.
    enum BackupFrequency { Never = 0, EveryQuit = 1, Daily = 2, Weekly = 3, Monthly = 4 };

    // Registers the library's defaults; called once at start-up.
    static void registerDefaults();

    // The shared current library; null until one exists at the stored or default location.
    static PTLibraryController* currentLibrary();
    // Makes the library current (its path is stored under PathKey) and keeps it as the shared instance.
    static void setCurrentLibrary(std::unique_ptr<PTLibraryController> library);

    static QString extension() { return Extension; }
    // "Pictern.ptlibrary".
    static QString defaultName();
    // The user's data folder for Pictern, $XDG_DATA_HOME/Pictern, made when missing
    // (PTStoreStack::applicationFilesDirectory). When it cannot be made, still its path.
    static QString defaultBaseDirectory();
    static QString defaultBaseDirectoryByAppendingPath(const QString& relativePath, bool createIntermediateDirectories);
    // The stored library path, else the base folder joined with the default name.
    static QString location();
    // location(), telling whether it came from the defaults and (when checking) whether something exists there.
    static QString locationByCheckingExistance(bool check, bool* exists, bool* didExist);
    // The path with the extension "ptlibrary" (replacing another extension, or added).
    static QString computeLocation(const QString& path);
    // "MM-dd-yyyy" of the date (now when null).
    static QString dateStringFromDate(const QDateTime& date = {});
    // Now as "MM-dd-yyyy@HH-mm-ss".
    static QString timestampString();
    // "Pictern-backup-<timestamp>.ptlibrary".
    static QString defaultNameWithTimestamp();
    static QString applicationShortVersionString();

    // Creates the package folder (with intermediate folders) and loads META.
    static std::unique_ptr<PTLibraryController> initWithCreatingLibraryAtPath(const QString& path);
    // Opens the package at the path; null when nothing exists there. With the check, a package that is a
    // backup copy (it holds ".backup", or has "backup" in its name) is first copied into the base folder as
    // "pictern@<date>.ptlibrary" and the copy is opened (and made the stored library path); the package that
    // was opened stays untouched.
    static std::unique_ptr<PTLibraryController> initWithLibraryPath(const QString& path,
                                                                    bool performAutoBackupIntegrityCheck = false);
    ~PTLibraryController();

    static qint64 backupFrequency();
    // Whether the backup at quit is due, from the frequency and the last check stored in the defaults.
    static bool wantsBackupFromFrequencyReached();
    // The rule itself: never for Never (and unknown values); always without a last check, or for EveryQuit;
    // else when the calendar day, the ISO week or the month (each with its year) differs.
    static bool wantsBackupFromFrequency(qint64 frequency, const QDateTime& lastCheck, const QDateTime& now);

    const QString& path() const { return path_; }
    const QVariantMap& meta() const { return meta_; }
    // Stamps META with this build's version and writes it atomically.
    bool synchronizeMeta();
    double versionNumber() const;
    void setVersionNumber(double version);
    QDateTime buildDate() const;
    QString buildVersion() const;
    QDateTime lastBackupDate() const;
    void setLastBackupDate(const QDateTime& date);

    void makeCurrentLibrary() const;
    void createIfNeeded() const;
    // 1 when the version string is newer than the library's build version, -1 when older, 0 when equal;
    // digit runs compare as numbers ("1.10" is newer than "1.9").
    int compareVersionWithString(const QString& version) const;
    int compareLibraryVersion(const PTLibraryController& other) const;

    // This package's own name with "-backup-<timestamp>" before the extension.
    QString nameWithTimestamp() const;
    QString persistantStoreCoordinatorPath() const;
    bool persistantStoreCoordinatorExists() const;
    QString metaLocation() const;
    QUrl locationURL() const;
    // The package joined with a relative path (empty: the package), created with intermediate folders when asked.
    QString locationByAppendingPath(const QString& relativePath, bool createIntermediateDirectories) const;

    // Moves every entry of the base folder that is not a library package into this package; run on a library
    // that was just created, so that files of older layouts come along.
    void checkItegrity();

    // Writes META, then moves the package to computeLocation(path); answers the destination, or empty with the
    // error. Never replaces something at the destination. The store must be closed.
    QString moveToLocation(const QString& path, pt::Error* error);
    // Moves a package (renamed, or copied whole before the original goes when another file system holds the
    // destination); answers the destination, or empty with the error. Never replaces something there.
    static QString movePackage(const QString& from, const QString& destination, pt::Error* error);
    // A package path in the base folder under the name's stem, not taken yet: "<stem>.ptlibrary", then
    // "<stem> 2.ptlibrary", ... The base folder is made when missing.
    static QString unusedLocationInBaseDirectory(const QString& name);
    // Copies the package to computeLocation(path) as a backup; on success stores "backupdate" and answers the
    // destination, else empty with the error.
    QString backupToLocation(const QString& path, pt::Error* error);
    // Asks for a library in an open panel and switches to it; false when cancelled or refused.
    bool switchLibrary();
    // Switches to the package: saves, then stores the path and restarts under a progress sheet. A folder that is
    // neither a whole library (a readable META and a store file) nor a new, empty package, and a library made by
    // a newer version, are refused with an alert (and false), and nothing is written into them.
    bool switchLibraryToLibraryAtURL(const QString& path);
    // Stores the path as the library's and restarts after the interval.
    void switchLibraryTo(const QString& path, double timeInterval);
    // Asks for a place in a save panel and moves the library there: the save path ends and the store is closed
    // before any file moves; then the application restarts on the moved library.
    void moveLibrary();
    // Runs a backup; on success stores "backupdate" and, when asked, reveals the copy. Answers the success.
    bool backupLibraryWithMode(int mode, int userInterfaceMode, bool presentBackupOnCompletion);
    // Re-indexes every item under a progress sheet; the work runs off the main thread and its changes are merged
    // into the context when it is done; then, when asked, the application restarts.
    void reindexWithRestart(bool restart, pt::store::ObjectContext* context);
    // Runs the block once on a worker under the progress panel, which is modal to the main window: the window
    // keeps drawing and the main queue keeps running, but the user cannot act on the window meanwhile. Answers
    // when the block has returned; the panel is hidden by then. Without a shell the block runs all the same, with
    // no panel. Main thread.
    void runModalProgressPanelWithBlock(std::function<void()> block);
    // Hides the panel before the block is done; the run still waits for the block. Any thread.
    void hideModalProgressPanel();
    // The panel's two lines; any thread while a run is under way (the block reports through them), else the
    // main thread.
    void setProgressTitle(const QString& title);
    void setProgressDescription(const QString& description);

    // The open panel's filter: every file but this package.
    bool panelShouldShowFilename(const QString& path) const;

private:
    explicit PTLibraryController(const QString& path);
    void load();
    // Why the folder cannot become the library; empty when it can.
    static QString refusalToSwitchTo(const QString& path);
    void checkBackupStatus();
    void checkAutoBackup();
    // The progress panel, made on first use on the main thread; null without a shell.
    std::shared_ptr<class PTProgressPanel> progressPanel();

    QString path_;
    QVariantMap meta_;
    // META was read from the package (not started anew).
    bool metaWasRead_ = false;
    pt::ObserverToken terminateObserver_;
    // The sheet of a switch or move, kept on screen until the restart.
    std::shared_ptr<class PTProgressSheet> activeSheet_;
    std::shared_ptr<PTProgressPanel> progressPanel_;
};
