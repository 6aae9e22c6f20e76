#include "ui/sheets/PTSheetAlternateView.h"

#include "foundation/ColorPrivate.h"

#include <QPainter>

PTSheetAlternateView::PTSheetAlternateView(QWidget* parent) : QWidget(parent)
{
    setAccessibleName(QStringLiteral("Highlighted section"));
}

void PTSheetAlternateView::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event);
    QPainter painter(this);
    painter.fillRect(rect(), PTColorFromHEX(0xD1EAFF, 0.2));
    const QColor line = PTColorFromHEX(0x2C9CE5, 0.05);
    painter.fillRect(QRect(0, 0, width(), 1), line);
    painter.fillRect(QRect(0, height() - 1, width(), 1), line);
}
