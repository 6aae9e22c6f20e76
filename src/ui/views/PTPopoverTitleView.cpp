#include "ui/views/PTPopoverTitleView.h"

#include "foundation/ColorPrivate.h"

#include <QPainter>

PTPopoverTitleView::PTPopoverTitleView(const QString& title, QWidget* parent) : QLabel(title, parent)
{
    setAccessibleName(title.isEmpty() ? QStringLiteral("Popover title") : title);
}

void PTPopoverTitleView::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    QPainter painter(this);
    painter.fillRect(QRect(0, height() - 1, width(), 1), PTColorFromHEX(0xDFDFDF, 1.0));
}
