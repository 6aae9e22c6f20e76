#include "ui/views/PTPopoverBackgroundView.h"

#include "foundation/ColorPrivate.h"

#include <QPainter>

PTPopoverBackgroundView::PTPopoverBackgroundView(QWidget* parent) : QWidget(parent)
{
    setAccessibleName(QStringLiteral("Popover background"));
}

void PTPopoverBackgroundView::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event);
    QPainter painter(this);
    // Qt's content starts at the top of the window: nothing sits above the band.
    painter.fillRect(QRect(0, 0, width(), BandHeight), PTColorFromHEX(0xF6F6F6, 0.9));
    painter.fillRect(QRect(0, BandHeight, width(), height() - BandHeight), QColor::fromRgbF(1, 1, 1, 0.8f));
    // The band's lowest row.
    painter.fillRect(QRect(0, BandHeight - 1, width(), 1), PTColorFromHEX(0xE4E4E4, 1.0));
}
