#include "ui/controls/PTSheetButton.h"

#include "ui/controls/PTControlDrawing.h"

#include "ui/theme/PTStyles.h"
#include "ui/theme/PTThemeController.h"

#include "foundation/ColorPrivate.h"
#include "foundation/MCAdditions.h"

#include <QPainter>

namespace {

constexpr qreal DisabledOpacity = 0.5;

QFont titleFont()
{
    QFont font;
    font.setPixelSize(13);
    return font;
}

// The close button is a field-coloured button of the theme, its title in the controls' text colour: the light
// grey title it once had on white read as disabled, and stayed white in the dark theme.
QColor closeFill(bool pressed)
{
    if (PTThemeIsAppearance(PTAppearanceDark))
        return pressed ? PTColorFromHEX(0x474747, 1.0) : PTStyles::defaultControlFieldColor();
    return pressed ? PTColorFromHEX(0xFBFCFC, 1.0) : PTStyles::defaultControlFieldColor();
}

QColor closeStroke()
{
    return PTThemeIsAppearance(PTAppearanceDark) ? PTStyles::defaultControlFieldStrokeColor()
                                                 : PTColorFromHEX(0xD9DDE0, 1.0);
}

} // namespace

PTSheetButton::PTSheetButton(Kind kind, const QString& title, QWidget* parent) : QPushButton(title, parent), kind_(kind)
{
    setAccessibleName(title);
    setFont(titleFont());
    setCursor(Qt::ArrowCursor);
}

QSize PTSheetButton::sizeHint() const
{
    const int padding = kind_ == Kind::Accept ? 20 : 10;
    return QSize(std::max(80, fontMetrics().horizontalAdvance(text()) + 2 * padding), 25);
}

void PTSheetButton::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event);
    const bool accept = kind_ == Kind::Accept;
    const bool pressed = isDown();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF frame(0, 0, width(), height() - 1);
    const QPainterPath path = MCAdditions::bezierPathWithRoundRect(frame, 3);

    // Pressed buttons lose their drop shadow.
    if (!pressed) {
        const pt::Shadow shadow{QColor(0, 0, 0, accept ? 18 : 8), QPointF(0, -1), 1};
        PTControlDrawing::drawDropShadow(painter, path, shadow);
    }
    // A disabled button fades as a whole; its title colour alone would not tell it from the others.
    if (!isEnabled())
        painter.setOpacity(DisabledOpacity);
    painter.fillPath(path, accept ? QColor(Qt::white) : closeFill(pressed));
    if (accept) {
        QLinearGradient gradient(frame.bottomLeft(), frame.topLeft());
        gradient.setColorAt(0, PTColorFromHEX(0x27ACF3, 1.0));
        gradient.setColorAt(1, PTColorFromHEX(0x1199E2, 1.0));
        painter.fillPath(path, gradient);
    }
    painter.setPen(QPen(accept ? PTColorFromHEX(0x1199E2, 1.0) : closeStroke(), 1));
    MCAdditions::strokeInside(painter, path);

    const int inset = accept ? 10 : 5;
    const QFontMetrics metrics(font());
    const int titleHeight = metrics.height();
    const QRect titleRect(inset, (height() - 1) / 2 - titleHeight / 2 - 1, width() - 2 * inset, titleHeight);
    const QString title = metrics.elidedText(text(), Qt::ElideRight, titleRect.width());
    painter.setFont(font());
    if (accept) {
        painter.setPen(PTColorFromHEX(0x0F7DB9, 1.0));
        painter.drawText(titleRect.translated(0, 1), Qt::AlignCenter, title);
        painter.setPen(Qt::white);
    } else {
        painter.setPen(PTStyles::defaultControlTextColor());
    }
    painter.drawText(titleRect, Qt::AlignCenter, title);
}
