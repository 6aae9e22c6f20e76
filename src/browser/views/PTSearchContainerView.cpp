#include "browser/views/PTSearchContainerView.h"

#include "foundation/ColorPrivate.h"

#include <QPainter>

PTSearchContainerView::PTSearchContainerView(QWidget* parent) : QWidget(parent)
{
    setAccessibleName(tr("Search bar"));
}

void PTSearchContainerView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), PTColorFromHEX(0xFFFFFF, 0.95));
    painter.fillRect(QRect(0, height() - 1, width(), 1), PTColorFromHEX(LineHEX, 1));
}
