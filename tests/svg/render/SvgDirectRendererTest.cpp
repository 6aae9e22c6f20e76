// The direct renderer (rendering engine 0): shape documents drawn as the layer tree draws them, and the
// simplifications it makes on purpose (no multiplied opacities, no images or pattern paint, black painted
// strokes), its mask bitmaps and the layers it skips.
#include "SvgTestTrees.h"
#include "svg/PTSVG.h"
#include "svg/model/PTSVGBezierPath.h"
#include "svg/render/PTSVGDirectRenderer.h"
#include "svg/render/PTSVGGradientLayer.h"
#include "svg/render/PTSVGGroupLayer.h"
#include "svg/render/PTSVGShapeLayer.h"
#include "svg/render/PTSVGStrokeLayer.h"

#include <gtest/gtest.h>

namespace {

QImage renderDocument(const QString& body, int engine, int size = 200)
{
    auto svg = PTSVG::svgWithString(QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 100 100\" "
                                                   "width=\"100\" height=\"100\">")
                                    + body + QStringLiteral("</svg>"));
    EXPECT_TRUE(svg.ok());
    if (!svg.ok())
        return {};
    svg.value()->setRenderingEngine(engine);
    return svg.value()->imageWithSize(QSize(size, size));
}

std::shared_ptr<PTSVGBezierPath> rectPath(const QRectF& rect)
{
    auto path = std::make_shared<PTSVGBezierPath>();
    path->appendRect(rect);
    return path;
}

// A path layer at the frame's place filling its whole frame.
template <typename Layer = PTSVGShapeLayer>
std::shared_ptr<Layer> rectLayer(const QRectF& frame, const QColor& fill)
{
    auto layer = std::make_shared<Layer>();
    layer->setPath(rectPath(QRectF(QPointF(), frame.size())));
    layer->setFrame(frame);
    layer->setFillColor(fill);
    return layer;
}

QImage renderLayer(pt::Layer& layer)
{
    pt::ImageSurface surface(QSize(40, 40));
    cairo_t* cr = cairo_create(surface.surface());
    PTSVGDirectRenderer().renderLayer(&layer, cr);
    cairo_destroy(cr);
    return surface.image();
}

} // namespace

TEST(SvgDirectRenderer, ShapeDocumentsDrawAsTheLayerTreeDraws)
{
    const struct {
        const char* name;
        const char* body;
    } cases[] = {
        {"fills", "<rect x='5' y='5' width='50' height='40' fill='#c03'/><circle cx='60' cy='60' r='30.5' fill='#36c'/>"},
        {"even-odd rule", "<path fill-rule='evenodd' d='M50 5 L79 95 L3 39 L97 39 L21 95 Z' fill='green'/>"},
        {"round caps and joins", "<polyline points='10,80 40,20 70,80 90,30' fill='none' stroke='navy' "
                                 "stroke-width='9' stroke-linecap='round' stroke-linejoin='round'/>"},
        {"square caps and bevel joins", "<polyline points='15,80 45,15 80,80' fill='none' stroke='#a50' "
                                        "stroke-width='11' stroke-linecap='square' stroke-linejoin='bevel'/>"},
        {"fill and stroke", "<rect x='20' y='20' width='60' height='50' rx='8' fill='yellow' stroke='black' "
                            "stroke-width='4'/>"},
        {"dashes", "<line x1='5' y1='50' x2='95' y2='50' stroke='black' stroke-width='6' "
                   "stroke-dasharray='10 5' stroke-dashoffset='3'/>"},
        {"zero dashes draw solid", "<line x1='5' y1='50' x2='95' y2='50' stroke='black' stroke-width='6' "
                                   "stroke-dasharray='0 0'/>"},
        {"linear gradient", "<defs><linearGradient id='g' x1='0' x2='1'><stop offset='0' stop-color='red'/>"
                            "<stop offset='1' stop-color='blue'/></linearGradient></defs>"
                            "<rect x='10' y='10' width='80' height='80' fill='url(#g)'/>"},
        {"radial gradient at fill opacity", "<defs><radialGradient id='g'><stop offset='0' stop-color='white'/>"
                                            "<stop offset='1' stop-color='#063'/></radialGradient></defs>"
                                            "<circle cx='50' cy='50' r='40' fill='url(#g)' fill-opacity='0.6'/>"},
        {"mask on a group", "<defs><mask id='m'><rect width='100' height='50' fill='white'/>"
                            "<circle cx='50' cy='70' r='20' fill='#808080'/></mask></defs>"
                            "<g mask='url(#m)'><rect x='10' y='10' width='80' height='80' fill='purple'/></g>"},
        {"mask region left of and above the origin",
         "<defs><mask id='m' maskUnits='userSpaceOnUse' x='-20' y='-20' width='140' height='140'>"
         "<rect width='60' height='100' fill='white'/></mask></defs>"
         "<g mask='url(#m)'><rect x='10' y='10' width='80' height='80' fill='purple'/></g>"},
        {"mask on a path", "<defs><mask id='m'><rect x='40' y='0' width='60' height='100' fill='white'/></mask></defs>"
                           "<rect x='20' y='30' width='60' height='40' fill='teal' mask='url(#m)'/>"},
        {"clip path", "<defs><clipPath id='c'><circle cx='50' cy='50' r='30'/></clipPath></defs>"
                      "<rect x='10' y='10' width='80' height='80' fill='orange' clip-path='url(#c)'/>"},
        {"nested transforms", "<g transform='translate(50 10) rotate(30)'><g transform='scale(1.5 0.75)'>"
                              "<rect x='0' y='0' width='30' height='40' fill='maroon' stroke='gray' stroke-width='2'/>"
                              "</g></g>"},
        {"opacity of a shape", "<rect x='10' y='10' width='60' height='60' fill='blue'/>"
                               "<circle cx='60' cy='60' r='30' fill='red' opacity='0.5'/>"},
        {"fill and stroke opacity", "<rect x='15' y='15' width='70' height='70' fill='lime' fill-opacity='0.4' "
                                    "stroke='black' stroke-opacity='0.5' stroke-width='6'/>"},
        {"hidden shapes", "<rect x='10' y='10' width='50' height='50' fill='red' visibility='hidden'/>"
                          "<g display='none'><circle cx='50' cy='50' r='40'/></g>"},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.name);
        const QImage layers = renderDocument(QString::fromUtf8(entry.body), 1);
        const QImage direct = renderDocument(QString::fromUtf8(entry.body), 0);
        ASSERT_FALSE(direct.isNull());
        EXPECT_LE(svgtest::differingFraction(direct, layers), svgtest::ConformingFraction);
    }
}

TEST(SvgDirectRenderer, DrawsShapesOnlyAndStrokesPaintBlack)
{
    const QString image = QStringLiteral(
        "<image x='0' y='0' width='100' height='100' href='data:image/png;base64,"
        "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mP8z8DwHwAFBQIAX8jx0gAAAABJRU5ErkJggg=='/>");
    const QString pattern = QStringLiteral(
        "<defs><pattern id='p' width='10' height='10' patternUnits='userSpaceOnUse'>"
        "<rect width='5' height='5' fill='red'/></pattern></defs><rect width='100' height='100' fill='url(#p)'/>");
    for (const QString& body : {image, pattern}) {
        const QImage layers = renderDocument(body, 1, 50);
        ASSERT_GT(qAlpha(layers.pixel(1, 1)), 0) << "the layer tree draws it";
        const QImage direct = renderDocument(body, 0, 50);
        QImage blank(direct.size(), direct.format());
        blank.fill(Qt::transparent);
        EXPECT_EQ(direct, blank) << body.toStdString();
    }
    // A gradient stroke is drawn in its stroke layer's black; the gradient itself is not.
    const QImage stroke = renderDocument(QStringLiteral(
        "<defs><linearGradient id='g'><stop offset='0' stop-color='red'/><stop offset='1' stop-color='red'/>"
        "</linearGradient></defs><rect x='20' y='20' width='60' height='60' fill='none' stroke='url(#g)' "
        "stroke-width='10'/>"), 0);
    EXPECT_EQ(stroke.pixel(40, 40), qRgb(0, 0, 0));
    EXPECT_EQ(qAlpha(stroke.pixel(100, 100)), 0);
    // Engines other than 0 and 1 draw nothing.
    const QImage none = renderDocument(QStringLiteral("<rect width='100' height='100'/>"), 2, 20);
    EXPECT_EQ(qAlpha(none.pixel(10, 10)), 0);
}

TEST(SvgDirectRenderer, EachLayerSetsItsOwnAlpha)
{
    auto group = std::make_shared<PTSVGGroupLayer>();
    group->setOpacity(0.5);
    auto opaque = rectLayer(QRectF(0, 0, 20, 40), Qt::blue);
    auto faded = rectLayer(QRectF(20, 0, 20, 40), Qt::blue);
    faded->setOpacity(0.5);
    group->addSublayer(opaque);
    group->addSublayer(faded);
    const QImage image = renderLayer(*group);
    EXPECT_EQ(qAlpha(image.pixel(10, 20)), 255) << "the group's opacity does not reach its shapes";
    EXPECT_NEAR(qAlpha(image.pixel(30, 20)), 128, 1);
}

TEST(SvgDirectRenderer, SkipsHiddenFlattenedAndPaintLayersOfTheirOwn)
{
    auto group = std::make_shared<PTSVGGroupLayer>();
    auto hidden = rectLayer(QRectF(0, 0, 10, 10), Qt::red);
    hidden->setHidden(true);
    // Drawn only by the path layer that owns them, never when met in the walk.
    auto stroke = rectLayer<PTSVGStrokeLayer>(QRectF(10, 0, 10, 10), Qt::red);
    stroke->setStrokeColor(Qt::red);
    auto gradient = std::make_shared<PTSVGGradientLayer>();
    gradient->addSublayer(rectLayer(QRectF(20, 0, 10, 10), Qt::red));
    // A hidden group hides what it holds.
    auto hiddenGroup = std::make_shared<PTSVGGroupLayer>();
    hiddenGroup->setHidden(true);
    hiddenGroup->addSublayer(rectLayer(QRectF(30, 0, 10, 10), Qt::red));
    for (const auto& layer : std::initializer_list<std::shared_ptr<pt::Layer>>{hidden, stroke, gradient, hiddenGroup})
        group->addSublayer(layer);
    // A transform that flattens its layer draws nothing, and leaves the context usable for the next one.
    auto flattened = std::make_shared<PTSVGGroupLayer>();
    flattened->setTransform(QTransform::fromScale(0, 1));
    flattened->addSublayer(rectLayer(QRectF(0, 0, 40, 10), Qt::red));
    group->addSublayer(flattened);
    group->addSublayer(rectLayer(QRectF(0, 20, 40, 20), Qt::green));
    const QImage image = renderLayer(*group);
    for (int x : {5, 15, 25, 35})
        EXPECT_EQ(qAlpha(image.pixel(x, 5)), 0) << x;
    EXPECT_EQ(image.pixel(20, 30), qRgb(0, 255, 0));
}

TEST(SvgDirectRenderer, MaskBitmapsCoverTheUnionFrameAtScaleTimesBackingScale)
{
    EXPECT_EQ(PTSVGDirectRenderer::findFrameForLayer(nullptr), QRectF());
    auto mask = rectLayer(QRectF(10, 10, 20, 20), Qt::white);
    mask->addSublayer(rectLayer(QRectF(0, 0, 40, 5), Qt::white));
    EXPECT_EQ(PTSVGDirectRenderer::findFrameForLayer(mask.get()), QRectF(0, 0, 40, 30));

    PTSVGDirectRenderer renderer;
    renderer.setScale(2);
    renderer.setBackingScale(2);
    QRectF frame;
    pt::ImageSurface bitmap = renderer.newMaskedImageForLayer(mask.get(), &frame);
    EXPECT_EQ(frame, QRectF(0, 0, 40, 30));
    ASSERT_EQ(bitmap.size(), QSize(160, 120));
    // White is full coverage where drawn; nothing elsewhere.
    EXPECT_EQ(bitmap.image().pixel(80, 80), 0xffffffffu);
    EXPECT_EQ(bitmap.image().pixel(10, 100), 0u);

    // A zero frame gives no bitmap; a huge one a capped bitmap rather than a failed allocation.
    EXPECT_TRUE(renderer.newMaskedImageForLayer(std::make_shared<PTSVGGroupLayer>().get(), &frame).isNull());
    auto huge = rectLayer(QRectF(0, 0, 1e7, 10), Qt::white);
    bitmap = renderer.newMaskedImageForLayer(huge.get(), &frame);
    ASSERT_FALSE(bitmap.isNull());
    EXPECT_LE(bitmap.size().width(), 8192);
}

TEST(SvgDirectRenderer, AFixedBackingScaleSetsTheMaskResolution)
{
    auto svg = PTSVG::svgWithString(
        "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 100 100' width='100' height='100'>"
        "<defs><mask id='m'><circle cx='50' cy='50' r='40' fill='white'/></mask></defs>"
        "<rect width='100' height='100' fill='navy' mask='url(#m)'/></svg>");
    ASSERT_TRUE(svg.ok());
    PTSVG& document = *svg.value();
    document.setRenderingEngine(0);
    const QImage byHelper = document.imageWithSize(QSize(200, 200));
    // Answers the mask pixels per view-box unit: the drawing's scale of 2 times the backing scale.
    EXPECT_DOUBLE_EQ(document.computeBackingScale(0), 2);

    // A coarse mask bitmap draws the circle's edge blocky.
    EXPECT_DOUBLE_EQ(document.computeBackingScale(0.05), 0.1);
    EXPECT_NE(document.imageWithSize(QSize(200, 200)), byHelper);

    // A negative or undefined scale returns to the helper's.
    for (double invalid : {-2.0, std::nan("")}) {
        EXPECT_DOUBLE_EQ(document.computeBackingScale(invalid), 2);
        EXPECT_EQ(document.imageWithSize(QSize(200, 200)), byHelper);
    }
}
