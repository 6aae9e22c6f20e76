#include "ScenarioTest.h"

#include "browser/PTBrowserTransfer.h"
#include "browser/grid/PTGridView.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTest>

namespace {

using EditScenario = ScenarioTest;

// Which of the Edit menu's items are enabled now, by title; missing items are left out.
QString enabledItems(const QStringList& titles, const std::function<QAction*(const QString&)>& item)
{
    QStringList enabled;
    for (const QString& title : titles) {
        if (QAction* action = item(title); action && action->isEnabled())
            enabled << title;
    }
    return enabled.join(QStringLiteral(", "));
}

// The grid answers the desktop's standard Edit menu: select all, copy, delete after asking; each item enabled as
// the selection allows.
TEST_F(EditScenario, TheEditMenuSelectsCopiesAndDeletesInTheGrid)
{
    importFolder(QStringLiteral("shapes"), QStringLiteral("Shapes"));
    const QStringList all = gridItemNames();
    // A click on the grid's empty corner: the grid has the focus and nothing is selected.
    QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {},
                      grid()->viewport()->rect().bottomRight() - QPoint(10, 10));
    ASSERT_TRUE(waitFor([this] { return grid()->hasFocus(); }));
    ASSERT_TRUE(selectedItemNames().isEmpty());

    const QStringList titles = {QStringLiteral("Copy"), QStringLiteral("Delete"), QStringLiteral("Rename"),
                                QStringLiteral("Select All"), QStringLiteral("Find"),
                                QStringLiteral("Find in Current Selection")};
    const auto edit = [this](const QString& title) { return menuItem(QStringLiteral("Edit"), title); };
    for (const QString& title : titles)
        ASSERT_NE(edit(title), nullptr) << "no " << title.toStdString() << " in the Edit menu";
    EXPECT_EQ(edit(QStringLiteral("Copy"))->shortcut(), QKeySequence(QKeySequence::Copy));
    EXPECT_EQ(edit(QStringLiteral("Select All"))->shortcut(), QKeySequence(QKeySequence::SelectAll));
    EXPECT_EQ(edit(QStringLiteral("Find in Current Selection"))->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+F")));
    EXPECT_EQ(enabledItems(titles, edit),
              QStringLiteral("Select All, Find, Find in Current Selection"))
        << "nothing selected: nothing to copy, delete or rename";

    choose(QStringLiteral("Edit"), QStringLiteral("Select All"));
    ASSERT_TRUE(waitFor([&] { return selectedItemNames().size() == all.size(); }))
        << "Select All selected " << selectedItemNames().join(QStringLiteral(", ")).toStdString();
    EXPECT_EQ(enabledItems(titles, edit), titles.join(QStringLiteral(", ")));

    QApplication::clipboard()->clear();
    choose(QStringLiteral("Edit"), QStringLiteral("Copy"));
    const QMimeData* copied = QApplication::clipboard()->mimeData();
    ASSERT_NE(copied, nullptr);
    EXPECT_TRUE(copied->hasFormat(QStringLiteral("text/uri-list"))) << copied->formats().join(' ').toStdString();
    EXPECT_TRUE(copied->hasFormat(PTBrowserTransfer::ItemType)) << copied->formats().join(' ').toStdString();
    EXPECT_EQ(copied->urls().size(), all.size());

    // Asked first: cancelled, everything stays; confirmed, the icons go.
    answerNextModal([](QWidget* alert) { ScenarioTest::clickButton(alert, QStringLiteral("Cancel")); });
    choose(QStringLiteral("Edit"), QStringLiteral("Delete"));
    ASSERT_TRUE(waitFor([this] { return modals.size() == 1; })) << "Delete asked nothing";
    QTest::qWait(200);
    EXPECT_EQ(gridItemNames().size(), all.size());

    answerNextModal([](QWidget* alert) { ScenarioTest::clickButton(alert, QStringLiteral("OK")); });
    choose(QStringLiteral("Edit"), QStringLiteral("Delete"));
    ASSERT_TRUE(waitFor([this] { return gridItemNames().isEmpty(); }))
        << "left " << gridItemNames().join(QStringLiteral(", ")).toStdString();
    EXPECT_EQ(modals.join(QStringLiteral(", ")), QStringLiteral("Are you sure?, Are you sure?"));
    EXPECT_EQ(enabledItems(titles, edit),
              QStringLiteral("Find, Find in Current Selection"))
        << "an empty grid has nothing to select";
}

} // namespace
