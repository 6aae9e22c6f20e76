#include "sidebar/inspector/PTIconSideBarPreviewImageView.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>

#include <memory>

PTIconSideBarPreviewImageView::PTIconSideBarPreviewImageView(QWidget* parent) : PTQuickLookImageView(parent)
{
    setAccessibleName(tr("Icon preview"));
    setMouseTracking(true);
    setCursor(Qt::OpenHandCursor);
}

void PTIconSideBarPreviewImageView::enterEvent(QEnterEvent* event)
{
    setCursor(Qt::OpenHandCursor);
    PTQuickLookImageView::enterEvent(event);
}

void PTIconSideBarPreviewImageView::leaveEvent(QEvent* event)
{
    unsetCursor();
    PTQuickLookImageView::leaveEvent(event);
}

void PTIconSideBarPreviewImageView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        pressed_ = true;
        pressPoint_ = event->position().toPoint();
        setCursor(Qt::ClosedHandCursor);
    }
    PTQuickLookImageView::mousePressEvent(event);
}

void PTIconSideBarPreviewImageView::mouseMoveEvent(QMouseEvent* event)
{
    if (pressed_ && (event->buttons() & Qt::LeftButton) &&
        (event->position().toPoint() - pressPoint_).manhattanLength() >= QApplication::startDragDistance()) {
        pressed_ = false;
        setCursor(Qt::OpenHandCursor);
        if (wantsToStartDrag)
            wantsToStartDrag();
    }
    PTQuickLookImageView::mouseMoveEvent(event);
}

void PTIconSideBarPreviewImageView::mouseReleaseEvent(QMouseEvent* event)
{
    pressed_ = false;
    setCursor(Qt::OpenHandCursor);
    PTQuickLookImageView::mouseReleaseEvent(event);
}

void PTIconSideBarPreviewImageView::contextMenuEvent(QContextMenuEvent* event)
{
    std::unique_ptr<QMenu> menu(menuForEvent ? menuForEvent() : nullptr);
    if (!menu) {
        event->ignore();
        return;
    }
    menu->exec(event->globalPos());
}
