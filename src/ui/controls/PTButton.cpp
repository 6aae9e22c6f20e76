#include "ui/controls/PTButton.h"

#include "ui/controls/PTControlDrawing.h"
#include "ui/theme/PTStyles.h"

#include "foundation/MCAdditions.h"

#include <QPainter>

PTButton::PTButton(const QString& accessibleName, QWidget* parent)
    : QPushButton(parent), borderRadius_(PTStyles::defaultControlBorderRadius()),
      strokeColor_(PTStyles::defaultControlStrokeColor())
{
    setAccessibleName(accessibleName);
}

void PTButton::setConfirmationStyle(bool confirmation)
{
    if (confirmation == confirmationStyle_)
        return;
    confirmationStyle_ = confirmation;
    updateAppearance();
}

void PTButton::updateAppearance()
{
    strokeColor_ = confirmationStyle_ ? PTStyles::defaultControlGradientStrokeColor()
                                      : PTStyles::defaultControlStrokeColor();
    update();
}

void PTButton::setStrokeColor(const QColor& color)
{
    strokeColor_ = color;
    update();
}

void PTButton::setBorderRadius(qreal radius)
{
    borderRadius_ = radius;
    update();
}

void PTButton::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bezel(0, 0, width(), height() - 1);
    const QPainterPath path = MCAdditions::bezierPathWithRoundRect(bezel, borderRadius_);
    const pt::Shadow shadow{confirmationStyle_ ? QColor(0x01, 0x5D, 0xFF, 48) : QColor(0, 0, 0, 13), QPointF(0, -1),
                            1};
    PTControlDrawing::drawDropShadow(painter, path, shadow);
    painter.fillPath(path, Qt::white);

    if (confirmationStyle_) {
        const PTStyles::Gradient gradient =
            isDown() ? PTStyles::defaultControlHighlightedGradient() : PTStyles::defaultControlGradient();
        painter.fillPath(path, gradient.over(bezel));
    } else if (isDown()) {
        painter.fillPath(path, QColor(0, 0, 0, 15));
    }

    // A one-pixel ring between the bezel and the bezel inset by one, shaded from the stroke at a low alpha.
    QPainterPath ring = path;
    ring.addPath(MCAdditions::bezierPathByInsettingPathBy(path, 1));
    ring.setFillRule(Qt::OddEvenFill);
    QColor faded = strokeColor_;
    faded.setAlphaF(confirmationStyle_ ? 0.1f : strokeColor_.alphaF());
    painter.fillPath(ring, PTStyles::Gradient{faded, strokeColor_}.over(bezel));
}
