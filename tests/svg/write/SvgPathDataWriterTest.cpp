// Path data as the exporter writes it: the shortest form of each segment, digits trimmed to a tolerance, arcs
// for circle pieces, closes; and what a reader makes of the text drawing what the path draws.
#include "svg/PTSVG.h"
#include "svg/model/PTSVGBezierPath.h"
#include "svg/model/PTSVGPath.h"
#include "svg/parse/PTSVGCommand.h"
#include "svg/parse/PTSVGShapeReader.h"
#include "svg/write/PTSVGExporter.h"
#include "svg/write/PTSVGPathDataWriter.h"

#include <QImage>

#include <cairo.h>

#include <functional>

#include <gtest/gtest.h>

namespace {

PTSVGBezierPath reread(const QString& data)
{
    PTSVGCommand::registerAll();
    PTSVGPath node;
    PTSVGShapeReader::parsePathCommandData(data, node);
    return node.path();
}

// The path filled and stroked with round caps at 512 pixels for the box, as a reader would draw it.
QImage draw(const PTSVGBezierPath& path, const QRectF& box)
{
    QImage image(512, 512, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    cairo_surface_t* surface = cairo_image_surface_create_for_data(image.bits(), CAIRO_FORMAT_ARGB32, image.width(),
                                                                   image.height(), int(image.bytesPerLine()));
    cairo_t* cr = cairo_create(surface);
    const double scale = 512 / std::max(box.width(), box.height());
    cairo_scale(cr, scale, scale);
    cairo_translate(cr, -box.x(), -box.y());
    path.appendToCairo(cr, false);
    cairo_set_source_rgba(cr, 0, 0, 1, 0.5);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 8 / scale);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_source_rgba(cr, 1, 0, 0, 0.5);
    cairo_stroke(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return image;
}

int largestDifference(const QImage& a, const QImage& b)
{
    int worst = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
        }
    }
    return worst;
}

PTSVGBezierPath build(const std::function<void(PTSVGBezierPath&)>& steps)
{
    PTSVGBezierPath path;
    steps(path);
    return path;
}

struct Case {
    const char* name;
    std::function<void(PTSVGBezierPath&)> steps;
    double tolerance;
    bool relative;
    const char* expected;
};

const std::vector<Case>& cases()
{
    static const std::vector<Case> table = {
        // Absolute wins where it is shorter, relative on a tie.
        {"rectangle", [](auto& p) { p.appendRect(QRectF(0, 0, 10, 5)); }, 0.001, true, "M0,0h10v5H0Z"},
        {"far from the origin", [](auto& p) { p.moveTo({100, 100}); p.lineTo({101, 102}); }, 0.001, true,
         "M100,100l1,2"},
        {"absolute only", [](auto& p) { p.moveTo({100, 100}); p.lineTo({101, 102}); }, 0.001, false,
         "M100,100L101,102"},
        // A close draws the line back to the start; the next move is measured from that start.
        {"line back before close",
         [](auto& p) { p.moveTo({0, 0}); p.lineTo({4, 0}); p.lineTo({4, 4}); p.lineTo({0, 0}); p.close(); }, 0.001,
         true, "M0,0h4v4Z"},
        {"move after close",
         [](auto& p) { p.moveTo({10, 10}); p.lineTo({12, 10}); p.close(); p.moveTo({11, 13}); p.lineTo({11, 14}); },
         0.001, true, "M10,10h2Zm1,3v1"},
        // Digits: as few as the tolerance allows, no negative zero.
        {"three decimals", [](auto& p) { p.moveTo({1.23456, -0.0004}); p.lineTo({2, 2}); }, 0.001, true,
         "M1.235,0L2,2"},
        {"one decimal", [](auto& p) { p.moveTo({1.23456, 7}); p.lineTo({2.26, 7}); }, 0.05, true, "M1.2,7h1.1"},
        {"no tolerance keeps six digits", [](auto& p) { p.appendRect(QRectF(0, 0, 10, 5)); }, 0, true,
         "M0,0h10v5h-10Z"},
        // An empty line goes unless it is the subpath's only segment, which draws a cap.
        {"empty lines",
         [](auto& p) { p.moveTo({0, 0}); p.lineTo({0.0001, 0}); p.lineTo({5, 0}); p.moveTo({3, 3}); p.lineTo({3, 3}); },
         0.001, true, "M0,0h5M3,3h0"},
        // Shorthands: the first control reflects the last one, or is the current point after a non-curve.
        {"smooth cubic", [](auto& p) { p.moveTo({0, 0}); p.curveTo({0, 5}, {5, 5}, {5, 0}); p.curveTo({5, -5}, {10, -5}, {10, 0}); },
         0.001, true, "M0,0c0,5 5,5 5,0s5,-5 5,0"},
        {"cubic not reflected", [](auto& p) { p.moveTo({0, 0}); p.curveTo({0, 5}, {5, 5}, {5, 0}); p.curveTo({5, -4}, {10, -5}, {10, 0}); },
         0.001, true, "M0,0c0,5 5,5 5,0c0,-4 5,-5 5,0"},
        {"smooth cubic after a line", [](auto& p) { p.moveTo({0, 0}); p.lineTo({1, 0}); p.curveTo({1, 0}, {2, 1}, {3, 0}); },
         0.001, true, "M0,0h1s1,1 2,0"},
        {"smooth quadratic", [](auto& p) { p.moveTo({0, 0}); p.quadTo({2, 4}, {4, 0}); p.quadTo({6, -4}, {8, 0}); },
         0.001, true, "M0,0q2,4 4,0t4,0"},
        // Arcs: three quarters with the large flag, sweep following the turn, ellipses, corners.
        {"circle", [](auto& p) { p.appendOval(QRectF(0, 0, 10, 10)); }, 0.001, true,
         "M10,5A5,5 0 1 1 5,0a5,5 0 0 1 5,5Z"},
        {"circle the other way", [](auto& p) { p.appendArc({5, 5}, 5, 0, -270, true); }, 0.001, true,
         "M10,5a5,5 0 1 0 -5,5"},
        {"semicircle of a radius off the grid", [](auto& p) { p.appendArc({0, 0}, 1.0 / 3, 0, 180, false); }, 0.001,
         true, "M0.333,0a0.333,0.333 0 0 1 -0.666,0"},
        {"ellipse", [](auto& p) { p.appendOval(QRectF(0, 0, 10, 4)); }, 0.001, true,
         "M10,2A5,2 0 1 1 5,0a5,2 0 0 1 5,2Z"},
        {"rounded corners", [](auto& p) { p.appendRoundedRect(QRectF(0, 0, 10, 10), 2, 2); }, 0.001, true,
         "M2,0h6a2,2 0 0 1 2,2v6a2,2 0 0 1 -2,2H2A2,2 0 0 1 0,8V2A2,2 0 0 1 2,0Z"},
        // A cubic that bends like no circle stays a cubic.
        {"not an arc", [](auto& p) { p.moveTo({0, 0}); p.curveTo({0, 8}, {1, 1}, {10, 0}); }, 0.001, true,
         "M0,0c0,8 1,1 10,0"},
    };
    return table;
}

} // namespace

TEST(SvgPathDataWriter, ShortestFormsAndDigits)
{
    for (const Case& c : cases())
        EXPECT_EQ(PTSVGPathDataWriter::pathString(build(c.steps), c.tolerance, c.relative).toStdString(), c.expected)
            << c.name;
}

// What a reader gets back draws what the path draws, at a size where the tolerance is a twentieth of a pixel.
TEST(SvgPathDataWriter, ReaderDrawsThePath)
{
    for (const Case& c : cases()) {
        const PTSVGBezierPath path = build(c.steps);
        const QRectF box = path.controlPointBounds().adjusted(-2, -2, 2, 2);
        const double tolerance = std::max(box.width(), box.height()) / 512 / 20;
        const QString text = PTSVGPathDataWriter::pathString(path, tolerance, true);
        EXPECT_LE(largestDifference(draw(path, box), draw(reread(text), box)), 24) << c.name << ": " << qPrintable(text);
    }
}

TEST(SvgPathDataWriter, DecimalsAndCoordinatesBeyondTheGrid)
{
    EXPECT_EQ(PTSVGPathDataWriter::decimalsForTolerance(0.5), 0);
    EXPECT_EQ(PTSVGPathDataWriter::decimalsForTolerance(0.0049), 3);
    EXPECT_EQ(PTSVGPathDataWriter::decimalsForTolerance(0.005), 2);
    EXPECT_EQ(PTSVGPathDataWriter::decimalsForTolerance(1e-300), 12);
    // Too large for a grid of twelve decimals: the six-digit form, not an overflowed one.
    PTSVGBezierPath far;
    far.moveTo({0, 0});
    far.lineTo({1e300, 1});
    EXPECT_EQ(PTSVGPathDataWriter::pathString(far, 1e-300, false), "M0,0L1e+300,1");
}

// The exporter measures the tolerance in the root: a path scaled up keeps more digits, one scaled down fewer.
TEST(SvgPathDataWriter, ExporterDigitsFollowTheScaleToTheRoot)
{
    const auto written = [](const char* transform) {
        auto svg = PTSVG::svgWithString(
            QStringLiteral("<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 16 16'><g transform='%1'>"
                           "<path d='M1.234567,1.234567L3,2'/></g></svg>")
                .arg(QLatin1String(transform)));
        return svg ? PTSVGExporter(**svg, QSizeF(16, 16), 0x80).SVGString() : QString();
    };
    EXPECT_TRUE(written("scale(1)").contains(QStringLiteral("d=\"M1.235,1.235")));
    EXPECT_TRUE(written("scale(10)").contains(QStringLiteral("d=\"M1.2346,1.2346")));
    EXPECT_TRUE(written("scale(0.1)").contains(QStringLiteral("d=\"M1.23,1.23")));
    // Pattern content may be in fractions of the filled box: no known scale, every digit kept.
    auto patterned = PTSVG::svgWithString(QStringLiteral(
        "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 16 16'><defs><pattern id='p' width='1' height='1' "
        "patternContentUnits='objectBoundingBox'><path d='M0.123456,0.123456H0.5V0.5Z'/></pattern></defs>"
        "<path d='M0,0H16V16H0Z' fill='url(#p)'/></svg>"));
    ASSERT_TRUE(patterned);
    EXPECT_TRUE(PTSVGExporter(**patterned, QSizeF(16, 16), 0x80).SVGString().contains(QStringLiteral("M0.123456,0.123456")));
}
