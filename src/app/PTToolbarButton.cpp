#include "app/PTToolbarButton.h"

#include "app/PTToolbarButtonCell.h"
#include "ui/views/PTView.h"

#include <QPainter>

PTToolbarButton::PTToolbarButton(QWidget* parent)
    : QToolButton(parent)
{
    setFixedSize(Width, Height);
    setFocusPolicy(Qt::NoFocus);
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
    PTView::followWindowScreen(this, event, screenChanged_, [this] { viewRequiresScreenUpdate(); });
    return QToolButton::event(event);
}

void PTToolbarButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!isEnabled())
        painter.setOpacity(0.4);
    PTToolbarButtonCell::drawInterior(painter, rect(), icon_, isDown());
}
