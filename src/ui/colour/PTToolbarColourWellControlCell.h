#pragma once

#include "ui/colour/PTColourWellControlCell.h"

#include <QImage>

class QColor;

// The toolbar well's cell: the colour in a circle centred on the segment, or a rainbow for none.
class PTToolbarColourWellControlCell : public PTColourWellControlCell {
public:
    static constexpr int kSwatchSide = 16;

    // The round swatch of the colour (the rainbow for none), at the pixel ratio.
    static QImage swatchImage(const QColor& color, qreal ratio);
    // Where the swatch's top-left goes in a frame of the size.
    static QPointF swatchOrigin(QSizeF frame);

protected:
    void drawOverlayingTextures(QPainter& painter, const QRectF& frame,
                                const PTToolbarSegmentedControl& control) override;
};
