#include "transfer/export/PTExporterSheetRowView.h"

#include <QCursor>
#include <QMenu>

PTExporterSheetRowView::PTExporterSheetRowView(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_Hover);
}

void PTExporterSheetRowView::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    if (mouseEnteredHandler)
        mouseEnteredHandler();
}

void PTExporterSheetRowView::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    if (mouseExitedHandler)
        mouseExitedHandler();
}

void PTExporterSheetRowView::followPointerAcross(QMenu* menu)
{
    connect(menu, &QMenu::aboutToHide, this, [this] {
        const bool inside = rect().contains(mapFromGlobal(QCursor::pos()));
        const std::function<void()>& handler = inside ? mouseEnteredHandler : mouseExitedHandler;
        if (handler)
            handler();
    });
}
