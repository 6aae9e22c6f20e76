#pragma once

#include "TestSupport.h"

#include <QDBusMessage>
#include <QKeySequence>
#include <QModelIndex>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QVector>

#include <gtest/gtest.h>

#include <deque>
#include <functional>

class PTAppController;
class PTGridView;
class PTItem;
class QAbstractItemView;
class PTWindow;
class QAction;
class QMenu;
class QWidget;

// Pictern started as `pictern` starts it (the same registries, delegate, launch and main window, over a real
// library in the test process's temporary home) and driven as a user drives it: keys on the focused widget, menu
// items clicked, files dropped, modal windows answered. The application starts with the first scenario of a
// process and stays up for the later ones; ctest runs each scenario in a process of its own.
class ScenarioTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Runs before the application starts, in the process's temporary home: what a scenario stores here, start-up
    // reads, as after a relaunch. Only when the application starts with this scenario (startedHere()).
    virtual void beforeLaunch() {}
    bool startedHere() const { return startedHere_; }

    PTAppController& app() const;
    PTWindow* window() const;
    PTGridView* grid() const;
    QWidget* sourceList() const;
    QWidget* inspector() const;

    // Drops the folder (a fixture folder, or an absolute path) on the grid column, names the new set (or the new
    // group, for a folder of folders) in the add-icons sheet that opens (choosing "New Set" when the sheet offers the
    // set in view), and waits until its icons show in the grid.
    void importFolder(const QString& fixtureFolder, const QString& setName);
    // Drops the files or folders on the grid column, as the desktop's drag does.
    void dropOnGrid(const QStringList& paths);
    // Hands the files or folders to the running application, as a second `pictern PATH...` does.
    void openFromOutside(const QStringList& paths);
    // The add-icons sheet on screen, once it shows and has the keys; null when none shows in time.
    static QWidget* addIconsSheet();
    // Waits until the sheet has gone, with the work it started; false after the timeout.
    static bool waitForSheetToGo(QWidget* sheet);
    // The sheet's visible widget with the accessible name; null when there is none.
    static QWidget* sheetWidget(QWidget* sheet, const QString& accessibleName);
    // Clicks the window's pop-up button and, in the menu it opens, the item with the text.
    static void choosePopUpItem(QWidget* window, const QString& text);
    // Drops the fixture folder on the grid column; answers the add-icons sheet that opens.
    QWidget* dropFolderOnGrid(const QString& fixtureFolder);
    // Types the new set's name into the add-icons sheet on screen (turning its target to a new set first) and
    // confirms it.
    void confirmAddIconsSheet(const QString& setName);
    // The items the grid shows (filtered), in its order; their names, and the names of those selected.
    QVector<PTItem*> gridItems() const;
    QStringList gridItemNames() const;
    QStringList selectedItemNames() const;
    // The middle of the item's cell in the grid's viewport; the item must be shown.
    QPoint gridItemPoint(const QString& name) const;
    // The shown item of that name; null when the grid shows none.
    PTItem* gridItem(const QString& name) const;
    // The source list's row with that title, scrolled into view; invalid (and a failure) when there is none.
    QModelIndex sourceListRow(const QString& title) const;
    QAbstractItemView* sourceListView() const;
    // Clicks the grid's item of that name, and the source list's row with that title.
    void clickGridItem(const QString& name);
    // Selects the grid's item of that name and double-clicks it.
    void doubleClickGridItem(const QString& name);
    void clickSourceListRow(const QString& title);
    // The texts of the notices the window's notices popover shows (titles and messages); empty while it is closed.
    static QStringList shownNotices();
    // Clicks the shown notice with that title away, as the user does once it is read.
    void dismissNotice(const QString& title);

    // Hands the application files and URLs as the desktop does (opened from a file manager, a browser, the
    // command line).
    void openItems(const QList<QUrl>& urls);

    // Types the keys on the active window, as the desktop sends them: shortcuts first, then the focused widget.
    void press(const QKeySequence& keys);
    // Opens the menu of the main menu bar and answers its item with that text, as the menu shows it; null when
    // there is none.
    QAction* menuItem(const QString& menu, const QString& title);
    // Opens the menu and clicks the item.
    void choose(const QString& menu, const QString& title);
    // Opens the widget's context menu at the point, as a right click does; null when none shows.
    static QMenu* contextMenu(QWidget* widget, const QPoint& at);
    // The item of the menu shown with that text (mnemonic markers and "&&" read as the user sees them).
    static QAction* itemShownAs(const QMenu* menu, const QString& text);
    // Clicks the item of an open menu; a submenu's item is reached by pointing at the item that opens it first.
    static void clickMenuItem(QAction* item);

    // The next modal window is handed to the answer (which presses its buttons); modal windows nobody answers are
    // cancelled. Their accessible names are kept in `modals`, in order.
    void answerNextModal(std::function<void(QWidget* window)> answer);
    static void clickButton(QWidget* window, const QString& text);
    // The shown widget with that accessible name, in any window; null when there is none.
    static QWidget* visibleWidget(const QString& accessibleName);
    // Waits for the preferences window to show the pane, then closes it.
    static void expectPreferencesOpenAt(const QString& pane);
    QStringList modals;

    // The names of the sets ("PTCollection") or groups ("PTGroup") as the store file on disk holds them, read
    // through a connection of its own, sorted.
    static QStringList namesOnDisk(const QString& entity);
    // The newest set of that name in the store file on disk: the names of its items, each followed by " (no file)"
    // when its file is missing from the set's folder, and "+ FILE" for each file of that folder no item names;
    // sorted. "no set NAME" when the store file holds none.
    static QStringList setOnDisk(const QString& setName);
    // Waits until the set on disk holds exactly these items (names, in any order) and no other file; says what it
    // holds when it does not.
    static ::testing::AssertionResult setHoldsOnDisk(const QString& setName, QStringList items);
    // The first column of each row the query answers, read the same way; empty when the store cannot be read.
    static QStringList storeColumnOnDisk(const QString& sql);

    // Calls the scripting interface's Import over the session bus from a connection of its own, as another
    // application does; answers the reply.
    static QDBusMessage scriptedImport(const QStringList& files, const QString& application);

    // Runs the event loop until the condition holds; false after the timeout.
    static bool waitFor(const std::function<bool()>& condition, int timeoutMs = 10000);

private:
    QMenu* openMenu(const QString& menu);
    void closeMenu(QMenu* menu);
    std::deque<std::function<void(QWidget*)>> answers_;
    QPointer<QWidget> focusBeforeMenu_;
    bool startedHere_ = false;
};
