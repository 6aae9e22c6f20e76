#include "ui/views/PTPopoverContentView.h"

#include "foundation/MCAdditions.h"

#include <QPainter>

PTPopoverContentView::PTPopoverContentView(QWidget* parent) : QWidget(parent)
{
    setAccessibleName(QStringLiteral("Popover content"));
}

void PTPopoverContentView::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPainterPath path = MCAdditions::bezierPathWithRoundRect(QRectF(rect()), 3);
    painter.fillPath(path, QColor::fromRgbF(1, 1, 1, 0.25f));
    painter.setPen(QPen(QColor::fromRgbF(0, 0, 0, 0.15f), 1));
    MCAdditions::strokeInside(painter, path);
}
