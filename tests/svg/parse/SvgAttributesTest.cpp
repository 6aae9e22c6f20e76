// Presentation attributes and the basic shapes as the parser applies them to nodes.
#include "SvgTestTrees.h"

#include "svg/model/PTSVGLinearGradient.h"
#include "svg/model/PTSVGPath.h"
#include "svg/model/PTSVGRadialGradient.h"

#include <gtest/gtest.h>

using svgtest::find;
using svgtest::findAs;
using svgtest::hex;
using svgtest::parse;
using svgtest::parseBody;

namespace {

PTSVGBezierPath pathOf(const PTSVGGroup& root, const char* id)
{
    const auto path = findAs<PTSVGPath>(root, QString::fromLatin1(id));
    EXPECT_TRUE(path) << id;
    return path ? path->path() : PTSVGBezierPath();
}

} // namespace

TEST(SvgAttributes, ValuesFromStylesWinOverAttributes)
{
    const auto root = parseBody(QStringLiteral(R"svg(
        <style>.red { fill: #ff0000 }</style>
        <path id="a" class="red" fill="#0000ff" d="M0 0h1"/>
        <path id="b" class="red" fill="#0000ff" style="fill:#00ff00" d="M0 0h1"/>
        <path id="c" DISPLAY="none" display="NONE" d="M0 0h1"/>
        <path id="d" visibility="hidden" d="M0 0h1"/>
        <path id="e" fill="" d="M0 0h1"/>
    )svg"));
    ASSERT_TRUE(root);
    EXPECT_EQ(hex(find(*root, QStringLiteral("a"))->fillColor()), "#ff0000ff");
    EXPECT_EQ(hex(find(*root, QStringLiteral("b"))->fillColor()), "#00ff00ff");
    EXPECT_FALSE(find(*root, QStringLiteral("c"))->shouldRender());
    EXPECT_TRUE(find(*root, QStringLiteral("d"))->shouldRender());
    EXPECT_FALSE(find(*root, QStringLiteral("e"))->fillColor());
}

TEST(SvgAttributes, FillOpacityGoesIntoTheFillColour)
{
    const auto root = parseBody(QStringLiteral(R"svg(
        <g fill="#ff0000"><path id="inheritedColour" fill-opacity="0.5" d="M0 0h1"/></g>
        <g fill-opacity="0.25"><path id="inheritedOpacity" fill="#0000ff" d="M0 0h1"/><path id="noColour" d="M0 0h1"/></g>
        <path id="none" fill="none" fill-opacity="0.5" d="M0 0h1"/>
        <path id="percent" fill="#00ff00" fill-opacity="50%" d="M0 0h1"/>
    )svg"));
    ASSERT_TRUE(root);
    EXPECT_EQ(hex(find(*root, QStringLiteral("inheritedColour"))->fillColor()), "#ff000080");
    EXPECT_EQ(hex(find(*root, QStringLiteral("inheritedOpacity"))->fillColor()), "#0000ff40");
    EXPECT_FALSE(find(*root, QStringLiteral("noColour"))->fillColor());
    EXPECT_DOUBLE_EQ(find(*root, QStringLiteral("noColour"))->fillOpacity()->value(), 0.25);
    EXPECT_EQ(hex(find(*root, QStringLiteral("none"))->fillColor()), "#00000000");
    EXPECT_EQ(hex(find(*root, QStringLiteral("percent"))->fillColor()), "#00ff0080");
}

TEST(SvgAttributes, StrokeValues)
{
    const auto root = parseBody(QStringLiteral(R"svg(
        <path id="dash" stroke-dasharray="5,3 2" stroke-dashoffset="1.5" stroke-linejoin="bevel" stroke-width="0" d="M0 0h1"/>
        <path id="negative" stroke-dasharray="5 -1" d="M0 0h1"/>
        <path id="zeros" stroke-dasharray="0 0" d="M0 0h1"/>
        <path id="none" stroke-dasharray="none" stroke-opacity="0" d="M0 0h1"/>
        <path id="blend" mix-blend-mode="Multiply" transform="translate(1) rotate(5)" d="M0 0h1"/>
    )svg"));
    ASSERT_TRUE(root);
    const auto dash = find(*root, QStringLiteral("dash"));
    EXPECT_EQ(dash->strokeDashArray(), (std::vector<double>{5, 3, 2, 5, 3, 2}));
    EXPECT_DOUBLE_EQ(dash->strokeDashOffset()->value(), 1.5);
    EXPECT_EQ(dash->lineJoinStyle(), 3);
    // An explicit zero width is kept as given (no stroke), unlike a width given nowhere.
    EXPECT_DOUBLE_EQ(dash->strokeWidth()->value(), 0);
    EXPECT_FALSE(dash->strokeWidth()->inherit());
    EXPECT_TRUE(find(*root, QStringLiteral("negative"))->strokeDashArray().empty());
    EXPECT_TRUE(find(*root, QStringLiteral("zeros"))->strokeDashArray().empty());
    EXPECT_TRUE(find(*root, QStringLiteral("none"))->strokeDashArray().empty());
    EXPECT_DOUBLE_EQ(find(*root, QStringLiteral("none"))->strokeOpacity()->value(), 0);
    const auto blend = find(*root, QStringLiteral("blend"));
    EXPECT_EQ(blend->blendMode(), 1);
    ASSERT_EQ(blend->transforms().size(), 2u);
    EXPECT_EQ(blend->transforms()[0].command(), PTSVGTransform::Translate);
}

TEST(SvgAttributes, BasicShapes)
{
    const auto root = parse(QStringLiteral(R"svg(<svg viewBox="0 0 200 100">
        <rect id="percent" x="10%" width="50%" height="10" y="50%"/>
        <rect id="rounded" width="20" height="10" rx="4"/>
        <rect id="ryOnly" width="20" height="10" ry="3"/>
        <rect id="empty" width="0" height="10"/>
        <line id="line" x1="0.004" y1="0" x2="10" y2="10.006"/>
        <polyline id="odd" points="0 0 10 10 20"/>
        <polyline id="open" points="0,0 10,10 20,0"/>
        <polygon id="closed" points="0,0 10,0 10,10 0,10"/>
        <circle id="circle" cx="5" cy="5" r="5"/>
        <ellipse id="ellipse" cx="10" cy="5" rx="10" ry="5"/>
        <circle id="noRadius" cx="5" cy="5"/>
    </svg>)svg"));
    ASSERT_TRUE(root);
    EXPECT_EQ(pathOf(*root, "percent").bounds(), QRectF(20, 50, 100, 10));
    const auto rect = find(*root, QStringLiteral("percent"));
    EXPECT_FALSE(rect->x());
    EXPECT_FALSE(rect->y());
    EXPECT_DOUBLE_EQ(rect->width()->computeValue(200), 100);
    // Corners of radius 4 by 4: the top edge starts 4 in.
    const auto rounded = pathOf(*root, "rounded");
    EXPECT_EQ(rounded.elements()[0].points[0], QPointF(4, 0));
    EXPECT_EQ(rounded.bounds(), QRectF(0, 0, 20, 10));
    EXPECT_EQ(pathOf(*root, "ryOnly").elements()[0].points[0], QPointF(3, 0));
    EXPECT_TRUE(pathOf(*root, "empty").isEmpty());
    const auto line = pathOf(*root, "line");
    ASSERT_EQ(line.elements().size(), 2u);
    EXPECT_EQ(line.elements()[0].points[0], QPointF(0, 0));
    EXPECT_EQ(line.elements()[1].points[0], QPointF(10, 10.01));
    EXPECT_TRUE(pathOf(*root, "odd").isEmpty());
    EXPECT_EQ(pathOf(*root, "open").elements().back().type, PTSVGBezierPath::ElementType::LineTo);
    EXPECT_EQ(pathOf(*root, "closed").elements().back().type, PTSVGBezierPath::ElementType::Close);
    EXPECT_NEAR(pathOf(*root, "circle").bounds().width(), 10, 1e-9);
    EXPECT_NEAR(pathOf(*root, "ellipse").bounds().height(), 10, 1e-9);
    EXPECT_TRUE(pathOf(*root, "noRadius").isEmpty());
}

TEST(SvgGradients, StopsAndGeometry)
{
    const auto root = parseBody(QStringLiteral(R"svg(
        <defs>
          <linearGradient id="plain">
            <stop offset="50%" stop-color="red" stop-opacity="0.5"/>
            <stop offset="0.25" style="stop-color:blue"/>
            <stop offset="1.5" stop-color="red" style="stop-color:#0000ff;stop-opacity:0.25"/>
            <stop offset="-1"/>
          </linearGradient>
          <linearGradient id="user" x1="10" x2="200" gradientUnits="userSpaceOnUse" gradientTransform="rotate(45)"/>
          <linearGradient id="lengths" x1="10"/>
          <radialGradient id="radial" fx="0.25" fy="30"/>
          <radialGradient id="radialPercent" cx="10%" r="20" fx="25%"/>
          <linearGradient id="base" x1="0.1"><stop offset="0" stop-color="#00ff00"/><stop offset="1" stop-color="#ff0000"/></linearGradient>
          <linearGradient id="mid" xlink:href="#base" x2="0.5"/>
          <linearGradient id="top" xlink:href="#mid" y2="0.7"/>
          <linearGradient id="own" xlink:href="#base"><stop offset="0" stop-color="#123456"/></linearGradient>
        </defs>
        <linearGradient xlink:href="#outside"/>
        <linearGradient id="outside" x1="0.3"><stop offset="0" stop-color="#00ff00"/></linearGradient>
        <linearGradient xlink:href="#outside" x1="0.9"/>
        <rect id="r5" width="1" height="1" fill="url(#outside)"/>
        <rect id="r1" width="1" height="1" fill="url(#plain)" stroke="url(#user)"/>
        <rect id="r2" width="1" height="1" fill="url(#lengths)" stroke="url(#radial)"/>
        <rect id="r3" width="1" height="1" fill="url(#radialPercent)" stroke="url(#top)"/>
        <rect id="r4" width="1" height="1" fill="url(#own)"/>
    )svg"));
    ASSERT_TRUE(root);
    const auto plain = find(*root, QStringLiteral("r1"))->fillGradient();
    ASSERT_TRUE(plain);
    ASSERT_EQ(plain->stops().size(), 4u);
    EXPECT_DOUBLE_EQ(plain->stops()[0].offset, 0.5);
    EXPECT_EQ(hex(plain->stops()[0].color), "#ff000080");
    // Offsets never decrease and clamp to 1; the style's colour wins and takes the attribute opacity.
    EXPECT_DOUBLE_EQ(plain->stops()[1].offset, 0.5);
    EXPECT_EQ(hex(plain->stops()[1].color), "#0000ffff");
    EXPECT_DOUBLE_EQ(plain->stops()[2].offset, 1);
    EXPECT_EQ(hex(plain->stops()[2].color), "#0000ff40");
    EXPECT_EQ(hex(plain->stops()[3].color), "#000000ff");
    EXPECT_EQ(plain->units(), 1);
    // No coordinates: fractions from (0, 0) to (1, 0).
    EXPECT_EQ(plain->x2().type(), PTSVGUnitLength::Percentage);
    EXPECT_DOUBLE_EQ(plain->x2().value(), 1);

    const auto user = find(*root, QStringLiteral("r1"))->strokeGradient();
    EXPECT_EQ(user->units(), 0);
    EXPECT_EQ(user->x2().type(), PTSVGUnitLength::Number);
    EXPECT_DOUBLE_EQ(user->x2().value(), 200);
    ASSERT_EQ(user->transforms().size(), 1u);
    EXPECT_DOUBLE_EQ(find(*root, QStringLiteral("r2"))->fillGradient()->x2().value(), 100);

    const auto radial = std::dynamic_pointer_cast<PTSVGRadialGradient>(find(*root, QStringLiteral("r2"))->strokeGradient());
    ASSERT_TRUE(radial);
    EXPECT_EQ(radial->cx(), PTSVGUnitLength::unitWithPercentageFloat(0.5));
    EXPECT_EQ(radial->radius(), PTSVGUnitLength::unitWithPercentageFloat(0.5));
    EXPECT_EQ(radial->fx(), PTSVGUnitLength(0.25)) << "a focus is read as the centre is";
    EXPECT_EQ(radial->fy(), PTSVGUnitLength(30));
    const auto radialPercent = std::dynamic_pointer_cast<PTSVGRadialGradient>(find(*root, QStringLiteral("r3"))->fillGradient());
    EXPECT_EQ(radialPercent->cx(), PTSVGUnitLength::unitWithPercentageFloat(0.1));
    EXPECT_EQ(radialPercent->radius(), PTSVGUnitLength(20));
    EXPECT_EQ(radialPercent->fx(), PTSVGUnitLength::unitWithPercentageFloat(0.25));
    EXPECT_EQ(radialPercent->fy(), radialPercent->cy());

    // References chain: attributes from every level, the nearest winning; stops from the base.
    const auto top = find(*root, QStringLiteral("r3"))->strokeGradient();
    EXPECT_EQ(top->identifier(), QStringLiteral("top"));
    EXPECT_FLOAT_EQ(float(top->x1().value()), 0.1f);
    EXPECT_DOUBLE_EQ(top->x2().value(), 0.5);
    EXPECT_FLOAT_EQ(float(top->y2().value()), 0.7f);
    ASSERT_EQ(top->stops().size(), 2u);
    EXPECT_EQ(hex(top->stops()[1].color), "#ff0000ff");
    // A referring gradient with stops of its own keeps them.
    const auto own = find(*root, QStringLiteral("r4"))->fillGradient();
    ASSERT_EQ(own->stops().size(), 1u);
    EXPECT_EQ(hex(own->stops()[0].color), "#123456ff");
    // An anonymous gradient referring to another never takes over its id.
    const auto outside = find(*root, QStringLiteral("r5"))->fillGradient();
    ASSERT_TRUE(outside);
    EXPECT_FLOAT_EQ(float(outside->x1().value()), 0.3f);
}
