#include "ui/colour/PTSaturationAndBrightnessView.h"

#include "ui/colour/HSBComponents.h"

#include <QLinearGradient>
#include <QPainter>

#include <algorithm>
#include <cmath>

void PTSaturationAndBrightnessView::setHue(double hue)
{
    m_hue = hue;
    update();
}

void PTSaturationAndBrightnessView::setSaturation(double saturation)
{
    m_saturation = saturation;
    update();
}

void PTSaturationAndBrightnessView::setBrightness(double brightness)
{
    m_brightness = brightness;
    update();
}

void PTSaturationAndBrightnessView::setColor(const QColor& color)
{
    const PTHSBComponents hsb = color.isValid() ? HSBComponents::HSBComponents(color) : PTHSBComponents();
    m_hue = hsb.hue;
    m_saturation = hsb.saturation;
    m_brightness = hsb.brightness;
    update();
}

QPointF PTSaturationAndBrightnessView::valuesAt(QPointF point, QSizeF size)
{
    const double saturation = size.width() > 0 ? std::clamp(point.x() / size.width(), 0.0, 1.0) : 0;
    const double brightness = size.height() > 0 ? std::clamp(1 - point.y() / size.height(), 0.0, 1.0) : 0;
    return {saturation, brightness};
}

QPointF PTSaturationAndBrightnessView::knobCentre(double saturation, double brightness, QSizeF size)
{
    return {saturation * size.width(), size.height() - brightness * size.height()};
}

void PTSaturationAndBrightnessView::setValueFromPoint(QPointF point)
{
    const QPointF values = valuesAt(point, size());
    m_saturation = values.x();
    m_brightness = values.y();
}

const QImage& PTSaturationAndBrightnessView::cachedImage(QSizeF size, qreal ratio)
{
    const QSize pixels(qCeil(size.width() * ratio), qCeil(size.height() * ratio));
    if (!m_image.isNull() && m_imageHue == m_hue && m_image.size() == pixels && m_image.devicePixelRatio() == ratio)
        return m_image;
    m_imageHue = m_hue;
    m_image = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
    m_image.setDevicePixelRatio(ratio);
    QPainter painter(&m_image);
    const QRectF rect(QPointF(), size);
    QLinearGradient across(rect.topLeft(), rect.topRight());
    across.setColorAt(0, Qt::white);
    across.setColorAt(1, QColor::fromHsvF(static_cast<float>(m_hue >= 1 ? 0 : m_hue), 1, 1));
    painter.fillRect(rect, across);
    QLinearGradient down(rect.topLeft(), rect.bottomLeft());
    down.setColorAt(0, QColor(0, 0, 0, 0));
    down.setColorAt(1, Qt::black);
    painter.fillRect(rect, down);
    return m_image;
}

void PTSaturationAndBrightnessView::drawRectInClippedPath(QPainter& painter, const QRectF& rect)
{
    painter.drawImage(rect.topLeft(), cachedImage(rect.size(), painter.device()->devicePixelRatioF()));
    drawKnob(painter, knobCentre(m_saturation, m_brightness, rect.size()));
}
