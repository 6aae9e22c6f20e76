#pragma once

#include "platform/graphics/Shadow.h"

#include <QPainterPath>
#include <QColor>
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

// The same shapes added to an existing path as a new closed subpath.
void appendBezierPathWithRoundRect(QPainterPath& path, const QRectF& rect, qreal cornerRadius);
void appendBezierPathWithRoundRect(QPainterPath& path, const QRectF& rect, qreal topLeftCornerRadius,
                                   qreal topRightCornerRadius, qreal bottomLeftCornerRadius,
                                   qreal bottomRightCornerRadius);

// Fills the path with the shadow that its outside casts inside it; the painter's state is kept.
void fillWithInnerShadow(QPainter& painter, const QPainterPath& path, const pt::Shadow& shadow);

// Draws only the blurred shadow of the filled path in the colour, not the shape; the blur radius is a shadow's
// (see pt::Shadow), and nothing lands farther than the radius beyond the path's bounds.
void drawBlurWithColor(QPainter& painter, const QPainterPath& path, const QColor& color, qreal radius);

// Strokes the path with the painter's pen so that the whole line lies inside the path: the stroke is drawn at
// twice the pen's width (a zero-width pen counts as 1) and clipped to the path, and, when `within` has a
// positive size, to that rectangle too. The painter's pen and state are kept.
void strokeInside(QPainter& painter, const QPainterPath& path, const QRectF& within = QRectF());

// The path scaled about the centre of its bounds so that the bounds shrink by the amount on every side (grow
// for a negative amount); corners shrink in proportion. A path with an empty bounding box, or one the inset
// would turn inside out, gives an empty path.
QPainterPath bezierPathByInsettingPathBy(const QPainterPath& path, qreal amount);
// The same with separate amounts across and down.
QPainterPath bezierPathByInsettingPathBy(const QPainterPath& path, qreal x, qreal y);

// The path scaled by the factor in both directions about the point, or about the centre of its bounds.
QPainterPath scaledPath(const QPainterPath& path, float factor, QPointF point);
QPainterPath scaledPath(const QPainterPath& path, float factor);
// The centre of the path's bounds; the origin for an empty path.
QPointF centreOfBounds(const QPainterPath& path);

// The outline of the path stroked at the width with butt caps and miter joins (limit 10), as a path to fill.
// A width that is not above 0 gives an empty path.
QPainterPath pathWithStrokeWidth(const QPainterPath& path, qreal width);

// A closed regular polygon through centre + radius × (cos a, −sin a) for a = i × 2π / sides, running
// counter-clockwise on screen from the point right of the centre; empty for fewer than one side.
QPainterPath bezierPathWithPolygonAt(QPointF centre, float radius, int sides);
// A closed star with `points` tips at the radius and as many hub corners at the hub radius between them. It
// starts at the tip straight above the centre (its y rounded away from the centre to a whole number) and runs
// counter-clockwise on screen; empty for fewer than one point.
QPainterPath bezierPathWithStartAtCenter(QPointF centre, float radius, float hubRadius, int points);

} // namespace MCAdditions
