// Path data: every command letter in absolute and relative form, repeated groups, smooth reflections, arcs,
// and the path type's bounds and cairo conversion.
#include "svg/parse/PTSVGCommand.h"
#include "svg/model/PTSVGPath.h"
#include "svg/parse/PTSVGShapeReader.h"

#include <cairo.h>

#include <gtest/gtest.h>

#include <cmath>

namespace {

using Type = PTSVGBezierPath::ElementType;

PTSVGBezierPath pathFor(const char16_t* data)
{
    PTSVGPath node;
    PTSVGShapeReader::parsePathCommandData(data, node);
    return node.path();
}

// A compact text of the elements, each as its letter and its points (end point last), rounded to 1e-6.
QString describe(const PTSVGBezierPath& path)
{
    QStringList parts;
    auto n = [](double v) { return QString::number(std::round(v * 1e6) / 1e6 + 0.0, 'g', 10); };
    auto p = [&](QPointF q) { return n(q.x()) + u',' + n(q.y()); };
    for (const auto& e : path.elements()) {
        switch (e.type) {
        case Type::MoveTo: parts << u'M' + p(e.points[0]); break;
        case Type::LineTo: parts << u'L' + p(e.points[0]); break;
        case Type::QuadTo: parts << u'Q' + p(e.points[1]) + u' ' + p(e.points[0]); break;
        case Type::CurveTo: parts << u'C' + p(e.points[1]) + u' ' + p(e.points[2]) + u' ' + p(e.points[0]); break;
        case Type::Close: parts << QStringLiteral("Z"); break;
        }
    }
    return parts.join(u' ');
}

} // namespace

TEST(SvgPathCommands, RegistryHoldsTheTenLetters)
{
    PTSVGCommand::registerAll();
    EXPECT_EQ(PTSVGCommand::registeredCommandCount(), 10);
    EXPECT_NE(PTSVGCommand::commandClassForCommandLetter(u'A'), nullptr);
    EXPECT_EQ(PTSVGCommand::commandClassForCommandLetter(u'b'), nullptr);
}

TEST(SvgPathCommands, CommandsSplitTheirNumbersIntoGroups)
{
    PTSVGCommand::registerAll();
    const PTSVGCommand command(u"l10 20 30 40 50");
    EXPECT_EQ(command.type(), 1);
    EXPECT_EQ(command.requiredParameters(), 2);
    ASSERT_EQ(command.subCommands().size(), 2u);
    EXPECT_FALSE(command.subCommands()[0].isSubCommand());
    EXPECT_TRUE(command.subCommands()[1].isSubCommand());
    EXPECT_EQ(command.subCommands()[1].previousCommand(), &command.subCommands()[0]);
    const auto group = command.subCommands()[1].parameters();
    EXPECT_EQ(std::vector<double>(group.begin(), group.end()), (std::vector<double>{30, 40}));
    EXPECT_EQ(PTSVGCommand(u"z 5").subCommands().size(), 1u);
}

TEST(SvgPathCommands, EveryLetterAbsoluteAndRelative)
{
    struct Case {
        const char16_t* data;
        const char* expected;
    };
    const Case cases[] = {
        {u"M10 20 30 40 50 60", "M10,20 L30,40 L50,60"},
        {u"m10 20 30 40 50 60", "M10,20 L40,60 L90,120"},
        {u"M1 1 m10 20", "M1,1 M11,21"},
        {u"M0 0 L10 20", "M0,0 L10,20"},
        {u"M5 5 l10 20", "M5,5 L15,25"},
        {u"L10", ""},
        {u"M0 0 L10 20 30", "M0,0 L10,20"},
        {u"M1 2 H10 h5", "M1,2 L10,2 L15,2"},
        {u"M1 2 V10 v5", "M1,2 L1,10 L1,15"},
        {u"M0 0 C1 2 3 4 5 6", "M0,0 C1,2 3,4 5,6"},
        {u"M1 1 c1 2 3 4 5 6", "M1,1 C2,3 4,5 6,7"},
        {u"M0 0 Q10 0 10 10", "M0,0 Q10,0 10,10"},
        {u"M1 1 q10 0 10 10", "M1,1 Q11,1 11,11"},
        {u"M0 0 L10 0 L10 10 z 5", "M0,0 L10,0 L10,10 Z"},
        {u"M0 0 L10 0 Z L5 5", "M0,0 L10,0 Z L5,5"},
        {u"M0 0 L10 0 z l5 5", "M0,0 L10,0 Z L5,5"},
        {u"  M0,0L1e1-5", "M0,0 L10,-5"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(describe(pathFor(c.data)), QString::fromLatin1(c.expected)) << QString::fromUtf16(c.data).toStdString();
}

TEST(SvgPathCommands, SmoothCurvesReflectThePreviousControlPoint)
{
    // The S curve's first control mirrors (10, 0) through (10, 10).
    EXPECT_EQ(describe(pathFor(u"M0 0 C0 0 10 0 10 10 S20 20 20 10")),
              QStringLiteral("M0,0 C0,0 10,0 10,10 C10,20 20,20 20,10"));
    // Relative c: its second control (10, 0) is made absolute from its own start before mirroring.
    EXPECT_EQ(describe(pathFor(u"M0 0 c0 0 10 0 10 10 s10 10 10 0")),
              QStringLiteral("M0,0 C0,0 10,0 10,10 C10,20 20,20 20,10"));
    // S after something else starts at the current point.
    EXPECT_EQ(describe(pathFor(u"M0 0 L5 5 S20 20 20 10")), QStringLiteral("M0,0 L5,5 C5,5 20,20 20,10"));
    // T reflects the Q control through the current point, and a second T reflects that one.
    EXPECT_EQ(describe(pathFor(u"M0 0 Q10 0 10 10 T20 20 T30 30")),
              QStringLiteral("M0,0 Q10,0 10,10 Q10,20 20,20 Q30,20 30,30"));
    EXPECT_EQ(describe(pathFor(u"M0 0 q10 0 10 10 t10 10")), QStringLiteral("M0,0 Q10,0 10,10 Q10,20 20,20"));
    // A command with too few numbers leaves no previous sub-command to reflect.
    EXPECT_EQ(describe(pathFor(u"M0 0 C0 0 10 0 10 10 L5 S20 20 20 10")),
              QStringLiteral("M0,0 C0,0 10,0 10,10 C10,10 20,20 20,10"));
}

TEST(SvgPathCommands, Arcs)
{
    // A half circle of radius 5 from (0, 0) to (10, 0): every point lies 5 from (5, 0).
    const auto half = pathFor(u"M0 0 A5 5 0 0 1 10 0");
    ASSERT_GE(half.elements().size(), 2u);
    EXPECT_EQ(half.elements().back().points[0], QPointF(10, 0));
    const QRectF bounds = half.bounds();
    EXPECT_NEAR(bounds.width(), 10, 1e-6);
    EXPECT_NEAR(bounds.height(), 5, 1e-3);
    // Sweep 1 runs towards increasing angles: from 180 degrees about the centre (5, 0) through 270, (5, -5).
    EXPECT_NEAR(bounds.top(), -5, 1e-3);
    EXPECT_NEAR(pathFor(u"M0 0 A5 5 0 0 0 10 0").bounds().bottom(), 5, 1e-3);
    // Radii too small are scaled up to reach the end point.
    EXPECT_NEAR(pathFor(u"M0 0 A1 1 0 0 1 10 0").bounds().height(), 5, 1e-3);
    // The large-arc flag picks the longer way round a circle of radius 10 through both points.
    EXPECT_GT(pathFor(u"M0 0 A10 10 0 1 1 10 0").bounds().height(), 15);
    EXPECT_LT(pathFor(u"M0 0 A10 10 0 0 1 10 0").bounds().height(), 2);
    // A flag of 2 is false, like 0.
    EXPECT_EQ(describe(pathFor(u"M0 0 A5 5 0 0 2 10 0")), describe(pathFor(u"M0 0 A5 5 0 0 0 10 0")));
    // Relative arcs end relative to the current point.
    EXPECT_EQ(pathFor(u"M10 10 a5 5 0 0 1 10 0").elements().back().points[0], QPointF(20, 10));
    // A zero radius is a straight line; an arc to the point it starts from draws nothing.
    EXPECT_EQ(describe(pathFor(u"M0 0 A0 5 0 0 1 10 0")), QStringLiteral("M0,0 L10,0"));
    EXPECT_EQ(describe(pathFor(u"M3 3 A5 5 0 0 1 3 3")), QStringLiteral("M3,3"));
    // A rotated ellipse still ends exactly at its end point, so relative commands after it do not drift.
    EXPECT_EQ(pathFor(u"M0 0 a20 10 30 1 0 15 5 l1 1").currentPoint(), QPointF(16, 6));
}

TEST(SvgBezierPath, BoundsAndControlPointBounds)
{
    PTSVGBezierPath path;
    path.moveTo({0, 0});
    path.curveTo({0, 10}, {10, 10}, {10, 0});
    EXPECT_EQ(path.controlPointBounds(), QRectF(0, 0, 10, 10));
    const QRectF tight = path.bounds();
    EXPECT_NEAR(tight.height(), 7.5, 1e-9);
    PTSVGBezierPath quad;
    quad.moveTo({0, 0});
    quad.quadTo({5, 10}, {10, 0});
    EXPECT_NEAR(quad.bounds().height(), 5, 1e-9);
    EXPECT_TRUE(PTSVGBezierPath().bounds().isNull());
    path.transform(QTransform::fromTranslate(5, 5));
    EXPECT_EQ(path.currentPoint(), QPointF(15, 5));
}

TEST(SvgBezierPath, CairoPathsCloseOpenFiguresOnlyWhenAsked)
{
    auto countCloses = [](const PTSVGBezierPath& path, bool autoClose) {
        auto cairoPath = path.newCairoPath(autoClose);
        int closes = 0;
        for (int i = 0; i < cairoPath->num_data; i += cairoPath->data[i].header.length)
            closes += cairoPath->data[i].header.type == CAIRO_PATH_CLOSE_PATH ? 1 : 0;
        return closes;
    };
    const auto triangle = pathFor(u"M0 0 L10 0 L10 10");
    EXPECT_EQ(countCloses(triangle, true), 1);
    EXPECT_EQ(countCloses(triangle, false), 0);
    EXPECT_EQ(countCloses(pathFor(u"M0 0 L10 0 L10 10 Z"), true), 1);
    EXPECT_EQ(PTSVGBezierPath().newCairoPath(true), nullptr);
    // A quadratic segment becomes the cubic of the same curve.
    auto quad = pathFor(u"M0 0 Q3 3 6 0").newCairoPath(false);
    ASSERT_EQ(quad->data[2].header.type, CAIRO_PATH_CURVE_TO);
    EXPECT_DOUBLE_EQ(quad->data[3].point.x, 2);
    EXPECT_DOUBLE_EQ(quad->data[3].point.y, 2);
    EXPECT_DOUBLE_EQ(quad->data[4].point.x, 4);
}
