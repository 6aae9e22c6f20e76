#include "sidebar/inspector/PTSideBarSegmentStackView.h"

#include "sidebar/inspector/PTSideBarSegmentController.h"

#include <QMouseEvent>

void PTSideBarSegmentStackView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (controller_)
        controller_->toggle();
    PTStackView::mouseDoubleClickEvent(event);
}

void PTSideBarSegmentStackView::enterEvent(QEnterEvent* event)
{
    if (controller_)
        controller_->mouseEntered();
    PTStackView::enterEvent(event);
}

void PTSideBarSegmentStackView::leaveEvent(QEvent* event)
{
    if (controller_)
        controller_->mouseExited();
    PTStackView::leaveEvent(event);
}
