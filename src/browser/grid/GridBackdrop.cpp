#include "browser/grid/GridBackdrop.h"

#include <algorithm>
#include <vector>

namespace GridBackdrop {

namespace {

// One box pass over `count` premultiplied pixels `stride` apart, the running sum of 2 × radius + 1 of them;
// positions past either end take the end's pixel.
void boxPass(QRgb* pixels, int count, int stride, int radius, std::vector<QRgb>& line)
{
    line.resize(size_t(count));
    for (int i = 0; i < count; ++i)
        line[size_t(i)] = pixels[qsizetype(i) * stride];
    const auto at = [&](int i) { return line[size_t(std::clamp(i, 0, count - 1))]; };
    // The mean by a multiply and a shift: a division per channel and pixel would cost most of the blur.
    const int window = 2 * radius + 1;
    const int reciprocal = (1 << 16) / window + 1;
    const auto mean = [&](int sum) { return std::min(255, (sum * reciprocal) >> 16); };
    int sums[4] = {0, 0, 0, 0};
    for (int i = -radius; i <= radius; ++i) {
        const QRgb pixel = at(i);
        sums[0] += qAlpha(pixel);
        sums[1] += qRed(pixel);
        sums[2] += qGreen(pixel);
        sums[3] += qBlue(pixel);
    }
    for (int i = 0; i < count; ++i) {
        pixels[qsizetype(i) * stride] = qRgba(mean(sums[1]), mean(sums[2]), mean(sums[3]), mean(sums[0]));
        const QRgb in = at(i + radius + 1);
        const QRgb out = at(i - radius);
        sums[0] += qAlpha(in) - qAlpha(out);
        sums[1] += qRed(in) - qRed(out);
        sums[2] += qGreen(in) - qGreen(out);
        sums[3] += qBlue(in) - qBlue(out);
    }
}

} // namespace

QImage boxBlurred(const QImage& image, int radius)
{
    QImage result = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (result.isNull() || radius <= 0)
        return result;
    std::vector<QRgb> line;
    auto* pixels = reinterpret_cast<QRgb*>(result.bits());
    const int stride = int(result.bytesPerLine() / 4);
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < result.height(); ++y)
            boxPass(pixels + qsizetype(y) * stride, result.width(), 1, radius, line);
        for (int x = 0; x < result.width(); ++x)
            boxPass(pixels + x, result.height(), stride, radius, line);
    }
    return result;
}

QImage saturated(const QImage& image, qreal factor)
{
    QImage result = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const auto amount = float(factor);
    for (int y = 0; y < result.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            const QRgb pixel = row[x];
            const int alpha = qAlpha(pixel);
            const float luminance = 0.2126F * float(qRed(pixel)) + 0.7152F * float(qGreen(pixel)) + 0.0722F * float(qBlue(pixel));
            const auto channel = [&](int value) {
                return std::clamp(int(luminance + amount * (float(value) - luminance) + 0.5F), 0, alpha);
            };
            row[x] = qRgba(channel(qRed(pixel)), channel(qGreen(pixel)), channel(qBlue(pixel)), alpha);
        }
    }
    return result;
}

} // namespace GridBackdrop
