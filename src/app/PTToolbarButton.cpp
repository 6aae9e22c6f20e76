#include "app/PTToolbarButton.h"

#include "app/PTToolbarButtonCell.h"

#include <QEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

PTToolbarButton::PTToolbarButton(QWidget* parent)
    : QToolButton(parent)
{
    setFixedSize(Width, Height);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::ArrowCursor);
}

void PTToolbarButton::setIcon(const QImage& icon)
{
    icon_ = icon;
    update();
}

void PTToolbarButton::viewRequiresScreenUpdate()
{
    update();
}

bool PTToolbarButton::event(QEvent* event)
{
    // The window handle exists once the window is shown; the button may also move to another window.
    if (event->type() == QEvent::Show || event->type() == QEvent::ParentChange)
        followWindowScreen();
    return QToolButton::event(event);
}

void PTToolbarButton::followWindowScreen()
{
    QObject::disconnect(screenChanged_);
    if (QWindow* handle = window()->windowHandle())
        screenChanged_ = connect(handle, &QWindow::screenChanged, this, &PTToolbarButton::viewRequiresScreenUpdate);
    viewRequiresScreenUpdate();
}

void PTToolbarButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!isEnabled())
        painter.setOpacity(0.4);
    PTToolbarButtonCell::drawInterior(painter, rect(), icon_, isDown());
}
