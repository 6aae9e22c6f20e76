#include "AppTestLibrary.h"
#include "TestSupport.h"

#include "app/PTAppSideColumns.h"
#include "app/PTMenuItemsController.h"
#include "app/PTSplitViewController.h"
#include "platform/runtime/Defaults.h"

#include <QHBoxLayout>
#include <QSplitterHandle>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// The three columns in a window of a given width.
struct Columns {
    explicit Columns(int width)
    {
        auto* layout = new QHBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(split.view());
        split.setColumns(new QWidget, new QWidget, new QWidget);
        window.resize(width, 500);
        window.show();
        layout->activate();
        split.restore();
    }
    QList<int> sizes() const { return split.view()->sizes(); }
    // Drags divider 1 or 2 by dx, as the user does.
    void drag(int divider, int dx)
    {
        QSplitterHandle* handle = split.view()->handle(divider);
        const QPoint middle = handle->rect().center();
        QTest::mousePress(handle, Qt::LeftButton, {}, middle);
        QTest::mouseMove(handle, middle + QPoint(dx, 0));
        QTest::mouseRelease(handle, Qt::LeftButton, {}, middle + QPoint(dx, 0));
    }

    QWidget window;
    PTSplitViewController split;
};

class SplitViewTest : public ::testing::Test {
protected:
    void SetUp() override { pt::Defaults::standard().remove(PTSplitViewController::AutosaveKey); }
};

TEST_F(SplitViewTest, FirstRunWidthsLimitsAndResizing)
{
    Columns columns(1000);
    EXPECT_EQ(columns.sizes(), (QList<int>{222, 1000 - 2 - 444, 222}));

    struct Case {
        int divider;
        int dx;
        QList<int> sides; // sets, inspector
    };
    const Case cases[] = {
        {1, -200, {150, 222}}, // the sets column stops at 150
        {1, 400, {330, 222}},  // and at 330
        {2, -300, {330, 330}}, // the inspector stops at 330
        {2, 300, {330, 222}},  // and at 222
    };
    for (const Case& c : cases) {
        columns.drag(c.divider, c.dx);
        const QList<int> sizes = columns.sizes();
        EXPECT_EQ((QList<int>{sizes[0], sizes[2]}), c.sides) << "divider " << c.divider << " by " << c.dx;
        EXPECT_EQ(sizes[0] + sizes[1] + sizes[2], 998) << "no column collapses";
    }

    const QList<int> before = columns.sizes();
    columns.window.resize(1300, 500);
    QApplication::processEvents();
    const QList<int> after = columns.sizes();
    EXPECT_EQ(after[0], before[0]);
    EXPECT_EQ(after[2], before[2]);
    EXPECT_EQ(after[1], before[1] + 300) << "only the grid column takes the new width";
}

TEST_F(SplitViewTest, ANewWindowRestoresTheDraggedWidths)
{
    QList<int> dragged;
    {
        Columns columns(1000);
        columns.drag(1, 40);
        columns.drag(2, -50);
        dragged = columns.sizes();
        ASSERT_NE(dragged, (QList<int>{222, 556, 222}));
    }
    Columns again(1000);
    EXPECT_EQ(again.sizes(), dragged);
}

// A hidden side column gives its width and divider to the grid and comes back at its width; the other side
// column never moves. A new window hides it again, and the grid column itself cannot be hidden.
TEST_F(SplitViewTest, ASideColumnHidesAndComesBackAtItsWidthInANewWindowToo)
{
    struct Case {
        int column;
        int divider;
        int dx;
    };
    for (const Case c : {Case{PTSplitViewController::SetsColumn, 1, 40}, Case{PTSplitViewController::InspectorColumn, 2, -40}}) {
        SCOPED_TRACE(c.column);
        pt::Defaults::standard().remove(PTSplitViewController::AutosaveKey);
        const int other = 2 - c.column;
        QList<int> shown;
        {
            Columns columns(1000);
            columns.drag(c.divider, c.dx);
            shown = columns.sizes();
            columns.split.setColumnHidden(PTSplitViewController::GridColumn, true);
            EXPECT_EQ(columns.sizes(), shown);
            columns.split.setColumnHidden(c.column, true);
            EXPECT_TRUE(columns.split.isColumnHidden(c.column));
            const QList<int> hidden = columns.sizes();
            EXPECT_EQ(hidden[c.column], 0);
            EXPECT_EQ(hidden[other], shown[other]);
            EXPECT_EQ(hidden[1], shown[1] + shown[c.column] + 1);
        }
        Columns again(1000);
        EXPECT_TRUE(again.split.isColumnHidden(c.column));
        EXPECT_FALSE(again.split.isColumnHidden(other));
        EXPECT_EQ(again.sizes()[other], shown[other]);
        again.split.setColumnHidden(c.column, false);
        EXPECT_FALSE(again.split.isColumnHidden(c.column));
        EXPECT_EQ(again.sizes(), shown);
    }
}

// The inspector names the side columns by role; the shell maps them onto the window's columns and its View menu,
// and a window that is gone hides nothing and counts as hidden.
TEST_F(SplitViewTest, TheInspectorHidesTheColumnsItNamesThroughTheShell)
{
    PTMenuItemsController menus{QString(), QString()};
    auto columns = std::make_unique<Columns>(1000);
    PTAppSideColumns sides(&columns->split, &menus);
    EXPECT_EQ(sides.inspectorMenuItem(), menus.inspectorMenuItem());
    EXPECT_EQ(sides.collectionsMenuItem(), menus.collectionsMenuItem());
    using Pair = std::pair<PTSideColumns::Column, int>;
    for (const auto& [side, index] : {Pair{PTSideColumns::SetsColumn, PTSplitViewController::SetsColumn},
                                      Pair{PTSideColumns::InspectorColumn, PTSplitViewController::InspectorColumn}}) {
        SCOPED_TRACE(index);
        sides.setColumnHidden(side, true);
        EXPECT_TRUE(columns->split.isColumnHidden(index));
        EXPECT_TRUE(sides.isColumnHidden(side));
        EXPECT_FALSE(columns->split.isColumnHidden(PTSplitViewController::GridColumn));
        sides.setColumnHidden(side, false);
        EXPECT_FALSE(sides.isColumnHidden(side));
    }
    columns.reset();
    sides.setColumnHidden(PTSideColumns::SetsColumn, false);
    EXPECT_TRUE(sides.isColumnHidden(PTSideColumns::SetsColumn));
}

} // namespace
