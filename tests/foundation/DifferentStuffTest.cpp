#include "foundation/DifferentStuff.h"
#include "foundation/DrawingAdditions.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>

#include <gtest/gtest.h>

namespace {

// An icon-like glyph with many alpha levels: anti-aliased shapes, a translucent gradient, a hole.
QImage glyph(int side = 32)
{
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(0, 0, side, 0);
    gradient.setColorAt(0, QColor(20, 40, 60, 255));
    gradient.setColorAt(1, QColor(200, 100, 0, 40));
    painter.setBrush(gradient);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QRectF(1.3, 2.7, side - 3, side - 5));
    painter.setCompositionMode(QPainter::CompositionMode_Clear);
    painter.drawEllipse(QRectF(side * 0.4, side * 0.4, side * 0.2, side * 0.2));
    return image;
}

QImage sized(int width, int height, qreal ratio = 1.0)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::black);
    image.setDevicePixelRatio(ratio);
    return image;
}

QImage transparentCanvas(QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

} // namespace

TEST(TintTest, KeepsEveryAlphaByteAndPaintsTheColour)
{
    const QImage source = glyph();
    for (const QColor& colour : {QColor(255, 0, 0), QColor(10, 200, 90, 128), QColor(255, 255, 255, 0)}) {
        for (const QImage& result : {differentStuff::tintWithColor(source, colour),
                                     DrawingAdditions::colorizeAlphaWithColor(source, colour)}) {
            ASSERT_EQ(result.size(), source.size());
            for (int y = 0; y < source.height(); ++y) {
                for (int x = 0; x < source.width(); ++x) {
                    ASSERT_EQ(qAlpha(result.pixel(x, y)), qAlpha(source.pixel(x, y))) << x << "," << y;
                }
            }
        }
    }
    // An opaque colour replaces the colour of every drawn pixel.
    const QImage red = differentStuff::tintWithColor(source, Qt::red);
    const QColor inner = red.pixelColor(8, 16);
    EXPECT_GT(inner.alpha(), 150);
    EXPECT_EQ(inner.rgb(), qRgb(255, 0, 0));
    const QColor edge = red.pixelColor(16, 2);
    EXPECT_GT(edge.alpha(), 0);
    EXPECT_LT(edge.alpha(), 255);
    EXPECT_EQ(edge.red(), 255);
    EXPECT_EQ(edge.green(), 0);
    EXPECT_EQ(red.pixel(0, 0), 0u) << "transparent stays transparent";
}

TEST(FlipTest, MirrorsTopToBottomAndKeepsTheRatio)
{
    QImage image = sized(4, 3, 2.0);
    image.setPixel(1, 0, qRgb(255, 0, 0));
    const QImage flipped = differentStuff::flippedImage(image);
    EXPECT_EQ(flipped.pixel(1, 2), qRgb(255, 0, 0));
    EXPECT_EQ(flipped.pixel(1, 0), qRgb(0, 0, 0));
    EXPECT_EQ(flipped.devicePixelRatio(), 2.0);
}

TEST(ConstrainSizeTest, FitsWithTheAspectRatioKept)
{
    const struct {
        QSize image;
        qreal ratio;
        QSizeF target;
        QSizeF expected;
    } cases[] = {
        {{3, 2}, 1, {100, 100}, {100, 67}},    // 66.67 rounds up; may grow
        {{1000, 500}, 1, {64, 64}, {64, 32}},
        {{100, 50}, 1, {300, 300}, {300, 150}},
        {{64, 64}, 2, {64, 64}, {64, 64}},      // 32 points grow to 64
        {{10, 30}, 1, {20, 20}, {7, 20}},       // 6.67
        {{100, 50}, 1, {0, 100}, {0, 0}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(differentStuff::constrainSize(sized(c.image.width(), c.image.height(), c.ratio), c.target),
                  c.expected)
            << c.image.width() << "x" << c.image.height() << " into " << c.target.width() << "x" << c.target.height();
    }
    EXPECT_EQ(differentStuff::constrainSize(QImage(), QSizeF(10, 10)), QSizeF(0, 0));
}

TEST(ScaleProportionallyTest, ShrinksAlwaysAndGrowsOnlyWhenAllowed)
{
    const QImage wide = sized(100, 50);
    const struct {
        QSizeF target;
        bool allowEnlarge;
        QSize expected;
        bool same; // the very image comes back
    } cases[] = {
        {{300, 300}, false, {100, 50}, true},
        {{300, 300}, true, {300, 150}, false},
        {{64, 64}, false, {64, 32}, false},
        {{0, 100}, true, {100, 50}, true},
        {{0.8, 100}, true, {100, 50}, true}, // the height would round to 0
        {{100, 1}, false, {2, 1}, false},
    };
    for (const auto& c : cases) {
        const QImage result = differentStuff::imageByScalingProportionallyInSize(wide, c.target, c.allowEnlarge);
        if (c.same) {
            EXPECT_EQ(result.cacheKey(), wide.cacheKey()) << c.target.width() << "x" << c.target.height();
        } else {
            EXPECT_EQ(result.size(), c.expected) << c.target.width() << "x" << c.target.height();
        }
    }
    const QImage hiDpi = differentStuff::imageByScalingProportionallyInSize(sized(128, 64, 2.0), {32, 32});
    EXPECT_EQ(hiDpi.deviceIndependentSize(), QSizeF(32, 16));
    EXPECT_EQ(hiDpi.size(), QSize(64, 32)) << "stays sharp on its own ratio";
}

TEST(DrawProportionallyTest, CentresAndKeepsTheAspectRatioInsideTheMaximum)
{
    const struct {
        QSizeF maxSize;
        QRect expected;
    } cases[] = {
        {{0, 0}, {0, 25, 100, 50}},
        {{8, 8}, {46, 48, 8, 4}},       // fitted inside 8 x 8, not stretched to it
        {{200, 200}, {0, 25, 100, 50}}, // a maximum that is not reached changes nothing
        {{8, 0}, {0, 25, 100, 50}},     // one zero side sets no limit
    };
    for (const auto& c : cases) {
        QImage canvas = transparentCanvas(QSize(100, 100));
        QPainter painter(&canvas);
        differentStuff::drawProportionallyInRect(painter, sized(20, 10), QRectF(0, 0, 100, 100), c.maxSize);
        painter.end();
        QRect painted;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x)
                if (qAlpha(canvas.pixel(x, y)) == 255)
                    painted |= QRect(x, y, 1, 1);
        EXPECT_EQ(painted, c.expected) << c.maxSize.width() << "x" << c.maxSize.height();
    }

    QImage faded = transparentCanvas(QSize(10, 10));
    QPainter painter(&faded);
    differentStuff::drawProportionallyInRect(painter, sized(10, 10), QRectF(0, 0, 10, 10), {}, 0.5);
    painter.end();
    EXPECT_NEAR(qAlpha(faded.pixel(5, 5)), 128, 1);
}

TEST(ImageWithNameTest, PicksTheVariantForTheScale)
{
    const QString png = QStringLiteral("png");
    const QString glyphName = QStringLiteral("settings-glyph");
    const QImage plain = differentStuff::imageWithName(glyphName, png, true, 1.0);
    EXPECT_EQ(plain.size(), QSize(16, 16));
    EXPECT_EQ(plain.devicePixelRatio(), 1.0);

    for (const double scale : {2.0, 1.5}) {
        const QImage sharp = differentStuff::imageWithName(glyphName, png, true, scale);
        EXPECT_EQ(sharp.size(), QSize(32, 32)) << scale;
        EXPECT_EQ(sharp.deviceIndependentSize(), QSizeF(16, 16)) << scale;
    }
    EXPECT_EQ(differentStuff::imageWithName(glyphName, png, false, 2.0).size(), QSize(16, 16));

    // Without a variant for the scale the plain picture serves, rather than no picture at all.
    EXPECT_EQ(differentStuff::imageWithName(QStringLiteral("plain-glyph"), png, true, 2.0).size(), QSize(16, 16));
    EXPECT_TRUE(differentStuff::imageWithName(QStringLiteral("missing"), png, true, 2.0).isNull());
    EXPECT_TRUE(differentStuff::imageWithName(glyphName, QStringLiteral("jpg"), false, 1.0).isNull());

    EXPECT_FALSE(differentStuff::imageWithName(glyphName, png, true, QGuiApplication::primaryScreen()).isNull());
}

TEST(ShadowedDrawingTest, ColoursTheShapeThroughTheBlock)
{
    QImage shape = transparentCanvas(QSize(10, 10));
    {
        QPainter painter(&shape);
        painter.fillRect(QRect(0, 0, 10, 5), Qt::black); // top half only
    }
    QImage canvas = transparentCanvas(QSize(40, 40));
    QPainter painter(&canvas);
    bool called = false;
    PTDrawAtPointWithShadows(
        painter, shape, QPointF(10, 10),
        [&](QPainter& content) {
            called = true;
            content.fillRect(QRectF(-5, -5, 30, 30), QColor(0x59, 0x59, 0x59));
        },
        QColor(0, 0, 0), QPointF(0, -2), 0, QColor(255, 255, 255), QPointF(0, -1), 0,
        QGuiApplication::primaryScreen());
    painter.end();
    EXPECT_TRUE(called);
    EXPECT_EQ(canvas.pixel(10, 10), qRgb(255, 255, 255)) << "inner shadow along the top inside edge";
    EXPECT_EQ(canvas.pixel(15, 12), qRgb(0x59, 0x59, 0x59)) << "the block's colour inside the shape";
    EXPECT_EQ(canvas.pixel(15, 15), qRgb(0, 0, 0)) << "drop shadow two points below the shape";
    EXPECT_EQ(canvas.pixel(15, 16), qRgb(0, 0, 0));
    EXPECT_EQ(qAlpha(canvas.pixel(15, 17)), 0);
    EXPECT_EQ(qAlpha(canvas.pixel(9, 12)), 0) << "nothing beside the shape";
}

TEST(ShadowedDrawingTest, NullScreenDrawsNothing)
{
    QImage canvas = transparentCanvas(QSize(20, 20));
    QPainter painter(&canvas);
    bool called = false;
    PTDrawAtPointWithShadows(painter, sized(10, 10), QPointF(0, 0), [&](QPainter&) { called = true; }, Qt::black,
                             QPointF(0, -1), 0, Qt::black, QPointF(0, -1), 3, nullptr);
    painter.end();
    EXPECT_FALSE(called);
    EXPECT_EQ(canvas.pixel(5, 5), 0u);
}

namespace {

// Rows of colours from the top, each `rows` pixels high, `width` wide.
QImage stripesDown(const QList<QRgb>& colours, int width = 10, int rows = 5)
{
    QImage image(width, rows * int(colours.size()), QImage::Format_ARGB32);
    for (int i = 0; i < colours.size(); ++i)
        for (int y = i * rows; y < (i + 1) * rows; ++y)
            for (int x = 0; x < width; ++x)
                image.setPixel(x, y, colours[i]);
    return image;
}

QRgb straight(const QImage& image, int x, int y)
{
    return image.convertToFormat(QImage::Format_ARGB32).pixel(x, y);
}

} // namespace

TEST(ImageColoursTest, GreyTintAndMaskPerPixel)
{
    const QImage source = stripesDown({qRgba(255, 0, 0, 255), qRgba(0, 255, 0, 128), qRgba(255, 255, 255, 255),
                                       qRgba(0, 0, 0, 0), qRgba(250, 10, 10, 255), qRgba(250, 10, 10, 200)},
                                      4, 1);
    const QImage grey = differentStuff::grayScale(source);
    const QImage tinted = differentStuff::imageTintedWithColor(source, Qt::red);
    const QImage masked = differentStuff::maskColor(source, QColor(255, 0, 0), 30);
    const struct {
        int row;
        QRgb grey;
        QRgb tinted;
        QRgb masked;
    } rows[] = {
        // Rec. 709 luminance, upright (the red row stays on top); tints keep each alpha; only opaque colours
        // close to the mask colour vanish.
        {0, qRgba(54, 54, 54, 255), qRgba(41, 0, 0, 255), 0},
        {1, qRgba(182, 182, 182, 128), qRgba(137, 0, 0, 128), qRgba(0, 255, 0, 128)},
        {2, qRgba(255, 255, 255, 255), qRgba(191, 0, 0, 255), qRgba(255, 255, 255, 255)},
        {3, 0, 0, 0},
        {4, qRgba(61, 61, 61, 255), qRgba(46, 0, 0, 255), 0},
        {5, qRgba(61, 61, 61, 200), qRgba(46, 0, 0, 200), qRgba(250, 10, 10, 200)},
    };
    for (const auto& r : rows) {
        const auto near = [](QRgb a, QRgb b) {
            return std::abs(qRed(a) - qRed(b)) <= 1 && std::abs(qGreen(a) - qGreen(b)) <= 1
                && std::abs(qBlue(a) - qBlue(b)) <= 1 && qAlpha(a) == qAlpha(b);
        };
        EXPECT_PRED2(near, straight(grey, 1, r.row), r.grey) << "grey, row " << r.row;
        EXPECT_PRED2(near, straight(tinted, 1, r.row), r.tinted) << "tint, row " << r.row;
        EXPECT_PRED2(near, straight(masked, 1, r.row), r.masked) << "mask, row " << r.row;
    }
    EXPECT_EQ(differentStuff::imageTintedWithColor(source, QColor()), source) << "no colour, a plain copy";
    EXPECT_EQ(qAlpha(straight(differentStuff::imageTintedWithColor(source, QColor(0, 0, 255, 128)), 1, 0)), 128);
}

TEST(ImageScalingTest, CanvasesOfTheTargetSize)
{
    QImage wide(200, 100, QImage::Format_ARGB32_Premultiplied);
    wide.fill(Qt::black);
    const QImage fitted = differentStuff::imageByScalingProportionallyToSize(wide, QSizeF(50, 50));
    ASSERT_EQ(fitted.size(), QSize(50, 50));
    EXPECT_EQ(qAlpha(fitted.pixel(25, 12)), 0) << "centred: 12.5 rounds to 13";
    EXPECT_EQ(qAlpha(fitted.pixel(25, 13)), 255);
    EXPECT_EQ(qAlpha(fitted.pixel(25, 37)), 255);
    EXPECT_EQ(qAlpha(fitted.pixel(25, 38)), 0);
    for (const QSizeF target : {QSizeF(300, 50), QSizeF(50, 300), QSizeF(0, 50), QSizeF(qQNaN(), 50)})
        EXPECT_EQ(differentStuff::imageByScalingProportionallyToSize(wide, target).cacheKey(), wide.cacheKey())
            << target.width() << "x" << target.height();
    EXPECT_TRUE(differentStuff::imageByScalingProportionallyToSize(QImage(), QSizeF(10, 10)).isNull());

    // Four vertical stripes, 50 wide: covering a square shows the middle two, the overflow cut on both sides.
    QImage stripes(200, 100, QImage::Format_ARGB32_Premultiplied);
    const QRgb colours[] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(255, 255, 0)};
    for (int x = 0; x < 200; ++x)
        for (int y = 0; y < 100; ++y)
            stripes.setPixel(x, y, colours[x / 50]);
    const struct {
        QImage image;
        QSizeF size;
        QPoint first;
        QRgb firstColour;
        QPoint last;
        QRgb lastColour;
    } fills[] = {
        {stripes, {50, 50}, {1, 25}, colours[1], {48, 25}, colours[2]},
        {stripes.transformed(QTransform().rotate(90)), {50, 50}, {25, 1}, colours[1], {25, 48}, colours[2]},
        {stripes, {400, 100}, {1, 1}, colours[0], {398, 98}, colours[3]},
    };
    for (const auto& f : fills) {
        const QImage filled = differentStuff::imageByFillingSize(f.image, f.size);
        ASSERT_EQ(filled.size(), f.size.toSize());
        EXPECT_EQ(filled.pixel(f.first), f.firstColour) << f.size.width();
        EXPECT_EQ(filled.pixel(f.last), f.lastColour) << f.size.width();
    }
    EXPECT_TRUE(differentStuff::imageByFillingSize(stripes, QSizeF(0, 10)).isNull());
    EXPECT_TRUE(differentStuff::imageByFillingSize(QImage(), QSizeF(10, 10)).isNull());
}

TEST(DrawAdjustedTest, UprightWhateverTheCoordinates)
{
    const QImage picture = stripesDown({qRgb(255, 0, 0), qRgb(0, 0, 255)});
    const QRgb red = qRgb(255, 0, 0);
    const QRgb blue = qRgb(0, 0, 255);
    const struct {
        const char* name;
        QTransform transform;
        QRectF source;
        QRgb top;
        QRgb bottom;
    } cases[] = {
        {"downward coordinates", {}, {}, red, blue},
        {"upward coordinates", QTransform::fromTranslate(0, 20).scale(1, -1), {}, red, blue},
        {"lower half as the source", {}, QRectF(0, 5, 10, 5), blue, blue},
    };
    for (const auto& c : cases) {
        QImage canvas = transparentCanvas(QSize(20, 20));
        QPainter painter(&canvas);
        painter.setTransform(c.transform);
        differentStuff::drawAdjustedInRect(painter, picture, QRectF(0, 0, 10, 10), c.source,
                                           QPainter::CompositionMode_SourceOver, 1.0);
        painter.end();
        const int top = c.transform.m22() < 0 ? 10 : 0;
        EXPECT_EQ(canvas.pixel(5, top + 1), c.top) << c.name;
        EXPECT_EQ(canvas.pixel(5, top + 8), c.bottom) << c.name;
    }

    QImage canvas = transparentCanvas(QSize(20, 20));
    QPainter painter(&canvas);
    differentStuff::drawAdjustedAtPoint(painter, picture, QPointF(5, 5), QRectF(), QPainter::CompositionMode_SourceOver,
                                        0.5);
    painter.end();
    EXPECT_NEAR(qAlpha(canvas.pixel(6, 6)), 128, 1);
    EXPECT_GT(qRed(canvas.pixel(6, 6)), 0);
    EXPECT_GT(qBlue(canvas.pixel(6, 14)), 0);
    EXPECT_EQ(canvas.pixel(4, 4), 0u);
}

TEST(ShadowedDrawingTest, ImageWithDrawBlockKeepsTheImagesSize)
{
    QImage shape = transparentCanvas(QSize(10, 10));
    {
        QPainter painter(&shape);
        painter.fillRect(QRect(0, 0, 10, 5), Qt::black);
    }
    const QImage drawn = DrawingAdditions::imageWithDrawBlock(
        shape, [](QPainter& content) { content.fillRect(QRectF(0, 0, 10, 10), Qt::red); }, pt::Shadow{Qt::transparent},
        pt::Shadow{Qt::transparent});
    ASSERT_EQ(drawn.deviceIndependentSize(), QSizeF(10, 10));
    const qreal scale = drawn.devicePixelRatio();
    EXPECT_EQ(drawn.pixel(int(5 * scale), int(2 * scale)), qRgb(255, 0, 0));
    EXPECT_EQ(qAlpha(drawn.pixel(int(5 * scale), int(7 * scale))), 0) << "the shape's alpha masks the block";
}
