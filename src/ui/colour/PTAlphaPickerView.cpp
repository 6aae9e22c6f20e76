#include "ui/colour/PTAlphaPickerView.h"

#include "ui/colour/HSBComponents.h"
#include "ui/colour/PTColourPickerController.h"

#include <QLinearGradient>
#include <QPainter>

#include <algorithm>

namespace {

constexpr qreal kCheckerOpacity = 0.04;

} // namespace

void PTAlphaPickerView::setAlpha(double alpha)
{
    m_alpha = alpha;
    update();
}

void PTAlphaPickerView::setVerticalMode(bool vertical)
{
    m_verticalMode = vertical;
    pictureChanged();
}

void PTAlphaPickerView::setColor(const QColor& color)
{
    const PTHSBComponents hsb = color.isValid() ? HSBComponents::HSBComponents(color) : PTHSBComponents();
    const QColor opaque = QColor::fromHsvF(static_cast<float>(hsb.hue >= 1 ? 0 : hsb.hue),
                                           static_cast<float>(hsb.saturation), static_cast<float>(hsb.brightness));
    m_alpha = color.isValid() ? color.alphaF() : 0;
    if (opaque == m_color)
        return update();
    m_color = opaque;
    pictureChanged();
}

double PTAlphaPickerView::alphaAt(QPointF point, QSizeF size, bool vertical)
{
    const double length = vertical ? size.height() : size.width();
    if (length <= 0)
        return 0;
    const double along = vertical ? point.y() : point.x();
    return std::clamp(static_cast<double>(static_cast<float>(along) / static_cast<float>(length)), 0.0, 1.0);
}

QPointF PTAlphaPickerView::knobCentre(double alpha, QSizeF size, bool vertical)
{
    if (vertical)
        return {0.5 * size.width(), alpha * size.height()};
    return {alpha * size.width(), 0.5 * size.height()};
}

void PTAlphaPickerView::setValueFromPoint(QPointF point)
{
    m_alpha = alphaAt(point, size(), m_verticalMode);
}

void PTAlphaPickerView::drawPicture(QImage& image)
{
    const QRectF rect(QPointF(), image.deviceIndependentSize());
    QPainter painter(&image);
    painter.setOpacity(kCheckerOpacity);
    painter.fillRect(rect, PTColourPickerController::tiledCheckeredColor());
    painter.setOpacity(1);
    QLinearGradient gradient = m_verticalMode ? QLinearGradient(rect.topLeft(), rect.bottomLeft())
                                              : QLinearGradient(rect.topLeft(), rect.topRight());
    QColor clear = m_color;
    clear.setAlphaF(0);
    gradient.setColorAt(0, clear);
    gradient.setColorAt(1, m_color);
    painter.fillRect(rect, gradient);
}

QPointF PTAlphaPickerView::knobPosition() const
{
    return knobCentre(m_alpha, size(), m_verticalMode);
}
