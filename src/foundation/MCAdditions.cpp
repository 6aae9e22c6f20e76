#include "foundation/MCAdditions.h"

#include "platform/graphics/ShadowPainter.h"

#include <QPainter>
#include <QPainterPathStroker>
#include <QTransform>

#include <algorithm>
#include <cmath>

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

// The path scaled about the point by the two factors.
QPainterPath scaledAbout(const QPainterPath& path, float scaleX, float scaleY, QPointF centre)
{
    QTransform transform;
    transform.translate(centre.x(), centre.y());
    transform.scale(scaleX, scaleY);
    transform.translate(-centre.x(), -centre.y());
    return transform.map(path);
}

} // namespace

QPainterPath bezierPathWithRoundRect(const QRectF& rect, qreal cornerRadius)
{
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    appendBezierPathWithRoundRect(path, rect, cornerRadius);
    return path;
}

QPainterPath bezierPathWithRoundRect(const QRectF& rect, qreal topLeftCornerRadius, qreal topRightCornerRadius,
                                     qreal bottomLeftCornerRadius, qreal bottomRightCornerRadius)
{
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    appendBezierPathWithRoundRect(path, rect, topLeftCornerRadius, topRightCornerRadius, bottomLeftCornerRadius,
                                  bottomRightCornerRadius);
    return path;
}

void appendBezierPathWithRoundRect(QPainterPath& path, const QRectF& rect, qreal cornerRadius)
{
    if (cornerRadius <= 0) {
        if (!rect.isEmpty())
            path.addRect(rect);
        return;
    }
    const qreal radius = std::min(cornerRadius, std::min(rect.width(), rect.height()) * 0.5);
    appendBezierPathWithRoundRect(path, rect, radius, radius, radius, radius);
}

void appendBezierPathWithRoundRect(QPainterPath& path, const QRectF& rect, qreal topLeftCornerRadius,
                                   qreal topRightCornerRadius, qreal bottomLeftCornerRadius,
                                   qreal bottomRightCornerRadius)
{
    if (rect.isEmpty())
        return;
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

void drawBlurWithColor(QPainter& painter, const QPainterPath& path, const QColor& color, qreal radius)
{
    if (path.isEmpty() || !painter.isActive() || !(radius >= 0 && std::isfinite(radius)))
        return;
    const QRectF area = path.boundingRect().adjusted(-radius, -radius, radius, radius);
    const qreal scale = painter.device()->devicePixelRatioF();
    // Beyond this many pixels a shadow is not drawn (see ShadowPainter), so the shape is not worth drawing.
    constexpr qreal MaximumPixels = qreal(1 << 26);
    if (!(area.width() * area.height() * scale * scale <= MaximumPixels))
        return;
    const QSize pixels = (area.size() * scale).toSize().expandedTo(QSize(1, 1));
    QImage shape(pixels, QImage::Format_ARGB32_Premultiplied);
    if (shape.isNull())
        return;
    shape.fill(Qt::transparent);
    {
        QPainter shapePainter(&shape);
        shapePainter.setRenderHint(QPainter::Antialiasing);
        shapePainter.scale(scale, scale);
        shapePainter.translate(-area.topLeft());
        shapePainter.fillPath(path, Qt::black);
    }
    shape.setDevicePixelRatio(scale);
    painter.save();
    painter.setClipRect(area, Qt::IntersectClip);
    pt::ShadowPainter::drawShadowOfImage(painter, shape, area.topLeft(), pt::Shadow{color, {}, radius});
    painter.restore();
}

QPainterPath bezierPathByInsettingPathBy(const QPainterPath& path, qreal amount)
{
    return bezierPathByInsettingPathBy(path, amount, amount);
}

QPainterPath bezierPathByInsettingPathBy(const QPainterPath& path, qreal x, qreal y)
{
    const QRectF bounds = path.boundingRect();
    if (!(bounds.width() > 0 && bounds.height() > 0))
        return {};
    const QRectF inset = bounds.adjusted(x, y, -x, -y);
    if (!(inset.width() > 0 && inset.height() > 0))
        return {};
    return scaledAbout(path, float(inset.width() / bounds.width()), float(inset.height() / bounds.height()),
                       bounds.center());
}

QPainterPath scaledPath(const QPainterPath& path, float factor, QPointF point)
{
    if (factor == 1.0f)
        return path;
    return scaledAbout(path, factor, factor, point);
}

QPainterPath scaledPath(const QPainterPath& path, float factor)
{
    return scaledPath(path, factor, centreOfBounds(path));
}

QPointF centreOfBounds(const QPainterPath& path)
{
    return path.isEmpty() ? QPointF() : path.boundingRect().center();
}

QPainterPath pathWithStrokeWidth(const QPainterPath& path, qreal width)
{
    if (!(width > 0))
        return {};
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::FlatCap);
    stroker.setJoinStyle(Qt::MiterJoin);
    stroker.setMiterLimit(10);
    return stroker.createStroke(path);
}

QPainterPath bezierPathWithPolygonAt(QPointF centre, float radius, int sides)
{
    QPainterPath path;
    if (sides < 1)
        return path;
    const float step = 2 * float(M_PI) / float(sides);
    for (int i = 0; i < sides; ++i) {
        const float angle = float(i) * step;
        const QPointF point(centre.x() + radius * std::cos(angle), centre.y() - radius * std::sin(angle));
        if (i == 0)
            path.moveTo(point);
        else
            path.lineTo(point);
    }
    path.closeSubpath();
    return path;
}

QPainterPath bezierPathWithStartAtCenter(QPointF centre, float radius, float hubRadius, int points)
{
    QPainterPath path;
    if (points < 1)
        return path;
    const QPointF tip(centre.x(), std::floor(centre.y() - radius));
    const QPointF hub(centre.x(), centre.y() - hubRadius);
    // QTransform turns clockwise on screen for positive angles.
    const auto rotated = [centre](QPointF point, double degrees) {
        return QTransform().translate(centre.x(), centre.y()).rotate(-degrees).translate(-centre.x(), -centre.y()).map(point);
    };
    const double step = 360.0 / points;
    path.moveTo(tip);
    path.lineTo(rotated(hub, step / 2));
    for (int k = 1; k < points; ++k) {
        path.lineTo(rotated(tip, step * k));
        path.lineTo(rotated(hub, step * k + step / 2));
    }
    path.closeSubpath();
    return path;
}

} // namespace MCAdditions
