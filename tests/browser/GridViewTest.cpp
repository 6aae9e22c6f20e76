#include "FakeGridClock.h"
#include "GridTestSource.h"

#include "ui/theme/PTAppearanceObserver.h"

#include <QAccessible>
#include <QApplication>
#include <QFocusEvent>
#include <QPushButton>
#include <QHelpEvent>
#include <QScrollBar>
#include <QToolTip>

#include <gtest/gtest.h>

namespace {

// A 500 × 300 grid under a 38-point top margin: 36-point items, 10 apart, in 10 columns, headers 35 high.
using GridViewTest = GridFixture;

TEST_F(GridViewTest, AReloadKeepsTheCellsOfStayingItemsAndRemovesLeavingOnesAtTheEnd)
{
    load({6});
    ASSERT_EQ(grid->viewport()->width(), 500);
    EXPECT_EQ(grid->geometry().numberOfColumns(), 10);
    std::vector<PTGridViewCell*> before;
    for (int i = 0; i < 6; ++i)
        before.push_back(cell(0, i));
    source.sections = {{1, 7, 2, 3, 8}};
    grid->reloadData();
    const int destroyed = CountingItemCell::destroyed;
    EXPECT_EQ(cell(0, 0), before[0]);
    EXPECT_EQ(cell(0, 2), before[1]);
    EXPECT_EQ(cell(0, 3), before[2]);
    // Item 2 glides from the second place of the packed single row to the third; item 7 grows in.
    CellAnimator& animator = grid->animator();
    EXPECT_TRUE(animator.has(before[1], CellAnimator::Position));
    EXPECT_EQ(*animator.presentation(before[1], CellAnimator::Position), PTGridViewCell::positionForFrame(QRectF(56, 83, 36, 36)));
    EXPECT_EQ(before[1]->frame(), grid->geometry().rectForItemAtIndex(2));
    EXPECT_FALSE(animator.has(cell(0, 1), CellAnimator::Position));
    EXPECT_EQ(animator.presentation(cell(0, 1), CellAnimator::Scale)->x(), 0);
    for (int i = 3; i < 6; ++i) {
        EXPECT_EQ(before[static_cast<size_t>(i)]->zPosition(), PTGridView::LeavingZPosition);
        EXPECT_EQ(animator.presentation(before[static_cast<size_t>(i)], CellAnimator::Scale)->x(), 1);
    }

    clock.advance(0.5);
    animator.tick();
    EXPECT_EQ(CountingItemCell::destroyed, destroyed);
    clock.advance(0.02);
    animator.tick();
    EXPECT_EQ(CountingItemCell::destroyed, destroyed + 3);
    EXPECT_FALSE(animator.running());
    EXPECT_EQ(grid->visibleCells().size(), 5);
}

TEST_F(GridViewTest, StayingCellsGlideFromWhereTheyShowedOnScreen)
{
    load({60, 40});
    scrollTo(200);
    PTGridViewCell* staying = cell(0, 50);
    const QPointF shown = staying->position();

    source.sections[0].erase(source.sections[0].begin()); // everything moves one place back
    grid->reloadData();
    ASSERT_EQ(cell(0, 49), staying);
    EXPECT_EQ(*grid->animator().presentation(staying, CellAnimator::Position), shown);

    settle();
    const QPointF onScreen = staying->position() - QPointF(0, 200);
    grid->reloadData(true); // to the top: the glide starts at the old place on screen
    ASSERT_EQ(grid->verticalScrollBar()->value(), 0);
    ASSERT_EQ(cell(0, 49), staying);
    EXPECT_EQ(*grid->animator().presentation(staying, CellAnimator::Position), onScreen);
}

TEST_F(GridViewTest, ItemSizeIsMadeWholeOutwardsUnlessTheSourceAnswers)
{
    load({6});
    source.log.clear();
    grid->setItemSize(QSizeF(36.4, 36.4));
    EXPECT_EQ(grid->itemSize(), QSizeF(37, 37));
    EXPECT_EQ(source.log, (QStringList{"live on", "live off"}));

    source.log.clear();
    source.itemSizeAnswer = QSizeF(40.2, 40);
    grid->setDataSource(&source);
    source.log.clear();
    grid->setItemSize(QSizeF(36.4, 36.4));
    EXPECT_EQ(grid->itemSize(), QSizeF(41, 40));
    EXPECT_EQ(source.log, (QStringList{"live on", "proposed 37", "live off"}));
    EXPECT_EQ(cell(0, 0)->frame().size(), QSizeF(41, 40));
}

// Far down a long grid, another item size keeps in view what was looked at: the selected item while it shows,
// else the first whole item at the top, each at its distance from the top of the view where it fits.
TEST_F(GridViewTest, ANewItemSizeKeepsTheLookedAtItemInView)
{
    struct Case {
        const char* name;
        qreal size;
        std::optional<qint64> selected; // an item of the first section
        qint64 expected;                // the grid index held in view; -1 for the first whole item at the top
    };
    const Case cases[] = {
        {"smaller", 16, std::nullopt, -1},
        {"larger", 128, std::nullopt, -1},
        {"smaller, selection in view", 16, 5023, 5023},
        {"larger, selection in view", 128, 5023, 5023},
        {"selection out of view", 16, 10, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        load({6000, 4000});
        grid->setItemSize(QSizeF(36, 36));
        const GridGeometry& geometry = grid->geometry();
        // Row 500 of the first section sits right under the sticky header.
        const qreal rowTop = geometry.rectForItemAtIndex(5000).top();
        scrollTo(static_cast<int>(rowTop) - 38 - 35 - 4);
        if (c.selected)
            grid->selectIndexPaths({{0, *c.selected}});
        const qint64 held = c.expected >= 0 ? c.expected : 5000;
        const qreal offset = geometry.rectForItemAtIndex(held).top() - grid->visibleRect().top();

        grid->setItemSize(QSizeF(c.size, c.size));
        const QRectF frame = geometry.rectForItemAtIndex(held);
        const QRectF view = grid->visibleRect().adjusted(0, 38 + 35, 0, 0);
        EXPECT_TRUE(view.contains(frame)) << "item " << held << " at " << frame.top() << ", view from "
                                          << view.top() << " to " << view.bottom();
        if (frame.height() <= view.bottom() - grid->visibleRect().top() - offset)
            EXPECT_EQ(frame.top() - grid->visibleRect().top(), offset);
        EXPECT_TRUE(grid->cellForIndexPath({0, held}) != nullptr) << "no cell shows the item";
        grid->deselectAll();
    }
}

TEST_F(GridViewTest, ScrollingInsideOneRangeTouchesNoItemCellButMovesTheStickyHeader)
{
    load({60, 40});
    const GridGeometry& geometry = grid->geometry();
    ASSERT_EQ(geometry.rangeOfItemsInRect(QRectF(0, 0, 500, 300)), geometry.rangeOfItemsInRect(QRectF(0, 5, 500, 300)));
    grid->viewport()->grab();
    const auto tally = [&] {
        int total = 0;
        for (PTGridViewCell* visible : grid->visibleCells()) {
            auto* counting = static_cast<CountingItemCell*>(visible);
            total += counting->displays + counting->draws;
        }
        return total;
    };
    const int before = tally();
    EXPECT_EQ(headerFrame(0).y(), 37); // section 0 sticks already at its own y
    EXPECT_TRUE(grid->headerCellForSection(0)->sticky());

    scrollTo(5);
    grid->viewport()->grab();
    EXPECT_EQ(tally(), before);
    EXPECT_EQ(headerFrame(0).y(), 42);
    EXPECT_EQ(grid->visibleCells().size(), 50);
}

TEST_F(GridViewTest, StickyHeadersAndTheOnePointPush)
{
    load({25, 25, 25});
    // Section 1's header sits at 221.
    ASSERT_EQ(grid->geometry().rectForSectionHeader(1).y(), 221);
    scrollTo(170); // the top edge at 208: header 0 is pushed up by header 1, one point of overlap
    EXPECT_EQ(headerFrame(0), QRectF(0, 187, 500, 35));
    EXPECT_EQ(headerFrame(1).y(), 221);
    EXPECT_FALSE(grid->headerCellForSection(1)->sticky());

    scrollTo(183); // the top edge exactly at header 1: not yet sticky
    EXPECT_FALSE(grid->headerCellForSection(1)->sticky());
    EXPECT_EQ(headerFrame(1).y(), 221);
    scrollTo(184);
    EXPECT_TRUE(grid->headerCellForSection(1)->sticky());
    EXPECT_EQ(headerFrame(1).y(), 221);
    scrollTo(200);
    EXPECT_EQ(headerFrame(1).y(), 237);
}

TEST_F(GridViewTest, SectionsAreAnnouncedOnceAsTheyComeAndGo)
{
    load({25, 0, 25, 25});
    EXPECT_EQ(source.log, (QStringList{"show 0", "show 1", "show 2"}));
    source.log.clear();
    scrollTo(200);
    scrollTo(210);
    EXPECT_EQ(source.log, (QStringList{"hide 0", "hide 1", "show 3"}));
    source.log.clear();
    scrollTo(0);
    EXPECT_EQ(source.log, (QStringList{"hide 3", "show 0 again", "show 1 again"}));
    EXPECT_GT(grid->pooledCellCount(QStringLiteral("header")) + grid->pooledCellCount(QStringLiteral("item")), 0);
}

TEST_F(GridViewTest, AResizeIsOneLiveResizeAndABurstEndsAfterItsLastResize)
{
    load({60});
    PTGridViewCell* first = cell(0, 0);
    source.log.clear();
    grid->resize(600, 300);
    EXPECT_EQ(source.log, (QStringList{"live on", "live off"}));
    EXPECT_EQ(cell(0, 0), first);
    EXPECT_EQ(static_cast<CountingItemCell*>(first)->liveEnters, 1);
    EXPECT_EQ(static_cast<CountingItemCell*>(first)->liveExits, 1);
    EXPECT_EQ(grid->geometry().numberOfColumns(), 12);
    EXPECT_TRUE(grid->inNativeLiveResize());
    clock.advance(0.1);
    grid->resize(620, 300);
    clock.advance(0.1);
    EXPECT_TRUE(grid->inNativeLiveResize());
    clock.advance(0.06);
    EXPECT_FALSE(grid->inNativeLiveResize());
}

TEST_F(GridViewTest, AGridGoneMidBurstLeavesNothingScheduled)
{
    load({60});
    grid->resize(600, 300);
    grid->selectIndexPaths({{0, 1}});
    ASSERT_GT(clock.pending(), 0u);
    grid.reset();
    EXPECT_EQ(clock.pending(), 0u);
}

TEST_F(GridViewTest, TooltipsComeBackAfterALayoutBurst)
{
    load({60, 40});
    const QRectF item = grid->geometry().rectForItemAtIndex(3);
    const auto tip = grid->toolTipAt(item.center().toPoint());
    EXPECT_EQ(tip.first, QStringLiteral("item 4"));
    EXPECT_EQ(tip.second, item.toRect());
    EXPECT_TRUE(grid->toolTipAt(QPoint(3, 100)).first.isEmpty()); // the margin

    scrollTo(40);
    const QPoint point = item.translated(0, -40).center().toPoint();
    EXPECT_TRUE(grid->toolTipAt(point).first.isEmpty());
    clock.advance(0.05);
    scrollTo(46);
    clock.advance(0.09);
    EXPECT_TRUE(grid->toolTipAt(point).first.isEmpty()); // 0.1 s after the last pass only
    clock.advance(0.02);
    EXPECT_EQ(grid->toolTipAt(point).first, QStringLiteral("item 4"));

    QHelpEvent help(QEvent::ToolTip, point, grid->viewport()->mapToGlobal(point));
    QApplication::sendEvent(grid->viewport(), &help);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("item 4"));
    QToolTip::hideText();
}

TEST_F(GridViewTest, AnAccessibleTableOfItems)
{
    load({25, 3});
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(grid.get());
    ASSERT_NE(accessible, nullptr);
    QAccessibleTableInterface* table = accessible->tableInterface();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(accessible->role(), QAccessible::Table);
    EXPECT_EQ(table->rowCount(), 4);
    EXPECT_EQ(table->columnCount(), 10);
    EXPECT_EQ(accessible->childCount(), 28);
    EXPECT_EQ(table->cellAt(2, 5), nullptr); // right of the short row

    QAccessibleInterface* cell = table->cellAt(3, 1); // the second item of section 1
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->text(QAccessible::Name), QStringLiteral("item 27"));
    EXPECT_EQ(cell->role(), QAccessible::Cell);
    EXPECT_FALSE(cell->state().selected);
    EXPECT_EQ(cell->tableCellInterface()->rowIndex(), 3);
    EXPECT_EQ(cell->tableCellInterface()->columnIndex(), 1);
    EXPECT_EQ(table->cellAt(3, 1), cell); // made once
    EXPECT_EQ(accessible->indexOfChild(cell), 26);

    grid->selectIndexPaths({{1, 1}, {0, 0}});
    EXPECT_TRUE(cell->state().selected);
    EXPECT_EQ(table->selectedCellCount(), 2);
    EXPECT_EQ(table->selectedCells().value(1), cell);
}

TEST_F(GridViewTest, PoolAndDragImage)
{
    load({60, 40});
    scrollTo(288); // the end: items 40 to 99, 40 of them from the pool
    EXPECT_EQ(source.cellsMade, 60);
    scrollTo(0);
    EXPECT_EQ(source.cellsMade, 60);
    EXPECT_EQ(grid->pooledCellCount(QStringLiteral("item")), 10);

    std::unique_ptr<PTGridViewCell> taken = grid->dequeueReusableCellWithIdentifier(QStringLiteral("item"));
    ASSERT_TRUE(taken);
    EXPECT_FALSE(taken->isEnqueued());
    EXPECT_TRUE(taken->wasEnqueued());
    const qsizetype pooled = grid->pooledCellCount(QStringLiteral("item"));
    grid->enqueueReusableCell(std::make_unique<CountingItemCell>(QString()));
    EXPECT_EQ(grid->pooledCellCount(QString()), 0);
    const int reuses = static_cast<CountingItemCell*>(taken.get())->reuses;
    PTGridViewCell* raw = taken.get();
    grid->enqueueReusableCell(std::move(taken));
    EXPECT_TRUE(raw->isEnqueued());
    EXPECT_EQ(grid->pooledCellCount(QStringLiteral("item")), pooled + 1);
    for (qsizetype i = 0; i <= pooled; ++i)
        taken = grid->dequeueReusableCellWithIdentifier(QStringLiteral("item"));
    ASSERT_EQ(taken.get(), raw); // first in, first out
    EXPECT_EQ(static_cast<CountingItemCell*>(raw)->reuses, reuses + 1);

    const qsizetype shown = grid->visibleCells().size();
    QRectF frame;
    const QImage image = grid->imageOfDragItemAtIndexPath({1, 30}, &frame).toImage();
    EXPECT_EQ(frame, grid->geometry().rectForItemAtIndex(90));
    EXPECT_EQ(image.pixelColor(18, 18), QColor(Qt::darkGray));
    EXPECT_EQ(grid->visibleCells().size(), shown);
    EXPECT_EQ(grid->cellForIndexPath({1, 30}), nullptr);
    EXPECT_TRUE(grid->imageOfDragItemAtIndexPath({2, 0}).isNull());
}

TEST_F(GridViewTest, APixelRatioChangeReachesTheSourceAndEveryCellOnce)
{
    source.caps |= PTGridViewDataSource::ScreenChanged;
    load({300});
    grid->enqueueReusableCell(std::make_unique<CountingItemCell>());
    source.log.clear();
    grid->updateDevicePixelRatio(2);
    grid->updateDevicePixelRatio(2);
    EXPECT_EQ(source.log, QStringList({"ratio 2"}));
    for (PTGridViewCell* cell : grid->visibleCells())
        EXPECT_EQ(cell->devicePixelRatio(), 2);
    EXPECT_EQ(grid->headerCellForSection(0)->devicePixelRatio(), 2);
    auto pooled = grid->dequeueReusableCellWithIdentifier(QStringLiteral("item"));
    EXPECT_EQ(pooled->devicePixelRatio(), 2);
    grid->enqueueReusableCell(std::move(pooled));
}

TEST_F(GridViewTest, HeadersCarryTheirItemCount)
{
    load({25, 7});
    EXPECT_EQ(grid->headerCellForSection(0)->itemCount(), 25);
    EXPECT_EQ(grid->headerCellForSection(1)->itemCount(), 7);
}

TEST_F(GridViewTest, RedrawsOfTheSelectionTheThemeAndFocus)
{
    load({25});
    grid->selectIndexPaths({{0, 2}, {0, 5}});
    const auto displays = [this] {
        std::vector<int> counts;
        for (qint64 i = 0; i < 7; ++i)
            counts.push_back(cell(0, i)->displays);
        return counts;
    };
    const std::vector<int> before = displays();
    grid->visuallyReloadSelectedItems();
    std::vector<int> expected = before;
    ++expected[2];
    ++expected[5];
    EXPECT_EQ(displays(), expected);

    PTThemeNotifyAppearanceObservers(0); // every cell
    for (int& count : expected)
        ++count;
    EXPECT_EQ(displays(), expected);

    // Focus redraws only the cells that ask for it, a turn later.
    cell(0, 3)->setRespondsToFirstResponderRedraw(true);
    QFocusEvent in(QEvent::FocusIn);
    QApplication::sendEvent(grid.get(), &in);
    EXPECT_EQ(cell(0, 3)->responderChanges, 0);
    clock.advance(0.001);
    EXPECT_EQ(cell(0, 3)->responderChanges, 1);
    EXPECT_EQ(cell(0, 4)->responderChanges, 0);
}

TEST_F(GridViewTest, TheAccessoryViewSitsUnderTheLastSectionAndIsOwned)
{
    load({300});
    QScrollBar* bar = grid->verticalScrollBar();
    const int bottom = bar->maximum();
    auto* first = new QPushButton(QStringLiteral("More"));
    grid->setMaxYAccessoryView(first);
    const int height = first->sizeHint().height();
    ASSERT_GT(height, 0);
    EXPECT_EQ(bar->maximum(), bottom + height);
    bar->setValue(bar->maximum());
    EXPECT_EQ(first->geometry(), QRect(0, grid->viewport()->height() - height, grid->viewport()->width(), height));

    QPointer<QPushButton> replaced = first;
    grid->setMaxYAccessoryView(nullptr);
    EXPECT_TRUE(replaced.isNull());
    EXPECT_EQ(bar->maximum(), bottom);
}

} // namespace
