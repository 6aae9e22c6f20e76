#pragma once

#include "ui/colour/PTColourWellControlCell.h"

// The cell of the icon preview's colour well: a field-coloured body, only its top-right corner rounded, stroked
// inside in the well's stroke colour, under the colour swatch.
class PTIconSideBarColorWellCell : public PTColourWellControlCell {
protected:
    void drawOverlayingTextures(QPainter& painter, const QRectF& frame,
                                const PTToolbarSegmentedControl& control) override;
};
