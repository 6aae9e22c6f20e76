#pragma once

#include "platform/graphics/Shadow.h"

#include <QPainterPath>
#include <QRectF>

class QPainter;

// Paths and shadows of the custom-drawn controls. Corners are named as they look on screen: top-left is the
// corner at the smallest x and the smallest y of Qt's coordinates. Paths use the non-zero winding rule.
namespace MCAdditions {

// The rectangle with all four corners rounded; the radius is limited to half the smaller side, and a radius of
// 0 or less gives the plain rectangle.
QPainterPath bezierPathWithRoundRect(const QRectF& rect, qreal cornerRadius);
// The rectangle with a radius per corner, starting at the middle of the top edge and running counter-clockwise
// on screen. Negative radii count as 0 (a square corner); radii are limited to half the smaller side, so that
// the arcs stay on their edges. An empty rectangle gives an empty path.
QPainterPath bezierPathWithRoundRect(const QRectF& rect, qreal topLeftCornerRadius, qreal topRightCornerRadius,
                                     qreal bottomLeftCornerRadius, qreal bottomRightCornerRadius);

// Fills the path with the shadow that its outside casts inside it; the painter's state is kept.
void fillWithInnerShadow(QPainter& painter, const QPainterPath& path, const pt::Shadow& shadow);

// Strokes the path with the painter's pen so that the whole line lies inside the path: the stroke is drawn at
// twice the pen's width (a zero-width pen counts as 1) and clipped to the path, and, when `within` has a
// positive size, to that rectangle too. The painter's pen and state are kept.
void strokeInside(QPainter& painter, const QPainterPath& path, const QRectF& within = QRectF());

// The path scaled about the centre of its bounds so that the bounds shrink by the amount on every side (grow
// for a negative amount); corners shrink in proportion. A path with an empty bounding box, or one the inset
// would turn inside out, gives an empty path.
QPainterPath bezierPathByInsettingPathBy(const QPainterPath& path, qreal amount);

} // namespace MCAdditions
