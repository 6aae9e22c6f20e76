#include "platform/graphics/ShadowPainter.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <vector>

namespace pt {

namespace {

// Pixels of a shadow buffer larger than this are not worth blurring: the shape is then drawn without shadow.
constexpr qint64 MaximumShadowPixels = qint64(1) << 26;

struct AlphaBuffer {
    int width = 0;
    int height = 0;
    std::vector<float> alpha;

    float* row(int y) { return alpha.data() + size_t(y) * size_t(width); }
    const float* row(int y) const { return alpha.data() + size_t(y) * size_t(width); }
};

std::vector<float> gaussianKernel(qreal sigma)
{
    const int reach = int(std::ceil(3 * sigma));
    std::vector<float> kernel(static_cast<size_t>(2 * reach + 1));
    double sum = 0;
    for (int i = -reach; i <= reach; ++i) {
        const double weight = std::exp(-(i * i) / (2 * sigma * sigma));
        kernel[size_t(i + reach)] = float(weight);
        sum += weight;
    }
    for (float& weight : kernel)
        weight = float(weight / sum);
    return kernel;
}

// A separable Gaussian blur; outside the buffer counts as transparent. Both passes add whole shifted rows, which
// keeps memory access sequential and lets the compiler vectorise.
void blur(AlphaBuffer& buffer, qreal sigma)
{
    const std::vector<float> kernel = gaussianKernel(sigma);
    const int reach = int(kernel.size() / 2);
    const int width = buffer.width;
    AlphaBuffer across{width, buffer.height, std::vector<float>(buffer.alpha.size())};
    for (int y = 0; y < buffer.height; ++y) {
        const float* in = buffer.row(y);
        float* out = across.row(y);
        for (int j = 0; j < int(kernel.size()); ++j) {
            const int shift = j - reach;
            const float weight = kernel[size_t(j)];
            const int to = std::min(width, width - shift);
            for (int x = std::max(0, -shift); x < to; ++x)
                out[x] += weight * in[x + shift];
        }
    }
    for (int y = 0; y < buffer.height; ++y) {
        float* out = buffer.row(y);
        std::fill(out, out + width, 0.0f);
        const int from = std::max(0, y - reach);
        const int to = std::min(buffer.height - 1, y + reach);
        for (int j = from; j <= to; ++j) {
            const float weight = kernel[size_t(j - y + reach)];
            const float* in = across.row(j);
            for (int x = 0; x < width; ++x)
                out[x] += weight * in[x];
        }
    }
}

QPointF deviceOffset(const Shadow& shadow, qreal scale)
{
    return {shadow.offset.x() * scale, -shadow.offset.y() * scale};
}

// How far, in device pixels, a shape's edge can influence its shadow: the blur's reach plus the offset.
int shadowReach(const Shadow& shadow, qreal scale)
{
    const QPointF offset = deviceOffset(shadow, scale);
    return int(std::ceil(3 * std::max<qreal>(0, shadow.blurRadius) * scale / 2
                         + std::max(std::abs(offset.x()), std::abs(offset.y()))))
        + 1;
}

} // namespace

QImage ShadowPainter::shadowImage(const QImage& shape, const Shadow& shadow, qreal scale, QPointF* origin)
{
    const qreal sigma = std::max<qreal>(0, shadow.blurRadius) * scale / 2;
    const int margin = sigma > 0 ? int(std::ceil(3 * sigma)) : 0;
    const QImage source = shape.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    AlphaBuffer buffer{source.width() + 2 * margin, source.height() + 2 * margin, {}};
    if (source.isNull() || qint64(buffer.width) * buffer.height > MaximumShadowPixels)
        return {};
    buffer.alpha.assign(size_t(buffer.width) * size_t(buffer.height), 0.0f);
    for (int y = 0; y < source.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        float* out = buffer.row(y + margin) + margin;
        for (int x = 0; x < source.width(); ++x)
            out[x] = float(qAlpha(in[x]));
    }
    if (sigma > 0)
        blur(buffer, sigma);

    // The colour premultiplied at every alpha it can take; each pixel's alpha is its blurred share of the
    // colour's alpha.
    const QRgb color = shadow.color.rgba();
    QRgb shades[256];
    for (int alpha = 0; alpha < 256; ++alpha) {
        const auto channel = [alpha](int value) { return (value * alpha + 127) / 255; };
        shades[alpha] = qRgba(channel(qRed(color)), channel(qGreen(color)), channel(qBlue(color)), alpha);
    }
    const float share = float(qAlpha(color)) / 255.0f;
    QImage result(buffer.width, buffer.height, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < buffer.height; ++y) {
        const float* in = buffer.row(y);
        auto* out = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < buffer.width; ++x)
            out[x] = shades[std::clamp(int(in[x] * share + 0.5f), 0, int(qAlpha(color)))];
    }
    if (origin)
        *origin = QPointF(-margin, -margin) + deviceOffset(shadow, scale);
    return result;
}

QImage ShadowPainter::blurredImage(const QImage& image, qreal sigma)
{
    QImage result = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (result.isNull() || !(sigma > 0) || qint64(result.width()) * result.height() > MaximumShadowPixels)
        return result;
    // A wider blur than the image only spreads the same mean further: no need for a longer kernel.
    sigma = std::min(sigma, qreal(std::max(result.width(), result.height())));
    AlphaBuffer channel{result.width(), result.height(), {}};
    // Alpha first, so that each colour channel can be held to it against rounding.
    for (const int shift : {24, 16, 8, 0}) {
        channel.alpha.assign(size_t(channel.width) * size_t(channel.height), 0.0f);
        for (int y = 0; y < result.height(); ++y) {
            const auto* in = reinterpret_cast<const QRgb*>(result.constScanLine(y));
            float* out = channel.row(y);
            for (int x = 0; x < result.width(); ++x)
                out[x] = float((in[x] >> shift) & 0xFF);
        }
        blur(channel, sigma);
        for (int y = 0; y < result.height(); ++y) {
            auto* out = reinterpret_cast<QRgb*>(result.scanLine(y));
            const float* in = channel.row(y);
            for (int x = 0; x < result.width(); ++x) {
                const int limit = shift == 24 ? 255 : qAlpha(out[x]);
                const auto value = QRgb(std::clamp(int(in[x] + 0.5f), 0, limit));
                out[x] = (out[x] & ~(QRgb(0xFF) << shift)) | (value << shift);
            }
        }
    }
    return result;
}

void ShadowPainter::drawShadowOfImage(QPainter& painter, const QImage& image, QPointF topLeft, const Shadow& shadow)
{
    if (image.isNull() || shadow.color.alpha() == 0)
        return;
    const qreal scale = image.devicePixelRatio();
    QPointF origin;
    QImage shadowPixels = shadowImage(image, shadow, scale, &origin);
    shadowPixels.setDevicePixelRatio(scale);
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.drawImage(topLeft + origin / scale, shadowPixels);
    painter.restore();
}

void ShadowPainter::drawInnerShadow(QImage& target, const QImage& shape, const Shadow& shadow, qreal scale)
{
    if (shadow.color.alpha() == 0 || shape.isNull())
        return;
    // Composed pixel for pixel: the device pixel ratios only matter when the result lands on the target.
    QImage mask = shape;
    mask.setDevicePixelRatio(1);
    // The outside of the shape, far enough beyond its edges that neither blur nor offset reaches the end.
    const int reach = shadowReach(shadow, scale);
    QImage outside(mask.width() + 2 * reach, mask.height() + 2 * reach, QImage::Format_ARGB32_Premultiplied);
    if (outside.isNull())
        return;
    outside.fill(Qt::black);
    {
        QPainter painter(&outside);
        painter.setCompositionMode(QPainter::CompositionMode_DestinationOut);
        painter.drawImage(reach, reach, mask);
    }

    QPointF origin;
    const QImage cast = shadowImage(outside, shadow, scale, &origin);
    QImage inside(target.size(), QImage::Format_ARGB32_Premultiplied);
    inside.fill(Qt::transparent);
    {
        QPainter painter(&inside);
        painter.drawImage(origin - QPointF(reach, reach), cast);
        painter.setCompositionMode(QPainter::CompositionMode_DestinationIn);
        painter.drawImage(0, 0, mask);
    }
    inside.setDevicePixelRatio(target.devicePixelRatio());
    QPainter painter(&target);
    painter.drawImage(0, 0, inside);
}

void ShadowPainter::fillInnerShadow(QPainter& painter, const QPainterPath& path, const Shadow& shadow)
{
    if (path.isEmpty() || shadow.color.alpha() == 0 || !painter.isActive())
        return;
    const QPaintDevice* device = painter.device();
    const qreal scale = device->devicePixelRatioF();
    // Work in device pixels, where the shadow's offset and blur are measured.
    const QPainterPath devicePath = painter.combinedTransform().map(path);
    // Only what can reach the device is worked on: a shape cut off this far beyond the device's edges casts no
    // shadow onto it.
    const int reach = shadowReach(shadow, scale);
    const QSizeF deviceSize = QSizeF(device->width(), device->height()) * scale;
    const QRect visible = QRectF(QPointF(0, 0), deviceSize).toAlignedRect().adjusted(-reach, -reach, reach, reach);
    const QRect bounds = devicePath.boundingRect().toAlignedRect() & visible;
    if (bounds.isEmpty())
        return;
    QImage shape(bounds.size(), QImage::Format_ARGB32_Premultiplied);
    if (shape.isNull())
        return;
    shape.fill(Qt::transparent);
    {
        QPainter shapePainter(&shape);
        shapePainter.setRenderHint(QPainter::Antialiasing);
        shapePainter.translate(-bounds.topLeft());
        shapePainter.fillPath(devicePath, Qt::black);
    }
    QImage inside(bounds.size(), QImage::Format_ARGB32_Premultiplied);
    inside.fill(Qt::transparent);
    drawInnerShadow(inside, shape, shadow, scale);
    inside.setDevicePixelRatio(scale);

    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.resetTransform();
    painter.drawImage(QPointF(bounds.topLeft()) / scale, inside);
    painter.restore();
}

} // namespace pt
