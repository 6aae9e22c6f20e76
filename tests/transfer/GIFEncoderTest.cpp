#include "transfer/export/PTGIFEncoder.h"

#include <QBuffer>
#include <QImageReader>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

QImage decode(const QByteArray& data)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    return QImageReader(&buffer, "gif").read().convertToFormat(QImage::Format_ARGB32);
}

// Columns of distinct colours; the last row is half transparent and one pixel just opaque enough.
QImage stripes(int colours)
{
    QImage image(colours, 4, QImage::Format_ARGB32);
    for (int x = 0; x < colours; ++x)
        for (int y = 0; y < 3; ++y)
            image.setPixel(x, y, qRgb(x % 256, (x * 7) % 256, x / 256 * 200));
    for (int x = 0; x < colours; ++x)
        image.setPixel(x, 3, qRgba(0, 0, 0, 127));
    image.setPixel(0, 3, qRgba(9, 9, 9, 128));
    return image;
}

TEST(GIFEncoderTest, UpTo255ColoursThePaletteIsExact)
{
    const QImage source = stripes(254);
    const QImage gif = decode(PTGIFEncoder::GIFData(source));
    ASSERT_EQ(gif.size(), source.size());
    for (int x = 0; x < source.width(); ++x)
        ASSERT_EQ(gif.pixel(x, 1), source.pixel(x, 1)) << x;
    EXPECT_EQ(qAlpha(gif.pixel(5, 3)), 0);
    EXPECT_EQ(gif.pixel(0, 3), qRgb(9, 9, 9));
}

TEST(GIFEncoderTest, MoreColoursAreCutCloseToTheSource)
{
    const QImage source = stripes(1000);
    const QImage gif = decode(PTGIFEncoder::GIFData(source));
    ASSERT_EQ(gif.size(), source.size());
    int worst = 0;
    for (int x = 0; x < source.width(); ++x) {
        const QRgb a = gif.pixel(x, 0), b = source.pixel(x, 0);
        worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                          std::abs(qBlue(a) - qBlue(b))});
        ASSERT_EQ(qAlpha(a), 255);
    }
    EXPECT_LT(worst, 48);
    EXPECT_EQ(qAlpha(gif.pixel(5, 3)), 0);
    EXPECT_TRUE(PTGIFEncoder::GIFData(QImage()).isEmpty());
}

} // namespace
