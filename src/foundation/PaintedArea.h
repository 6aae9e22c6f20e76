#pragma once

#include <QRectF>

class QPainter;

// What a painter can still reach, in its current coordinates: the bounding box of its clip, or the whole device
// when it has none.
QRectF paintedArea(const QPainter& painter);
