#include "sidebar/inspector/PTIconSidebarPreviewPopupButton.h"

#include "foundation/MCAdditions.h"
#include "ui/theme/PTStyles.h"
#include "ui/theme/PTThemeController.h"

#include <QAction>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

constexpr int TitleFontSize = 12;

} // namespace

PTIconSidebarPreviewPopupButton::PTIconSidebarPreviewPopupButton(QWidget* parent) : PTSheetViewPopupButton(parent)
{
    setFocusPolicy(Qt::TabFocus);
    setLabelPadding(7);
}

void PTIconSidebarPreviewPopupButton::setCornerRadius(qreal radius)
{
    topLeftBorderRadius = topRightBorderRadius = bottomLeftBorderRadius = bottomRightBorderRadius = radius;
    setBorderRadius(radius);
}

void PTIconSidebarPreviewPopupButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal height = this->height() + heightOffset;
    const QRectF frame(0, 0, width(), height);
    const QPainterPath body = MCAdditions::bezierPathWithRoundRect(
        frame, topLeftBorderRadius, topRightBorderRadius, bottomLeftBorderRadius, bottomRightBorderRadius);
    painter.fillPath(body, PTThemeIsAppearance(PTAppearanceDark) ? PTStyles::defaultControlFieldColor()
                                                                 : QColor(Qt::white));
    painter.setPen(QPen(PTStyles::defaultControlFieldStrokeColor(), 1));
    MCAdditions::strokeInside(painter, body);

    const QColor text = PTStyles::defaultControlTextColor();
    const QFont font = PTStyles::systemFont(TitleFontSize);
    const QFontMetricsF metrics(font);
    const QString title = selectedItem() ? selectedItem()->text() : QString();
    const QRectF titleRect = QRectF(labelPadding(), std::ceil(height / 2 - metrics.height() / 2),
                                    width() - arrowWidth - labelPadding(), metrics.height())
                                 .toAlignedRect();
    painter.setFont(font);
    painter.setPen(text);
    painter.drawText(titleRect, Qt::AlignLeft | Qt::AlignVCenter,
                     metrics.elidedText(title, Qt::ElideMiddle, titleRect.width()));

    // The arrow: a small chevron centred in the arrow width.
    const QPointF centre(std::floor(width() - arrowWidth / 2), std::floor(height / 2));
    QPainterPath arrow;
    arrow.moveTo(centre + QPointF(-3, -1.5));
    arrow.lineTo(centre + QPointF(0, 1.5));
    arrow.lineTo(centre + QPointF(3, -1.5));
    painter.setPen(QPen(text, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(arrow);
}
