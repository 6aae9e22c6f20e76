#include "transfer/export/PTExporterSheetRowView.h"

#include <QApplication>
#include <QCursor>
#include <QTimer>

PTExporterSheetRowView::PTExporterSheetRowView(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_Hover);
    // A pop-up menu, a save panel or any other window over the sheet holds the pointer while it is open, and the
    // row hears no leave when the pointer goes elsewhere meanwhile: whenever such a window closes, the row looks
    // where the pointer is.
    qApp->installEventFilter(this);
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

bool PTExporterSheetRowView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Hide && watched->isWidgetType()) {
        const auto* closing = static_cast<QWidget*>(watched);
        // Once the window has gone: a modal one gives the pointer back only when its loop ends.
        if (closing->isWindow() && closing != window())
            QTimer::singleShot(0, this, &PTExporterSheetRowView::followPointer);
    }
    return QWidget::eventFilter(watched, event);
}

void PTExporterSheetRowView::followPointer()
{
    if (!isVisible())
        return;
    const bool inside = rect().contains(mapFromGlobal(QCursor::pos()));
    const std::function<void()>& handler = inside ? mouseEnteredHandler : mouseExitedHandler;
    if (handler)
        handler();
}
