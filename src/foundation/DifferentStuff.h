#pragma once

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QRectF>
#include <QSizeF>

class QColor;
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

// A copy in which every nearly opaque pixel (alpha above 240) whose colour is within `threshold` of the colour
// (the sum of the red, green and blue byte differences) is made fully transparent.
QImage maskColor(const QImage& image, const QColor& color, int threshold);

// The image in greys of the same luminance (Rec. 709 weights), alpha kept, upright.
QImage grayScale(const QImage& image);

// The image's luminance, at three quarters, multiplied into the colour: a monochrome picture in the colour's
// shades, each pixel keeping its alpha (times the colour's). An invalid colour answers a plain copy.
QImage imageTintedWithColor(const QImage& image, const QColor& color);

// The image mirrored top to bottom.
QImage flippedImage(const QImage& image);

// The image's size times the smaller of the two ratios target / own, each side rounded (it may grow). An empty
// image gives an empty size.
QSizeF constrainSize(const QImage& image, const QSizeF& target);

// The image scaled to constrainSize(target), smoothly. Answers the image itself when a new side would be 0, or
// when it would grow and enlarging is not allowed.
QImage imageByScalingProportionallyInSize(const QImage& image, const QSizeF& target, bool allowEnlarge = false);

// A canvas of exactly the target size with the image shrunk to fit inside it, centred, on whole points.
// Answers the image itself when the target is wider or taller than the image (it never enlarges) or has a side
// that is not above 0, and a null image for a null image.
QImage imageByScalingProportionallyToSize(const QImage& image, const QSizeF& target);

// A canvas of exactly the size covered by the image: scaled by the larger of the two ratios, centred, the
// overflow cut off equally on both sides. A null image for a null image or a size with a side below one pixel.
QImage imageByFillingSize(const QImage& image, const QSizeF& size);

// Draws the source part of the image (the whole image for an empty source) into the destination with the
// composition mode, at `fraction` times the painter's opacity, upright even when the painter's coordinates
// run upwards.
void drawAdjustedInRect(QPainter& painter, const QImage& image, const QRectF& destination, const QRectF& source,
                        QPainter::CompositionMode operation, qreal fraction);
// The same into the image's own size at the point.
void drawAdjustedAtPoint(QPainter& painter, const QImage& image, QPointF point, const QRectF& source,
                         QPainter::CompositionMode operation, qreal fraction);

// Draws the whole image centred in the rectangle, scaled by the smaller of the two ratios rectangle / image.
// When both sides of maxSize are above 0 the drawn size is further fitted inside maxSize, keeping its
// proportions. The drawn origin is rounded to whole points; alpha multiplies the painter's opacity.
void drawProportionallyInRect(QPainter& painter, const QImage& image, const QRectF& rect, const QSizeF& maxSize,
                              qreal alpha = 1.0);
void drawProportionallyInRect(QPainter& painter, const QPixmap& pixmap, const QRectF& rect, const QSizeF& maxSize,
                              qreal alpha = 1.0);
// Where drawProportionallyInRect draws a picture of that size in points; empty when it draws nothing.
QRectF proportionalRectInRect(const QSizeF& size, const QRectF& rect, const QSizeF& maxSize);

} // namespace differentStuff
