#pragma once

#include <QImage>
#include <QRectF>
#include <QSizeF>

class QColor;
class QPainter;
class QScreen;

// Loading, tinting, flipping and proportional scaling of images. Sizes are in points (an image's
// device-independent size); every function answers a new image, or the image it was given where stated.
namespace differentStuff {

// The picture "<name>.<type>" of the application's resources (the Qt resource root). With allowRetina on a
// screen whose scale is above 1 it prefers "<name>@<N>x.<type>", N the scale rounded up, and marks it with
// that device pixel ratio; without such a variant it loads the plain picture. A null image when neither exists.
QImage imageWithName(const QString& name, const QString& type, bool allowRetina, const QScreen* screen);
QImage imageWithName(const QString& name, const QString& type, bool allowRetina, double screenScale);

// A copy whose drawn parts are painted over with the colour (source-atop): every pixel keeps its alpha
// exactly, transparent ones stay transparent.
QImage tintWithColor(const QImage& image, const QColor& color);

// The image mirrored top to bottom.
QImage flippedImage(const QImage& image);

// The image's size times the smaller of the two ratios target / own, each side rounded (it may grow). An empty
// image gives an empty size.
QSizeF constrainSize(const QImage& image, const QSizeF& target);

// The image scaled to constrainSize(target), smoothly. Answers the image itself when a new side would be 0, or
// when it would grow and enlarging is not allowed.
QImage imageByScalingProportionallyInSize(const QImage& image, const QSizeF& target, bool allowEnlarge = false);

// Draws the whole image centred in the rectangle, scaled by the smaller of the two ratios rectangle / image.
// When both sides of maxSize are above 0 the drawn size is further fitted inside maxSize, keeping its
// proportions. The drawn origin is rounded to whole points; alpha multiplies the painter's opacity.
void drawProportionallyInRect(QPainter& painter, const QImage& image, const QRectF& rect, const QSizeF& maxSize,
                              qreal alpha = 1.0);

} // namespace differentStuff
