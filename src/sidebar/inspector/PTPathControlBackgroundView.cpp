#include "sidebar/inspector/PTPathControlBackgroundView.h"

#include "foundation/ColorPrivate.h"

#include <QPainter>

PTPathControlBackgroundView::PTPathControlBackgroundView(QWidget* parent) : QWidget(parent) {}

void PTPathControlBackgroundView::paintEvent(QPaintEvent*)
{
    QPainter(this).fillRect(rect(), colorPrivate::colorFromHEX(0xD9E9FC, 0.6F));
}
