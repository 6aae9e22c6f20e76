#include "FakeGridClock.h"
#include "GridTestSource.h"

#include <QKeyEvent>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Counts the keys that reach it past the grid.
class KeyWitness : public QWidget {
public:
    int keys = 0;

protected:
    void keyPressEvent(QKeyEvent*) override { ++keys; }
};

// Sections of 25, 25 and 25 items, 10 columns, in a 500 × 300 window.
struct GridKeyboardTest : ::testing::Test {
    FakeGridClock clock;
    GridTestSource source;
    KeyWitness window;
    PTGridView* grid = nullptr;

    void SetUp() override
    {
        grid = new PTGridView(&window, clock);
        shapeTestGrid(*grid);
        window.resize(500, 300);
        window.show();
        source.sections = GridTestSource::numbered({25, 25, 25});
        grid->setDataSource(&source);
        clock.advance(1);
        source.reports.clear();
    }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) { QTest::keyClick(grid, key, modifiers); }
    std::vector<qint64> selected() const { return grid->selection().indexes(); }
};

TEST_F(GridKeyboardTest, FirstArrowPicksAnEndAndScrollsToIt)
{
    key(Qt::Key_Up);
    EXPECT_EQ(selected(), (std::vector<qint64>{74}));
    EXPECT_EQ(grid->verticalScrollBar()->value(), grid->verticalScrollBar()->maximum());
    EXPECT_TRUE(grid->cellForIndexPath({2, 24})->highlighted());
    grid->deselectAll();
    key(Qt::Key_Right);
    EXPECT_EQ(selected(), (std::vector<qint64>{0}));
    EXPECT_EQ(grid->verticalScrollBar()->value(), 0);
}

TEST_F(GridKeyboardTest, ModifiersExtendAddAndReplace)
{
    key(Qt::Key_Right); // 0
    key(Qt::Key_Right); // 1, the anchor
    key(Qt::Key_Right, Qt::ShiftModifier);
    key(Qt::Key_Right, Qt::ShiftModifier);
    key(Qt::Key_Left, Qt::ShiftModifier); // ranges only add
    EXPECT_EQ(selected(), (std::vector<qint64>{1, 2, 3}));
    key(Qt::Key_Down, Qt::ControlModifier); // the cursor (2) one row down, added
    EXPECT_EQ(selected(), (std::vector<qint64>{1, 2, 3, 12}));
    key(Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(selected(), (std::vector<qint64>{13}));
    key(Qt::Key_Up);
    EXPECT_EQ(selected(), (std::vector<qint64>{3}));
    EXPECT_FALSE(grid->cellForIndexPath({0, 13})->highlighted());

    grid->selectAll();
    grid->deselectAll();
    grid->selectAll(); // no anchor: Shift makes the target the anchor and the only item
    key(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(selected(), (std::vector<qint64>{73}));
    key(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(selected(), (std::vector<qint64>{72, 73}));
}

TEST_F(GridKeyboardTest, ABurstOfChangesIsReportedOnce)
{
    for (qint64 i = 0; i < 10; ++i) {
        grid->selectIndexPaths({{0, i}}, true);
        clock.advance(0.0004);
    }
    EXPECT_TRUE(source.reports.empty());
    clock.advance(0.005);
    ASSERT_EQ(source.reports.size(), 1u);
    EXPECT_EQ(source.reports[0].size(), 10);
}

TEST_F(GridKeyboardTest, EscapeSpaceAndOtherKeys)
{
    grid->selectAll();
    key(Qt::Key_Escape);
    EXPECT_EQ(grid->selection().count(), 0);
    EXPECT_TRUE(std::none_of(grid->selection().marqueBaseline.begin(), grid->selection().marqueBaseline.end(),
                             [](bool b) { return b; }));

    for (bool repeat : {false, true, true}) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), repeat);
        QApplication::sendEvent(grid, &press);
    }
    EXPECT_EQ(source.spaces, 1);

    key(Qt::Key_A);
    key(Qt::Key_Return);
    EXPECT_EQ(window.keys, 0);
    grid->setFocus();
    key(Qt::Key_Up);
    key(Qt::Key_Right); // the last item: no target, nothing changes
    EXPECT_EQ(selected(), (std::vector<qint64>{74}));
}

TEST_F(GridKeyboardTest, AReloadStartsWithNothingSelected)
{
    grid->selectIndexPaths({{1, 3}});
    grid->reloadData();
    EXPECT_EQ(grid->selection().count(), 0);
    key(Qt::Key_Down);
    EXPECT_EQ(selected(), (std::vector<qint64>{0}));
    grid->selectIndexPaths({{7, 0}, {1, 30}, {1, 2}}); // outside the data: ignored
    EXPECT_EQ(selected(), (std::vector<qint64>{27}));
}

} // namespace
