#include "app/welcome/PTSplashWindowBackgroundView.h"

#include "foundation/ColorPrivate.h"
#include "ui/theme/PTStyles.h"
#include "ui/theme/PTThemeController.h"

#include <QLinearGradient>
#include <QPainter>

PTSplashWindowBackgroundView::PTSplashWindowBackgroundView(QWidget* parent) : QWidget(parent) {}

void PTSplashWindowBackgroundView::setPanelWidth(qreal width)
{
    panelWidth_ = width;
    update();
}

void PTSplashWindowBackgroundView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRectF panel(0, 0, panelWidth_, height());
    const QRectF rest(panelWidth_, 0, width() - panelWidth_, height());
    if (PTThemeIsAppearance(PTAppearanceDark)) {
        painter.fillRect(panel, PTStyles::gridBackgroundColor());
        painter.fillRect(rest, PTStyles::sidebarBackgroundColor());
        return;
    }
    QLinearGradient wash(panel.topLeft(), panel.bottomLeft());
    wash.setColorAt(0, PTColorFromHEX(0xF2F9FE, 1));
    wash.setColorAt(1, PTColorFromHEX(0xFFFFFF, 1));
    painter.fillRect(panel, wash);
    // A shadow strip across the panel's edge; the content covers its right half.
    const QRectF strip(panelWidth_ - 5, 0, 10, height());
    QLinearGradient shadow(strip.topRight(), strip.topLeft());
    shadow.setColorAt(0, QColor(0, 0, 0, 128));
    shadow.setColorAt(1, QColor(0, 0, 0, 0));
    painter.setOpacity(0.08);
    painter.fillRect(strip, shadow);
    painter.setOpacity(1);
    painter.fillRect(rest, Qt::white);
}
