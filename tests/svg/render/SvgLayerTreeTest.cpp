// Building layer trees from parsed documents: geometry, transforms, paint, overrides, masks.
#include "SvgTestTrees.h"
#include "svg/render/PTSVGGradientLayer.h"
#include "svg/render/PTSVGGroupLayer.h"
#include "svg/render/PTSVGLayerTree.h"
#include "svg/render/PTSVGShapeLayer.h"
#include "svg/render/PTSVGStrokeLayer.h"

#include <cairo.h>

#include <gtest/gtest.h>

namespace {

// The layer of the node with that id, built alone.
std::shared_ptr<pt::Layer> build(PTSVGLayerTree& tree, const PTSVGGroup& root, const QString& id)
{
    auto node = svgtest::find(root, id);
    EXPECT_TRUE(node) << id.toStdString();
    return node ? tree.layerForNode(*node) : nullptr;
}

std::shared_ptr<PTSVGShapeLayer> shape(PTSVGLayerTree& tree, const PTSVGGroup& root, const QString& id)
{
    return std::dynamic_pointer_cast<PTSVGShapeLayer>(build(tree, root, id));
}

QPointF firstPoint(const pt::LayerPath& path)
{
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
    cairo_t* cr = cairo_create(surface);
    path.appendToContext(cr);
    cairo_path_t* cairoPath = cairo_copy_path(cr);
    const QPointF point(cairoPath->data[1].point.x, cairoPath->data[1].point.y);
    cairo_path_destroy(cairoPath);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return point;
}

} // namespace

TEST(SvgLayerTree, PathLayersSitAtTheIntegralBoxOfTheirPath)
{
    auto root = svgtest::parseBody(QStringLiteral(R"svg(<path id="p" d="M10.5 20.25 L30 20.25 L30 40 L10.5 40 Z"/>
        <path id="empty" d=""/>)svg"));
    PTSVGLayerTree tree;
    auto layer = shape(tree, *root, QStringLiteral("p"));
    ASSERT_TRUE(layer);
    EXPECT_EQ(layer->frame(), QRectF(10, 20, 20, 20));
    EXPECT_EQ(layer->originalPathOrigin(), QPointF(10, 20));
    EXPECT_EQ(firstPoint(*layer->path()), QPointF(0.5, 0.25));
}

TEST(SvgLayerTree, TransformsWrapOutermostFirstWithTheOwnOffsetInnermost)
{
    auto root = svgtest::parseBody(QStringLiteral(R"svg(<defs><rect id="r" width="4" height="4"/></defs>
        <use id="u" href="#r" x="3" transform="translate(5,0) scale(2)"/>)svg"));
    PTSVGLayerTree tree;
    auto outer = build(tree, *root, QStringLiteral("u"));
    ASSERT_TRUE(outer);
    std::vector<QTransform> chain;
    const pt::Layer* layer = outer.get();
    while (layer && !dynamic_cast<const PTSVGShapeLayer*>(layer)) {
        if (!layer->transform().isIdentity())
            chain.push_back(layer->transform());
        layer = layer->sublayers().empty() ? nullptr : layer->sublayers().front().get();
    }
    EXPECT_EQ(chain, (std::vector<QTransform>{QTransform::fromTranslate(5, 0), QTransform::fromScale(2, 2),
                                              QTransform::fromTranslate(3, 0)}));
    EXPECT_TRUE(layer) << "the shape sits inside the wrappers";
}

TEST(SvgLayerTree, FillsFallBackToBlackAndFollowOverrides)
{
    auto root = svgtest::parseBody(QStringLiteral(R"svg(
        <linearGradient id="g"><stop offset="0" stop-color="red"/><stop offset="1" stop-color="blue"/></linearGradient>
        <rect id="plain" width="10" height="10"/>
        <rect id="faded" width="10" height="10" fill-opacity="0.5"/>
        <rect id="none" width="10" height="10" fill="none"/>
        <rect id="gradient" width="10" height="10" fill="url(#g)"/>)svg"));
    PTSVGLayerTree tree;
    EXPECT_EQ(shape(tree, *root, QStringLiteral("plain"))->fillColor(), QColor(Qt::black));
    EXPECT_NEAR(shape(tree, *root, QStringLiteral("faded"))->fillColor().alphaF(), 0.5, 0.01);
    EXPECT_NE(shape(tree, *root, QStringLiteral("gradient"))->gradientFillLayer(), nullptr);

    tree.setFillColor(Qt::red);
    auto gradient = shape(tree, *root, QStringLiteral("gradient"));
    EXPECT_EQ(gradient->fillColor(), QColor(Qt::red));
    EXPECT_EQ(gradient->gradientFillLayer(), nullptr);
    EXPECT_TRUE(gradient->sublayers().empty());
    EXPECT_EQ(shape(tree, *root, QStringLiteral("none"))->fillColor().alpha(), 0);
}

TEST(SvgLayerTree, StrokesTakeWidthsCapsDashesAndOverrides)
{
    auto root = svgtest::parseBody(QStringLiteral(R"svg(
        <linearGradient id="g"><stop offset="0" stop-color="red"/><stop offset="1" stop-color="blue"/></linearGradient>
        <path id="unstroked" d="M0 0 L10 10"/>
        <path id="default" d="M0 0 L10 10" stroke="red" stroke-linecap="round" stroke-dasharray="4 2"/>
        <path id="zero" d="M0 0 L10 10" stroke="red" stroke-width="0"/>
        <path id="painted" d="M0 0 L10 10" stroke="url(#g)" stroke-width="3"/>)svg"));
    PTSVGLayerTree tree;
    auto stroked = shape(tree, *root, QStringLiteral("default"));
    ASSERT_TRUE(stroked->strokeLayer());
    EXPECT_EQ(stroked->strokeLayer()->lineWidth(), 1.0);
    EXPECT_EQ(stroked->strokeLayer()->lineCap(), pt::ShapeLayer::LineCap::Round);
    EXPECT_EQ(stroked->strokeLayer()->lineDashPattern(), (std::vector<double>{4, 2}));
    EXPECT_EQ(shape(tree, *root, QStringLiteral("zero"))->strokeLayer(), nullptr) << "a zero width draws no stroke";
    auto painted = shape(tree, *root, QStringLiteral("painted"));
    ASSERT_TRUE(painted->gradientStrokeLayer());
    EXPECT_EQ(painted->gradientStrokeLayer()->mask().get(), painted->strokeLayer());

    tree.setStrokeColor(Qt::blue);
    tree.setStrokeWidth(0);
    EXPECT_EQ(shape(tree, *root, QStringLiteral("unstroked"))->strokeLayer(), nullptr);
    painted = shape(tree, *root, QStringLiteral("painted"));
    EXPECT_EQ(painted->gradientStrokeLayer(), nullptr);
    ASSERT_TRUE(painted->strokeLayer());
    EXPECT_EQ(painted->strokeLayer()->strokeColor(), QColor(Qt::blue));
    EXPECT_EQ(painted->strokeLayer()->lineWidth(), 3.0) << "an override width of 0 does not apply";
}

TEST(SvgLayerTree, ReplacementColoursRecolourPathsButNotMasks)
{
    auto root = svgtest::parseBody(QStringLiteral(R"svg(
        <mask id="m"><rect width="10" height="10" fill="#FF0000"/></mask>
        <rect id="red" width="10" height="10" fill="#FF0000"/>
        <rect id="blue" width="10" height="10" fill="#0000FF"/>
        <rect id="masked" width="10" height="10" fill="#0000FF" mask="url(#m)"/>)svg"));
    PTSVGLayerTree tree;
    tree.setReplacementColors({{QColor(255, 0, 0).rgba(), QColor(0, 255, 0)}});
    EXPECT_EQ(shape(tree, *root, QStringLiteral("red"))->fillColor(), QColor(0, 255, 0));
    EXPECT_EQ(shape(tree, *root, QStringLiteral("blue"))->fillColor(), QColor(0, 0, 255));
    auto masked = shape(tree, *root, QStringLiteral("masked"));
    ASSERT_TRUE(masked->mask());
    QColor maskFill;
    PTSVGLayer::recursivelyWalkLayer(*masked->mask()->sublayers().front(), [&](pt::Layer& layer, bool) {
        if (auto* maskShape = dynamic_cast<PTSVGShapeLayer*>(&layer))
            maskFill = maskShape->fillColor();
    });
    EXPECT_EQ(maskFill, QColor(255, 0, 0)) << "a mask's luminance is its own colour's";
}

TEST(SvgLayerTree, ClipPathAndMaskShareOneContainerClipFirst)
{
    auto root = svgtest::parseBody(QStringLiteral(R"svg(
        <clipPath id="c"><rect width="5" height="5" fill="red" stroke="blue"/></clipPath>
        <mask id="m"><rect width="10" height="10" fill="white"/></mask>
        <rect id="both" x="2" y="2" width="10" height="10" clip-path="url(#c)" mask="url(#m)"/>)svg"));
    PTSVGLayerTree tree;
    auto layer = shape(tree, *root, QStringLiteral("both"));
    auto container = std::dynamic_pointer_cast<PTSVGGroupLayer>(layer->mask());
    ASSERT_TRUE(container);
    EXPECT_EQ(container->maskRole(), PTSVGGroupLayer::MaskRole::Container);
    ASSERT_EQ(container->sublayers().size(), 2u);
    auto luminance = std::dynamic_pointer_cast<PTSVGGroupLayer>(container->sublayers()[1]);
    ASSERT_TRUE(luminance);
    EXPECT_EQ(luminance->maskRole(), PTSVGGroupLayer::MaskRole::Luminance);
    // Clip outlines are white fills without strokes, placed in the masked layer's coordinates.
    bool sawStroke = false;
    QColor clipFill;
    PTSVGLayer::recursivelyWalkLayer(*container->sublayers()[0], [&](pt::Layer& sub, bool) {
        sawStroke |= dynamic_cast<PTSVGStrokeLayer*>(&sub) != nullptr;
        if (auto* clipShape = dynamic_cast<PTSVGShapeLayer*>(&sub))
            clipFill = clipShape->fillColor();
    });
    EXPECT_FALSE(sawStroke);
    EXPECT_EQ(clipFill, QColor(Qt::white));
    EXPECT_EQ(container->sublayers()[0]->transform(), QTransform::fromTranslate(-2, -2));
}

TEST(SvgLayerTree, ReferencesBackIntoThemselvesEnd)
{
    auto root = svgtest::parseBody(QStringLiteral(R"svg(
        <mask id="m"><rect width="10" height="10" fill="white" mask="url(#m)"/></mask>
        <pattern id="p" width="5" height="5" patternUnits="userSpaceOnUse"><rect width="5" height="5" fill="url(#p)"/></pattern>
        <rect id="masked" width="10" height="10" mask="url(#m)"/>
        <rect id="patterned" width="10" height="10" fill="url(#p)"/>)svg"));
    PTSVGLayerTree tree;
    EXPECT_TRUE(build(tree, *root, QStringLiteral("masked")));
    EXPECT_TRUE(build(tree, *root, QStringLiteral("patterned")));
}
