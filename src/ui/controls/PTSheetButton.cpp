#include "ui/controls/PTSheetButton.h"

#include "ui/controls/PTControlDrawing.h"

#include "foundation/ColorPrivate.h"
#include "foundation/MCAdditions.h"

#include <QPainter>

namespace {

QFont titleFont()
{
    QFont font;
    font.setPixelSize(13);
    return font;
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
    painter.fillPath(path, !accept && pressed ? PTColorFromHEX(0xFBFCFC, 1.0) : QColor(Qt::white));
    if (accept) {
        QLinearGradient gradient(frame.bottomLeft(), frame.topLeft());
        gradient.setColorAt(0, PTColorFromHEX(0x27ACF3, 1.0));
        gradient.setColorAt(1, PTColorFromHEX(0x1199E2, 1.0));
        painter.fillPath(path, gradient);
    }
    painter.setPen(QPen(accept ? PTColorFromHEX(0x1199E2, 1.0) : PTColorFromHEX(0xD9DDE0, 1.0), 1));
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
        painter.setPen(PTColorFromHEX(0x98A4AD, 1.0));
    }
    painter.drawText(titleRect, Qt::AlignCenter, title);
}
