#pragma once

#include "browser/grid/PTGridViewCell.h"

// The rubber band of the grid: a tinted rectangle with a border above every cell, white on the dark appearance
// and grey on the light one.
class GridMarqueeCell : public PTGridViewCell {
public:
    static constexpr qreal ZPosition = 2147483647;

    GridMarqueeCell();
    void drawCellInRect(QPainter& painter, const QRectF& rect) override;
    void drawStateDidUpdate() override { setNeedsDisplay(); }
};
