#include "foundation/DifferentStuff.h"

#include "foundation/ScreenAdditions.h"

#include <QColor>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <cmath>

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

void drawProportionallyInRect(QPainter& painter, const QImage& image, const QRectF& rect, const QSizeF& maxSize,
                              qreal alpha)
{
    const QSizeF size = image.deviceIndependentSize();
    const double factor = fitFactor(size, rect.size());
    if (factor <= 0)
        return;
    QSizeF drawn = size * factor;
    if (maxSize.width() > 0 && maxSize.height() > 0
        && (drawn.width() > maxSize.width() || drawn.height() > maxSize.height()))
        drawn *= fitFactor(drawn, maxSize);
    const QPointF origin(std::round(static_cast<float>(rect.x() + (rect.width() - drawn.width()) * 0.5)),
                         std::round(static_cast<float>(rect.y() + (rect.height() - drawn.height()) * 0.5)));
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setOpacity(painter.opacity() * alpha);
    painter.drawImage(QRectF(origin, drawn), image);
    painter.restore();
}

} // namespace differentStuff
