#pragma once

#include <QColor>
#include <QRectF>

class PTToolbarSegmentedControl;
class QPainter;

// Draws a segmented control from the control's own state: the bezel (its own with a custom height, else the
// style's push-button panel), the selection, the separators, and each segment's icon, label and menu arrow.
// Subclasses draw over the bezel in drawOverlayingTextures().
class PTToolbarSegmentedControlCell {
public:
    // How one segment's contents are drawn in the control's current state.
    struct SegmentLook {
        QColor textColor; // invalid: the label's own colours
        qreal iconAlpha = 1;
        bool drawsArrow = false;
        QColor arrowColor;
    };

    virtual ~PTToolbarSegmentedControlCell() = default;

    void draw(QPainter& painter, const QRectF& frame, const PTToolbarSegmentedControl& control);
    SegmentLook lookForSegment(const PTToolbarSegmentedControl& control, int segment) const;

protected:
    // Drawn after the bezel and before the segments; nothing here.
    virtual void drawOverlayingTextures(QPainter& painter, const QRectF& frame,
                                        const PTToolbarSegmentedControl& control);

private:
    void drawCustomBezel(QPainter& painter, const QRectF& frame, const PTToolbarSegmentedControl& control);
    void drawPlatformBezel(QPainter& painter, const QRectF& frame, const PTToolbarSegmentedControl& control);
    void drawSegment(QPainter& painter, int segment, qreal height, const PTToolbarSegmentedControl& control);
};
