#include "foundation/DrawingAdditions.h"

#include "foundation/DifferentStuff.h"
#include "foundation/Rounding.h"
#include "foundation/ScreenAdditions.h"
#include "platform/graphics/ShadowPainter.h"

#include <QPainter>

namespace DrawingAdditions {

QImage colorizeAlphaWithColor(const QImage& image, const QColor& color)
{
    return differentStuff::tintWithColor(image, color);
}

void drawAtPoint(QPainter& painter, const QImage& image, QPointF point, const DrawBlock& drawBlock,
                 const pt::Shadow& dropShadow, const pt::Shadow& innerShadow, const QScreen* screen)
{
    if (!screen || image.isNull())
        return;
    const double scale = screenAdditions::scale(screen);
    const QRectF shapeRect = PTRoundRectHalfUp(QRectF(QPointF(0, 0), image.deviceIndependentSize()));
    const QSize pixels(static_cast<int>(shapeRect.width() * scale), static_cast<int>(shapeRect.height() * scale));
    if (pixels.isEmpty())
        return;

    // The shape at the work image's resolution, its alpha the mask of everything below.
    QImage shape(pixels, QImage::Format_ARGB32_Premultiplied);
    shape.fill(Qt::transparent);
    {
        QPainter shapePainter(&shape);
        shapePainter.setRenderHint(QPainter::SmoothPixmapTransform);
        shapePainter.drawImage(QRect(QPoint(0, 0), pixels), image);
    }

    QImage work(pixels, QImage::Format_ARGB32_Premultiplied);
    work.fill(Qt::transparent);
    work.setDevicePixelRatio(scale);
    if (drawBlock) {
        QPainter content(&work);
        drawBlock(content);
    }
    {
        QPainter mask(&work);
        mask.setCompositionMode(QPainter::CompositionMode_DestinationIn);
        mask.drawImage(QRectF(shapeRect), shape);
    }
    pt::ShadowPainter::drawInnerShadow(work, shape, innerShadow, scale);

    pt::ShadowPainter::drawShadowOfImage(painter, work, point, dropShadow);
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.drawImage(point, work);
    painter.restore();
}

QImage imageWithDrawBlock(const QImage& image, const DrawBlock& drawBlock, const pt::Shadow& dropShadow,
                          const pt::Shadow& innerShadow)
{
    const QScreen* screen = screenAdditions::mainScreen();
    const double scale = screenAdditions::scale(screen);
    const QSize pixels = (image.deviceIndependentSize() * scale).toSize();
    if (!screen || pixels.isEmpty())
        return {};
    QImage result(pixels, QImage::Format_ARGB32_Premultiplied);
    if (result.isNull())
        return result;
    result.fill(Qt::transparent);
    result.setDevicePixelRatio(scale);
    QPainter painter(&result);
    drawAtPoint(painter, image, QPointF(0, 0), drawBlock, dropShadow, innerShadow, screen);
    return result;
}

} // namespace DrawingAdditions

void PTDrawAtPointWithShadows(QPainter& painter, const QImage& image, QPointF point,
                              const DrawingAdditions::DrawBlock& drawBlock, const QColor& dropShadowColor,
                              QPointF dropShadowOffset, float dropShadowBlur, const QColor& innerShadowColor,
                              QPointF innerShadowOffset, float innerShadowBlur, const QScreen* screen)
{
    DrawingAdditions::drawAtPoint(painter, image, point, drawBlock, {dropShadowColor, dropShadowOffset, dropShadowBlur},
                                  {innerShadowColor, innerShadowOffset, innerShadowBlur}, screen);
}
