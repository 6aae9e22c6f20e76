#include "foundation/BezierPathAdditions.h"

#include "foundation/MCAdditions.h"
#include "foundation/PaintedArea.h"

#include <QPainter>

namespace bezierPathAdditions {

void addInversedClip(QPainter& painter, const QPainterPath& path)
{
    QPainterPath outside;
    outside.setFillRule(Qt::OddEvenFill);
    outside.addRect(paintedArea(painter));
    outside.addPath(path);
    painter.setClipPath(outside, Qt::IntersectClip);
}

QPainterPath bezierPathForStrokeWithRoundedRect(const QRectF& rect, qreal radius, qreal inset, qreal insetRadius)
{
    QPainterPath band = MCAdditions::bezierPathWithRoundRect(rect, radius);
    band.setFillRule(Qt::OddEvenFill);
    MCAdditions::appendBezierPathWithRoundRect(band, rect.adjusted(inset, inset, -inset, -inset), insetRadius);
    return band;
}

} // namespace bezierPathAdditions
