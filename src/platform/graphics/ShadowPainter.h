#pragma once

#include "platform/graphics/Shadow.h"

#include <QImage>

class QPainter;
class QPainterPath;

namespace pt {

// Shadows drawn offscreen: the shape's alpha is blurred in a buffer of device pixels, filled with the shadow's
// colour and composited where the shadow falls. Drop shadows and inner shadows of paths and images share it.
class ShadowPainter {
public:
    // The shadow the alpha of `shape` casts, for a shape drawn at `scale` device pixels per point: premultiplied,
    // in the same pixel grid, grown by what the blur needs. *origin receives where its top-left pixel lies
    // relative to the shape's, offset included.
    static QImage shadowImage(const QImage& shape, const Shadow& shadow, qreal scale, QPointF* origin);

    // The image with every channel of its premultiplied pixels blurred by a Gaussian of standard deviation
    // `sigma` device pixels, in the same pixel grid; outside the image counts as transparent.
    static QImage blurredImage(const QImage& image, qreal sigma);

    // Draws the drop shadow of `image` as the image would fall when drawn with its top-left at `topLeft` (in the
    // painter's coordinates, without rotation or shear). The image itself is not drawn.
    static void drawShadowOfImage(QPainter& painter, const QImage& image, QPointF topLeft, const Shadow& shadow);

    // Paints into `target` the shadow that everything outside `shape` casts inside it, masked by the shape's
    // alpha. Both images have the same pixel size, at `scale` device pixels per point.
    static void drawInnerShadow(QImage& target, const QImage& shape, const Shadow& shadow, qreal scale);

    // Fills the inside of the path with the shadow cast from outside it, the sunken look of wells and fields.
    // The painter's state is as it was afterwards.
    static void fillInnerShadow(QPainter& painter, const QPainterPath& path, const Shadow& shadow);
};

} // namespace pt
