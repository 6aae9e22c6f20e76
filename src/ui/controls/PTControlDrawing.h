#pragma once

#include "platform/graphics/Shadow.h"

class QPainter;
class QPainterPath;

// Drawing shared by the custom-drawn controls.
namespace PTControlDrawing {

// Draws the drop shadow the filled path casts (the path itself is not drawn).
void drawDropShadow(QPainter& painter, const QPainterPath& path, const pt::Shadow& shadow);

} // namespace PTControlDrawing
