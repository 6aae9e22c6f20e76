#include "sidebar/inspector/PTTagPopoverContentView.h"

#include <QPainter>

PTTagPopoverContentView::PTTagPopoverContentView(QWidget* parent) : QWidget(parent) {}

void PTTagPopoverContentView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    // One point high with its bottom edge at half the height: the line sits just above the middle.
    painter.fillRect(QRectF(0, height() / 2.0 - 1, width(), 1), Qt::red);
}
