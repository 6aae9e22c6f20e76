#include "app/PTMenuItemsController.h"

#include "app/preferences/PTPreferencesController.h"

#include "app/PTAboutPanel.h"
#include "app/PTAppDelegate.h"
#include "app/PTBuildInfo.h"
#include "app/PTToolbarController.h"
#include "browser/controller/PTGridViewOptionsController.h"
#include "browser/views/PTToolbarSearchField.h"
#include "library/bundle/PTTernImporter.h"
#include "library/controllers/PTGroupController.h"
#include "library/store/PTStoreFunctions.h"
#include "platform/runtime/Defaults.h"
#include "platform/runtime/DispatchQueue.h"
#include "platform/ui/ActionRouter.h"
#include "transfer/import/PTAddIconsPresenter.h"
#include "ui/PTMainWindow.h"
#include "ui/theme/PTThemeController.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QUrl>
#include <QUrlQuery>

namespace {

PTMenuItemsController* sharedMenus = nullptr;

const QString NewCollection = QStringLiteral("presentNewCollection:");
const QString NewGroup = QStringLiteral("newGroup:");
const QString ImportTern = QStringLiteral("importTern:");
const QString Save = QStringLiteral("saveAction:");
const QString Quit = QStringLiteral("terminate:");
const QString Find = QStringLiteral("find:");
const QString ToggleLabels = QStringLiteral("toggleGridLabels:");
const QString ToggleCells = QStringLiteral("toggleGridCells:");
const QString ToggleSearchGrouping = QStringLiteral("toggleGridViewSearch:");
const QString IncreaseSize = QStringLiteral("increaseGridSize:");
const QString DecreaseSize = QStringLiteral("decreaseGridSize:");
const QString ToggleAppearance = QStringLiteral("toggleAppearance:");
const QString ShowHelp = QStringLiteral("showHelp:");
const QString EmailUs = QStringLiteral("emailUs:");
const QString ShowAbout = QStringLiteral("showAboutWindow:");
const QString ShowPreferences = QStringLiteral("presentPreferences:");
const QString CopyCommand = QStringLiteral("copy:");
const QString DeleteCommand = QStringLiteral("delete:");
const QString RenameCommand = QStringLiteral("rename:");
const QString SelectAllCommand = QStringLiteral("selectAll:");

const QStringList Commands = {NewCollection, NewGroup,     ImportTern,   Save,         Quit,         Find,
                              ToggleLabels,  ToggleCells,  ToggleSearchGrouping,        IncreaseSize,
                              DecreaseSize,  ToggleAppearance, ShowHelp, EmailUs,     ShowAbout,
                              ShowPreferences};

QAction* addItem(QMenu* menu, const QString& title, const QString& command, const QKeySequence& shortcut = {})
{
    QAction* action = menu->addAction(title);
    action->setShortcut(shortcut);
    pt::ActionRouter::shared().bind(action, command);
    return action;
}

} // namespace

PTMenuItemsController::PTMenuItemsController(QString helpURL, QString supportEmail, QObject* parent)
    : QObject(parent)
    , menuBar_(new QMenuBar)
    , helpURL_(std::move(helpURL))
    , supportEmail_(std::move(supportEmail))
{
    sharedMenus = this;
    pt::Defaults& defaults = pt::Defaults::standard();
    if (!defaults.objectForKey(GroupSearchItemsKey).isValid())
        defaults.set(GroupSearchItemsKey, true);
    menuBar_->setAccessibleName(tr("Main menu"));
    buildMenus();
    pt::ActionRouter::shared().setApplicationHandler(this);
}

PTMenuItemsController::~PTMenuItemsController()
{
    pt::ActionRouter::shared().setApplicationHandler(nullptr);
    if (sharedMenus == this)
        sharedMenus = nullptr;
    if (menuBar_ && !menuBar_->parent())
        delete menuBar_;
    delete aboutPanel_;
}

PTMenuItemsController* PTMenuItemsController::sharedController()
{
    return sharedMenus;
}

void PTMenuItemsController::buildMenus()
{
    QMenu* file = menuBar_->addMenu(tr("&File"));
    addItem(file, tr("New Set…"), NewCollection, QKeySequence::New);
    addItem(file, tr("New Group"), NewGroup, QKeySequence(QStringLiteral("Ctrl+Shift+N")));
    file->addSeparator();
    addItem(file, tr("Import Bundle…"), ImportTern, QKeySequence(QStringLiteral("Ctrl+Shift+I")));
    file->addSeparator();
    addItem(file, tr("Save"), Save, QKeySequence::Save);
    file->addSeparator();
    addItem(file, tr("Quit"), Quit, QKeySequence::Quit);

    QMenu* edit = menuBar_->addMenu(tr("&Edit"));
    editMenu_ = edit;
    // Answered by the focused grid or source list.
    addItem(edit, tr("Copy"), CopyCommand, QKeySequence::Copy);
    addItem(edit, tr("Delete"), DeleteCommand, QKeySequence::Delete);
    addItem(edit, tr("Rename"), RenameCommand);
    addItem(edit, tr("Select All"), SelectAllCommand, QKeySequence::SelectAll);
    edit->addSeparator();
    findMenuItem_ = addItem(edit, tr("Find"), Find, QKeySequence::Find);
    edit->addSeparator();
    addItem(edit, tr("Preferences…"), ShowPreferences, QKeySequence(QStringLiteral("Ctrl+,")));

    QMenu* view = menuBar_->addMenu(tr("&View"));
    // Titled and performed by the inspector.
    collectionsMenuItem_ = view->addAction(tr("Show Sets"));
    inspectorMenuItem_ = view->addAction(tr("Show Inspector"));
    collectionsMenuItem_->setEnabled(false);
    inspectorMenuItem_->setEnabled(false);
    view->addSeparator();
    addItem(view, tr("Show Labels"), ToggleLabels);
    addItem(view, tr("Show Grid"), ToggleCells);
    addItem(view, tr("Group Search Results"), ToggleSearchGrouping);
    // Titled, checked and performed by the grid controller.
    hoverLabelsMenuItem_ = view->addAction(tr("Show Names on Hover"));
    darkModeMenuItem_ = view->addAction(tr("Enable Dark Grid"));
    view->addSeparator();
    // "+" needs Shift on many keyboards, and Shift makes the step the small one: Ctrl+= is the large step up.
    QAction* increase = addItem(view, tr("Increase Size"), IncreaseSize, QKeySequence::ZoomIn);
    increase->setShortcuts(QKeySequence::keyBindings(QKeySequence::ZoomIn) << QKeySequence(Qt::CTRL | Qt::Key_Equal));
    addItem(view, tr("Decrease Size"), DecreaseSize, QKeySequence::ZoomOut);
    view->addSeparator();
    addItem(view, tr("Dark Appearance"), ToggleAppearance, QKeySequence(QStringLiteral("Ctrl+Shift+D")));

    QMenu* help = menuBar_->addMenu(tr("&Help"));
    // The update and feedback items join it by this name.
    help->setObjectName(QStringLiteral("helpMenu"));
    if (!helpURL_.isEmpty())
        addItem(help, tr("Pictern Help"), ShowHelp, QKeySequence::HelpContents);
    if (!supportEmail_.isEmpty())
        addItem(help, tr("Email Support…"), EmailUs);
    if (!help->isEmpty())
        help->addSeparator();
    addItem(help, tr("About Pictern"), ShowAbout);

    for (QMenu* menu : {file, edit, view, help})
        menu->setAccessibleName(menu->title().remove(QLatin1Char('&')));
}

bool PTMenuItemsController::respondsTo(const QString& command) const
{
    return Commands.contains(command);
}

bool PTMenuItemsController::validate(const QString& command, pt::CommandState& state)
{
    const pt::Defaults& defaults = pt::Defaults::standard();
    if (command == ToggleLabels || command == ToggleCells) {
        state.checkable = true;
        state.checked = defaults.boolForKey(command == ToggleLabels ? ShowLabelsKey : ShowGridKey);
    } else if (command == ToggleSearchGrouping) {
        state.title = defaults.boolForKey(GroupSearchItemsKey) ? tr("Ungroup Search Results")
                                                               : tr("Group Search Results");
    } else if (command == ToggleAppearance) {
        state.checkable = true;
        state.checked = PTThemeIsAppearance(PTAppearanceDark);
    } else if (command == NewCollection) {
        return PTAddIconsPresenter::installed() != nullptr;
    } else if (command == Find) {
        return PTToolbarController::sharedController() != nullptr;
    } else if (command == Save) {
        // The delegate saves the library's store once it is open.
        return PTAppDelegate::shared() && PTHasManagedObjectContext();
    }
    return true;
}

void PTMenuItemsController::perform(const QString& command)
{
    if (command == ToggleLabels) {
        flip(ShowLabelsKey);
    } else if (command == ToggleCells) {
        flip(ShowGridKey);
    } else if (command == ToggleSearchGrouping) {
        flip(GroupSearchItemsKey);
    } else if (command == IncreaseSize || command == DecreaseSize) {
        const Qt::KeyboardModifiers modifiers = QGuiApplication::queryKeyboardModifiers();
        if (command == IncreaseSize)
            PTGridViewOptionsController::increaseSizeStatically(modifiers);
        else
            PTGridViewOptionsController::decreaseSizeStatically(modifiers);
    } else if (command == NewGroup) {
        // After the menu has closed.
        pt::DispatchQueue::main().async([] { PTGroupController::sharedController().createGroupWithName({}, nullptr); });
    } else if (command == NewCollection) {
        if (const auto presenter = PTAddIconsPresenter::installed())
            presenter->presentNewCollection(nullptr);
    } else if (command == Find) {
        if (PTToolbarController* toolbar = PTToolbarController::sharedController()) {
            toolbar->searchField()->window()->activateWindow();
            toolbar->searchField()->setFocus(Qt::ShortcutFocusReason);
        }
    } else if (command == ImportTern) {
        PTTernImporter::openTernFromOpenPanel();
    } else if (command == ToggleAppearance) {
        PTThemeController& theme = PTThemeController::defaultController();
        theme.setAppearance(theme.appearance() == PTAppearanceAqua ? PTAppearanceDark : PTAppearanceAqua);
    } else if (command == ShowHelp) {
        QDesktopServices::openUrl(QUrl(helpURL_));
    } else if (command == EmailUs) {
        QUrl mail(QStringLiteral("mailto:") + supportEmail_);
        QUrlQuery query;
        query.addQueryItem(QStringLiteral("subject"), QStringLiteral("Support"));
        mail.setQuery(query);
        QDesktopServices::openUrl(mail);
    } else if (command == ShowPreferences) {
        PTPreferencesController::sharedController().presentPreferences();
    } else if (command == ShowAbout) {
        showAboutWindow();
    } else if (command == Save) {
        if (PTAppDelegate* delegate = PTAppDelegate::shared())
            delegate->saveAction();
    } else if (command == Quit) {
        if (PTAppDelegate* delegate = PTAppDelegate::shared())
            delegate->terminate();
    }
    pt::ActionRouter::shared().invalidate();
}

void PTMenuItemsController::flip(const QString& key)
{
    pt::Defaults& defaults = pt::Defaults::standard();
    defaults.set(key, !defaults.boolForKey(key));
}

void PTMenuItemsController::addActionAfterFind(QAction* action)
{
    const QList<QAction*> items = editMenu_->actions();
    const int find = int(items.indexOf(findMenuItem_));
    editMenu_->insertAction(items.value(find + 1), action);
}

void PTMenuItemsController::showAboutWindow()
{
    if (!aboutPanel_) {
        aboutPanel_ = new PTAboutPanel(PTBuildInfo::version(), PTBuildInfo::buildNumber(), PTBuildInfo::distribution(),
                                       PTMainWindow());
        // A frameless window is not placed by the window manager: it opens in the middle of its screen.
        const QWidget* over = PTMainWindow();
        if (const QScreen* screen = over ? over->screen() : QGuiApplication::primaryScreen())
            aboutPanel_->move(screen->availableGeometry().center() - aboutPanel_->rect().center());
    }
    aboutPanel_->show();
    aboutPanel_->raise();
    aboutPanel_->activateWindow();
}
