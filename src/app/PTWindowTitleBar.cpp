#include "app/PTWindowTitleBar.h"

#include "app/PTWindow.h"
#include "foundation/ColorPrivate.h"
#include "ui/theme/PTThemeController.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPainter>

PTWindowTitleBar::PTWindowTitleBar(QWidget* parent)
    : QWidget(parent)
    , layout_(new QHBoxLayout(this))
{
    setAccessibleName(QStringLiteral("Toolbar"));
    setFixedHeight(Height);
    layout_->setContentsMargins(12, 0, 12, 1);
    layout_->setSpacing(8);
}

bool PTWindowTitleBar::drawsActive() const
{
    return PTWindow::drawsActive(window());
}

void PTWindowTitleBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const bool active = drawsActive();
    const QRect bounds = rect();
    if (PTThemeIsAppearance(PTAppearanceDark)) {
        painter.fillRect(bounds, colorPrivate::colorFromHEX(0x2D2D2D, 1));
        painter.fillRect(bounds, colorPrivate::colorFromHEX(0x3A3A3A, active ? 1.0 : 0.6));
        painter.fillRect(QRect(0, height() - 1, width(), 1), colorPrivate::colorFromHEX(0x111111, active ? 0.9 : 0.45));
        return;
    }
    painter.fillRect(bounds, Qt::white);
    painter.fillRect(bounds, colorPrivate::colorFromHEX(0xE9E9E9, active ? 1.0 : 0.6));
    painter.fillRect(QRect(0, height() - 1, width(), 1), colorPrivate::colorFromHEX(0xA3A1A3, active ? 0.7 : 0.35));
}

bool PTWindowTitleBar::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate || event->type() == QEvent::WindowDeactivate)
        update();
    return QWidget::event(event);
}
