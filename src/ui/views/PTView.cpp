#include "ui/views/PTView.h"

#include <QEvent>
#include <QScreen>
#include <QWindow>

PTView::PTView(QWidget* parent) : QWidget(parent)
{
    setAccessibleName(QStringLiteral("View"));
}

void PTView::viewRequiresScreenUpdate()
{
    update();
}

bool PTView::event(QEvent* event)
{
    followWindowScreen(this, event, screenChanged_, [this] { viewRequiresScreenUpdate(); });
    return QWidget::event(event);
}

void PTView::followWindowScreen(QWidget* widget, const QEvent* event, QMetaObject::Connection& connection,
                                const std::function<void()>& hook)
{
    // The window handle exists once the window is shown; the widget may also move to another window.
    if (event->type() != QEvent::Show && event->type() != QEvent::ParentChange)
        return;
    QObject::disconnect(connection);
    if (QWindow* handle = widget->window()->windowHandle())
        connection = QObject::connect(handle, &QWindow::screenChanged, widget, hook);
    hook();
}
