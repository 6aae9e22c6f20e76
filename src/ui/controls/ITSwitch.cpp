#include "ui/controls/ITSwitch.h"

#include "ui/controls/PTControlDrawing.h"

#include "platform/ui/AnimationTiming.h"

#include <QEasingCurve>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QVariantAnimation>

namespace {

constexpr qreal GoldenRatio = 1.6180340051651;
constexpr qreal PressedRatio = 1.38;
constexpr int AnimationMilliseconds = 400;

// Overshoots and settles.
QEasingCurve overshoot()
{
    QEasingCurve curve(QEasingCurve::BezierSpline);
    curve.addCubicBezierSegment(QPointF(0.25, 1.5), QPointF(0.5, 1.0), QPointF(1, 1));
    return curve;
}

} // namespace

ITSwitch::ITSwitch(QWidget* parent) : QCheckBox(parent), animation_(new QVariantAnimation(this))
{
    setFocusPolicy(Qt::StrongFocus);
    resize(sizeHint());
    knob_ = rectForKnob();
    connect(animation_, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        knob_ = value.toRectF();
        update();
    });
    connect(this, &QAbstractButton::toggled, this, &ITSwitch::reloadLayer);
    // The accessibility press clicks the button.
    connect(this, &QAbstractButton::clicked, this, &ITSwitch::userToggled);
}

QSize ITSwitch::sizeHint() const
{
    return QSize(40, 22);
}

QColor ITSwitch::tintColor() const
{
    return tintColor_.isValid() ? tintColor_ : QColor::fromRgbF(0.27f, 0.86f, 0.36f);
}

void ITSwitch::setTintColor(const QColor& color)
{
    tintColor_ = color;
    update();
}

void ITSwitch::setStrokeColor(const QColor& color)
{
    strokeColor_ = color;
    update();
}

QRectF ITSwitch::rectForKnob() const
{
    const qreal w = width();
    const qreal knobWidth = (w - 2) / (active_ ? PressedRatio : GoldenRatio);
    return QRectF(looksOn() ? w - knobWidth - 1 : 1, 1, knobWidth, knobHeightForSize(size()));
}

void ITSwitch::reloadLayer()
{
    animation_->stop();
    const QRectF target = rectForKnob();
    const int duration = pt::AnimationTiming::duration(AnimationMilliseconds);
    if (duration <= 0 || !isVisible()) {
        knob_ = target;
        update();
        return;
    }
    animation_->setEasingCurve(dragged_ ? QEasingCurve(QEasingCurve::InOutQuad) : overshoot());
    animation_->setDuration(duration);
    animation_->setStartValue(knob_);
    animation_->setEndValue(target);
    animation_->start();
}

void ITSwitch::setCheckedByUser(bool checked)
{
    if (checked == isChecked())
        return;
    setChecked(checked);
    emit userToggled(checked);
}

void ITSwitch::mousePressEvent(QMouseEvent* event)
{
    if (!isEnabled() || event->button() != Qt::LeftButton)
        return;
    active_ = true;
    reloadLayer();
}

void ITSwitch::mouseMoveEvent(QMouseEvent* event)
{
    if (!isEnabled() || !active_)
        return;
    dragged_ = true;
    draggingTowardsOn_ = event->position().x() >= width() / 2.0;
    reloadLayer();
}

void ITSwitch::mouseReleaseEvent(QMouseEvent* event)
{
    if (!isEnabled() || !active_ || event->button() != Qt::LeftButton)
        return;
    active_ = false;
    const bool value = dragged_ ? draggingTowardsOn_ : !isChecked();
    dragged_ = false;
    draggingTowardsOn_ = false;
    setCheckedByUser(value);
    reloadLayer();
}

void ITSwitch::keyPressEvent(QKeyEvent* event)
{
    if (!isEnabled())
        return;
    switch (event->key()) {
    case Qt::Key_Space:
        setCheckedByUser(!isChecked());
        break;
    case Qt::Key_Left:
        setCheckedByUser(false);
        break;
    case Qt::Key_Right:
        setCheckedByUser(true);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void ITSwitch::keyReleaseEvent(QKeyEvent* event)
{
    // The button's own release would click it a second time.
    QWidget::keyReleaseEvent(event);
}

void ITSwitch::resizeEvent(QResizeEvent* event)
{
    QCheckBox::resizeEvent(event);
    animation_->stop();
    knob_ = rectForKnob();
}

void ITSwitch::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(isEnabled() ? 1.0 : 0.5);
    const QRectF track = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal radius = height() / 2.0;
    const QColor border = looksOn() ? tintColor() : strokeColor_;
    if (looksOn())
        painter.setBrush(tintColor());
    painter.setPen(border.isValid() ? QPen(border, 1) : QPen(Qt::NoPen));
    painter.drawRoundedRect(track, radius - 0.5, radius - 0.5);

    QPainterPath knob;
    knob.addRoundedRect(knob_, knob_.height() / 2, knob_.height() / 2);
    PTControlDrawing::drawDropShadow(painter, knob, {QColor::fromRgbF(0, 0, 0, 0.3f), QPointF(0, 2), 1});
    PTControlDrawing::drawDropShadow(painter, knob, {QColor::fromRgbF(0, 0, 0, 0.35f), QPointF(0, 0), 1});
    painter.fillPath(knob, Qt::white);
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(track, radius - 0.5, radius - 0.5);
    }
}
