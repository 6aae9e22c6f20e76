#include "ScenarioTest.h"

#include "TestSupport.h"

#include "app/AppStartUp.h"
#include "app/PTAppDelegate.h"
#include "app/PTAppController.h"
#include "app/PTGridColumn.h"
#include "app/PTMenuItemsController.h"
#include "app/PTOpenedItemsCoalescer.h"
#include "app/PTSingleInstance.h"
#include "app/PTWindow.h"
#include "app/preferences/PTPreferencesController.h"
#include "app/scripting/PTScriptingAdaptor.h"
#include "browser/controller/PTGridViewController.h"
#include "browser/controller/PTGridViewDataProvider.h"
#include "browser/grid/PTGridView.h"
#include "browser/grid/PTGridViewCell.h"
#include "foundation/MenuAdditions.h"
#include "library/PTLibraryController.h"
#include "library/entities/PTItem.h"
#include "platform/ui/AnimationTiming.h"
#include "platform/ui/ModalRunner.h"
#include "platform/ui/SheetHost.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDBusConnection>
#include <QDBusPendingCallWatcher>
#include <QDialog>
#include <QDir>
#include <QDirIterator>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <sqlite3.h>

namespace {

// A confirmed sheet keeps its set's name while it is on its way out; a fresh one's name field is empty.
bool confirmed(const QWidget* sheet)
{
    for (const QLineEdit* field : sheet->findChildren<QLineEdit*>()) {
        if (field->accessibleName() == QLatin1String("New set name"))
            return !field->text().isEmpty();
    }
    return false;
}

std::shared_ptr<PTAppDelegate> launched;
// Later `pictern` launches hand over to the scenario's application, as to any first launch.
std::unique_ptr<PTSingleInstance> instance;
ScenarioTest* current = nullptr;

// Closes the application down while QApplication still stands.
class ScenarioEnvironment : public ::testing::Environment {
public:
    void TearDown() override
    {
        if (!launched)
            return;
        AppStartUp::tearDown(*launched);
        launched.reset();
        instance.reset();
    }
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new ScenarioEnvironment);

// The desktop's folders inside the process's temporary home, so that nothing of the user's is read or written.
void pointDesktopFoldersIntoHome()
{
    const QDir home = QDir::home();
    const std::pair<const char*, const char*> folders[] = {{"XDG_DATA_HOME", ".local/share"},
                                                           {"XDG_CONFIG_HOME", ".config"},
                                                           {"XDG_CACHE_HOME", ".cache"},
                                                           {"XDG_STATE_HOME", ".local/state"},
                                                           {"XDG_RUNTIME_DIR", "runtime"}};
    for (const auto& [variable, folder] : folders) {
        home.mkpath(QString::fromLatin1(folder));
        const QString path = home.filePath(QString::fromLatin1(folder));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv(variable, QFile::encodeName(path));
    }
}

// Each row the query answers from the store file on disk, read through a connection of its own; the arguments are
// bound in order.
QList<QStringList> rowsOnDisk(const QString& sql, const QStringList& arguments = {})
{
    QList<QStringList> rows;
    sqlite3* db = nullptr;
    const QByteArray path = PTAppDelegate::shared()->storePath().toUtf8();
    if (sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &statement, nullptr) == SQLITE_OK) {
            for (int i = 0; i < arguments.size(); ++i)
                sqlite3_bind_text(statement, i + 1, arguments[i].toUtf8().constData(), -1, SQLITE_TRANSIENT);
            while (sqlite3_step(statement) == SQLITE_ROW) {
                QStringList columns;
                for (int column = 0; column < sqlite3_column_count(statement); ++column)
                    columns << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, column)));
                rows << columns;
            }
        }
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    return rows;
}

QString itemName(const PTItem* item)
{
    return item->name();
}

// The menu that shows the item; null when it is in none.
QMenu* menuOf(const QAction* item)
{
    for (QObject* holder : item->associatedObjects()) {
        if (auto* menu = qobject_cast<QMenu*>(holder))
            return menu;
    }
    return nullptr;
}

} // namespace

void ScenarioTest::SetUp()
{
    current = this;
    startedHere_ = !launched;
    if (!launched) {
        pointDesktopFoldersIntoHome();
        beforeLaunch();
        QApplication::setApplicationName(QStringLiteral("Pictern"));
        pt::AnimationTiming::setScale(0);
        pt::ModalRunner::setDeadline(10000);
        pt::ModalRunner::setHook([](QWidget* window) {
            if (!current)
                return;
            current->modals << window->accessibleName();
            if (current->answers_.empty()) {
                if (auto* dialog = qobject_cast<QDialog*>(window))
                    dialog->reject();
                else
                    window->close();
                return;
            }
            const auto answer = std::move(current->answers_.front());
            current->answers_.pop_front();
            answer(window);
            // The desktop gives the keys back to the window below once the modal window has gone; offscreen does not.
            QTimer::singleShot(0, [window = QPointer<QWidget>(window)] {
                if ((!window || !window->isVisible()) && current)
                    current->window()->activateWindow();
            });
        });
        instance = std::make_unique<PTSingleInstance>(QDBusConnection::sessionBus());
        ASSERT_TRUE(instance->registerPrimary()) << "the session bus is missing or has a Pictern already";
        AppStartUp::registerAll();
        PTAppDelegate::QuitPath quit = PTAppDelegate::defaultQuitPath();
        // The process outlives a quit: the environment ends the application after the last scenario.
        quit.exit = [](int) {};
        quit.startRelaunch = [] { return false; };
        launched = AppStartUp::installDelegate(quit);
        AppStartUp::serveLaterLaunches(*launched, *instance);
        ASSERT_TRUE(AppStartUp::finishLaunching(*launched, false, false, true));
        modals.clear();
    }
    ASSERT_NE(launched->applicationController(), nullptr);
    window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window()));
}

void ScenarioTest::TearDown()
{
    EXPECT_TRUE(answers_.empty()) << "modal windows expected but never shown: " << answers_.size();
    current = nullptr;
}

PTAppController& ScenarioTest::app() const
{
    return *launched->applicationController();
}

PTWindow* ScenarioTest::window() const
{
    return app().window();
}

PTGridView* ScenarioTest::grid() const
{
    return app().gridViewController()->view();
}

QWidget* ScenarioTest::sourceList() const
{
    return app().sourceListColumn();
}

QWidget* ScenarioTest::inspector() const
{
    return app().inspectorColumn();
}

void ScenarioTest::importFolder(const QString& fixtureFolder, const QString& setName)
{
    const QString folder = QDir::isAbsolutePath(fixtureFolder) ? fixtureFolder : pt::test::fixturePath(fixtureFolder);
    // A folder of folders becomes a group of sets, all of whose icons the grid shows.
    qsizetype files = 0;
    for (QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories); it.hasNext(); it.next())
        ++files;
    ASSERT_GT(files, 0) << folder.toStdString();
    dropOnGrid({folder});
    confirmAddIconsSheet(setName);
    // Done when the add-icons sheet has ended, not just stepped out of sight under its progress sheet.
    ASSERT_TRUE(waitFor([&] { return gridItemNames().size() == files && !pt::SheetHost::attachedSheet(window()); }))
        << "the grid shows " << gridItemNames().join(QStringLiteral(", ")).toStdString();
    // The progress sheet leaves a moment after the icons show; until then it holds the main window's keys, as the
    // desktop holds them for any window under a modal one.
    ASSERT_TRUE(waitFor([] { return QGuiApplication::modalWindow() == nullptr; })) << "the import's sheets stay";
    // The main window takes the keys again once the sheet is gone, as the desktop hands them back.
    window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window()));
}

void ScenarioTest::confirmAddIconsSheet(const QString& setName)
{
    QWidget* sheet = addIconsSheet();
    ASSERT_NE(sheet, nullptr) << "no add-icons sheet";
    if (!sheetWidget(sheet, QStringLiteral("New set name")))
        choosePopUpItem(sheet, QStringLiteral("New Set"));
    auto* name = qobject_cast<QLineEdit*>(sheetWidget(sheet, QStringLiteral("New set name")));
    ASSERT_NE(name, nullptr) << "no name field in the sheet";
    QTest::mouseClick(name, Qt::LeftButton);
    QTest::keyClicks(name, setName);
    QWidget* add = sheetWidget(sheet, QStringLiteral("Import to a New Set"));
    ASSERT_NE(add, nullptr) << "no import button in the sheet";
    QTest::mouseClick(add, Qt::LeftButton);
}

void ScenarioTest::dropOnGrid(const QStringList& paths)
{
    // Dropped where the user lets go of it: on whatever takes drops under the middle of the grid column.
    QWidget* column = app().gridColumn();
    const QPoint middle = column->rect().center();
    QWidget* target = column->childAt(middle);
    while (target && !target->acceptDrops())
        target = target->parentWidget();
    ASSERT_NE(target, nullptr) << "nothing under the grid takes drops";
    const QPoint at = target->mapFrom(column, middle);
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls << QUrl::fromLocalFile(path);
    data.setUrls(urls);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    ASSERT_TRUE(enter.isAccepted()) << "the grid refuses the drop";
    // A move starts with the answer to the last event, as the desktop's drag sends it.
    QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    move.setDropAction(enter.dropAction());
    move.setAccepted(true);
    QApplication::sendEvent(target, &move);
    ASSERT_TRUE(move.isAccepted()) << "the grid refuses the drop";
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    ASSERT_TRUE(drop.isAccepted()) << "the grid refuses the drop";
}

void ScenarioTest::openFromOutside(const QStringList& paths)
{
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls << QUrl::fromLocalFile(path);
    openItems(urls);
}

QWidget* ScenarioTest::addIconsSheet()
{
    QWidget* sheet = nullptr;
    waitFor([&sheet] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->isVisible() && window->accessibleName() == QLatin1String("Import Icons") && !confirmed(window))
                sheet = window;
        }
        return sheet != nullptr;
    });
    // The desktop gives a new sheet the keys (after the menu that opened it, which the fixture closes itself).
    if (sheet)
        sheet->activateWindow();
    if (sheet && !waitFor([sheet] { return QApplication::activeWindow() == sheet; }))
        ADD_FAILURE() << "the add-icons sheet never takes the keys";
    return sheet;
}

bool ScenarioTest::waitForSheetToGo(QWidget* sheet)
{
    const QPointer<QWidget> shown(sheet);
    return waitFor([shown] { return !shown || !shown->isVisible(); });
}

QWidget* ScenarioTest::sheetWidget(QWidget* sheet, const QString& accessibleName)
{
    for (QWidget* widget : sheet->findChildren<QWidget*>()) {
        if (widget->accessibleName() == accessibleName && widget->isVisible())
            return widget;
    }
    return nullptr;
}

void ScenarioTest::choosePopUpItem(QWidget* window, const QString& text)
{
    QPushButton* popUp = nullptr;
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
        if (button->menu() && button->isVisible())
            popUp = button;
    }
    ASSERT_NE(popUp, nullptr) << "no pop-up button";
    bool chosen = false;
    // The menu runs its own event loop from the click; it is answered from inside that loop.
    QTimer::singleShot(0, popUp, [&chosen, text] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (QAction* action : menu->actions()) {
            if (action->text() == text) {
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
                chosen = true;
                return;
            }
        }
        menu->close();
    });
    QTest::mouseClick(popUp, Qt::LeftButton);
    ASSERT_TRUE(waitFor([&chosen] { return chosen && !QApplication::activePopupWidget(); }))
        << "no item " << text.toStdString() << " in the pop-up";
}

QWidget* ScenarioTest::dropFolderOnGrid(const QString& fixtureFolder)
{
    dropOnGrid({pt::test::fixturePath(fixtureFolder)});
    return addIconsSheet();
}

QVector<PTItem*> ScenarioTest::gridItems() const
{
    // What the grid shows after the type and licence filters, section by section.
    PTGridViewDataProvider& shown = app().gridViewController()->dataProvider();
    QVector<GridIndexPath> paths;
    for (qint64 section = 0; section < shown.numberOfSections(); ++section)
        for (qint64 index = 0; index < shown.numberOfItemsInSection(section); ++index)
            paths.append({section, index});
    return shown.itemsForIndexPaths(paths);
}

QStringList ScenarioTest::gridItemNames() const
{
    QStringList names;
    for (const PTItem* item : gridItems())
        names << itemName(item);
    return names;
}

PTItem* ScenarioTest::gridItem(const QString& name) const
{
    for (PTItem* item : gridItems()) {
        if (itemName(item) == name)
            return item;
    }
    return nullptr;
}

QStringList ScenarioTest::selectedItemNames() const
{
    QStringList names;
    for (PTItem* item : app().gridViewController()->itemsForIndexPaths(grid()->selectionIndexPaths()))
        names << itemName(item);
    return names;
}

void ScenarioTest::clickGridItem(const QString& name)
{
    const qsizetype index = gridItemNames().indexOf(name);
    ASSERT_GE(index, 0) << "the grid shows no " << name.toStdString();
    // The grid lays its items out in its own space; the viewport shows the part of it under the scroll offset.
    const QPointF centre = grid()->geometry().rectForItemAtIndex(index).center();
    QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, (centre - QPointF(0, grid()->visibleRect().y())).toPoint());
    ASSERT_TRUE(waitFor([&] { return selectedItemNames() == QStringList{name}; }))
        << "selected " << selectedItemNames().join(QStringLiteral(", ")).toStdString();
}

void ScenarioTest::doubleClickGridItem(const QString& name)
{
    clickGridItem(name);
    const QPointF centre = grid()->geometry().rectForItemAtIndex(gridItemNames().indexOf(name)).center();
    QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, {}, (centre - QPointF(0, grid()->visibleRect().y())).toPoint());
}

QAbstractItemView* ScenarioTest::sourceListView() const
{
    return sourceList()->findChild<QAbstractItemView*>();
}

QModelIndex ScenarioTest::sourceListRow(const QString& title) const
{
    QAbstractItemView* list = sourceListView();
    if (!list) {
        ADD_FAILURE() << "the source list has no rows";
        return {};
    }
    const QModelIndexList found = list->model()->match(list->model()->index(0, 0), Qt::DisplayRole, title, 1,
                                                       Qt::MatchExactly | Qt::MatchRecursive);
    if (found.isEmpty()) {
        ADD_FAILURE() << "no row " << title.toStdString();
        return {};
    }
    list->scrollTo(found.first());
    return found.first();
}

void ScenarioTest::clickSourceListRow(const QString& title)
{
    const QModelIndex row = sourceListRow(title);
    ASSERT_TRUE(row.isValid());
    QAbstractItemView* list = sourceListView();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(row).center());
    ASSERT_TRUE(waitFor([&] { return list->selectionModel()->isSelected(row); }));
}

QPoint ScenarioTest::gridItemPoint(const QString& name) const
{
    for (const GridIndexPath& path : grid()->visibleIndexPaths()) {
        const QVector<PTItem*> items = app().gridViewController()->itemsForIndexPaths({path});
        const PTGridViewCell* cell = grid()->cellForIndexPath(path);
        if (cell && !items.isEmpty() && itemName(items.first()) == name)
            return (cell->frame().center() - QPointF(0, grid()->visibleRect().y())).toPoint();
    }
    ADD_FAILURE() << "the grid shows no " << name.toStdString();
    return {};
}

QStringList ScenarioTest::shownNotices()
{
    QStringList texts;
    if (QWidget* popover = visibleWidget(QStringLiteral("Notices"))) {
        for (const QLabel* label : popover->findChildren<QLabel*>()) {
            if (label->isVisible() && !label->text().isEmpty())
                texts << label->text();
        }
    }
    return texts;
}

void ScenarioTest::dismissNotice(const QString& title)
{
    QWidget* notice = visibleWidget(title);
    ASSERT_NE(notice, nullptr) << title.toStdString();
    QTest::mouseClick(notice, Qt::LeftButton, {}, QPoint(4, 4));
    ASSERT_TRUE(waitFor([&] { return !shownNotices().contains(title); }));
}

void ScenarioTest::openItems(const QList<QUrl>& urls)
{
    launched->openedItems().open(urls);
}

void ScenarioTest::press(const QKeySequence& keys)
{
    // As the desktop delivers a key: to the active window, which matches it against the shortcuts and otherwise
    // gives it to its focused widget; a window under a modal one gets nothing.
    QWindow* active = QGuiApplication::focusWindow();
    ASSERT_NE(active, nullptr) << "no window has the keys";
    QTest::keySequence(active, keys);
}

QMenu* ScenarioTest::openMenu(const QString& menu)
{
    QMenuBar* bar = PTMenuItemsController::sharedController()->menuBar();
    for (QAction* action : bar->actions()) {
        if (action->menu() && action->text().remove(QLatin1Char('&')) == menu) {
            QMenu* opened = action->menu();
            focusBeforeMenu_ = QApplication::focusWidget();
            opened->popup(bar->mapToGlobal(bar->actionGeometry(action).bottomLeft()));
            if (!waitFor([opened] { return opened->isVisible(); }))
                return nullptr;
            return opened;
        }
    }
    return nullptr;
}

QAction* ScenarioTest::menuItem(const QString& menu, const QString& title)
{
    QMenu* opened = openMenu(menu);
    if (!opened)
        return nullptr;
    QAction* found = nullptr;
    for (QAction* action : opened->actions()) {
        if (action->text() == title)
            found = action;
    }
    closeMenu(opened);
    return found;
}

void ScenarioTest::choose(const QString& menu, const QString& title)
{
    QMenu* opened = openMenu(menu);
    ASSERT_NE(opened, nullptr) << "no menu " << menu.toStdString();
    for (QAction* action : opened->actions()) {
        if (action->text() == title) {
            ASSERT_TRUE(action->isEnabled()) << title.toStdString() << " is disabled";
            QTest::mouseClick(opened, Qt::LeftButton, {}, opened->actionGeometry(action).center());
            closeMenu(opened);
            return;
        }
    }
    closeMenu(opened);
    FAIL() << "no item " << title.toStdString() << " in " << menu.toStdString();
}

QMenu* ScenarioTest::contextMenu(QWidget* widget, const QPoint& at)
{
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, widget->mapToGlobal(at));
    QApplication::sendEvent(widget, &event);
    QMenu* shown = nullptr;
    waitFor([&shown] { return (shown = qobject_cast<QMenu*>(QApplication::activePopupWidget())) != nullptr; }, 3000);
    return shown;
}

QAction* ScenarioTest::itemShownAs(const QMenu* menu, const QString& text)
{
    for (QAction* action : menu->actions()) {
        if (!action->isSeparator() && menuAdditions::shownTitle(action->text()).trimmed() == text)
            return action;
    }
    return nullptr;
}

void ScenarioTest::clickMenuItem(QAction* item)
{
    QMenu* menu = menuOf(item);
    ASSERT_NE(menu, nullptr) << "no menu holds " << item->text().toStdString();
    if (!menu->isVisible()) {
        QAction* opener = menu->menuAction();
        QMenu* above = menuOf(opener);
        ASSERT_TRUE(above && above->isVisible()) << "the menu above " << item->text().toStdString() << " is not open";
        QTest::mouseMove(above, above->actionGeometry(opener).center());
        ASSERT_TRUE(waitFor([menu] { return menu->isVisible(); }, 3000))
            << "pointing at " << opener->text().toStdString() << " opens nothing";
    }
    ASSERT_TRUE(item->isEnabled()) << item->text().toStdString() << " is disabled";
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
}

void ScenarioTest::closeMenu(QMenu* menu)
{
    menu->close();
    // The desktop gives the window and the widget that had the keys back when a menu closes; offscreen does not.
    window()->activateWindow();
    QTest::qWaitForWindowActive(window());
    if (focusBeforeMenu_)
        focusBeforeMenu_->setFocus(Qt::PopupFocusReason);
}

QStringList ScenarioTest::storeColumnOnDisk(const QString& sql)
{
    QStringList values;
    for (const QStringList& row : rowsOnDisk(sql))
        values << row.value(0);
    return values;
}

void ScenarioTest::answerNextModal(std::function<void(QWidget* window)> answer)
{
    answers_.push_back(std::move(answer));
}

void ScenarioTest::clickButton(QWidget* window, const QString& text)
{
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (button->text().remove(QLatin1Char('&')) == text) {
            QTest::mouseClick(button, Qt::LeftButton);
            return;
        }
    }
    ADD_FAILURE() << "no button " << text.toStdString() << " in " << window->accessibleName().toStdString();
}

QWidget* ScenarioTest::visibleWidget(const QString& accessibleName)
{
    for (QWidget* widget : QApplication::allWidgets()) {
        if (widget->isVisible() && widget->accessibleName() == accessibleName)
            return widget;
    }
    return nullptr;
}

void ScenarioTest::expectPreferencesOpenAt(const QString& pane)
{
    PTPreferencesController& preferences = PTPreferencesController::sharedController();
    EXPECT_TRUE(waitFor([&preferences] {
        return preferences.preferencesWindow() && preferences.preferencesWindow()->isVisible();
    })) << "no preferences window";
    EXPECT_EQ(preferences.selectedIdentifier(), pane);
    if (preferences.preferencesWindow())
        preferences.preferencesWindow()->close();
}

QStringList ScenarioTest::namesOnDisk(const QString& entity)
{
    return storeColumnOnDisk(QStringLiteral("SELECT name FROM %1 ORDER BY name").arg(entity));
}

QStringList ScenarioTest::setOnDisk(const QString& setName)
{
    const QList<QStringList> sets =
        rowsOnDisk(QStringLiteral("SELECT pk, identifier FROM PTCollection WHERE name = ? ORDER BY pk DESC LIMIT 1"),
                   {setName});
    if (sets.isEmpty())
        return {QStringLiteral("no set ") + setName};
    const QString identifier = sets[0].value(1);
    QStringList files;
    if (!identifier.isEmpty()) {
        const QString folder = PTLibraryController::currentLibrary()->locationByAppendingPath(
            PTLibraryController::SetsFolderName + u'/' + identifier, false);
        files = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    }
    QStringList described;
    const QString items = QStringLiteral("SELECT name, newFileName FROM PTItem WHERE collection = ?");
    for (const QStringList& item : rowsOnDisk(items, {sets[0].value(0)}))
        described << item.value(0) + (files.removeOne(item.value(1)) ? QString() : QStringLiteral(" (no file)"));
    for (const QString& stray : files)
        described << QStringLiteral("+ ") + stray;
    described.sort();
    return described;
}

::testing::AssertionResult ScenarioTest::setHoldsOnDisk(const QString& setName, QStringList items)
{
    items.sort();
    if (waitFor([&] { return setOnDisk(setName) == items; }))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "on disk " << setName.toStdString() << " holds "
                                         << setOnDisk(setName).join(QStringLiteral(", ")).toStdString() << ", not "
                                         << items.join(QStringLiteral(", ")).toStdString();
}

QDBusMessage ScenarioTest::scriptedImport(const QStringList& files, const QString& application)
{
    // The interface served once per process, beside the application's own names.
    static const QString path = QStringLiteral("/com/pictern/ScenarioScripting");
    static QObject* served = [] {
        auto* object = new QObject(qApp);
        (new PTScriptingAdaptor(object, QDBusConnection::sessionBus()))->setReady(true);
        QDBusConnection::sessionBus().registerObject(path, object, QDBusConnection::ExportAdaptors);
        return object;
    }();
    Q_UNUSED(served);
    QDBusConnection caller = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("caller"));
    QDBusMessage call = QDBusMessage::createMethodCall(QDBusConnection::sessionBus().baseService(), path,
                                                       PTScriptingAdaptor::Interface, QStringLiteral("Import"));
    call.setArguments({files, application});
    QDBusPendingCallWatcher watcher(caller.asyncCall(call));
    if (!waitFor([&watcher] { return watcher.isFinished(); }))
        ADD_FAILURE() << "Import was not answered";
    return watcher.reply();
}

bool ScenarioTest::waitFor(const std::function<bool()>& condition, int timeoutMs)
{
    return pt::test::runMainQueueUntil(condition, timeoutMs);
}
