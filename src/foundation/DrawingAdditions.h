#pragma once

#include "platform/graphics/Shadow.h"

#include <QImage>
#include <QPointF>

#include <functional>

class QColor;
class QPainter;
class QScreen;

// Images as shapes: coloured through their alpha and drawn with drop and inner shadows.
namespace DrawingAdditions {

// Paints the content of a shape; the painter's coordinates are the image's points, origin at its top-left.
using DrawBlock = std::function<void(QPainter&)>;

// A new image of the same size filled with the colour wherever the image has alpha (alpha kept exactly).
QImage colorizeAlphaWithColor(const QImage& image, const QColor& color);

// Draws the image's shape with its top-left corner at the point: the draw block paints the content, which the
// image's alpha masks; the inner shadow falls inside the shape from its outside; the result is drawn with the
// drop shadow under it.
// Rendered at the screen's scale; nothing is drawn, and the block is not called, for a null screen.
void drawAtPoint(QPainter& painter, const QImage& image, QPointF point, const DrawBlock& drawBlock,
                 const pt::Shadow& dropShadow, const pt::Shadow& innerShadow, const QScreen* screen);

// A new image of the image's size, at the main screen's scale, holding drawAtPoint of the image at its origin.
// The drop shadow shows only where it falls inside that size; a null image without screens.
QImage imageWithDrawBlock(const QImage& image, const DrawBlock& drawBlock, const pt::Shadow& dropShadow,
                          const pt::Shadow& innerShadow);

} // namespace DrawingAdditions

// drawAtPoint with the shadows given by their parts.
void PTDrawAtPointWithShadows(QPainter& painter, const QImage& image, QPointF point,
                              const DrawingAdditions::DrawBlock& drawBlock, const QColor& dropShadowColor,
                              QPointF dropShadowOffset, float dropShadowBlur, const QColor& innerShadowColor,
                              QPointF innerShadowOffset, float innerShadowBlur, const QScreen* screen);
