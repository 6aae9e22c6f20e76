#include "ui/controls/PTNoEventImageView.h"

#include <QMouseEvent>
#include <QWindow>

void PTNoEventImageView::mousePressEvent(QMouseEvent* event)
{
    QWindow* handle = window()->windowHandle();
    if (event->button() == Qt::LeftButton && handle && handle->startSystemMove()) {
        event->accept();
        return;
    }
    QLabel::mousePressEvent(event);
}
