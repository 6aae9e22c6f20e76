#include "ui/colour/PTHuePickerView.h"

#include "ui/colour/HSBComponents.h"

#include <QLinearGradient>
#include <QPainter>

#include <algorithm>

void PTHuePickerView::setHue(double hue)
{
    m_hue = hue;
    update();
}

void PTHuePickerView::setVerticalMode(bool vertical)
{
    m_verticalMode = vertical;
    pictureChanged();
}

void PTHuePickerView::setColor(const QColor& color)
{
    setHue(color.isValid() ? HSBComponents::HSBComponents(color).hue : 0);
}

double PTHuePickerView::hueAt(QPointF point, QSizeF size, bool vertical)
{
    const double length = vertical ? size.height() : size.width();
    if (length <= 0)
        return 0;
    const double along = vertical ? length - point.y() : point.x();
    return std::clamp(static_cast<double>(static_cast<float>(along) / static_cast<float>(length)), 0.0, 1.0);
}

QPointF PTHuePickerView::knobCentre(double hue, QSizeF size, bool vertical)
{
    if (vertical)
        return {0.5 * size.width(), size.height() - hue * size.height()};
    return {hue * size.width(), 0.5 * size.height()};
}

void PTHuePickerView::setValueFromPoint(QPointF point)
{
    m_hue = hueAt(point, size(), m_verticalMode);
}

void PTHuePickerView::drawPicture(QImage& image)
{
    const QRectF rect(QPointF(), image.deviceIndependentSize());
    QLinearGradient gradient = m_verticalMode ? QLinearGradient(rect.bottomLeft(), rect.topLeft())
                                              : QLinearGradient(rect.topLeft(), rect.topRight());
    static const QColor stops[] = {{255, 0, 0}, {255, 255, 0}, {0, 255, 0}, {0, 255, 255},
                                   {0, 0, 255}, {255, 0, 255}, {255, 0, 0}};
    for (int i = 0; i < 7; ++i)
        gradient.setColorAt(i / 6.0, stops[i]);
    QPainter(&image).fillRect(rect, gradient);
}

QPointF PTHuePickerView::knobPosition() const
{
    return knobCentre(m_hue, size(), m_verticalMode);
}
