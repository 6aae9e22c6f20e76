#pragma once

#include "TestSupport.h"

#include <QKeySequence>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <deque>
#include <functional>

class PTAppController;
class PTGridView;
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

    PTAppController& app() const;
    PTWindow* window() const;
    PTGridView* grid() const;
    QWidget* sourceList() const;
    QWidget* inspector() const;

    // Drops the fixture folder on the grid column, names the new set in the add-icons sheet that opens, and waits
    // until the set's icons show in the grid.
    void importFolder(const QString& fixtureFolder, const QString& setName);
    // The two halves of that: the drop of the fixture folder, and the new set's name typed into the add-icons
    // sheet (waiting for it to show) and confirmed.
    void dropFolderOnGrid(const QString& fixtureFolder);
    void confirmAddIconsSheet(const QString& setName);
    // Names of the items the grid shows (filtered), in its order, and of those selected.
    QStringList gridItemNames() const;
    QStringList selectedItemNames() const;
    // Clicks the grid's item of that name, and the source list's row with that title.
    void clickGridItem(const QString& name);
    void clickSourceListRow(const QString& title);
    // The shown widget with that accessible name; null when there is none.
    static QWidget* visibleWidget(const QString& accessibleName);

    // Types the keys on the widget that has the focus.
    void press(const QKeySequence& keys);
    // Opens the menu of the main menu bar and answers its item with that text, as the menu shows it; null when
    // there is none.
    QAction* menuItem(const QString& menu, const QString& title);
    // Opens the menu and clicks the item.
    void choose(const QString& menu, const QString& title);

    // The next modal window is handed to the answer (which presses its buttons); modal windows nobody answers are
    // cancelled. Their accessible names are kept in `modals`, in order.
    void answerNextModal(std::function<void(QWidget* window)> answer);
    static void clickButton(QWidget* window, const QString& text);
    QStringList modals;

    // Runs the event loop until the condition holds; false after the timeout.
    static bool waitFor(const std::function<bool()>& condition, int timeoutMs = 10000);

private:
    QMenu* openMenu(const QString& menu);
    void closeMenu(QMenu* menu);
    std::deque<std::function<void(QWidget*)>> answers_;
    QPointer<QWidget> focusBeforeMenu_;
};
