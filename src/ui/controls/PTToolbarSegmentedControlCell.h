#pragma once

#include <QColor>
#include <QPixmap>
#include <QRectF>

class PTToolbarSegmentedControl;
class QPainter;
class QPainterPath;

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
    struct BodyKey {
        QSizeF size;
        qreal ratio = 0;
        bool dark = false;
        bool confirmation = false;
        bool pressedAccent = false;
        qreal radius = 0;
        QColor stroke;
        bool operator==(const BodyKey&) const = default;
    };

    static void drawBody(QPainter& painter, const QRectF& bezel, const QPainterPath& path, const QPainterPath& inset,
                         bool dark, bool confirmation, bool pressedAccent);
    // The border in light, the inner shadow in dark: drawn over the segments.
    static void drawRim(QPainter& painter, const QRectF& bezel, const QPainterPath& path, const QPainterPath& inset,
                        bool dark, bool confirmation, const QColor& stroke);
    void drawCustomBezel(QPainter& painter, const QRectF& frame, const PTToolbarSegmentedControl& control);
    void drawPlatformBezel(QPainter& painter, const QRectF& frame, const PTToolbarSegmentedControl& control);
    void drawSegment(QPainter& painter, int segment, qreal height, const PTToolbarSegmentedControl& control);

    BodyKey bodyKey_;
    QPixmap body_;
    QPixmap rim_;
};
