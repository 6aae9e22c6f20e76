#include "ScenarioTest.h"

#include "browser/PTBrowserTransfer.h"
#include "browser/grid/PTGridView.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTest>

namespace {

// The Edit menu's items are reached by their keys, as users mostly do, or picked from the menu.
enum class Way { Keys, Menu };

class EditScenario : public ScenarioTest, public ::testing::WithParamInterface<Way> {
protected:
    // Performs the Edit menu's item the chosen way.
    void edit(const QString& title, const QKeySequence& keys)
    {
        if (GetParam() == Way::Keys)
            press(keys);
        else
            choose(QStringLiteral("Edit"), title);
    }
    QAction* item(const QString& title) { return menuItem(QStringLiteral("Edit"), title); }
    // Which of the items are enabled now, by title; missing items are left out.
    QString enabledItems(const QStringList& titles)
    {
        QStringList enabled;
        for (const QString& title : titles) {
            if (QAction* action = item(title); action && action->isEnabled())
                enabled << title;
        }
        return enabled.join(QStringLiteral(", "));
    }
    QAbstractItemView* sets() const { return sourceList()->findChild<QAbstractItemView*>(); }

    const QStringList titles = {QStringLiteral("Copy"), QStringLiteral("Delete"), QStringLiteral("Rename"),
                                QStringLiteral("Select All"), QStringLiteral("Find"),
                                QStringLiteral("Find in Current Selection")};
};

// The grid answers the Edit menu: select all, copy, delete after asking, each enabled as the selection allows,
// and the search scope switches; with the source list focused the grid's selection is neither copied nor deleted.
TEST_P(EditScenario, TheEditMenuActsOnTheFocusedGridOrSourceList)
{
    const QString setName = GetParam() == Way::Keys ? QStringLiteral("Keyed") : QStringLiteral("Picked");
    importFolder(QStringLiteral("shapes"), setName);
    const QStringList all = gridItemNames();
    // A click on the grid's empty corner: the grid has the focus and nothing is selected.
    QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {},
                      grid()->viewport()->rect().bottomRight() - QPoint(10, 10));
    ASSERT_TRUE(waitFor([this] { return grid()->hasFocus(); }));
    ASSERT_TRUE(selectedItemNames().isEmpty());

    for (const QString& title : titles)
        ASSERT_NE(item(title), nullptr) << "no " << title.toStdString() << " in the Edit menu";
    EXPECT_EQ(item(QStringLiteral("Copy"))->shortcut(), QKeySequence(QKeySequence::Copy));
    EXPECT_EQ(item(QStringLiteral("Delete"))->shortcut(), QKeySequence(QKeySequence::Delete));
    EXPECT_EQ(item(QStringLiteral("Select All"))->shortcut(), QKeySequence(QKeySequence::SelectAll));
    EXPECT_EQ(item(QStringLiteral("Find in Current Selection"))->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+F")));
    EXPECT_EQ(enabledItems(titles), QStringLiteral("Select All, Find, Find in Current Selection"))
        << "nothing selected: nothing to copy, delete or rename";

    edit(QStringLiteral("Select All"), QKeySequence::SelectAll);
    ASSERT_TRUE(waitFor([&] { return selectedItemNames().size() == all.size(); }))
        << "Select All selected " << selectedItemNames().join(QStringLiteral(", ")).toStdString();
    EXPECT_EQ(enabledItems(titles), titles.join(QStringLiteral(", ")));

    QApplication::clipboard()->clear();
    edit(QStringLiteral("Copy"), QKeySequence::Copy);
    const QMimeData* copied = QApplication::clipboard()->mimeData();
    ASSERT_NE(copied, nullptr);
    EXPECT_TRUE(copied->hasFormat(QStringLiteral("text/uri-list"))) << copied->formats().join(' ').toStdString();
    EXPECT_TRUE(copied->hasFormat(PTBrowserTransfer::ItemType)) << copied->formats().join(' ').toStdString();
    EXPECT_EQ(copied->urls().size(), all.size());

    // The scope of the search switches, and the item offers the other one.
    edit(QStringLiteral("Find in Current Selection"), QKeySequence(QStringLiteral("Ctrl+Shift+F")));
    ASSERT_NE(item(QStringLiteral("Find in All Sets")), nullptr) << "the search scope did not switch";
    edit(QStringLiteral("Find in All Sets"), QKeySequence(QStringLiteral("Ctrl+Shift+F")));
    ASSERT_NE(item(QStringLiteral("Find in Current Selection")), nullptr) << "the search scope did not switch back";

    // Asked first: cancelled, everything stays; confirmed, the icons go.
    answerNextModal([](QWidget* alert) { ScenarioTest::clickButton(alert, QStringLiteral("Cancel")); });
    edit(QStringLiteral("Delete"), QKeySequence::Delete);
    ASSERT_TRUE(waitFor([this] { return modals.size() == 1; })) << "Delete asked nothing";
    QTest::qWait(200);
    EXPECT_EQ(gridItemNames().size(), all.size());

    // The source list: of the edit items Delete and Rename, for its set; the grid's icons are neither copied nor
    // deleted from there.
    sets()->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(waitFor([this] { return sets()->hasFocus(); }));
    ASSERT_EQ(selectedItemNames().size(), all.size()) << "focusing the source list changed the grid's selection";
    EXPECT_EQ(enabledItems(titles), QStringLiteral("Delete, Rename, Find, Find in Current Selection"));
    if (GetParam() == Way::Keys) {
        QApplication::clipboard()->clear();
        press(QKeySequence::Copy);
        // Delete asks about the set; cancelled, the set and its icons stay.
        answerNextModal([](QWidget* alert) { ScenarioTest::clickButton(alert, QStringLiteral("Cancel")); });
        press(QKeySequence::Delete);
        ASSERT_TRUE(waitFor([this] { return modals.size() == 2; })) << "Delete in the source list asked nothing";
        QTest::qWait(200);
        EXPECT_EQ(QApplication::clipboard()->mimeData()->urls().size(), 0) << "the source list copied the grid's icons";
        EXPECT_EQ(gridItemNames().size(), all.size());
    }
    // Back in the grid, the confirmed delete takes the icons.
    grid()->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(waitFor([this] { return grid()->hasFocus(); }));
    edit(QStringLiteral("Select All"), QKeySequence::SelectAll);
    ASSERT_TRUE(waitFor([&] { return selectedItemNames().size() == all.size(); }));
    answerNextModal([](QWidget* alert) { ScenarioTest::clickButton(alert, QStringLiteral("OK")); });
    edit(QStringLiteral("Delete"), QKeySequence::Delete);
    ASSERT_TRUE(waitFor([this] { return gridItemNames().isEmpty(); }))
        << "left " << gridItemNames().join(QStringLiteral(", ")).toStdString();
    EXPECT_TRUE(waitFor([&] { return enabledItems(titles) == QStringLiteral("Find, Find in Current Selection"); }))
        << "an empty grid has nothing to select: " << enabledItems(titles).toStdString() << "; the keys are with "
        << (QApplication::focusWidget() ? QApplication::focusWidget()->metaObject()->className() : "nobody");
    EXPECT_EQ(modals.size(), GetParam() == Way::Keys ? 3 : 2);
    EXPECT_EQ(modals.filter(QStringLiteral("Are you sure?")).size(), modals.size()) << modals.join(", ").toStdString();
    EXPECT_TRUE(setHoldsOnDisk(setName, {})) << "the icons are gone from the store file and the set's folder";
}

INSTANTIATE_TEST_SUITE_P(ByKeysAndByMenu, EditScenario, ::testing::Values(Way::Keys, Way::Menu),
                         [](const ::testing::TestParamInfo<Way>& info) {
                             return std::string(info.param == Way::Keys ? "Keys" : "Menu");
                         });

} // namespace
