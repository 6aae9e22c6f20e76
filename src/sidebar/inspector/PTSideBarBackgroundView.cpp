#include "sidebar/inspector/PTSideBarBackgroundView.h"

#include "ui/theme/PTStyles.h"

#include <QPainter>

PTSideBarBackgroundView::PTSideBarBackgroundView(QWidget* parent) : QWidget(parent) {}

void PTSideBarBackgroundView::paintEvent(QPaintEvent*)
{
    QPainter(this).fillRect(rect(), PTStyles::sidebarBackgroundColor());
}
