#include "foundation/PaintedArea.h"

#include <QPainter>

QRectF paintedArea(const QPainter& painter)
{
    if (painter.hasClipping())
        return painter.clipBoundingRect();
    // The window is the device in the coordinates before the world transform.
    return painter.worldTransform().inverted().mapRect(QRectF(painter.window()));
}
