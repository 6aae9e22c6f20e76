#include "browser/views/PTFrameViewSlider.h"

#include "foundation/MCAdditions.h"
#include "platform/graphics/Shadow.h"
#include "platform/runtime/NotificationCenter.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>

#include <cmath>

const QString PTFrameViewSlider::MouseUpNotification = QStringLiteral("PTFrameViewSliderMouseUpNotification");

namespace {
constexpr qreal TrackHeight = 4;
} // namespace

PTFrameViewSlider::PTFrameViewSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent)
{
    setAccessibleName(tr("Icon size"));
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

QSize PTFrameViewSlider::sizeHint() const
{
    return {120, static_cast<int>(KnobSide)};
}

QRectF PTFrameViewSlider::knobRect() const
{
    const int span = std::max(0, width() - static_cast<int>(KnobSide));
    const int x = QStyle::sliderPositionFromValue(minimum(), maximum(), value(), span, invertedAppearance());
    return {static_cast<qreal>(x), (height() - KnobSide) / 2, KnobSide, KnobSide};
}

QRectF PTFrameViewSlider::barRect() const
{
    const QRectF track(KnobSide / 2, std::floor((height() - TrackHeight) / 2), width() - KnobSide, TrackHeight);
    return track.adjusted(0, -1, 0, 0);
}

QPainterPath PTFrameViewSlider::barPath() const
{
    const QRectF bar = barRect();
    return MCAdditions::bezierPathWithRoundRect(bar, std::round(bar.height() / 2));
}

void PTFrameViewSlider::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    drawBar(painter);
    drawKnob(painter, knobRect());
}

void PTFrameViewSlider::drawBar(QPainter& painter) const
{
    const QPainterPath bar = barPath();
    // A faint highlight under the bar makes it look pressed in.
    painter.fillPath(bar.translated(0, 1), QColor(255, 255, 255, 77));
    const QRectF bounds = bar.boundingRect();
    QLinearGradient gradient(bounds.bottomLeft(), bounds.topLeft());
    gradient.setColorAt(0, QColor(0x59, 0x59, 0x59, 255));
    gradient.setColorAt(1, QColor(0x59, 0x59, 0x59, 178));
    painter.fillPath(bar, gradient);
    MCAdditions::fillWithInnerShadow(painter, bar, pt::Shadow{QColor(0, 0, 0, 128), QPointF(0, 0), 2.0});
}

void PTFrameViewSlider::drawKnob(QPainter& painter, const QRectF& knob) const
{
    painter.save();
    QPainterPath oval;
    oval.addEllipse(knob.adjusted(4, 4, -4, -4));

    painter.save();
    painter.setClipPath(barPath());
    MCAdditions::drawBlurWithColor(painter, MCAdditions::bezierPathByInsettingPathBy(oval, 1), QColor(0, 0, 0, 128), 3);
    painter.restore();

    // Shadow offset half a point downwards.
    MCAdditions::drawBlurWithColor(painter, oval.translated(0, 0.5), QColor(0, 0, 0, 128), 2);
    painter.fillPath(oval, Qt::white);
    const QRectF bounds = oval.boundingRect();
    QLinearGradient gradient(bounds.bottomLeft(), bounds.topLeft());
    gradient.setColorAt(0, Qt::white);
    gradient.setColorAt(1, QColor(0xEE, 0xEE, 0xEE));
    painter.fillPath(oval, gradient);
    MCAdditions::fillWithInnerShadow(painter, oval, pt::Shadow{Qt::white, QPointF(0, 0), 1.0});

    QPainterPath dot;
    dot.addEllipse(knob.adjusted(8, 8, -8, -8));
    painter.fillPath(dot, isSliderDown() ? palette().color(QPalette::Highlight) : QColor(0, 0, 0, 26));
    MCAdditions::fillWithInnerShadow(painter, dot, pt::Shadow{QColor(0, 0, 0, 128), QPointF(0, -1), 1.0});
    painter.restore();
}

void PTFrameViewSlider::mouseReleaseEvent(QMouseEvent* event)
{
    QSlider::mouseReleaseEvent(event);
    pt::NotificationCenter::defaultCenter().post(MouseUpNotification, this);
}
