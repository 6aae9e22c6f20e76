#include "ScenarioTest.h"

#include "TestSupport.h"

#include "app/PTAppController.h"
#include "app/PTGridColumn.h"
#include "app/PTMenuItemsController.h"
#include "app/PTWindow.h"
#include "browser/controller/PTGridViewController.h"
#include "browser/controller/PTGridViewDataProvider.h"
#include "browser/grid/PTGridView.h"
#include "launch/AppStartUp.h"
#include "library/entities/PTItem.h"
#include "platform/ui/AnimationTiming.h"
#include "platform/ui/ModalRunner.h"
#include "platform/ui/SheetHost.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QDragEnterEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QTest>

namespace {

std::shared_ptr<PTAppDelegate> launched;
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

QString itemName(const PTItem* item)
{
    return item->name();
}

} // namespace

void ScenarioTest::SetUp()
{
    current = this;
    if (!launched) {
        pointDesktopFoldersIntoHome();
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
        });
        AppStartUp::registerAll();
        PTAppDelegate::QuitPath quit = PTAppDelegate::defaultQuitPath();
        // The process outlives a quit: the environment ends the application after the last scenario.
        quit.exit = [](int) {};
        quit.startRelaunch = [] { return false; };
        launched = AppStartUp::installDelegate(quit);
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
    const QString folder = pt::test::fixturePath(fixtureFolder);
    const qsizetype files = QDir(folder).entryList(QDir::Files).size();
    ASSERT_GT(files, 0) << folder.toStdString();
    dropFolderOnGrid(fixtureFolder);
    confirmAddIconsSheet(setName);
    // Done when the add-icons sheet has ended, not just stepped out of sight under its progress sheet.
    ASSERT_TRUE(waitFor([&] { return gridItemNames().size() == files && !pt::SheetHost::attachedSheet(window()); }))
        << "the grid shows " << gridItemNames().join(QStringLiteral(", ")).toStdString();
    // The main window takes the keys again once the sheet is gone, as the desktop hands them back.
    window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window()));
}

void ScenarioTest::dropFolderOnGrid(const QString& fixtureFolder)
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
    data.setUrls({QUrl::fromLocalFile(pt::test::fixturePath(fixtureFolder))});
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    ASSERT_TRUE(enter.isAccepted()) << "the grid refuses the folder";
    // A move starts with the answer to the last event, as the desktop's drag sends it.
    QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    move.setDropAction(enter.dropAction());
    move.setAccepted(true);
    QApplication::sendEvent(target, &move);
    ASSERT_TRUE(move.isAccepted()) << "the grid refuses the folder";
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    ASSERT_TRUE(drop.isAccepted()) << "the grid refuses the folder";
}

void ScenarioTest::confirmAddIconsSheet(const QString& setName)
{
    QLineEdit* name = nullptr;
    ASSERT_TRUE(waitFor([&name] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            for (auto* field : window->findChildren<QLineEdit*>()) {
                // A fresh sheet: one confirmed before keeps its name while it is on its way out.
                if (window->isVisible() && field->accessibleName() == QLatin1String("New set name")
                    && field->text().isEmpty())
                    name = field;
            }
        }
        return name != nullptr;
    })) << "no add-icons sheet";
    // A sheet that offers a set as the target is turned to a new set, as the user picks it in the target menu.
    if (!name->isVisible()) {
        QAction* newSet = nullptr;
        for (auto* menu : name->window()->findChildren<QMenu*>()) {
            for (QAction* item : menu->actions()) {
                if (item->text() == QLatin1String("New Set"))
                    newSet = item;
            }
        }
        ASSERT_NE(newSet, nullptr) << "no new set in the target menu";
        newSet->trigger();
        ASSERT_TRUE(name->isVisible()) << "choosing a new set shows no name field";
    }
    QTest::mouseClick(name, Qt::LeftButton);
    QTest::keyClicks(name, setName);
    QWidget* add = nullptr;
    for (QWidget* widget : name->window()->findChildren<QWidget*>()) {
        if (widget->accessibleName() == QLatin1String("Import to a New Set"))
            add = widget;
    }
    ASSERT_NE(add, nullptr) << "no import button in the sheet";
    QTest::mouseClick(add, Qt::LeftButton);
}

QStringList ScenarioTest::gridItemNames() const
{
    // What the grid shows after the type and licence filters, section by section.
    PTGridViewDataProvider& shown = app().gridViewController()->dataProvider();
    QVector<GridIndexPath> paths;
    for (qint64 section = 0; section < shown.numberOfSections(); ++section)
        for (qint64 index = 0; index < shown.numberOfItemsInSection(section); ++index)
            paths.append({section, index});
    QStringList names;
    for (const PTItem* item : shown.itemsForIndexPaths(paths))
        names << itemName(item);
    return names;
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

void ScenarioTest::clickSourceListRow(const QString& title)
{
    auto* list = sourceList()->findChild<QAbstractItemView*>();
    ASSERT_NE(list, nullptr) << "the source list has no rows";
    const QModelIndexList found = list->model()->match(list->model()->index(0, 0), Qt::DisplayRole, title, 1,
                                                       Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_FALSE(found.isEmpty()) << "no row " << title.toStdString();
    list->scrollTo(found.first());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(found.first()).center());
    ASSERT_TRUE(waitFor([&] { return list->selectionModel()->isSelected(found.first()); }));
}

QWidget* ScenarioTest::visibleWidget(const QString& accessibleName)
{
    for (QWidget* widget : QApplication::allWidgets()) {
        if (widget->accessibleName() == accessibleName && widget->isVisible())
            return widget;
    }
    return nullptr;
}

void ScenarioTest::press(const QKeySequence& keys)
{
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr) << "no widget has the focus";
    QTest::keySequence(focus, keys);
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

void ScenarioTest::closeMenu(QMenu* menu)
{
    menu->close();
    // The desktop gives the window and the widget that had the keys back when a menu closes; offscreen does not.
    window()->activateWindow();
    QTest::qWaitForWindowActive(window());
    if (focusBeforeMenu_)
        focusBeforeMenu_->setFocus(Qt::PopupFocusReason);
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

bool ScenarioTest::waitFor(const std::function<bool()>& condition, int timeoutMs)
{
    return pt::test::runMainQueueUntil(condition, timeoutMs);
}
