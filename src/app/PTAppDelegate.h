#pragma once

#include "library/store/PTStoreStackHost.h"
#include "library/upkeep/PTLibraryShell.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

class PTAppController;
class PTOpenedItemsCoalescer;

// The application's delegate: brings the library, the store and the main window up in order, and owns quitting.
// Every way out (the Quit command, closing the main window, SIGTERM/SIGINT, the session manager, a restart) asks
// terminate(), which posts "PTApplicationWillTerminate" once, waits while holds are taken (a backup on quit),
// deletes items that belong to no set, and exits only after the final save has completed. It is the library's
// shell and the store's host. Main thread.
class PTAppDelegate : public QObject, public PTLibraryShell, public PTStoreStackHost {
    Q_OBJECT
public:
    static inline const QString RequestSaveStateNotification = QStringLiteral("PTREQUESTSAVESTATE");
    static inline const QString SaveActionCommitFailedMessage =
        QStringLiteral("PTAppDelegate:saveAction: unable to commit editing before saving");

    enum class QuitState { Running, WillTerminatePosted, Saving, Exiting };
    enum class SaveFailureAnswer { Retry, QuitWithoutSaving, Cancel };

    // What quitting does outside the delegate; tests replace it.
    struct QuitPath {
        // Deletes the items that belong to no set and starts a save without completion.
        std::function<void()> cleanUp;
        // The final save; the completion gets a null error on success.
        std::function<void(std::function<void(const pt::Error& error)> completion)> save;
        std::function<SaveFailureAnswer(const pt::Error& error)> askAfterFailedSave;
        // Starts the relaunch tool for this process; false when it could not start.
        std::function<bool()> startRelaunch;
        // Tells the user to start the application again by hand.
        std::function<void()> askForManualRestart;
        std::function<void(int code)> exit;
    };
    static QuitPath defaultQuitPath();

    explicit PTAppDelegate(QuitPath quitPath = defaultQuitPath());
    ~PTAppDelegate() override;

    // The delegate main() made; null elsewhere.
    static PTAppDelegate* shared();
    static void setShared(PTAppDelegate* delegate);

    // Runs the launch steps: library, store, launch count, first-run data, main window, opened items. Answers
    // false when the application must end (no store); `switchLibrary` offers another library first.
    bool applicationDidFinishLaunching(bool switchLibrary, bool forceWhatsNew = false, bool showWelcome = true);
    PTAppController* applicationController() const { return controller_.get(); }
    // Closes the main window for good; after the event loop, while the application object still exists (the
    // seams keep the delegate longer).
    void tearDown();
    PTOpenedItemsCoalescer& openedItems() { return *openedItems_; }

    // The explicit save (File > Save): the focused field's edit is committed, then the library is saved; a failed
    // save is shown to the user.
    void saveAction();

    // A request to quit; ignored while a quit is already under way.
    void terminate();
    QuitState quitState() const { return quitState_; }
    int preventTerminationCount() const { return preventTerminationCount_; }
    bool restartPending() const { return restartPending_; }
    // Quits on SIGTERM and SIGINT (through a self-pipe, so the handler itself only writes a byte).
    void watchTerminationSignals();

    // PTLibraryShell
    void saveTerminationState() override;
    void restoreTerminationState() override;
    void forceNextAvailableTermination(bool force) override;
    void restartApplication() override;
    void showFilesInFileManager(const QStringList& paths) override;
    std::unique_ptr<PTProgressSheet> makeProgressSheet(const QString& title) override;
    std::unique_ptr<PTProgressPanel> makeProgressPanel() override;
    void presentAlert(const QString& message, const QString& informativeText) override;
    void presentError(const pt::Error& error) override;
    QString runSavePanel(const PanelRequest& request) override;
    QString runOpenPanel(const PanelRequest& request) override;
    QStringList runOpenPanelForPaths(const PanelRequest& request) override;
    void presentAddIconsSheet(PTCollection* target) override;
    void postNotice(const QString& title, const QString& message) override;

    // PTStoreStackHost
    QString storePath() const override;
    void saveFailed(const pt::Error& error) override;

private:
    void setQuitState(QuitState state);
    void saveAndExit();
    void finalSave();
    void exitNow();

    QuitPath quitPath_;
    QuitState quitState_ = QuitState::Running;
    int preventTerminationCount_ = 0;
    bool forceTermination_ = false;
    bool restartPending_ = false;
    std::unique_ptr<PTOpenedItemsCoalescer> openedItems_;
    std::unique_ptr<PTAppController> controller_;
    int signalPipe_[2] = {-1, -1};
};
