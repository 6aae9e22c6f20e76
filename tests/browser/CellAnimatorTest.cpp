#include "FakeGridClock.h"

#include "browser/grid/CellAnimator.h"
#include "browser/grid/PTGridViewCell.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class CountingCell : public PTGridViewCell {
public:
    CountingCell()
        : PTGridViewCell(QStringLiteral("item"))
    {
    }
    void controllerWillAnimateCell(qint64) override { ++willAnimate; }
    void controllerDidAnimateCell(qint64) override { ++didAnimate; }
    int willAnimate = 0;
    int didAnimate = 0;
};

struct CellAnimatorTest : ::testing::Test {
    FakeGridClock clock;
    int frames = 0;
    CellAnimator animator{clock, [this] { ++frames; }};

    void step(double seconds)
    {
        clock.advance(seconds);
        animator.tick();
    }
};

TEST_F(CellAnimatorTest, GlidesAndGrowInsOfOneTransactionEndTogether)
{
    EXPECT_DOUBLE_EQ(CellAnimator::animationTime(), 0.52);
    std::vector<std::unique_ptr<CountingCell>> cells;
    int completions = 0;
    animator.begin(CellAnimator::animationTime(), [&] { ++completions; });
    for (int i = 0; i < 5; ++i) {
        cells.push_back(std::make_unique<CountingCell>());
        cells.back()->setFrame(QRectF(0, 100.0 * i, 36, 36));
        if (i < 3) {
            animator.applyPosition(cells.back().get(), QPointF(200, 100.0 * i));
            cells.back()->setFrame(QRectF(200, 100.0 * i, 36, 36));
        } else {
            animator.applyScale(cells.back().get(), false);
        }
    }
    animator.commit();
    EXPECT_TRUE(animator.running());

    step(0.26);
    const QPointF halfway = *animator.presentation(cells[0].get(), CellAnimator::Position);
    EXPECT_GT(halfway.x(), 18 + 100); // the curve is ahead of linear at half time
    EXPECT_LT(halfway.x(), 218);
    EXPECT_EQ(halfway.y(), 18);
    const qreal scale = animator.presentation(cells[3].get(), CellAnimator::Scale)->x();
    EXPECT_GT(scale, 0.5);
    EXPECT_LT(scale, 1);

    step(0.2599);
    EXPECT_EQ(completions, 0);
    step(0.0001);
    EXPECT_EQ(completions, 1);
    for (const auto& cell : cells) {
        EXPECT_EQ(cell->willAnimate, 1);
        EXPECT_EQ(cell->didAnimate, 1);
        EXPECT_FALSE(animator.isAnimating(cell.get())); // the model values show again
    }
    EXPECT_FALSE(animator.running());
    EXPECT_GT(frames, 0);
}

TEST_F(CellAnimatorTest, ShrunkCellsStayAtZeroUntilRemoved)
{
    CountingCell cell;
    animator.applyScale(&cell, true);
    step(1);
    EXPECT_EQ(animator.presentation(&cell, CellAnimator::Scale), QPointF(0, 0));
    EXPECT_FALSE(animator.running());
    animator.removeAll(&cell);
    EXPECT_EQ(animator.presentation(&cell, CellAnimator::Scale), std::nullopt);
    EXPECT_EQ(cell.didAnimate, 1);
}

TEST_F(CellAnimatorTest, AReusedShrinkingCellGrowsFromItsCurrentScale)
{
    CountingCell cell;
    animator.applyScale(&cell, true);
    step(0.26);
    const qreal current = animator.presentation(&cell, CellAnimator::Scale)->x();
    animator.applyScale(&cell, false);
    EXPECT_EQ(cell.scale(), current);
    EXPECT_NEAR(animator.presentation(&cell, CellAnimator::Scale)->x(), current, 1e-9);
    step(0.52);
    EXPECT_FALSE(animator.isAnimating(&cell));
}

TEST_F(CellAnimatorTest, AnInterruptedGlideGoesOnFromWhereItIs)
{
    CountingCell cell;
    cell.setFrame(QRectF(0, 0, 36, 36));
    animator.applyPosition(&cell, QPointF(100, 0));
    cell.setFrame(QRectF(100, 0, 36, 36));
    step(0.2);
    const QPointF shown = *animator.presentation(&cell, CellAnimator::Position);
    animator.applyPosition(&cell, QPointF(100, 300));
    cell.setFrame(QRectF(100, 300, 36, 36));
    EXPECT_EQ(*animator.presentation(&cell, CellAnimator::Position), shown);
    EXPECT_EQ(cell.didAnimate, 1); // the replaced glide ended
    step(0.52);
    EXPECT_FALSE(animator.isAnimating(&cell));
    EXPECT_EQ(cell.didAnimate, 2);
}

TEST_F(CellAnimatorTest, AnEmptyTransactionCompletesAtCommit)
{
    int completions = 0;
    animator.begin(0.52, [&] { ++completions; });
    animator.begin(0.52);
    animator.commit();
    EXPECT_EQ(completions, 0);
    animator.commit();
    EXPECT_EQ(completions, 1);
}

} // namespace
