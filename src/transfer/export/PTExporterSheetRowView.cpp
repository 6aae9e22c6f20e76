#include "transfer/export/PTExporterSheetRowView.h"

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
