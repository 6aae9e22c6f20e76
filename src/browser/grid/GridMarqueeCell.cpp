#include "browser/grid/GridMarqueeCell.h"

#include <QPainter>

GridMarqueeCell::GridMarqueeCell()
    : PTGridViewCell(QString())
{
    setZPosition(ZPosition);
}

void GridMarqueeCell::drawCellInRect(QPainter& painter, const QRectF& rect)
{
    QColor base = drawState().appearance == 0 ? QColor(0xFF, 0xFF, 0xFF) : QColor(0x88, 0x88, 0x88);
    base.setAlphaF(0.2F);
    painter.fillRect(rect, base);
    base.setAlphaF(0.9F);
    painter.setPen(QPen(base, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect.adjusted(0.5, 0.5, -0.5, -0.5));
}
