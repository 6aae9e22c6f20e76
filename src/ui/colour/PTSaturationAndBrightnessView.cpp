#include "ui/colour/PTSaturationAndBrightnessView.h"

#include "ui/colour/HSBComponents.h"

#include <QColor>
#include <QPainter>

#include <algorithm>
#include <cmath>

void PTSaturationAndBrightnessView::takeHue(double hue)
{
    if (hue == m_hue)
        return;
    m_hue = hue;
    pictureChanged();
}

void PTSaturationAndBrightnessView::setHue(double hue)
{
    takeHue(hue);
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
    takeHue(hsb.hue);
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

void PTSaturationAndBrightnessView::makeOverlay(QSize pixels, qreal ratio)
{
    // Over the pure hue, one picture that lets through s·b of it and adds white times (1 - s)·b: white fading into
    // the hue across and everything into black downwards. It never changes with the hue, so a hue drag only fills
    // and blends once.
    m_overlay = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
    const int width = pixels.width();
    const int height = pixels.height();
    for (int y = 0; y < height; ++y) {
        const double brightness = height > 1 ? 1 - double(y) / (height - 1) : 1.0;
        auto* line = reinterpret_cast<QRgb*>(m_overlay.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const double saturation = width > 1 ? double(x) / (width - 1) : 1.0;
            const int white = int(std::lround(255 * (1 - saturation) * brightness));
            line[x] = qRgba(white, white, white, int(std::lround(255 * (1 - saturation * brightness))));
        }
    }
    m_overlay.setDevicePixelRatio(ratio);
}

void PTSaturationAndBrightnessView::drawPicture(QImage& image)
{
    if (m_overlay.size() != image.size() || m_overlay.devicePixelRatio() != image.devicePixelRatio())
        makeOverlay(image.size(), image.devicePixelRatio());
    image.fill(QColor::fromHsvF(static_cast<float>(m_hue >= 1 ? 0 : m_hue), 1, 1));
    QPainter(&image).drawImage(QPointF(), m_overlay);
}

QPointF PTSaturationAndBrightnessView::knobPosition() const
{
    return knobCentre(m_saturation, m_brightness, size());
}
