#pragma once

#include <QPainterPath>
#include <QRectF>

class QPainter;

// Paths for clipping away a shape and for stroking a rounded rectangle as a band.
namespace bezierPathAdditions {

// Narrows the painter's clip to everything outside the path: what the painter could reach less the path,
// by the even-odd rule.
void addInversedClip(QPainter& painter, const QPainterPath& path);

// A rounded-rectangle band, even-odd: the rounded rectangle less the same rectangle inset by `inset` on every
// side with its own corner radius.
QPainterPath bezierPathForStrokeWithRoundedRect(const QRectF& rect, qreal radius, qreal inset, qreal insetRadius);

} // namespace bezierPathAdditions
