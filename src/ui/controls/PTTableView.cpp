#include "ui/controls/PTTableView.h"

#include <QMouseEvent>

void PTTableView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (rowAt(event->position().toPoint().y()) < 0)
        emit doubleClickedEmptySpace();
    event->accept();
}
