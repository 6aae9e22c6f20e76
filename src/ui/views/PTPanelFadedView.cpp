#include "ui/views/PTPanelFadedView.h"

#include <QPainter>

PTPanelFadedView::PTPanelFadedView(QWidget* parent) : QWidget(parent)
{
    setAccessibleName(QStringLiteral("Faded area"));
}

void PTPanelFadedView::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event);
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgbF(1, 1, 1, 0.35f));
}
