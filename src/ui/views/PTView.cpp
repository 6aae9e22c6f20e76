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
    // The window handle exists once the window is shown; the view may also move to another window.
    if (event->type() == QEvent::Show || event->type() == QEvent::ParentChange)
        followWindowScreen();
    return QWidget::event(event);
}

void PTView::followWindowScreen()
{
    QObject::disconnect(screenChanged_);
    if (QWindow* handle = window()->windowHandle())
        screenChanged_ = connect(handle, &QWindow::screenChanged, this, &PTView::viewRequiresScreenUpdate);
    viewRequiresScreenUpdate();
}
