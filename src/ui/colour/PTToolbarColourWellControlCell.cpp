#include "ui/colour/PTToolbarColourWellControlCell.h"

#include "ui/colour/PTColourPickerController.h"
#include "ui/colour/PTColourWellControl.h"

#include "foundation/ColorPrivate.h"
#include "foundation/MCAdditions.h"

#include <QConicalGradient>
#include <QPainter>
#include <QRadialGradient>

#include <cmath>

namespace {

// Our rainbow: the hue circle, fading to white at the centre.
void drawRainbow(QPainter& painter, const QRectF& rect)
{
    QConicalGradient hues(rect.center(), 90);
    for (int i = 0; i <= 6; ++i)
        hues.setColorAt(i / 6.0, QColor::fromHsvF(i == 6 ? 0 : i / 6.0f, 0.85f, 1));
    painter.setBrush(hues);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(rect);
    QRadialGradient centre(rect.center(), rect.width() / 2);
    centre.setColorAt(0, QColor(255, 255, 255, 200));
    centre.setColorAt(1, QColor(255, 255, 255, 0));
    painter.setBrush(centre);
    painter.drawEllipse(rect);
}

} // namespace

QImage PTToolbarColourWellControlCell::swatchImage(const QColor& color, qreal ratio)
{
    QImage image(qCeil(kSwatchSide * ratio), qCeil(kSwatchSide * ratio), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF rect(0, 0, kSwatchSide, kSwatchSide);
    QPainterPath oval;
    oval.addEllipse(rect);
    if (color.isValid()) {
        if (color.alphaF() != 1.0) {
            painter.setOpacity(0.05);
            painter.fillPath(oval, PTColourPickerController::tiledCheckeredColor());
            painter.setOpacity(1);
        }
        painter.fillPath(oval, color);
    } else {
        drawRainbow(painter, rect);
    }
    painter.setPen(QPen(PTColorFromHEX(0x000000, color.isValid() ? 0.2 : 0.1), 1));
    MCAdditions::strokeInside(painter, oval);
    return image;
}

QPointF PTToolbarColourWellControlCell::swatchOrigin(QSizeF frame)
{
    const float x = std::round(static_cast<float>(frame.width()) / 2 - kSwatchSide / 2.0f + 1);
    const float y = std::round(static_cast<float>(frame.height()) / 2 - kSwatchSide / 2.0f + 2);
    return {x, y};
}

void PTToolbarColourWellControlCell::drawOverlayingTextures(QPainter& painter, const QRectF& frame,
                                                            const PTToolbarSegmentedControl& control)
{
    const auto* well = qobject_cast<const PTColourWellControl*>(&control);
    if (!well)
        return;
    painter.drawImage(swatchOrigin(frame.size()), swatchImage(well->color(), painter.device()->devicePixelRatioF()));
}
