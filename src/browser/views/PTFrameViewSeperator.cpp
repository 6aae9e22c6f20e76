#include "browser/views/PTFrameViewSeperator.h"

#include <QLinearGradient>
#include <QPainter>

PTFrameViewSeperator::PTFrameViewSeperator(QWidget* parent) : QWidget(parent)
{
    setAccessibleName(tr("Separator"));
}

void PTFrameViewSeperator::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0, QColor(0xBD, 0xBD, 0xBD, 153));
    gradient.setColorAt(1, QColor(0xBD, 0xBD, 0xBD, 0));
    painter.fillRect(rect(), gradient);
}
