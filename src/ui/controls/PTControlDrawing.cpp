#include "ui/controls/PTControlDrawing.h"

#include "platform/graphics/ShadowPainter.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace PTControlDrawing {

void drawDropShadow(QPainter& painter, const QPainterPath& path, const pt::Shadow& shadow)
{
    const QRectF bounds = path.boundingRect();
    const QPointF origin(std::floor(bounds.x()), std::floor(bounds.y()));
    const QSize size(static_cast<int>(std::ceil(bounds.right() - origin.x())),
                     static_cast<int>(std::ceil(bounds.bottom() - origin.y())));
    if (size.isEmpty())
        return;
    QImage shape(size, QImage::Format_ARGB32_Premultiplied);
    shape.fill(Qt::transparent);
    QPainter shapePainter(&shape);
    shapePainter.setRenderHint(QPainter::Antialiasing);
    shapePainter.translate(-origin);
    shapePainter.fillPath(path, Qt::black);
    shapePainter.end();
    pt::ShadowPainter::drawShadowOfImage(painter, shape, origin, shadow);
}

} // namespace PTControlDrawing
