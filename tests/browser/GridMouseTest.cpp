#include "FakeGridClock.h"
#include "GridTestSource.h"

#include "platform/ui/ActionRouter.h"

#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Sections of 25 and 25 items, 10 columns: item i of section 0 sits at (10 + 49.33 c, 83 + 46 r).
struct GridMouseTest : GridFixture {
    void SetUp() override
    {
        GridFixture::SetUp();
        source.caps |= PTGridViewDataSource::WantsDrag | PTGridViewDataSource::DoubleClick;
        load({25, 25});
    }
    QPoint centre(qint64 gridIndex) const { return grid->geometry().rectForItemAtIndex(gridIndex).center().toPoint(); }
    void click(const QPoint& point, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, modifiers, point);
    }
    void drag(const QPoint& from, const QPoint& to, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::mousePress(grid->viewport(), Qt::LeftButton, modifiers, from);
        QMouseEvent move(QEvent::MouseMove, QPointF(to), grid->viewport()->mapToGlobal(QPointF(to)), Qt::NoButton,
                         Qt::LeftButton, modifiers);
        QApplication::sendEvent(grid->viewport(), &move);
    }
    void release(const QPoint& at) { QTest::mouseRelease(grid->viewport(), Qt::LeftButton, Qt::NoModifier, at); }
    std::vector<qint64> selected() const { return grid->selection().indexes(); }
};

TEST_F(GridMouseTest, ClickMatrix)
{
    struct Case {
        const char* name;
        std::vector<qint64> before; // clicked in order, the rest with Ctrl: the anchor is the last
        Qt::KeyboardModifiers modifiers;
        qint64 clicked; // -1: empty space
        bool multi;
        std::vector<qint64> after;
    };
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    const std::vector<Case> cases{
        {"plain on unselected", {1, 2}, none, 5, true, {5}},
        {"plain on selected keeps all", {1, 2}, none, 2, true, {1, 2}},
        {"plain on empty space", {1, 2}, none, -1, true, {}},
        {"ctrl adds", {1, 2}, Qt::ControlModifier, 5, true, {1, 2, 5}},
        {"ctrl removes", {1, 2}, Qt::ControlModifier, 2, true, {1}},
        {"ctrl on empty space keeps", {1, 2}, Qt::ControlModifier, -1, true, {1, 2}},
        {"shift from the anchor", {1}, Qt::ShiftModifier, 4, true, {1, 2, 3, 4}},
        {"shift backwards adds", {9, 6}, Qt::ShiftModifier, 4, true, {4, 5, 6, 9}},
        {"shift without anchor", {}, Qt::ShiftModifier, 4, true, {4}},
        {"shift ctrl toggles", {1}, Qt::ShiftModifier | Qt::ControlModifier, 4, true, {1, 4}},
        {"ctrl without multi-select", {1, 2}, Qt::ControlModifier, 5, false, {5}},
        {"shift without multi-select", {1}, Qt::ShiftModifier, 4, false, {4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        grid->setAllowsMultiSelection(c.multi);
        grid->cancelSelection();
        if (!c.before.empty()) {
            click(centre(c.before.front()));
            for (size_t i = 1; i < c.before.size(); ++i)
                click(centre(c.before[i]), Qt::ControlModifier);
            grid->setAllowsMultiSelection(c.multi);
        }
        click(c.clicked < 0 ? QPoint(5, 100) : centre(c.clicked), c.modifiers); // x 5: the left margin
        EXPECT_EQ(selected(), c.after);
    }
}

TEST_F(GridMouseTest, HeadersJitterAndDoubleClicks)
{
    click(centre(3));
    click(QPoint(250, 50)); // the sticky header over section 0
    EXPECT_EQ(selected(), (std::vector<qint64>{3}));

    click(centre(5));
    drag(centre(5), centre(5) + QPoint(1, 1));
    release(centre(5) + QPoint(1, 1));
    EXPECT_EQ(source.dragRequests, 0);
    drag(centre(5), centre(5) + QPoint(12, 0)); // a selected item dragged: the data source drags it
    release(centre(5) + QPoint(12, 0));
    EXPECT_EQ(source.dragRequests, 1);
    EXPECT_EQ(selected(), (std::vector<qint64>{5}));
    EXPECT_EQ(grid->marquee(), nullptr);

    click(centre(7));
    EXPECT_EQ(source.doubleClicks, 0);
    // The second press of a double click arrives as its own event type, then the release.
    QMouseEvent second(QEvent::MouseButtonDblClick, QPointF(centre(7)), grid->viewport()->mapToGlobal(QPointF(centre(7))),
                       Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid->viewport(), &second);
    release(centre(7));
    EXPECT_EQ(selected(), (std::vector<qint64>{7}));
    EXPECT_EQ(source.doubleClicks, 1);
}

TEST_F(GridMouseTest, AControlMarqueeInvertsAndShrinkingRestores)
{
    click(centre(0));
    click(centre(1), Qt::ControlModifier); // baseline {0, 1}
    const QPoint start = centre(0) - QPoint(20, 20);
    drag(start, centre(12), Qt::ControlModifier); // over 0, 1, 2, 10, 11, 12
    EXPECT_EQ(selected(), (std::vector<qint64>{2, 10, 11, 12}));
    QMouseEvent back(QEvent::MouseMove, QPointF(centre(0)), grid->viewport()->mapToGlobal(QPointF(centre(0))),
                     Qt::NoButton, Qt::LeftButton, Qt::ControlModifier);
    QApplication::sendEvent(grid->viewport(), &back); // only item 0 now
    EXPECT_EQ(selected(), (std::vector<qint64>{1}));
    release(centre(0));
    ASSERT_NE(grid->marquee(), nullptr);
    clock.advance(0.31);
    grid->animator().tick();
    EXPECT_EQ(grid->marquee(), nullptr);
}

TEST_F(GridMouseTest, TheMarqueeIsClampedToTheGrid)
{
    const QPoint start = centre(44) + QPoint(25, 25);
    drag(start, QPoint(-300, -300));
    ASSERT_NE(grid->marquee(), nullptr);
    const QRectF band = grid->marquee()->frame();
    EXPECT_EQ(band.left(), 0);
    EXPECT_EQ(band.top(), 38); // not above the top margin
    EXPECT_EQ(band.bottom(), start.y());
    EXPECT_EQ(selected().size(), 45u);
    release(QPoint(0, 0));
}

TEST_F(GridMouseTest, EditCommandsNeedASelectionAndOthersGoToTheSource)
{
    source.caps |= PTGridViewDataSource::WantsCopy | PTGridViewDataSource::ValidatesMenuItem;
    grid->setDataSource(&source);
    const auto enabled = [&](const QString& command) {
        pt::CommandState state;
        return grid->respondsTo(command) && grid->validate(command, state) && state.enabled;
    };
    EXPECT_FALSE(enabled(PTGridView::CopyCommand));
    EXPECT_TRUE(enabled(PTGridView::SelectAllCommand));
    EXPECT_TRUE(enabled(QStringLiteral("revealInFolder:")));
    EXPECT_FALSE(grid->respondsTo(QStringLiteral("openWith:")));
    grid->perform(PTGridView::CopyCommand);
    EXPECT_TRUE(source.commands.isEmpty());

    grid->perform(PTGridView::SelectAllCommand);
    EXPECT_TRUE(enabled(PTGridView::CopyCommand));
    grid->perform(PTGridView::CopyCommand);
    grid->perform(PTGridView::DeleteCommand); // the source does not take deletes
    grid->perform(QStringLiteral("revealInFolder:"));
    grid->perform(QStringLiteral("openWith:"));
    EXPECT_EQ(source.commands, (QStringList{"copy 50", "revealInFolder:"}));

    // Through the router, with the grid focused in the active window.
    grid->activateWindow();
    grid->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), grid.get());
    EXPECT_EQ(pt::ActionRouter::shared().target(PTGridView::CopyCommand), grid.get());
    EXPECT_TRUE(pt::ActionRouter::shared().validate(QStringLiteral("revealInFolder:")).enabled);
}

} // namespace
