#include "platform/graphics/ShadowPainter.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>

namespace {

QImage square(int side, qreal ratio)
{
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    image.setDevicePixelRatio(ratio);
    return image;
}

QImage transparentCanvas(int side)
{
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

} // namespace

TEST(ShadowPainterTest, DropShadowFallsByItsOffsetWithYUp)
{
    QImage canvas = transparentCanvas(40);
    QPainter painter(&canvas);
    pt::ShadowPainter::drawShadowOfImage(painter, square(10, 1.0), QPointF(10, 10),
                                         {QColor(255, 0, 0), QPointF(2, -3), 0});
    painter.end();
    EXPECT_EQ(canvas.pixel(12, 13), qRgb(255, 0, 0)) << "two right, three down";
    EXPECT_EQ(canvas.pixel(21, 22), qRgb(255, 0, 0));
    EXPECT_EQ(qAlpha(canvas.pixel(11, 13)), 0);
    EXPECT_EQ(qAlpha(canvas.pixel(12, 12)), 0);
    EXPECT_EQ(qAlpha(canvas.pixel(22, 22)), 0);
}

TEST(ShadowPainterTest, HighDensityImagesCastShadowsInPoints)
{
    // A 20-pixel image at ratio 2 is 10 points; its shadow, offset by one point, moves two device pixels.
    QImage canvas(80, 80, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    canvas.setDevicePixelRatio(2.0);
    QPainter painter(&canvas);
    pt::ShadowPainter::drawShadowOfImage(painter, square(20, 2.0), QPointF(5, 5), {Qt::black, QPointF(1, 0), 0});
    painter.end();
    EXPECT_EQ(qAlpha(canvas.pixel(11, 10)), 0);
    EXPECT_EQ(qAlpha(canvas.pixel(12, 10)), 255);
    EXPECT_EQ(qAlpha(canvas.pixel(31, 29)), 255);
    EXPECT_EQ(qAlpha(canvas.pixel(32, 29)), 0);
}

TEST(ShadowPainterTest, ShadowImageGrowsByTheBlurAndKeepsItsWeight)
{
    QPointF origin;
    const QImage shadow = pt::ShadowPainter::shadowImage(square(10, 1.0), {QColor(0, 0, 0, 128), QPointF(0, 1), 4},
                                                         1.0, &origin);
    // Standard deviation 2: the blur reaches 6 pixels beyond each edge.
    EXPECT_EQ(shadow.size(), QSize(22, 22));
    EXPECT_EQ(origin, QPointF(-6, -7));
    double weight = 0;
    for (int y = 0; y < shadow.height(); ++y)
        for (int x = 0; x < shadow.width(); ++x)
            weight += qAlpha(shadow.pixel(x, y));
    EXPECT_NEAR(weight, 100 * 128, 100 * 128 * 0.01) << "blurring spreads the alpha without losing it";
    // Pixel 11 lies 5.5 and 4.5 pixels inside the square's edges: the kernel's taps at 5 and 6 pixels on one
    // side and at 6 on the other fall outside, so it keeps 0.987^2 of the colour's alpha.
    EXPECT_NEAR(qAlpha(shadow.pixel(11, 11)), 124.6, 1.0);
    EXPECT_EQ(shadow.pixel(0, 0), 0u);
}

TEST(ShadowPainterTest, InnerShadowIsMaskedByTheShape)
{
    // A disc as the shape: the inner shadow never shows where the disc is transparent.
    QImage shape = transparentCanvas(30);
    {
        QPainter painter(&shape);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(Qt::black);
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(QRectF(5, 5, 20, 20));
    }
    QImage target = transparentCanvas(30);
    pt::ShadowPainter::drawInnerShadow(target, shape, {Qt::black, QPointF(0, -2), 1}, 1.0);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x)
            EXPECT_LE(qAlpha(target.pixel(x, y)), qAlpha(shape.pixel(x, y))) << x << "," << y;
    EXPECT_GT(qAlpha(target.pixel(15, 6)), 200) << "dark under the top edge";
    EXPECT_EQ(qAlpha(target.pixel(15, 23)), 0) << "clear above the bottom edge";
}
