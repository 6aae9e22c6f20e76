#include "foundation/MCAdditions.h"

#include "platform/graphics/ShadowPainter.h"

#include <QPainter>
#include <QTransform>

#include <algorithm>

namespace MCAdditions {

namespace {

// Arcs to the next edge around one corner; the circle's box sits in that corner of the rectangle.
void corner(QPainterPath& path, QPointF cornerPoint, qreal radius, qreal startAngle, QPointF towards)
{
    if (radius <= 0) {
        path.lineTo(cornerPoint);
        return;
    }
    const QPointF boxOrigin(towards.x() < 0 ? cornerPoint.x() - 2 * radius : cornerPoint.x(),
                            towards.y() < 0 ? cornerPoint.y() - 2 * radius : cornerPoint.y());
    path.arcTo(QRectF(boxOrigin, QSizeF(2 * radius, 2 * radius)), startAngle, 90);
}

} // namespace

QPainterPath bezierPathWithRoundRect(const QRectF& rect, qreal cornerRadius)
{
    if (cornerRadius <= 0) {
        QPainterPath path;
        path.setFillRule(Qt::WindingFill);
        if (!rect.isEmpty())
            path.addRect(rect);
        return path;
    }
    const qreal radius = std::min(cornerRadius, std::min(rect.width(), rect.height()) * 0.5);
    return bezierPathWithRoundRect(rect, radius, radius, radius, radius);
}

QPainterPath bezierPathWithRoundRect(const QRectF& rect, qreal topLeftCornerRadius, qreal topRightCornerRadius,
                                     qreal bottomLeftCornerRadius, qreal bottomRightCornerRadius)
{
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    if (rect.isEmpty())
        return path;
    const qreal limit = std::min(rect.width(), rect.height()) * 0.5;
    const auto radius = [limit](qreal r) { return std::clamp(r, qreal(0), limit); };

    path.moveTo(rect.center().x(), rect.top());
    // Qt's angles run counter-clockwise on screen from three o'clock; each corner's arc starts where the
    // previous edge meets it. The direction arguments point from the corner into the rectangle.
    corner(path, rect.topLeft(), radius(topLeftCornerRadius), 90, {1, 1});
    corner(path, rect.bottomLeft(), radius(bottomLeftCornerRadius), 180, {1, -1});
    corner(path, rect.bottomRight(), radius(bottomRightCornerRadius), 270, {-1, -1});
    corner(path, rect.topRight(), radius(topRightCornerRadius), 0, {-1, 1});
    path.closeSubpath();
    return path;
}

void fillWithInnerShadow(QPainter& painter, const QPainterPath& path, const pt::Shadow& shadow)
{
    pt::ShadowPainter::fillInnerShadow(painter, path, shadow);
}

void strokeInside(QPainter& painter, const QPainterPath& path, const QRectF& within)
{
    QPen pen = painter.pen();
    const qreal width = pen.widthF() > 0 ? pen.widthF() : 1.0;
    pen.setWidthF(2 * width);
    pen.setCosmetic(false);
    painter.save();
    painter.setClipPath(path, Qt::IntersectClip);
    if (within.width() > 0 && within.height() > 0)
        painter.setClipRect(within, Qt::IntersectClip);
    painter.strokePath(path, pen);
    painter.restore();
}

QPainterPath bezierPathByInsettingPathBy(const QPainterPath& path, qreal amount)
{
    const QRectF bounds = path.boundingRect();
    if (!(bounds.width() > 0 && bounds.height() > 0))
        return {};
    const QRectF inset = bounds.adjusted(amount, amount, -amount, -amount);
    if (!(inset.width() > 0 && inset.height() > 0))
        return {};
    const float scaleX = float(inset.width() / bounds.width());
    const float scaleY = float(inset.height() / bounds.height());
    const QPointF centre = bounds.center();
    QTransform transform;
    transform.translate(centre.x(), centre.y());
    transform.scale(scaleX, scaleY);
    transform.translate(-centre.x(), -centre.y());
    return transform.map(path);
}

} // namespace MCAdditions
