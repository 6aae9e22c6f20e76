#include "sidebar/inspector/PTSideBarBackgroundViewOverlay.h"

#include "foundation/ColorPrivate.h"
#include "platform/desktop/AccessibilityDisplay.h"

#include <QPainter>

PTSideBarBackgroundViewOverlay::PTSideBarBackgroundViewOverlay(QWidget* parent) : QWidget(parent) {}

void PTSideBarBackgroundViewOverlay::paintEvent(QPaintEvent*)
{
    const QColor colour = pt::AccessibilityDisplay::shouldReduceTransparency()
                              ? colorPrivate::colorFromHEX(0xF9F9F9, 1.0F)
                              : colorPrivate::colorFromHEX(0xFAFAFA, 0.9F);
    QPainter(this).fillRect(rect(), colour);
}
