#pragma once

#include <QRectF>

class QPainter;
class QWidget;

namespace viewAdditions {

// True when the widget has the keyboard focus of its window and that window is the active one.
bool isFirstResponder(const QWidget* widget);

// Puts `responder` directly after `widget` in the focus chain, ahead of what followed `widget` before. Nothing
// happens for a null widget, the same widget twice, or widgets of different windows.
void swapFirstResponder(QWidget* widget, QWidget* responder);

// Which parts of a widget's geometry follow its parent's size when the parent is resized; all others stay.
// Edges are named as they look on screen. A parent's growth is shared among the flexible parts in proportion
// to their sizes (equally when all of them are empty).
enum AutoresizingBit : int {
    FlexibleLeftMargin = 1,
    WidthSizable = 2,
    FlexibleRightMargin = 4,
    FlexibleTopMargin = 8,
    HeightSizable = 16,
    FlexibleBottomMargin = 32,
};

int autoresizingMask(const QWidget* widget);
// Sets or clears one bit of the widget's mask; from then on resizing its parent moves and sizes it by the mask.
void setAutoresizingBit(QWidget* widget, int bit, bool value);
// A fixed edge keeps its distance to the parent's edge; a fixed size stays.
void fixLeftEdge(QWidget* widget, bool fixed);
void fixRightEdge(QWidget* widget, bool fixed);
void fixTopEdge(QWidget* widget, bool fixed);
void fixBottomEdge(QWidget* widget, bool fixed);
void fixWidth(QWidget* widget, bool fixed);
void fixHeight(QWidget* widget, bool fixed);
// All edges fixed and both sizes flexible: the widget keeps its margins and resizes with its parent.
void fixAllEdgesAndSizes(QWidget* widget);
// The geometry a widget with the mask gets when its parent goes from oldParent to newParent.
QRect autoresizedGeometry(const QRect& geometry, int mask, const QSize& oldParent, const QSize& newParent);

// Gives the widget the other's size (its own origin stays); an empty size for a null other.
void matchBoundsOfView(QWidget* widget, const QWidget* other);
// Fills the parent: geometry (0, 0) with the parent's size; an empty geometry without a parent.
void expandToFitSuperview(QWidget* widget);
// The parent's width (0 without a parent), the widget's own height and origin.
void expandWidthToSuperview(QWidget* widget);

// Lays a fixed grey noise over everything the painter can reach, in screen blending at the opacity, one noise
// sample per device pixel, so that flat backgrounds look less flat.
void drawNoiseWithOpacity(QPainter& painter, float opacity);
// Blurs what has been painted in the rectangle so far: the pixels there are blurred with a Gaussian whose
// standard deviation is the radius (in points) and drawn back over themselves. Works on painters over an
// image, including the raster backing store of widgets; the painter must not rotate or shear.
void blurInRect(QPainter& painter, const QRectF& rect, float radius);

// The pixel ratio of what the painter really fills: a widget rendered into an image paints through the image's
// engine, whose ratio can differ from that of the widget's screen.
qreal targetPixelRatio(const QPainter& painter);

} // namespace viewAdditions
