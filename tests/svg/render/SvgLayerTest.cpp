// The SVG layer classes: sublayer checks, mask conversion for vector output, walks, backing scale, luminance
// masks, pattern tiles.
#include "svg/model/PTSVGBezierPath.h"
#include "svg/render/PTSVGGroupLayer.h"
#include "svg/render/PTSVGImageLayer.h"
#include "svg/render/PTSVGInvalidSublayerException.h"
#include "svg/model/PTSVGPattern.h"
#include "svg/render/PTSVGPatternLayer.h"
#include "svg/render/PTSVGShapeLayer.h"
#include "svg/render/PTSVGStrokeLayer.h"

#include <cairo.h>

#include <gtest/gtest.h>

namespace {

std::shared_ptr<PTSVGShapeLayer> rectLayer(const QRectF& rect, const QColor& color)
{
    auto path = std::make_shared<PTSVGBezierPath>();
    path->appendRect(rect);
    auto layer = std::make_shared<PTSVGShapeLayer>();
    layer->setPath(path);
    layer->setFillColor(color);
    return layer;
}

QImage render(pt::Layer& layer, int size = 100)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    cairo_surface_t* surface = cairo_image_surface_create_for_data(image.bits(), CAIRO_FORMAT_ARGB32, size, size,
                                                                   int(image.bytesPerLine()));
    cairo_t* cr = cairo_create(surface);
    layer.renderInContext(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return image;
}

int alphaAt(const QImage& image, int x, int y)
{
    return qAlpha(image.pixel(x, y));
}

// A mask container holding the given parts.
std::shared_ptr<PTSVGGroupLayer> container(std::initializer_list<std::shared_ptr<pt::Layer>> parts)
{
    auto mask = std::make_shared<PTSVGGroupLayer>();
    mask->setMaskRole(PTSVGGroupLayer::MaskRole::Container);
    for (const auto& part : parts)
        mask->addSublayer(part);
    return mask;
}

} // namespace

TEST(SvgLayer, OnlySvgLayersBecomeSublayers)
{
    auto group = std::make_shared<PTSVGGroupLayer>();
    auto shape = std::make_shared<PTSVGShapeLayer>();
    EXPECT_THROW(group->addSublayer(std::make_shared<pt::Layer>()), PTSVGInvalidSublayerException);
    EXPECT_THROW(shape->addSublayer(std::make_shared<pt::ShapeLayer>()), PTSVGInvalidSublayerException);
    EXPECT_THROW(group->addSublayer(nullptr), PTSVGInvalidSublayerException);
    EXPECT_NO_THROW(group->addSublayer(std::make_shared<PTSVGStrokeLayer>()));
    EXPECT_NO_THROW(group->addSublayer(std::make_shared<PTSVGImageLayer>(QImage(2, 2, QImage::Format_ARGB32))));
    EXPECT_NO_THROW(shape->addSublayer(std::make_shared<PTSVGGroupLayer>()));
    EXPECT_EQ(group->sublayers().size(), 2u);
    EXPECT_TRUE(PTSVGIsLayer(shape.get()));
    EXPECT_TRUE(PTSVGIsLayer(group.get()));
    EXPECT_FALSE(PTSVGIsLayer(std::make_shared<pt::ShapeLayer>().get()));
    EXPECT_FALSE(PTSVGIsLayer(nullptr));
}

TEST(SvgLayer, MaskConversionMovesTheMaskAsideAndBack)
{
    auto layer = rectLayer({0, 0, 100, 100}, Qt::red);
    auto mask = container({rectLayer({20, 20, 30, 30}, Qt::white)});
    layer->setMask(mask);
    layer->setConvertMasksToPaths(true);
    layer->setConvertMasksToPaths(true);
    EXPECT_EQ(layer->maskingLayer(), mask);
    EXPECT_EQ(layer->mask(), nullptr);
    // Converted, the mask clips to its shapes' outlines.
    const QImage clipped = render(*layer);
    EXPECT_EQ(alphaAt(clipped, 30, 30), 255);
    EXPECT_EQ(alphaAt(clipped, 10, 10), 0);
    EXPECT_EQ(alphaAt(clipped, 60, 60), 0);
    layer->setConvertMasksToPaths(false);
    EXPECT_EQ(layer->mask(), mask);
    EXPECT_EQ(layer->maskingLayer(), nullptr);
}

TEST(SvgLayer, ClipAndMaskIntersectWhetherConvertedOrNot)
{
    for (const bool convert : {false, true}) {
        auto layer = rectLayer({0, 0, 100, 100}, Qt::red);
        auto clip = std::make_shared<PTSVGGroupLayer>();
        clip->addSublayer(rectLayer({0, 0, 60, 100}, Qt::white));
        auto luminance = std::make_shared<PTSVGGroupLayer>();
        luminance->setMaskRole(PTSVGGroupLayer::MaskRole::Luminance);
        luminance->addSublayer(rectLayer({40, 0, 60, 100}, Qt::white));
        layer->setMask(container({clip, luminance}));
        layer->setConvertMasksToPaths(convert);
        const QImage image = render(*layer);
        EXPECT_EQ(alphaAt(image, 20, 50), 0) << "clip only, convert " << convert;
        EXPECT_EQ(alphaAt(image, 50, 50), 255) << "both, convert " << convert;
        EXPECT_EQ(alphaAt(image, 80, 50), 0) << "mask only, convert " << convert;
    }
}

TEST(SvgLayer, LuminanceMasksWeighColourAndAlpha)
{
    auto layer = rectLayer({0, 0, 100, 100}, Qt::red);
    auto luminance = std::make_shared<PTSVGGroupLayer>();
    luminance->setMaskRole(PTSVGGroupLayer::MaskRole::Luminance);
    luminance->addSublayer(rectLayer({0, 0, 25, 100}, Qt::white));
    luminance->addSublayer(rectLayer({25, 0, 25, 100}, Qt::black));
    luminance->addSublayer(rectLayer({50, 0, 25, 100}, QColor(255, 255, 255, 128)));
    luminance->addSublayer(rectLayer({75, 0, 25, 100}, QColor(0, 255, 0)));
    layer->setMask(container({luminance}));
    const QImage image = render(*layer);
    EXPECT_EQ(alphaAt(image, 10, 50), 255);
    EXPECT_EQ(alphaAt(image, 35, 50), 0) << "black hides";
    EXPECT_NEAR(alphaAt(image, 60, 50), 128, 2) << "half transparent white shows half";
    EXPECT_NEAR(alphaAt(image, 90, 50), 183, 3) << "green weighs 0.7154";
}

TEST(SvgLayer, DeepestSublayersAndWalkOrder)
{
    auto root = std::make_shared<PTSVGGroupLayer>();
    auto first = rectLayer({0, 0, 1, 1}, Qt::red);
    auto inner = std::make_shared<PTSVGGroupLayer>();
    auto second = rectLayer({0, 0, 1, 1}, Qt::green), third = rectLayer({0, 0, 1, 1}, Qt::blue);
    inner->addSublayer(second);
    inner->addSublayer(third);
    root->addSublayer(first);
    root->addSublayer(inner);
    const auto leaves = PTSVGLayer::deepestSublayersOfLayer(*root);
    EXPECT_EQ(leaves, (std::vector<pt::Layer*>{first.get(), second.get(), third.get()}));
    EXPECT_TRUE(PTSVGLayer::deepestSublayersOfLayer(*first).empty());

    auto maskChild = rectLayer({0, 0, 1, 1}, Qt::white);
    auto mask = container({maskChild});
    inner->setMask(mask);
    std::vector<std::pair<pt::Layer*, bool>> visits;
    PTSVGLayer::recursivelyWalkLayer(*root, [&](pt::Layer& layer, bool isMask) { visits.emplace_back(&layer, isMask); });
    const std::vector<std::pair<pt::Layer*, bool>> expected{{root.get(), false},  {first.get(), false},
                                                            {inner.get(), false}, {mask.get(), true},
                                                            {second.get(), false}, {third.get(), false}};
    EXPECT_EQ(visits, expected);
}

TEST(SvgLayer, BackingScaleMarksForDisplayOnlyWhenItChanges)
{
    auto image = std::make_shared<PTSVGImageLayer>(QImage(4, 2, QImage::Format_ARGB32));
    EXPECT_TRUE(image->requiresBackingScaleHelp());
    EXPECT_EQ(image->frame(), QRectF(0, 0, 4, 2));
    image->setBackingScaleFactor(0);
    EXPECT_FALSE(image->needsDisplay());
    image->setBackingScaleFactor(2);
    EXPECT_TRUE(image->needsDisplay());
    EXPECT_EQ(image->contentsScale(), 2);
    EXPECT_FALSE(image->contents().isNull());
}

TEST(SvgLayer, PatternTilesMeasureInTheObjectsBoxOrInUserSpace)
{
    auto node = std::make_shared<PTSVGPattern>();
    node->setWidth(PTSVGUnitLength(0.5));
    node->setHeight(PTSVGUnitLength::unitWithPercentageFloat(0.25));
    PTSVGPatternLayer layer;
    layer.setPatternNode(node);
    layer.setObjectRect(QRectF(10, 20, 10, 10));
    layer.setViewBox(QRectF(0, 0, 200, 100));
    EXPECT_EQ(layer.tileRect(), QRectF(10, 20, 5, 2.5));
    node->setUnits(0);
    node->setX(PTSVGUnitLength(3));
    EXPECT_EQ(layer.tileRect(), QRectF(3, 0, 0.5, 25));
}
