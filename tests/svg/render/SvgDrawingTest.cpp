// Small documents drawn to pixels: how attributes paint and place, and how opacity composites.
#include "svg/PTSVG.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// The body in a 100 x 100 document drawn at size x size.
QImage draw(const QString& body, int size = 100)
{
    auto svg = PTSVG::svgWithString(QStringLiteral("<svg xmlns='http://www.w3.org/2000/svg' width='100' "
                                                   "height='100' viewBox='0 0 100 100'>%1</svg>")
                                        .arg(body));
    EXPECT_TRUE(svg.ok());
    return svg.ok() ? svg.value()->imageWithSize({size, size}) : QImage();
}

// Both premultiplied (as QImage::pixel() answers for the drawn images), so that transparent pixels are equal
// whatever their colour.
bool near(QRgb have, QRgb want, int tolerance)
{
    return std::abs(qRed(have) - qRed(want)) <= tolerance && std::abs(qGreen(have) - qGreen(want)) <= tolerance
        && std::abs(qBlue(have) - qBlue(want)) <= tolerance && std::abs(qAlpha(have) - qAlpha(want)) <= tolerance;
}

std::string text(QRgb premultiplied)
{
    const QRgb color = qUnpremultiply(premultiplied);
    return QStringLiteral("rgba(%1, %2, %3, %4)")
        .arg(qRed(color))
        .arg(qGreen(color))
        .arg(qBlue(color))
        .arg(qAlpha(color))
        .toStdString();
}

const QRgb None = qRgba(0, 0, 0, 0);
const QRgb Red = qRgb(255, 0, 0);

const QString RedToBlue = QStringLiteral("<stop offset='0' stop-color='#ff0000'/><stop offset='1' stop-color='#0000ff'/>");

} // namespace

TEST(SvgDrawing, AttributesPaintAndPlaceAsSvgDefines)
{
    struct Probe {
        int x, y;
        QRgb color;
    };
    struct Case {
        const char* what;
        QString body;
        std::vector<Probe> probes;
        int tolerance = 2;
    };
    const auto uniformStops = [](const QString& stop) {
        return QStringLiteral("<linearGradient id='g'>%1%1</linearGradient>"
                              "<rect width='100' height='100' fill='url(#g)'/>")
            .arg(stop);
    };
    const Case cases[] = {
        {"a style's stop-opacity without stop-color fades the default black",
         uniformStops(QStringLiteral("<stop offset='0' style='stop-opacity:0'/>")), {{50, 50, None}}},
        {"a style's stop-opacity fades the attribute's stop-color",
         uniformStops(QStringLiteral("<stop offset='0' stop-color='#0000ff' style='stop-opacity:0.5'/>")),
         {{50, 50, qRgba(0, 0, 255, 128)}}},
        {"a style's stop-opacity wins over the attribute's",
         uniformStops(QStringLiteral("<stop offset='0' stop-color='#ff0000' stop-opacity='0.2' style='stop-opacity:1'/>")),
         {{50, 50, Red}}},
        {"the attribute's stop-opacity fades a style's stop-color",
         uniformStops(QStringLiteral("<stop offset='0' stop-opacity='0.5' style='stop-color:#00ff00'/>")),
         {{50, 50, qRgba(0, 255, 0, 128)}}},

        {"x and y do not move a path",
         QStringLiteral("<path x='50' y='50' d='M0 0h20v20h-20z' fill='#ff0000'/>"), {{10, 10, Red}, {60, 60, None}}},
        {"x and y do not move a group",
         QStringLiteral("<g x='50' y='50'><rect width='20' height='20' fill='#ff0000'/></g>"),
         {{10, 10, Red}, {60, 60, None}}},
        {"x and y do not move a circle",
         QStringLiteral("<circle x='50' y='50' cx='10' cy='10' r='10' fill='#ff0000'/>"), {{10, 10, Red}, {60, 60, None}}},
        {"x and y place a nested document",
         QStringLiteral("<svg x='50' y='50' width='20' height='20'><rect width='20' height='20' fill='#ff0000'/></svg>"),
         {{10, 10, None}, {60, 60, Red}}},

        // From the focus at (0.5, 0.5) to the circle of radius 100 around the origin, the centre of the pixel at
        // (50, 50) lies at 0.712 of the ramp.
        {"a focus below 1 in user space is a user space coordinate",
         QStringLiteral("<radialGradient id='r' gradientUnits='userSpaceOnUse' cx='0' cy='0' r='100' fx='0.5' "
                        "fy='0.5'>%1</radialGradient><rect width='100' height='100' fill='url(#r)'/>")
             .arg(RedToBlue),
         {{50, 50, qRgb(73, 0, 182)}}, 4},
        {"a focus in the box's units is a fraction of the box",
         QStringLiteral("<radialGradient id='r' fx='0.1' fy='0.5'>%1</radialGradient>"
                        "<rect width='100' height='100' fill='url(#r)'/>")
             .arg(RedToBlue),
         {{10, 50, qRgb(252, 0, 3)}}, 4},
    };
    for (const auto& c : cases) {
        const QImage image = draw(c.body);
        ASSERT_FALSE(image.isNull()) << c.what;
        for (const auto& probe : c.probes) {
            const QRgb pixel = image.pixel(probe.x, probe.y);
            EXPECT_TRUE(near(pixel, qPremultiply(probe.color), c.tolerance))
                << c.what << ": at (" << probe.x << ", " << probe.y << ") " << text(pixel) << ", expected "
                << text(qPremultiply(probe.color));
        }
    }
}

// Opacity fades what an element draws as one isolated group: the element drawn at full opacity, every channel of
// every pixel halved. Shapes reaching beyond their outline (strokes, miters), transformed and clipped content and
// paint that covers everything under a stroke mask must all survive however the fading is done.
TEST(SvgDrawing, OpacityFadesTheElementAsOneGroup)
{
    const QString gradient = QStringLiteral("<linearGradient id='l'>%1</linearGradient>").arg(RedToBlue);
    const QString cases[] = {
        QStringLiteral("<path %1 d='M10.3 10.6h50v50h-50z' fill='#ff0000'/>"),
        QStringLiteral("<path %1 d='M10 10L90 30L30 90' fill='none' stroke='#00ff00' stroke-width='3'/>"),
        QStringLiteral("<rect %1 x='20' y='20' width='40' height='40' fill='#ff0000' stroke='#0000ff' stroke-width='10'/>"),
        // A miter nine half widths long, under the layers' limit of 10.
        QStringLiteral("<path %1 d='M10 51.6L60 46L10 40.4' fill='none' stroke='#00ff00' stroke-width='4'/>"),
        QStringLiteral("<path %1 d='M20 80L50 20L80 80' fill='none' stroke='#0000ff' stroke-width='8' "
                       "stroke-linecap='square'/>"),
        QStringLiteral("<g %1 transform='rotate(30 50 50)'><rect x='30' y='10' width='40' height='20' fill='#ff0000'/>"
                       "<circle cx='40' cy='50' r='25' fill='#0000ff' fill-opacity='0.7' transform='scale(1.2)'/></g>"),
        QStringLiteral("<clipPath id='c'><circle cx='50' cy='50' r='30'/></clipPath>"
                       "<g %1 clip-path='url(#c)'><rect width='100' height='100' fill='#ff0000'/></g>"),
        gradient + QStringLiteral("<rect %1 x='10' y='10' width='80' height='80' fill='url(#l)'/>"),
        gradient + QStringLiteral("<rect %1 x='20' y='20' width='60' height='60' fill='none' stroke='url(#l)' "
                                  "stroke-width='8'/>"),
        QStringLiteral("<svg %1 x='30' y='30' width='40' height='40' viewBox='0 0 10 10'>"
                       "<circle cx='5' cy='5' r='6' fill='#00ff00'/></svg>"),
    };
    for (const QString& body : cases) {
        for (const int size : {100, 73}) {
            const QImage whole = draw(body.arg(QString()), size);
            const QImage faded = draw(body.arg(QStringLiteral("opacity='0.5'")), size);
            ASSERT_FALSE(whole.isNull() || faded.isNull()) << body.toStdString();
            int mismatches = 0;
            for (int y = 0; y < size; ++y) {
                for (int x = 0; x < size; ++x) {
                    const QRgb full = whole.pixel(x, y);
                    const QRgb half = qRgba(qRed(full) / 2, qGreen(full) / 2, qBlue(full) / 2, qAlpha(full) / 2);
                    if (!near(faded.pixel(x, y), half, 2) && mismatches++ == 0)
                        ADD_FAILURE() << body.toStdString() << " at " << size << " px, (" << x << ", " << y
                                      << "): " << text(faded.pixel(x, y)) << ", expected " << text(half);
                }
            }
            EXPECT_EQ(mismatches, 0) << body.toStdString() << " at " << size << " px";
        }
    }
}
