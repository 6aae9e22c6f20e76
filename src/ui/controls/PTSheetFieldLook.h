#pragma once

#include <QColor>
#include <QRectF>

class QPainter;
class QPalette;

// The look shared by the sheet's text fields: a filled rounded body whose four corners may differ, an inner
// stroke, and the text inset by the label padding. Colours come from the palette of the current theme.
class PTSheetFieldLook {
public:
    PTSheetFieldLook();

    qreal topLeftBorderRadius = 0;
    qreal topRightBorderRadius = 0;
    qreal bottomLeftBorderRadius = 0;
    qreal bottomRightBorderRadius = 0;
    qreal labelPadding = 7;
    QColor strokeColor;

    void setBorderRadius(qreal radius);
    // Takes the theme's stroke, and the theme's text colour into the palette (at 60 % when disabled).
    void updateAppearance(QPalette& palette);
    // Where the text goes within the bounds.
    QRectF drawingRectForBounds(const QRectF& bounds) const;
    // The body one point shorter than the frame; editing fills and strokes it in the focused colours, and a
    // disabled field draws its stroke at 60 %.
    void draw(QPainter& painter, const QRectF& frame, bool editing, bool enabled) const;
};
