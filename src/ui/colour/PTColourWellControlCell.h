#pragma once

#include "ui/controls/PTToolbarSegmentedControlCell.h"

// The colour well's cell: the well's colour (or none) painted over the bezel as a rounded rectangle.
class PTColourWellControlCell : public PTToolbarSegmentedControlCell {
public:
    // Where the colour goes for a cell frame: widened in a toolbar, then inset by the well's colour inset.
    static QRectF colorRect(const QRectF& frame, bool inToolbar, qreal colorInset);

protected:
    void drawOverlayingTextures(QPainter& painter, const QRectF& frame,
                                const PTToolbarSegmentedControl& control) override;
};
