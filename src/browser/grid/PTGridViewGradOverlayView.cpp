#include "browser/grid/PTGridViewGradOverlayView.h"

#include <QLinearGradient>
#include <QPainter>

PTGridViewGradOverlayView::PTGridViewGradOverlayView(QWidget* parent) : QWidget(parent) {}

void PTGridViewGradOverlayView::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0, QColor(255, 255, 255, 26));
    gradient.setColorAt(1, QColor(255, 255, 255, 255));
    painter.fillRect(rect(), gradient);
}
