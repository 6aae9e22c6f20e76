#include "ui/colour/PTColourPickerClippedView.h"

#include "foundation/ColorPrivate.h"
#include "foundation/MCAdditions.h"

#include <QHash>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

namespace {

constexpr qreal kCornerRadius = 3;
constexpr qreal kKnobSize = 12;
constexpr qreal kKnobRing = 2;
constexpr qreal kKnobShadowBlur = 2;
// Room around the ring for its shadow in the cached knob picture.
constexpr qreal kKnobMargin = 4;

QPixmap knobPixmap(qreal ratio)
{
    const qreal side = kKnobSize + 2 * kKnobMargin;
    QPixmap pixmap(qCeil(side * ratio), qCeil(side * ratio));
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF outer(kKnobMargin, kKnobMargin, kKnobSize, kKnobSize);
    QPainterPath ring;
    ring.setFillRule(Qt::OddEvenFill);
    ring.addEllipse(outer);
    ring.addEllipse(outer.adjusted(kKnobRing, kKnobRing, -kKnobRing, -kKnobRing));
    // The shadow falls one point below the ring.
    painter.save();
    painter.translate(0, 1);
    MCAdditions::drawBlurWithColor(painter, ring, PTColorFromHEX(0x000000, 0.3), kKnobShadowBlur);
    painter.restore();
    painter.fillPath(ring, Qt::white);
    return pixmap;
}

} // namespace

void PTColourPickerClippedView::drawKnob(QPainter& painter, QPointF centre)
{
    static QHash<qreal, QPixmap> cache;
    const qreal ratio = painter.device()->devicePixelRatioF();
    auto it = cache.find(ratio);
    if (it == cache.end())
        it = cache.insert(ratio, knobPixmap(ratio));
    const qreal half = kKnobSize / 2 + kKnobMargin;
    painter.drawPixmap(centre - QPointF(half, half), *it);
}

void PTColourPickerClippedView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds = rect();
    const QPainterPath path = MCAdditions::bezierPathWithRoundRect(bounds, kCornerRadius);
    painter.save();
    painter.setClipPath(path);
    drawRectInClippedPath(painter, bounds);
    painter.restore();
    painter.setCompositionMode(QPainter::CompositionMode_Darken);
    painter.setPen(QPen(PTColorFromHEX(0x000000, 0.12), 1));
    MCAdditions::strokeInside(painter, path);
}

void PTColourPickerClippedView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    setValueFromPoint(event->position());
    emit valueChanged();
    update();
}

void PTColourPickerClippedView::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return QWidget::mouseMoveEvent(event);
    setValueFromPoint(event->position());
    emit valueChanged();
    update();
}
