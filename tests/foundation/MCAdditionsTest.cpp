#include "foundation/BezierPathAdditions.h"
#include "foundation/MCAdditions.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

namespace {

QImage canvas(QSize size = QSize(100, 100), qreal ratio = 1.0)
{
    QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    return image;
}

QImage filled(const QPainterPath& path, QSize size = QSize(100, 100))
{
    QImage image = canvas(size);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(path, Qt::black);
    return image;
}

int largestAlphaDifference(const QImage& a, const QImage& b)
{
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            worst = std::max(worst, std::abs(qAlpha(a.pixel(x, y)) - qAlpha(b.pixel(x, y))));
    return worst;
}

int alphaAt(const QImage& image, int x, int y)
{
    return qAlpha(image.pixel(x, y));
}

} // namespace

TEST(RoundRectTest, UniformRadiusDrawsLikeQtsRoundedRectangle)
{
    const QRectF rect(10.5, 20, 70, 45);
    QPainterPath reference;
    reference.addRoundedRect(rect, 12, 12);
    EXPECT_LE(largestAlphaDifference(filled(MCAdditions::bezierPathWithRoundRect(rect, 12)), filled(reference)), 3);
}

TEST(RoundRectTest, RadiusIsLimitedToHalfTheSmallerSide)
{
    const QRectF rect(0, 0, 100, 20);
    EXPECT_EQ(MCAdditions::bezierPathWithRoundRect(rect, 50), MCAdditions::bezierPathWithRoundRect(rect, 10));
    // Per-corner radii too, so the arcs cannot run past their edges.
    EXPECT_EQ(MCAdditions::bezierPathWithRoundRect(rect, 40, 0, 0, 0),
              MCAdditions::bezierPathWithRoundRect(rect, 10, 0, 0, 0));
    EXPECT_EQ(MCAdditions::bezierPathWithRoundRect(rect, 50).boundingRect(), rect);
}

TEST(RoundRectTest, PlainAndEmptyRectangles)
{
    const QRectF rect(5, 5, 30, 20);
    for (const qreal radius : {0.0, -4.0}) {
        const QPainterPath path = MCAdditions::bezierPathWithRoundRect(rect, radius);
        EXPECT_EQ(path.boundingRect(), rect);
        EXPECT_TRUE(path.contains(QPointF(5.1, 5.1))) << "square corner";
    }
    EXPECT_TRUE(MCAdditions::bezierPathWithRoundRect(QRectF(5, 5, 0, 20), 3, 3, 3, 3).isEmpty());
    EXPECT_TRUE(MCAdditions::bezierPathWithRoundRect(QRectF(5, 5, 10, 0), 3).isEmpty());
    EXPECT_EQ(MCAdditions::bezierPathWithRoundRect(rect, 3).fillRule(), Qt::WindingFill);
}

TEST(RoundRectTest, CornersAreNamedAsTheyLookOnScreen)
{
    // Only the top-left corner is round: on screen that is the smallest x and the smallest y.
    const QRectF rect(0, 0, 40, 30);
    const QPainterPath path = MCAdditions::bezierPathWithRoundRect(rect, 10, 0, -3, 0);
    const QPainterPath::Element start = path.elementAt(0);
    EXPECT_TRUE(start.isMoveTo());
    EXPECT_EQ(QPointF(start), QPointF(20, 0)) << "starts mid-top";

    const QImage image = filled(path, QSize(40, 30));
    EXPECT_EQ(alphaAt(image, 0, 0), 0) << "top-left rounded";
    EXPECT_EQ(alphaAt(image, 39, 0), 255) << "top-right square";
    EXPECT_EQ(alphaAt(image, 0, 29), 255) << "bottom-left square (negative radius)";
    EXPECT_EQ(alphaAt(image, 39, 29), 255) << "bottom-right square";

    // The outline runs counter-clockwise on screen: from mid-top towards the left edge first.
    const QPointF second = path.pointAtPercent(0.05);
    EXPECT_LT(second.x(), 20);
}

TEST(StrokeInsideTest, TheWholeLineLiesInsideThePath)
{
    const QPainterPath path = MCAdditions::bezierPathWithRoundRect(QRectF(20, 20, 60, 40), 8);
    QImage image = canvas();
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPen pen(QColor(255, 0, 0), 2);
    painter.setPen(pen);
    MCAdditions::strokeInside(painter, path);
    EXPECT_EQ(painter.pen(), pen) << "the caller's pen is untouched";
    painter.end();

    // Pixels wholly outside the path stay empty; inside, only a band of the pen's width is painted.
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (!path.intersects(QRectF(x, y, 1, 1))) {
                EXPECT_EQ(alphaAt(image, x, y), 0) << x << "," << y;
            }
        }
    }
    EXPECT_EQ(image.pixel(50, 20), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(50, 21), qRgb(255, 0, 0));
    EXPECT_EQ(alphaAt(image, 50, 22), 0) << "two points wide, no more";
    EXPECT_EQ(image.pixel(20, 40), qRgb(255, 0, 0));
    EXPECT_EQ(alphaAt(image, 22, 40), 0);
}

TEST(StrokeInsideTest, ClipsToTheGivenRectangleAndTreatsAHairlineAsOnePoint)
{
    const QPainterPath path = MCAdditions::bezierPathWithRoundRect(QRectF(10, 10, 80, 80), 0);
    QImage image = canvas();
    QPainter painter(&image);
    painter.setPen(QPen(Qt::blue, 0));
    MCAdditions::strokeInside(painter, path, QRectF(0, 0, 50, 100));
    painter.end();
    EXPECT_EQ(image.pixel(30, 10), qRgb(0, 0, 255));
    EXPECT_EQ(alphaAt(image, 30, 11), 0);
    EXPECT_EQ(alphaAt(image, 70, 10), 0) << "outside the rectangle";
}

TEST(InsetPathTest, ScalesAboutTheCentre)
{
    const QPainterPath rounded = MCAdditions::bezierPathWithRoundRect(QRectF(0, 0, 100, 50), 10);
    const QPainterPath inset = MCAdditions::bezierPathByInsettingPathBy(rounded, 1);
    EXPECT_NEAR(inset.boundingRect().left(), 1, 1e-4);
    EXPECT_NEAR(inset.boundingRect().top(), 1, 1e-4);
    EXPECT_NEAR(inset.boundingRect().width(), 98, 1e-4);
    EXPECT_NEAR(inset.boundingRect().height(), 48, 1e-4);
    EXPECT_EQ(inset.elementCount(), rounded.elementCount());
    EXPECT_NEAR(MCAdditions::bezierPathByInsettingPathBy(rounded, -2).boundingRect().width(), 104, 1e-4);

    QPainterPath line;
    line.moveTo(5, 5);
    line.lineTo(5, 40);
    for (const QPainterPath& degenerate : {QPainterPath(), line}) {
        EXPECT_TRUE(MCAdditions::bezierPathByInsettingPathBy(degenerate, 1).isEmpty());
    }
    EXPECT_TRUE(MCAdditions::bezierPathByInsettingPathBy(rounded, 25).isEmpty()) << "would turn inside out";
}

namespace {

// The share of a blurred half-plane at a signed distance d inside its edge.
double gaussianStep(double d, double sigma)
{
    return 0.5 * std::erfc(-d / (sigma * std::sqrt(2.0)));
}

QImage innerShadow(const pt::Shadow& shadow, qreal ratio = 1.0)
{
    QImage image = canvas(QSize(100, 100), ratio);
    QPainter painter(&image);
    painter.translate(10, 0);
    MCAdditions::fillWithInnerShadow(painter, MCAdditions::bezierPathWithRoundRect(QRectF(10, 20, 60, 60), 0),
                                     shadow);
    return image;
}

} // namespace

TEST(InnerShadowTest, NegativeYOffsetFallsFromTheTopEdge)
{
    const QImage image = innerShadow({Qt::black, QPointF(0, -1), 0});
    // The rectangle covers x 20..80 (after the translation) and y 20..80.
    EXPECT_EQ(image.pixel(50, 20), qRgba(0, 0, 0, 255)) << "one point below the top edge";
    EXPECT_EQ(alphaAt(image, 50, 21), 0);
    EXPECT_EQ(alphaAt(image, 50, 79), 0) << "nothing along the bottom";
    EXPECT_EQ(alphaAt(image, 20, 50), 0) << "nothing along the sides";
    EXPECT_EQ(alphaAt(image, 50, 19), 0) << "nothing outside the path";

    const QImage up = innerShadow({Qt::black, QPointF(0, 2), 0});
    EXPECT_EQ(alphaAt(up, 50, 78), 255);
    EXPECT_EQ(alphaAt(up, 50, 79), 255);
    EXPECT_EQ(alphaAt(up, 50, 77), 0);
    EXPECT_EQ(alphaAt(up, 50, 20), 0);

    const QImage right = innerShadow({Qt::black, QPointF(1, 0), 0});
    EXPECT_EQ(alphaAt(right, 20, 50), 255);
    EXPECT_EQ(alphaAt(right, 21, 50), 0);
}

TEST(InnerShadowTest, OffsetsFollowTheDevicePixelRatio)
{
    const QImage image = innerShadow({Qt::black, QPointF(0, -1), 0}, 2.0);
    EXPECT_EQ(alphaAt(image, 100, 40), 255);
    EXPECT_EQ(alphaAt(image, 100, 41), 255);
    EXPECT_EQ(alphaAt(image, 100, 42), 0);
}

TEST(InnerShadowTest, BlurredEdgeFollowsAGaussianProfile)
{
    const QColor colour(0, 0, 0, 128);
    const QImage image = innerShadow({colour, QPointF(0, -4), 4});
    const double sigma = 2.0;
    for (int y = 20; y < 40; ++y) {
        // The shadow-casting outside reaches 4 points into the rectangle, whose top edge is at y = 20.
        const double expected = 128 * gaussianStep(24 - (y + 0.5), sigma);
        EXPECT_NEAR(alphaAt(image, 50, y), expected, 3.0) << "row " << y;
    }
    for (int x = 27; x <= 73; x += 4)
        EXPECT_EQ(image.pixel(x, 35), image.pixel(50, 35)) << "uniform away from the sides, column " << x;
}

TEST(InnerShadowTest, OnlyTheDevicesNeighbourhoodIsWorkedOn)
{
    // A path far larger than the canvas: its edges, and so its shadow, lie far outside.
    QImage image = canvas();
    QPainter painter(&image);
    MCAdditions::fillWithInnerShadow(painter, MCAdditions::bezierPathWithRoundRect(QRectF(-1e6, -1e6, 2e6, 2e6), 0),
                                     {Qt::black, QPointF(0, -3), 6});
    // One edge inside the canvas still casts its shadow.
    MCAdditions::fillWithInnerShadow(painter, MCAdditions::bezierPathWithRoundRect(QRectF(-1e6, 50, 2e6, 2e6), 0),
                                     {Qt::black, QPointF(0, -1), 0});
    painter.end();
    EXPECT_EQ(alphaAt(image, 0, 0), 0);
    EXPECT_EQ(alphaAt(image, 99, 49), 0);
    EXPECT_EQ(alphaAt(image, 0, 50), 255);
    EXPECT_EQ(alphaAt(image, 99, 50), 255);
    EXPECT_EQ(alphaAt(image, 50, 51), 0);
    EXPECT_EQ(alphaAt(image, 50, 99), 0);
}

namespace {

int paintedPixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += alphaAt(image, x, y) == 255;
    return count;
}

QList<QPointF> vertices(const QPainterPath& path)
{
    QList<QPointF> points;
    for (int i = 0; i < path.elementCount(); ++i)
        points.append(path.elementAt(i));
    return points;
}

} // namespace

TEST(PathShapesTest, RingBandAndBounds)
{
    const QRectF rect(10, 10, 80, 60);
    const QPainterPath ring = bezierPathAdditions::bezierPathForStrokeWithRoundedRect(rect, 10, 5, 5);
    EXPECT_EQ(ring.boundingRect(), rect);
    EXPECT_TRUE(ring.contains(QPointF(12, 40))) << "in the band";
    EXPECT_TRUE(ring.contains(QPointF(50, 67)));
    EXPECT_FALSE(ring.contains(QPointF(50, 40))) << "the hole";
    EXPECT_FALSE(ring.contains(QPointF(11, 11))) << "outside the rounded corner";
}

TEST(PathShapesTest, PolygonAndStarPoints)
{
    const QList<QPointF> square = vertices(MCAdditions::bezierPathWithPolygonAt({0, 0}, 10, 4));
    const QPointF expected[] = {{10, 0}, {0, -10}, {-10, 0}, {0, 10}};
    ASSERT_GE(square.size(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(square[i].x(), expected[i].x(), 1e-5) << i;
        EXPECT_NEAR(square[i].y(), expected[i].y(), 1e-5) << i;
    }

    const QPointF centre(50, 50);
    const struct {
        int points;
        float radius;
        float hub;
    } stars[] = {{5, 10, 4}, {3, 20.5f, 8}, {8, 12, 6}};
    for (const auto& star : stars) {
        const QList<QPointF> corners = vertices(MCAdditions::bezierPathWithStartAtCenter(centre, star.radius, star.hub, star.points));
        ASSERT_GE(corners.size(), 2 * star.points) << star.points;
        // The first tip's y is rounded away from the centre, and the other tips are turned copies of it.
        const double tipRadius = 50 - std::floor(50 - star.radius);
        EXPECT_EQ(corners[0], QPointF(50, 50 - tipRadius)) << "starts at the tip above the centre";
        EXPECT_LT(corners[1].x(), 50) << "runs counter-clockwise on screen";
        for (int i = 1; i < 2 * star.points; ++i) {
            const QPointF d = corners[i] - centre;
            EXPECT_NEAR(std::hypot(d.x(), d.y()), i % 2 ? star.hub : tipRadius, 1e-4) << star.points << " " << i;
        }
    }
    EXPECT_TRUE(MCAdditions::bezierPathWithPolygonAt({0, 0}, 10, 0).isEmpty());
    EXPECT_TRUE(MCAdditions::bezierPathWithStartAtCenter({0, 0}, 10, 4, 0).isEmpty());
}

TEST(PathShapesTest, StrokeOutlinesScalingAndAppending)
{
    QPainterPath line;
    line.moveTo(10, 50);
    line.lineTo(90, 50);
    EXPECT_EQ(MCAdditions::pathWithStrokeWidth(line, 10).boundingRect(), QRectF(10, 45, 80, 10)) << "butt caps";
    for (const qreal width : {0.0, -2.0, qQNaN()})
        EXPECT_TRUE(MCAdditions::pathWithStrokeWidth(line, width).isEmpty()) << width;

    QPainterPath square;
    square.addRect(10, 10, 20, 20);
    EXPECT_EQ(MCAdditions::scaledPath(square, 2).boundingRect(), QRectF(0, 0, 40, 40));
    EXPECT_EQ(MCAdditions::scaledPath(square, 2, {0, 0}).boundingRect(), QRectF(20, 20, 40, 40));
    EXPECT_EQ(MCAdditions::scaledPath(square, 1), square);
    EXPECT_EQ(MCAdditions::centreOfBounds(QPainterPath()), QPointF(0, 0));
    QPainterPath wide;
    wide.addRect(0, 0, 100, 50);
    const QRectF inset = MCAdditions::bezierPathByInsettingPathBy(wide, 10, 5).boundingRect();
    EXPECT_NEAR(inset.left(), 10, 1e-4);
    EXPECT_NEAR(inset.top(), 5, 1e-4);
    EXPECT_NEAR(inset.right(), 90, 1e-4);
    EXPECT_NEAR(inset.bottom(), 45, 1e-4);

    QPainterPath both = square;
    MCAdditions::appendBezierPathWithRoundRect(both, QRectF(50, 50, 30, 30), 5);
    MCAdditions::appendBezierPathWithRoundRect(both, QRectF(), 0);
    EXPECT_EQ(both.boundingRect(), QRectF(10, 10, 70, 70));
    EXPECT_TRUE(both.contains(QPointF(15, 15)));
    EXPECT_TRUE(both.contains(QPointF(65, 65)));
    EXPECT_FALSE(both.contains(QPointF(40, 40)));
}

TEST(InverseClipTest, PaintsOnlyOutsideThePathWithinTheClip)
{
    QPainterPath square;
    square.addRect(20, 20, 40, 40);
    const struct {
        const char* name;
        std::optional<QRect> clip;
        QPointF translation;
        int painted;
    } cases[] = {
        {"whole device", std::nullopt, {}, 100 * 100 - 40 * 40},
        {"existing clip", QRect(0, 0, 50, 100), {}, 50 * 100 - 30 * 40},
        {"moved coordinates", std::nullopt, {-20, -20}, 100 * 100 - 40 * 40},
    };
    for (const auto& c : cases) {
        QImage image = canvas();
        QPainter painter(&image);
        painter.translate(c.translation);
        if (c.clip)
            painter.setClipRect(*c.clip);
        bezierPathAdditions::addInversedClip(painter, square);
        painter.fillRect(QRectF(-200, -200, 500, 500), Qt::black);
        painter.end();
        EXPECT_EQ(paintedPixels(image), c.painted) << c.name;
        const QPointF inside = QPointF(40, 40) + c.translation;
        EXPECT_EQ(alphaAt(image, int(inside.x()), int(inside.y())), 0) << c.name;
    }
}

TEST(BlurWithColorTest, DrawsOnlyTheBlurredShapeWithinTheRadius)
{
    QImage image = canvas();
    QPainter painter(&image);
    QPainterPath square;
    square.addRect(40, 40, 20, 20);
    MCAdditions::drawBlurWithColor(painter, square, Qt::red, 10);
    painter.end();
    const QRgb centre = image.pixel(50, 50);
    EXPECT_GT(qAlpha(centre), 150);
    EXPECT_LT(qAlpha(centre), 255) << "blurred, not the shape itself";
    EXPECT_EQ(qRed(centre), qAlpha(centre));
    EXPECT_EQ(qGreen(centre), 0);
    EXPECT_GT(alphaAt(image, 31, 50), 0);
    EXPECT_EQ(alphaAt(image, 29, 50), 0) << "nothing beyond the radius";
    EXPECT_EQ(alphaAt(image, 5, 5), 0);

    // Radii whose buffer could not be blurred draw nothing rather than allocate it.
    QImage untouched = canvas();
    QPainter other(&untouched);
    for (const qreal radius : {1e6, qInf(), qQNaN(), -1.0})
        MCAdditions::drawBlurWithColor(other, square, Qt::red, radius);
    other.end();
    EXPECT_EQ(untouched, canvas());
}
