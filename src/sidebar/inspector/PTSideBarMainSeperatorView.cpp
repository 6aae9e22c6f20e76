#include "sidebar/inspector/PTSideBarMainSeperatorView.h"

#include "ui/theme/PTThemeController.h"

#include <QPainter>

PTSideBarMainSeperatorView::PTSideBarMainSeperatorView(QWidget* parent) : QWidget(parent)
{
    setFixedHeight(1);
}

void PTSideBarMainSeperatorView::paintEvent(QPaintEvent*)
{
    const QColor colour = PTThemeIsAppearance(0) ? QColor(0, 0, 0, 128) : QColor(0xD8, 0xDC, 0xDF);
    QPainter(this).fillRect(rect(), colour);
}
