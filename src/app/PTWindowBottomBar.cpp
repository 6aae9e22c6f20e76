#include "app/PTWindowBottomBar.h"

#include "app/PTWindow.h"
#include "foundation/ColorPrivate.h"

#include <QEvent>
#include <QPainter>

PTWindowBottomBar::PTWindowBottomBar(QWidget* parent)
    : QWidget(parent)
{
    setAccessibleName(QStringLiteral("Bottom bar"));
}

qreal PTWindowBottomBar::lineAlpha() const
{
    return PTWindow::drawsActive(window()) ? 0.7 : 0.35;
}

void PTWindowBottomBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // Qt's y grows downwards: the bar's top edge is where the hairlines go.
    painter.fillRect(QRect(0, 0, width(), 1), colorPrivate::colorFromHEX(0xA3A1A3, float(lineAlpha())));
    painter.fillRect(QRect(0, 1, width(), 1), colorPrivate::colorFromHEX(0xFFFFFF, 0.2f));
}

bool PTWindowBottomBar::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate || event->type() == QEvent::WindowDeactivate)
        update();
    return QWidget::event(event);
}
