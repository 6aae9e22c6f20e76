#include "FakeGridClock.h"
#include "GridTestSource.h"

#include "platform/ui/ActionRouter.h"
#include "platform/ui/SheetHost.h"

#include <QMimeData>
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
    // A move with the buttons given held.
    void move(const QPoint& to, Qt::MouseButtons buttons = Qt::NoButton)
    {
        QMouseEvent event(QEvent::MouseMove, QPointF(to), grid->viewport()->mapToGlobal(QPointF(to)), Qt::NoButton,
                          buttons, Qt::NoModifier);
        QApplication::sendEvent(grid->viewport(), &event);
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

// The viewport's event handler: outside a real drag session, the application hands moves and drops to no one.
struct ViewportEvents : PTGridView {
    using PTGridView::viewportEvent;
};

// Hands one drag event to the grid and answers whether it was accepted, with the action it settled on.
std::pair<bool, Qt::DropAction> sendDrag(PTGridView& grid, QEvent::Type type, const QPoint& at)
{
    const auto deliver = [&grid](QEvent* event) { (grid.*(&ViewportEvents::viewportEvent))(event); };
    QMimeData data;
    data.setText(QStringLiteral("x"));
    if (type == QEvent::DragLeave) {
        QDragLeaveEvent leave;
        deliver(&leave);
        return {leave.isAccepted(), Qt::IgnoreAction};
    }
    std::unique_ptr<QDropEvent> event;
    if (type == QEvent::DragEnter)
        event = std::make_unique<QDragEnterEvent>(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    else if (type == QEvent::DragMove)
        event = std::make_unique<QDragMoveEvent>(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    else
        event = std::make_unique<QDropEvent>(QPointF(at), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    event->setAccepted(false);
    deliver(event.get());
    return {event->isAccepted(), event->dropAction()};
}

TEST_F(GridMouseTest, DropsLandOnTheItemTheSectionOrNowhere)
{
    source.caps |= PTGridViewDataSource::ValidateDrop | PTGridViewDataSource::AcceptDrop | PTGridViewDataSource::DragEntered;
    grid->setDataSource(&source);
    settle();
    const QRectF item12 = grid->geometry().rectForItemAtIndex(12);
    struct Case {
        const char* name;
        QPoint at;
        GridIndexPath path;
    };
    const std::vector<Case> cases{
        {"on an item", item12.center().toPoint(), {0, 12}},
        {"between items of a section", QPoint(2, static_cast<int>(item12.center().y())), GridIndexPath::header(0)},
        {"above every section", QPoint(100, 5), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        source.dropPaths.clear();
        EXPECT_EQ(sendDrag(*grid, QEvent::DragMove, c.at), std::make_pair(true, Qt::CopyAction));
        EXPECT_TRUE(sendDrag(*grid, QEvent::Drop, c.at).first);
        EXPECT_EQ(source.dropPaths, (std::vector<GridIndexPath>{c.path, c.path}));
    }

    // Refused: no drop here, but entering is taken so that the exit is heard.
    source.log.clear();
    source.dropAnswer = Qt::IgnoreAction;
    const QPoint at = item12.center().toPoint();
    EXPECT_EQ(sendDrag(*grid, QEvent::DragEnter, at), std::make_pair(true, Qt::IgnoreAction));
    EXPECT_EQ(sendDrag(*grid, QEvent::DragMove, at), std::make_pair(false, Qt::IgnoreAction));
    EXPECT_FALSE(sendDrag(*grid, QEvent::Drop, at).first);
    sendDrag(*grid, QEvent::DragLeave, at);
    EXPECT_EQ(source.log, QStringList({"drag in", "drag out"}));

    // A source that does not validate drops gets none, and is not asked.
    source.dropAnswer = Qt::CopyAction;
    source.caps &= ~quint32(PTGridViewDataSource::ValidateDrop | PTGridViewDataSource::AcceptDrop);
    grid->setDataSource(&source);
    settle();
    source.dropPaths.clear();
    EXPECT_EQ(sendDrag(*grid, QEvent::DragMove, at), std::make_pair(false, Qt::IgnoreAction));
    EXPECT_FALSE(sendDrag(*grid, QEvent::Drop, at).first);
    EXPECT_TRUE(source.dropPaths.empty());
}

TEST_F(GridMouseTest, TheContextMenuCarriesTheSelectionOrThePointedItem)
{
    const QPoint onItem = centre(7);
    EXPECT_EQ(grid->menuAt(onItem), &source.menu);
    ASSERT_EQ(source.menuRequests.size(), 1U);
    EXPECT_TRUE(source.menuRequests[0].first.isEmpty());
    EXPECT_EQ(source.menuRequests[0].second, (GridIndexPath{0, 7}));

    grid->selectIndexPaths({{1, 3}, {0, 2}});
    EXPECT_EQ(grid->menuAt(onItem), &source.menu);
    EXPECT_EQ(source.menuRequests[1].first, (QVector<GridIndexPath>{{0, 2}, {1, 3}}));
    EXPECT_EQ(source.menuRequests[1].second, (GridIndexPath{0, 2}));

    // None on a header, none while a sheet is attached.
    EXPECT_EQ(grid->menuAt(headerFrame(0).center().toPoint()), nullptr);
    QWidget sheet;
    pt::SheetHost::begin(grid.get(), &sheet);
    EXPECT_EQ(grid->menuAt(onItem), nullptr);
    pt::SheetHost::end(&sheet, 0);
    EXPECT_EQ(grid->menuAt(onItem), &source.menu);
    EXPECT_EQ(source.menuRequests.size(), 3U);
}

TEST_F(GridMouseTest, HoverFollowsThePointerAndPausesWhileScrolling)
{
    CountingItemCell::hoverLog.clear();
    move(centre(3));
    move(centre(3) + QPoint(2, 0));
    move(centre(4));
    EXPECT_EQ(CountingItemCell::hoverLog, QStringList({"enter 3", "move 3", "exit 3", "enter 4"}));
    EXPECT_EQ(grid->hoverCell(), cell(0, 4));

    CountingItemCell::hoverLog.clear();
    scrollTo(10); // a layout burst: hover goes and stays off until it is quiet
    move(centre(5));
    EXPECT_EQ(CountingItemCell::hoverLog, QStringList({"exit 4"}));
    clock.advance(0.11);
    move(centre(5));
    EXPECT_EQ(grid->hoverCell(), grid->cellForIndexPath(grid->geometry().indexPathForPoint(centre(5) + QPointF(0, 10))));

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(grid->viewport(), &leave);
    EXPECT_EQ(grid->hoverCell(), nullptr);
}

TEST_F(GridMouseTest, AMarqueeHeldPastTheEdgeScrollsUntilReleased)
{
    load({300});
    const int bottom = grid->verticalScrollBar()->maximum();
    drag(centre(0) - QPoint(20, 20), QPoint(200, 150)); // from empty space
    EXPECT_FALSE(grid->isAutoscrolling()); // inside: no scrolling
    move(QPoint(200, 330), Qt::LeftButton); // 46 past the band along the bottom edge
    ASSERT_TRUE(grid->isAutoscrolling());
    const qint64 lastHit = selected().back();
    clock.advance(0.03);
    EXPECT_EQ(grid->verticalScrollBar()->value(), 46);
    // The band grows with the scroll, so the selection reaches the row that came into view.
    EXPECT_EQ(selected().back(), lastHit + 10);
    clock.advance(10);
    EXPECT_EQ(grid->verticalScrollBar()->value(), bottom);
    EXPECT_FALSE(grid->isAutoscrolling()); // stopped at the end

    scrollTo(200);
    move(QPoint(200, -20), Qt::LeftButton);
    ASSERT_TRUE(grid->isAutoscrolling());
    release(QPoint(200, -20));
    clock.advance(1);
    EXPECT_EQ(grid->verticalScrollBar()->value(), 200);
}

TEST_F(GridMouseTest, ADragNearAnEdgeScrollsUntilItLeaves)
{
    load({300});
    scrollTo(200);
    settle();
    sendDrag(*grid, QEvent::DragEnter, QPoint(200, 150));
    EXPECT_FALSE(grid->isAutoscrolling());
    sendDrag(*grid, QEvent::DragMove, QPoint(200, 6)); // 10 into the top band
    clock.advance(0.03);
    EXPECT_EQ(grid->verticalScrollBar()->value(), 190);
    sendDrag(*grid, QEvent::DragLeave, QPoint());
    clock.advance(1);
    EXPECT_EQ(grid->verticalScrollBar()->value(), 190);
}

} // namespace
