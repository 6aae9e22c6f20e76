#include "browser/views/PTToolbarSearchFieldBadgeCell.h"

#include "foundation/ColorPrivate.h"
#include "foundation/DifferentStuff.h"
#include "foundation/MCAdditions.h"
#include "ui/theme/PTStyles.h"
#include "ui/theme/PTThemeController.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

namespace {

constexpr int LightFillHEX = 0xE3E9F4;

// The stop mark of the close part: an upright cross, black, tinted when drawn.
const QImage& stopMark()
{
    static const QImage mark = [] {
        QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Qt::black, 5, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(7, 7), QPointF(25, 25));
        painter.drawLine(QPointF(25, 7), QPointF(7, 25));
        return image;
    }();
    return mark;
}

bool isDark()
{
    return PTThemeIsAppearance(PTAppearanceDark);
}

} // namespace

PTToolbarSearchFieldBadgeCell::PTToolbarSearchFieldBadgeCell()
{
    font_.setPixelSize(11);
    font_.setBold(true);
}

QColor PTToolbarSearchFieldBadgeCell::fillColor() const
{
    return isDark() ? PTColorFromHEX(PTStyles::defaultBlueHEX(), 1) : PTColorFromHEX(LightFillHEX, 1);
}

QColor PTToolbarSearchFieldBadgeCell::titleColor() const
{
    return isDark() ? QColor(Qt::white) : PTStyles::defaultBlue();
}

QSizeF PTToolbarSearchFieldBadgeCell::titleSize() const
{
    return QFontMetricsF(font_).size(Qt::TextSingleLine, title_);
}

QSizeF PTToolbarSearchFieldBadgeCell::proposedSize() const
{
    if (title_.isEmpty())
        return {closePadding_ + 8, 0};
    const QSizeF size = titleSize();
    return {std::round(size.width() + 2 * padding_ + 18), std::round(size.height())};
}

void PTToolbarSearchFieldBadgeCell::draw(QPainter& painter, const QRectF& frame) const
{
    if (title_.isEmpty())
        return;
    const QColor fill = fillColor();
    const qreal half = frame.height() * 0.5;
    const qreal radius = std::round(half);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const QRectF body(frame.x(), frame.y(), frame.width() - (closePadding_ + 1), frame.height());
    painter.fillPath(MCAdditions::bezierPathWithRoundRect(body, radius, 0, radius, 0), fill);

    const qreal closeX = frame.x() + frame.width() - closePadding_;
    const QRectF close(closeX, frame.y(), closePadding_, frame.height());
    painter.fillPath(MCAdditions::bezierPathWithRoundRect(close, 0, radius, 0, radius),
                     highlighted_ ? PTColorFromHEX(PressedCloseHEX, 1) : fill);

    painter.setFont(font_);
    painter.setPen(titleColor());
    const qreal titleHeight = titleSize().height();
    painter.drawText(QRectF(frame.x() + padding_, frame.y() + half - titleHeight * 0.5, body.width(), titleHeight),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, title_);

    differentStuff::drawProportionallyInRect(painter,
                                             differentStuff::tintWithColor(stopMark(), PTStyles::toolbarIconTemplateColor()),
                                             QRectF(closeX - 1, frame.y(), closePadding_, frame.height()), QSizeF(8, 8));
    painter.restore();
}
