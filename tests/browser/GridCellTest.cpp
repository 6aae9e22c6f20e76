#include "browser/grid/PTGridViewCell.h"
#include "browser/grid/PTGridViewCellLabel.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace {

// Paints a bar along its top edge and counts what the base class tells it.
class ProbeCell : public PTGridViewCell {
public:
    ProbeCell()
        : PTGridViewCell(QStringLiteral("probe"))
    {
    }
    void drawCellInRect(QPainter& painter, const QRectF& rect) override
    {
        ++draws;
        painter.fillRect(QRectF(0, 0, rect.width() / 2, 2), Qt::red);
    }
    void drawStateDidUpdate() override { ++stateUpdates; }
    void prepareSticky(bool) override { ++stickyCalls; }

    int draws = 0;
    int stateUpdates = 0;
    int stickyCalls = 0;
};

TEST(GridCellTest, DrawingStateUpdatesOnlyOnARealChange)
{
    ProbeCell cell;
    cell.setDrawState(PTGridViewDrawingState{});
    EXPECT_EQ(cell.stateUpdates, 0);
    const std::vector<PTGridViewDrawingState> changes{
        {1, false, false, false}, {1, true, false, false}, {1, true, true, false}, {1, true, true, true}};
    for (const PTGridViewDrawingState& state : changes) {
        cell.setDrawState(state);
        cell.setDrawState(state);
    }
    EXPECT_EQ(cell.stateUpdates, 4);
}

TEST(GridCellTest, BackingImageIsRedrawnOnlyWhenAskedAndDrawsYDown)
{
    ProbeCell cell;
    cell.setFrame(QRectF(30, 40, 10, 8));
    cell.setDevicePixelRatio(2);
    const QImage image = cell.backingImage();
    EXPECT_EQ(image.size(), QSize(20, 16));
    EXPECT_EQ(image.devicePixelRatio(), 2);
    EXPECT_EQ(image.pixelColor(1, 1), QColor(Qt::red)); // top left
    EXPECT_EQ(image.pixelColor(1, 14).alpha(), 0);      // bottom left
    EXPECT_EQ(image.pixelColor(18, 1).alpha(), 0);      // top right

    cell.backingImage();
    cell.setHighlighted(false); // unchanged values do not redraw
    cell.setSticky(false);
    cell.setFrame(QRectF(60, 0, 10, 8)); // a move is not a redraw
    cell.backingImage();
    EXPECT_EQ(cell.draws, 1);
    EXPECT_EQ(cell.stickyCalls, 0);

    cell.setSticky(true);
    cell.backingImage();
    cell.setHighlighted(true);
    cell.backingImage();
    cell.prepareForScreenChange(1);
    EXPECT_EQ(cell.backingImage().size(), QSize(10, 8));
    EXPECT_EQ(cell.draws, 4);
    EXPECT_EQ(cell.stickyCalls, 1);
}

TEST(GridCellTest, PointsAndRectsBetweenGridAndCell)
{
    ProbeCell cell;
    cell.setFrame(QRectF(30, 40, 10, 8));
    EXPECT_EQ(cell.localisePoint(QPointF(35, 41)), QPointF(5, 1));
    EXPECT_EQ(cell.delocaliseRect(QRectF(1, 2, 3, 4)), QRectF()); // not shown
    cell.attach();
    EXPECT_EQ(cell.delocaliseRect(QRectF(1, 2, 3, 4)), QRectF(31, 42, 3, 4));
    EXPECT_EQ(PTGridViewCell::positionForFrame(QRectF(10, 20, 37, 36)), QPointF(28, 38));
}

TEST(GridCellTest, LabelMeasuresItsFirstLineAgainAfterANewString)
{
    PTGridViewCellLabel label;
    EXPECT_EQ(label.proposedSize(), QSizeF());
    QFont font;
    font.setPixelSize(12);
    label.setFont(font);
    label.setString(QStringLiteral("ab"));
    const QSizeF small = label.proposedSize();
    EXPECT_GT(small.width(), 0);
    const QFontMetricsF metrics(font);
    EXPECT_EQ(small.height(), metrics.ascent() + metrics.descent() + metrics.leading());
    label.setString(QStringLiteral("abab\nwider second line"));
    EXPECT_NEAR(label.proposedSize().width(), metrics.horizontalAdvance(QStringLiteral("abab")), 0.01);
    label.setString(QString());
    EXPECT_EQ(label.proposedSize(), QSizeF());
}

} // namespace
