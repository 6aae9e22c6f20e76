#include "foundation/DifferentStuff.h"

#include "foundation/ScreenAdditions.h"

#include <QColor>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <type_traits>

namespace differentStuff {

namespace {

const QString ResourceRoot = QStringLiteral(":/");

QImage readResource(const QString& fileName, double devicePixelRatio)
{
    const QString path = ResourceRoot + fileName;
    if (!QFileInfo::exists(path))
        return {};
    QImageReader reader(path);
    QImage image = reader.read();
    if (!image.isNull())
        image.setDevicePixelRatio(devicePixelRatio);
    return image;
}

// The smaller of the two ratios target / size; 0 for an empty size.
double fitFactor(const QSizeF& size, const QSizeF& target)
{
    if (!(size.width() > 0 && size.height() > 0))
        return 0;
    return std::min(target.width() / size.width(), target.height() / size.height());
}

// A transparent image of the size in points at the pixel ratio; null below one pixel.
QImage canvas(const QSizeF& points, qreal ratio)
{
    const QSize pixels = (points * ratio).toSize();
    if (pixels.width() < 1 || pixels.height() < 1)
        return {};
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    image.fill(Qt::transparent);
    image.setDevicePixelRatio(ratio);
    return image;
}

// Luminance of a pixel's colour by the Rec. 709 weights; on premultiplied pixels it comes out premultiplied.
int luminance(QRgb pixel)
{
    return (2126 * qRed(pixel) + 7152 * qGreen(pixel) + 722 * qBlue(pixel) + 5000) / 10000;
}

// A premultiplied copy of the image with every pixel passed through the function.
template <typename Function>
QImage mapPixels(const QImage& image, Function function)
{
    QImage result = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < result.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x)
            row[x] = function(row[x]);
    }
    return result;
}

} // namespace

QImage imageWithName(const QString& name, const QString& type, bool allowRetina, const QScreen* screen)
{
    return imageWithName(name, type, allowRetina, screenAdditions::scale(screen));
}

QImage imageWithName(const QString& name, const QString& type, bool allowRetina, double screenScale)
{
    const QString extension = type.isEmpty() ? QString() : QLatin1Char('.') + type;
    if (allowRetina && static_cast<float>(screenScale) > 1.0f) {
        // Fractional scales take the next sharper variant: 1.25 and 1.5 use "@2x".
        const int variant = static_cast<int>(std::ceil(static_cast<float>(screenScale)));
        QImage image = readResource(QStringLiteral("%1@%2x%3").arg(name).arg(variant).arg(extension), variant);
        if (!image.isNull())
            return image;
    }
    return readResource(name + extension, 1.0);
}

QImage tintWithColor(const QImage& image, const QColor& color)
{
    QImage tinted = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (tinted.isNull())
        return tinted;
    // Source-atop by hand: Qt's blend would round the alpha of each pixel through the colour's alpha.
    const QRgb source = qPremultiply(color.rgba());
    const int sourceAlpha = qAlpha(source);
    for (int y = 0; y < tinted.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(tinted.scanLine(y));
        for (int x = 0; x < tinted.width(); ++x) {
            const int alpha = qAlpha(row[x]);
            const auto channel = [&](int sourceChannel, int destinationChannel) {
                const int value = (sourceChannel * alpha + destinationChannel * (255 - sourceAlpha) + 127) / 255;
                return std::min(value, alpha);
            };
            row[x] = qRgba(channel(qRed(source), qRed(row[x])), channel(qGreen(source), qGreen(row[x])),
                           channel(qBlue(source), qBlue(row[x])), alpha);
        }
    }
    return tinted;
}

QImage maskColor(const QImage& image, const QColor& color, int threshold)
{
    // Colours are compared straight, as they are written, not premultiplied.
    const auto component = [](float value) { return int(value * 255) & 0xFF; };
    const int red = component(color.redF());
    const int green = component(color.greenF());
    const int blue = component(color.blueF());
    QImage masked = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < masked.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(masked.scanLine(y));
        for (int x = 0; x < masked.width(); ++x) {
            const QRgb pixel = row[x];
            if (qAlpha(pixel) <= 240)
                continue;
            const int distance
                = std::abs(qRed(pixel) - red) + std::abs(qGreen(pixel) - green) + std::abs(qBlue(pixel) - blue);
            if (distance < threshold)
                row[x] = 0;
        }
    }
    return masked.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage grayScale(const QImage& image)
{
    return mapPixels(image, [](QRgb pixel) {
        const int grey = luminance(pixel);
        return qRgba(grey, grey, grey, qAlpha(pixel));
    });
}

QImage imageTintedWithColor(const QImage& image, const QColor& color)
{
    if (!color.isValid())
        return image.copy();
    const QRgb tint = qPremultiply(color.rgba());
    return mapPixels(image, [tint](QRgb pixel) {
        // Premultiplied luminance times the premultiplied colour is the straight product premultiplied by both
        // alphas.
        const int shade = luminance(pixel) * 3;
        const auto channel = [shade](int value) { return (value * shade + 510) / 1020; };
        return qRgba(channel(qRed(tint)), channel(qGreen(tint)), channel(qBlue(tint)),
                     (qAlpha(pixel) * qAlpha(tint) + 127) / 255);
    });
}

QImage flippedImage(const QImage& image)
{
    QImage flipped = image.mirrored(false, true);
    flipped.setDevicePixelRatio(image.devicePixelRatio());
    return flipped;
}

QSizeF constrainSize(const QImage& image, const QSizeF& target)
{
    const QSizeF size = image.deviceIndependentSize();
    const double factor = fitFactor(size, target);
    return {std::round(static_cast<float>(size.width() * factor)),
            std::round(static_cast<float>(size.height() * factor))};
}

QImage imageByScalingProportionallyInSize(const QImage& image, const QSizeF& target, bool allowEnlarge)
{
    const QSizeF size = image.deviceIndependentSize();
    const QSizeF scaled = constrainSize(image, target);
    if (scaled.width() <= 0 || scaled.height() <= 0)
        return image;
    if (!allowEnlarge && (scaled.width() > size.width() || scaled.height() > size.height()))
        return image;
    const double ratio = image.devicePixelRatio();
    const QSize pixels(static_cast<int>(std::lround(scaled.width() * ratio)),
                       static_cast<int>(std::lround(scaled.height() * ratio)));
    QImage result = image.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    result.setDevicePixelRatio(ratio);
    return result;
}

QImage imageByScalingProportionallyToSize(const QImage& image, const QSizeF& target)
{
    if (image.isNull())
        return {};
    const QSizeF size = image.deviceIndependentSize();
    if (!(target.width() > 0 && target.height() > 0) || target.width() > size.width()
        || target.height() > size.height())
        return image;
    const float widthFactor = float(target.width() / size.width());
    const float heightFactor = float(target.height() / size.height());
    const float factor = std::min(widthFactor, heightFactor);
    QRectF drawn(0, 0, std::round(factor * float(size.width())), std::round(factor * float(size.height())));
    if (heightFactor > widthFactor)
        drawn.moveTop(std::round((float(target.height()) - float(drawn.height())) * 0.5f));
    else if (widthFactor > heightFactor)
        drawn.moveLeft(std::round((float(target.width()) - float(drawn.width())) * 0.5f));
    QImage result = canvas(target, image.devicePixelRatio());
    if (result.isNull())
        return image;
    QPainter painter(&result);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(drawn.toRect(), image);
    return result;
}

QImage imageByFillingSize(const QImage& image, const QSizeF& size)
{
    const QSizeF own = image.deviceIndependentSize();
    QImage result = canvas(size, image.isNull() ? 1.0 : image.devicePixelRatio());
    if (image.isNull() || result.isNull() || !(own.width() > 0 && own.height() > 0))
        return {};
    const float ratio = float(own.height() / own.width());
    const float targetRatio = float(size.height() / size.width());
    const QSizeF fill = ratio > targetRatio ? QSizeF(size.width(), size.width() * ratio)
                                            : QSizeF(size.height() / ratio, size.height());
    QPainter painter(&result);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(QPointF((size.width() - fill.width()) * 0.5, (size.height() - fill.height()) * 0.5), fill),
                      image);
    return result;
}

void drawAdjustedInRect(QPainter& painter, const QImage& image, const QRectF& destination, const QRectF& source,
                        QPainter::CompositionMode operation, qreal fraction)
{
    if (image.isNull())
        return;
    const qreal ratio = image.devicePixelRatio();
    const QRectF from = source.isEmpty() ? QRectF(image.rect())
                                         : QRectF(source.topLeft() * ratio, source.size() * ratio);
    QRectF to = destination;
    painter.save();
    if (painter.worldTransform().m22() < 0) {
        // Coordinates that run upwards would stand the picture on its head: mirror it back about the destination.
        painter.translate(0, destination.y() + destination.height());
        painter.scale(1, -1);
        to.moveTop(0);
    }
    painter.setCompositionMode(operation);
    painter.setOpacity(painter.opacity() * fraction);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(to, image, from);
    painter.restore();
}

void drawAdjustedAtPoint(QPainter& painter, const QImage& image, QPointF point, const QRectF& source,
                         QPainter::CompositionMode operation, qreal fraction)
{
    drawAdjustedInRect(painter, image, QRectF(point, image.deviceIndependentSize()), source, operation, fraction);
}

QRectF proportionalRectInRect(const QSizeF& size, const QRectF& rect, const QSizeF& maxSize)
{
    const double factor = fitFactor(size, rect.size());
    if (factor <= 0)
        return {};
    QSizeF drawn = size * factor;
    if (maxSize.width() > 0 && maxSize.height() > 0
        && (drawn.width() > maxSize.width() || drawn.height() > maxSize.height()))
        drawn *= fitFactor(drawn, maxSize);
    const QPointF origin(std::round(static_cast<float>(rect.x() + (rect.width() - drawn.width()) * 0.5)),
                         std::round(static_cast<float>(rect.y() + (rect.height() - drawn.height()) * 0.5)));
    return {origin, drawn};
}

namespace {

template <typename Picture>
void drawPictureProportionally(QPainter& painter, const Picture& picture, const QRectF& rect, const QSizeF& maxSize,
                               qreal alpha)
{
    const QRectF drawn = proportionalRectInRect(picture.deviceIndependentSize(), rect, maxSize);
    if (drawn.isEmpty())
        return;
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setOpacity(painter.opacity() * alpha);
    if constexpr (std::is_same_v<Picture, QImage>)
        painter.drawImage(drawn, picture);
    else
        painter.drawPixmap(drawn, picture, QRectF(QPointF(0, 0), picture.size()));
    painter.restore();
}

} // namespace

void drawProportionallyInRect(QPainter& painter, const QImage& image, const QRectF& rect, const QSizeF& maxSize,
                              qreal alpha)
{
    drawPictureProportionally(painter, image, rect, maxSize, alpha);
}

void drawProportionallyInRect(QPainter& painter, const QPixmap& pixmap, const QRectF& rect, const QSizeF& maxSize,
                              qreal alpha)
{
    drawPictureProportionally(painter, pixmap, rect, maxSize, alpha);
}

} // namespace differentStuff
