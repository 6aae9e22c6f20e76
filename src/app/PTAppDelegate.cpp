#include "app/PTAppDelegate.h"

#include "app/PTAppController.h"
#include "app/PTBuildInfo.h"
#include "app/PTFilePanel.h"
#include "app/PTIssueReportController.h"
#include "app/PTLibraryLock.h"
#include "app/PTMenuItemsController.h"
#include "app/PTNoticeController.h"
#include "app/PTNotificationCenter.h"
#include "app/PTOpenedItemsCoalescer.h"
#include "app/PTRelaunchTool.h"
#include "app/PTSplashOnboardingController.h"
#include "app/PTUpdateController.h"
#include "app/PTWorkspaceController.h"
#include "app/issues/IssueReporter.h"
#include "app/welcome/PTWelcomeWindows.h"
#include "library/PTLibraryController.h"
#include "library/controllers/PTAppDataController.h"
#include "library/entities/PTItem.h"
#include "library/store/PTStoreFunctions.h"
#include "library/store/PTStoreStack.h"
#include "library/upkeep/PTMigrationController.h"
#include "platform/runtime/Logging.h"
#include "platform/runtime/NotificationCenter.h"
#include "platform/store/Predicate.h"
#include "platform/ui/ModalRunner.h"
#include "transfer/import/PTAddIconsPresenter.h"
#include "ui/PTMainWindow.h"
#include "ui/sheets/PTProgressPanelWindow.h"
#include "ui/sheets/PTProgressSheetWindow.h"
#include "ui/theme/PTThemeController.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTimer>

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

PTAppDelegate* sharedDelegate = nullptr;
int signalWriteEnd = -1;

void onTerminationSignal(int)
{
    const char byte = 1;
    // Nothing else is safe in a signal handler; the notifier does the rest on the main thread.
    [[maybe_unused]] const ssize_t written = ::write(signalWriteEnd, &byte, 1);
}

void deleteItemsWithoutSet()
{
    pt::store::ObjectContext* context = PTMainManagedObjectContext();
    if (!context)
        return;
    const auto predicate = pt::store::Predicate::parse(QStringLiteral("collection=nil"));
    const auto orphans = context->fetch({PTItem::EntityName, *predicate});
    if (!orphans) {
        qCWarning(lcApp).noquote() << orphans.error().toString();
        return;
    }
    for (pt::store::ManagedObject* item : *orphans)
        context->deleteObject(item);
    PTSaveManagedObjectContext();
}

// Ends the edit of the focused text field the way leaving it does, so the item view or inspector it belongs to
// writes what was typed into the context; the focus then returns to the field if it is still there. False when
// the field holds text its validator refuses, which leaving does not commit.
bool commitEditing()
{
    auto* field = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (!field)
        return true;
    const bool acceptable = field->hasAcceptableInput();
    QPointer<QLineEdit> editor(field);
    editor->clearFocus();
    if (editor && editor->isVisible())
        editor->setFocus(Qt::OtherFocusReason);
    return acceptable;
}

PTAppDelegate::SaveFailureAnswer askAfterFailedSave(const pt::Error& error)
{
    QMessageBox box(PTMainWindow());
    box.setIcon(QMessageBox::Warning);
    box.setText(QCoreApplication::translate("PTAppDelegate", "Your last changes could not be saved."));
    box.setInformativeText(error.localizedDescription());
    box.setAccessibleName(box.text());
    QPushButton* retry = box.addButton(QCoreApplication::translate("PTAppDelegate", "Retry"), QMessageBox::AcceptRole);
    QPushButton* quit = box.addButton(QCoreApplication::translate("PTAppDelegate", "Quit Without Saving"),
                                      QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(QMessageBox::Cancel);
    for (QPushButton* button : {retry, quit, cancel})
        button->setAccessibleName(button->text());
    box.setDefaultButton(retry);
    pt::ModalRunner::run(&box, Qt::ApplicationModal);
    if (box.clickedButton() == retry)
        return PTAppDelegate::SaveFailureAnswer::Retry;
    if (box.clickedButton() == quit)
        return PTAppDelegate::SaveFailureAnswer::QuitWithoutSaving;
    return PTAppDelegate::SaveFailureAnswer::Cancel;
}

} // namespace

PTAppDelegate::QuitPath PTAppDelegate::defaultQuitPath()
{
    QuitPath path;
    path.cleanUp = deleteItemsWithoutSet;
    path.save = [](std::function<void(const pt::Error&)> completion) {
        if (!PTSaveManagedObjectContextWithCompletion(std::move(completion)))
            qCWarning(lcApp) << "The final save could not start";
    };
    path.askAfterFailedSave = askAfterFailedSave;
    path.startRelaunch = [] { return PTRelaunchTool::start(QCoreApplication::applicationFilePath(),
                                                           QCoreApplication::applicationPid()); };
    path.askForManualRestart = [] {
        QMessageBox box(QMessageBox::Information, QStringLiteral("Pictern"),
                        QCoreApplication::translate("PTAppDelegate", "Please start Pictern again."),
                        QMessageBox::Ok, PTMainWindow());
        box.setInformativeText(QCoreApplication::translate(
            "PTAppDelegate", "Pictern could not restart itself. It quits now; open it again to go on."));
        box.setAccessibleName(box.text());
        pt::ModalRunner::run(&box, Qt::ApplicationModal);
    };
    path.exit = [](int code) { QCoreApplication::exit(code); };
    return path;
}

PTAppDelegate::PTAppDelegate(QuitPath quitPath)
    : quitPath_(std::move(quitPath))
    , openedItems_(std::make_unique<PTOpenedItemsCoalescer>())
{
    // Without a notification server the notice is shown in the window instead.
    connect(&PTNotificationCenter::sharedCenter(), &PTNotificationCenter::undelivered, this,
            [](const PTNotification& notification) {
                PTNoticeController::sharedController().postNotice(notification.title, notification.message);
            });
}

PTAppDelegate::~PTAppDelegate()
{
    if (sharedDelegate == this)
        sharedDelegate = nullptr;
    if (signalPipe_[0] >= 0) {
        std::signal(SIGTERM, SIG_DFL);
        std::signal(SIGINT, SIG_DFL);
        ::close(signalPipe_[0]);
        ::close(signalPipe_[1]);
        signalWriteEnd = -1;
    }
}

PTAppDelegate* PTAppDelegate::shared()
{
    return sharedDelegate;
}

void PTAppDelegate::setShared(PTAppDelegate* delegate)
{
    sharedDelegate = delegate;
}

bool PTAppDelegate::applicationDidFinishLaunching(bool switchLibrary, bool forceWhatsNew, bool showWelcome)
{
    // The theme first, so that every window below opens in it.
    PTThemeController::defaultController().appearance();

    if (!PTLibraryController::currentLibrary()) {
        const QString path = PTLibraryController::locationByCheckingExistance(true, nullptr, nullptr);
        std::unique_ptr<PTLibraryController> library = PTLibraryController::initWithCreatingLibraryAtPath(path);
        library->checkItegrity();
        PTLibraryController::setCurrentLibrary(std::move(library));
    }
    PTLibraryController* library = PTLibraryController::currentLibrary();
    if (!PTLibraryLock::acquire(library->path())) {
        presentAlert(QCoreApplication::translate("PTAppDelegate", "The library is in use."),
                     QCoreApplication::translate("PTAppDelegate", "Another Pictern has the library at %1 open.")
                         .arg(library->path()));
        return false;
    }
    if (switchLibrary && library->switchLibrary())
        return true;

    PTStoreStack* stack = PTStoreStack::shared();
    if (stack->migrationIsNeeded()) {
        auto migration = std::make_shared<PTMigrationController>(library->persistantStoreCoordinatorPath(),
                                                                 stack->managedObjectModel());
        // The handlers keep the migration alive until the restart ends the process.
        migration->completeHandler = [this, migration] { restartApplication(); };
        migration->loadHandler = [this, migration] {
            if (!migration->error().isNull()) {
                forceNextAvailableTermination(true);
                terminate();
            }
        };
        migration->beginMigration();
        return true;
    }
    if (!PTMainManagedObjectContext())
        return false;

    if (showWelcome)
        PTWelcomeWindows::presentAtLaunch(forceWhatsNew);
    PTSplashOnboardingController::incrementLaunchCount();
    PTAppDataController::check();
    controller_ = std::make_unique<PTAppController>(*this);
    // The update items join the Help menu once it exists; the silent check follows the user's choice.
    if (PTMenuItemsController* menus = PTMenuItemsController::sharedController())
        PTUpdateController::sharedController().setup(menus->menuBar()->findChild<QMenu*>(QStringLiteral("helpMenu")));
    // A report the last run left behind is offered over the main window, once it is up.
    QTimer::singleShot(0, this, [] {
        PTIssueReportController(pt::IssueReporter::reportsFolder(), PTBuildInfo::supportEmail()).offerPendingReport();
    });
    return true;
}

void PTAppDelegate::tearDown()
{
    controller_.reset();
}

void PTAppDelegate::setQuitState(QuitState state)
{
    quitState_ = state;
}

void PTAppDelegate::terminate()
{
    if (quitState_ != QuitState::Running)
        return;
    setQuitState(QuitState::WillTerminatePosted);
    if (!forceTermination_)
        pt::NotificationCenter::defaultCenter().post(PTLibraryController::WillTerminateNotification, qApp);
    if (PTLibraryController* library = PTLibraryController::currentLibrary())
        library->synchronizeMeta();
    // A hold (a backup on quit) keeps the quit pending; releasing the last one resumes it below.
    if (preventTerminationCount_ > 0)
        return;
    saveAndExit();
}

void PTAppDelegate::saveAndExit()
{
    if (forceTermination_) {
        exitNow();
        return;
    }
    setQuitState(QuitState::Saving);
    quitPath_.cleanUp();
    pt::NotificationCenter::defaultCenter().post(RequestSaveStateNotification);
    finalSave();
}

void PTAppDelegate::finalSave()
{
    quitPath_.save([this](const pt::Error& error) {
        if (quitState_ != QuitState::Saving)
            return;
        if (error.isNull()) {
            exitNow();
            return;
        }
        switch (quitPath_.askAfterFailedSave(error)) {
        case SaveFailureAnswer::Retry:
            finalSave();
            break;
        case SaveFailureAnswer::QuitWithoutSaving:
            exitNow();
            break;
        case SaveFailureAnswer::Cancel:
            restartPending_ = false;
            setQuitState(QuitState::Running);
            break;
        }
    });
}

void PTAppDelegate::exitNow()
{
    setQuitState(QuitState::Exiting);
    // The tool waits for this process to end, so it may start now that nothing can stop the exit.
    if (restartPending_ && !quitPath_.startRelaunch())
        quitPath_.askForManualRestart();
    quitPath_.exit(0);
}

void PTAppDelegate::watchTerminationSignals()
{
    if (signalPipe_[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe_) != 0)
        return;
    signalWriteEnd = signalPipe_[1];
    auto* notifier = new QSocketNotifier(signalPipe_[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this] {
        char byte;
        [[maybe_unused]] const ssize_t read = ::read(signalPipe_[0], &byte, 1);
        terminate();
    });
    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

void PTAppDelegate::saveTerminationState()
{
    ++preventTerminationCount_;
}

void PTAppDelegate::restoreTerminationState()
{
    if (preventTerminationCount_ == 0)
        return;
    --preventTerminationCount_;
    // Resumes a quit that waited for this hold, at the clean-up and final save; the will-terminate
    // notification was posted already.
    if (preventTerminationCount_ == 0 && quitState_ == QuitState::WillTerminatePosted)
        saveAndExit();
}

void PTAppDelegate::forceNextAvailableTermination(bool force)
{
    forceTermination_ = force;
}

void PTAppDelegate::restartApplication()
{
    if (quitState_ != QuitState::Running)
        return;
    restartPending_ = true;
    terminate();
}

void PTAppDelegate::showFilesInFileManager(const QStringList& paths)
{
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls.append(QUrl::fromLocalFile(path));
    PTWorkspaceController::showFileURLsInFinderWithoutWarning(urls);
}

std::unique_ptr<PTProgressSheet> PTAppDelegate::makeProgressSheet(const QString& title)
{
    return std::make_unique<PTProgressSheetWindow>(title);
}

std::unique_ptr<PTProgressPanel> PTAppDelegate::makeProgressPanel()
{
    return std::make_unique<PTProgressPanelWindow>();
}

void PTAppDelegate::presentAlert(const QString& message, const QString& informativeText)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Pictern"), message, QMessageBox::Ok, PTMainWindow());
    box.setInformativeText(informativeText);
    box.setAccessibleName(message);
    box.button(QMessageBox::Ok)->setAccessibleName(box.button(QMessageBox::Ok)->text());
    // Before the main window exists there is nothing to attach to: the alert blocks the whole application.
    pt::ModalRunner::run(&box, Qt::ApplicationModal);
}

void PTAppDelegate::saveAction()
{
    if (!commitEditing())
        qCWarning(lcApp).noquote() << SaveActionCommitFailedMessage;
    PTSaveManagedObjectContextWithCompletion([self = QPointer<PTAppDelegate>(this)](const pt::Error& error) {
        if (self && !error.isNull())
            self->presentError(error);
    });
}

void PTAppDelegate::presentError(const pt::Error& error)
{
    qCWarning(lcApp).noquote() << error.toString();
    presentAlert(error.localizedDescription(), QString());
}

QString PTAppDelegate::runSavePanel(const PanelRequest& request)
{
    return PTFilePanel::runSave(request);
}

QString PTAppDelegate::runOpenPanel(const PanelRequest& request)
{
    const QStringList paths = PTFilePanel::runOpen(request, false);
    return paths.isEmpty() ? QString() : paths.first();
}

QStringList PTAppDelegate::runOpenPanelForPaths(const PanelRequest& request)
{
    return PTFilePanel::runOpen(request, true);
}

void PTAppDelegate::presentAddIconsSheet(PTCollection* target)
{
    if (const std::shared_ptr<PTAddIconsPresenter> presenter = PTAddIconsPresenter::installed())
        presenter->presentNewCollection(target);
    else
        qCInfo(lcApp) << "The add-icons sheet is not available in this build";
}

void PTAppDelegate::postNotice(const QString& title, const QString& message)
{
    PTNotification notification;
    notification.title = title;
    notification.message = message;
    PTNotificationCenter::sharedCenter().postNotification(notification);
}

QString PTAppDelegate::storePath() const
{
    PTLibraryController* library = PTLibraryController::currentLibrary();
    return library ? library->persistantStoreCoordinatorPath() : QString();
}

void PTAppDelegate::saveFailed(const pt::Error& error)
{
    // The save path logged it already; a failed final save is answered by the quit itself.
    Q_UNUSED(error);
}
