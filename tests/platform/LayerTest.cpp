#include "platform/layers/Layer.h"
#include "platform/layers/ShapeLayer.h"

#include <cairo.h>

#include <gtest/gtest.h>

using pt::Layer;
using pt::ShapeLayer;

namespace {

class RectPath : public pt::LayerPath {
public:
    explicit RectPath(QRectF rect) : rect_(rect) {}
    void appendToContext(cairo_t* cr) const override
    {
        cairo_rectangle(cr, rect_.x(), rect_.y(), rect_.width(), rect_.height());
    }
    QRectF boundingBox() const override { return rect_; }

private:
    QRectF rect_;
};

class LinePath : public pt::LayerPath {
public:
    LinePath(QPointF from, QPointF to) : from_(from), to_(to) {}
    void appendToContext(cairo_t* cr) const override
    {
        cairo_move_to(cr, from_.x(), from_.y());
        cairo_line_to(cr, to_.x(), to_.y());
    }
    QRectF boundingBox() const override { return QRectF(from_, to_).normalized(); }

private:
    QPointF from_, to_;
};

std::shared_ptr<ShapeLayer> filledRect(const QRectF& frame, const QColor& color)
{
    auto layer = std::make_shared<ShapeLayer>();
    layer->setFrame(frame);
    layer->setPath(std::make_shared<RectPath>(QRectF(QPointF(), frame.size())));
    layer->setFillColor(color);
    return layer;
}

// Renders the root layer into a transparent 100 x 100 canvas and answers it.
QImage render(Layer& root, int size = 100)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    cairo_surface_t* surface = cairo_image_surface_create_for_data(image.bits(), CAIRO_FORMAT_ARGB32, size, size,
                                                                   int(image.bytesPerLine()));
    cairo_t* cr = cairo_create(surface);
    root.renderInContext(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return image;
}

std::shared_ptr<Layer> canvas()
{
    auto root = std::make_shared<Layer>();
    root->setFrame(QRectF(0, 0, 100, 100));
    return root;
}

int alphaAt(const QImage& image, int x, int y)
{
    return qAlpha(image.pixel(x, y));
}

} // namespace

TEST(Layer, FrameComesFromPositionAndAnchor)
{
    struct Case {
        QPointF anchor;
        QRectF expectedFrame;
    };
    const std::vector<Case> cases{
        {{0.5, 0.5}, {40, 45, 20, 10}},
        {{0, 0}, {50, 50, 20, 10}},
        {{1, 1}, {30, 40, 20, 10}},
    };
    for (const Case& c : cases) {
        auto root = canvas();
        auto shape = filledRect({0, 0, 20, 10}, Qt::red);
        shape->setAnchorPoint(c.anchor);
        shape->setPosition({50, 50});
        root->addSublayer(shape);
        EXPECT_EQ(shape->frame(), c.expectedFrame);
        const QImage image = render(*root);
        const QRect f = c.expectedFrame.toRect();
        EXPECT_EQ(image.pixel(f.left() + 1, f.top() + 1), qRgb(255, 0, 0));
        EXPECT_EQ(image.pixel(f.right() - 1, f.bottom() - 1), qRgb(255, 0, 0));
        EXPECT_EQ(alphaAt(image, f.left() - 1, f.top() + 1), 0);
        EXPECT_EQ(alphaAt(image, f.left() + 1, f.bottom() + 2), 0);
    }
}

TEST(Layer, TransformTurnsAboutTheAnchorPoint)
{
    auto root = canvas();
    // A wide bar with a marker in its left end, turned a quarter clockwise about its centre (50, 50).
    auto bar = filledRect({40, 45, 20, 10}, Qt::blue);
    bar->addSublayer(filledRect({0, 0, 4, 10}, Qt::red));
    bar->setTransform(QTransform().rotate(90));
    root->addSublayer(bar);
    EXPECT_EQ(bar->frame(), QRectF(45, 40, 10, 20));
    const QImage image = render(*root);
    EXPECT_EQ(image.pixel(50, 42), qRgb(255, 0, 0)) << "the left end is on top after a clockwise quarter turn";
    EXPECT_EQ(image.pixel(50, 57), qRgb(0, 0, 255));
    EXPECT_EQ(alphaAt(image, 42, 50), 0);
}

TEST(Layer, SublayerTransformAppliesAboutTheAnchorToSublayersOnly)
{
    auto root = canvas();
    auto parent = filledRect({0, 0, 100, 100}, QColor(0, 255, 0, 0));
    parent->setSublayerTransform(QTransform().scale(2, 2));
    parent->addSublayer(filledRect({40, 40, 10, 10}, Qt::red));
    root->addSublayer(parent);
    const QImage image = render(*root);
    // (40..50) scaled by 2 about (50, 50) gives (30..50).
    EXPECT_EQ(image.pixel(31, 31), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(48, 48), qRgb(255, 0, 0));
    EXPECT_EQ(alphaAt(image, 52, 52), 0);
}

TEST(Layer, OpacityCompositesTheSubtreeAsOneGroup)
{
    auto root = canvas();
    auto group = std::make_shared<Layer>();
    group->setFrame({0, 0, 100, 100});
    group->addSublayer(filledRect({10, 10, 40, 40}, Qt::red));
    group->addSublayer(filledRect({30, 30, 40, 40}, Qt::red));
    group->setOpacity(0.5);
    root->addSublayer(group);
    const QImage image = render(*root);
    EXPECT_NEAR(alphaAt(image, 20, 20), 128, 1);
    EXPECT_NEAR(alphaAt(image, 40, 40), 128, 1) << "overlapping children must not add up";
}

namespace {

// Draws outside its bounds, as drawInContext() may.
class FarDrawing : public Layer {
public:
    void drawInContext(cairo_t* cr) override
    {
        cairo_rectangle(cr, 60, 60, 20, 20);
        cairo_fill(cr);
    }
};

} // namespace

TEST(Layer, AFadedGroupKeepsWhatItCannotBound)
{
    auto root = canvas();
    auto shape = filledRect({0, 0, 20, 20}, Qt::red);
    shape->addSublayer(std::make_shared<FarDrawing>());
    shape->setOpacity(0.5);
    root->addSublayer(shape);
    const QImage image = render(*root);
    EXPECT_NEAR(alphaAt(image, 10, 10), 128, 1);
    EXPECT_NEAR(alphaAt(image, 70, 70), 128, 1) << "a sublayer that may draw anywhere leaves the group unclipped";
}

TEST(Layer, MaskKeepsWhereTheMaskIsOpaqueInTheLayersCoordinates)
{
    auto root = canvas();
    auto shape = filledRect({20, 20, 60, 60}, Qt::red);
    // Opaque over the left third of the layer, half transparent over the middle third.
    auto mask = std::make_shared<Layer>();
    mask->setFrame({0, 0, 60, 60});
    mask->addSublayer(filledRect({0, 0, 20, 60}, QColor(0, 0, 255)));
    mask->addSublayer(filledRect({20, 0, 20, 60}, QColor(0, 0, 255, 128)));
    shape->setMask(mask);
    shape->setOpacity(0.5);
    root->addSublayer(shape);
    const QImage image = render(*root);
    EXPECT_NEAR(alphaAt(image, 30, 50), 128, 1);
    EXPECT_NEAR(alphaAt(image, 50, 50), 64, 2);
    EXPECT_EQ(alphaAt(image, 70, 50), 0);
    EXPECT_EQ(qRed(image.pixel(30, 50)), 128) << "the mask's colour never shows";
}

namespace {

// A mask that covers only the left half of whatever it is drawn over, whatever it would render itself.
class LeftHalfMask : public Layer {
public:
    void renderAsMask(cairo_t* cr) override
    {
        cairo_rectangle(cr, 0, 0, bounds().width() / 2, bounds().height());
        cairo_fill(cr);
    }
};

} // namespace

TEST(Layer, MaskCoverageComesFromRenderAsMask)
{
    auto root = canvas();
    auto shape = filledRect({0, 0, 100, 100}, Qt::red);
    auto mask = std::make_shared<LeftHalfMask>();
    mask->setFrame({0, 0, 100, 100});
    shape->setMask(mask);
    root->addSublayer(shape);
    const QImage image = render(*root);
    EXPECT_EQ(alphaAt(image, 25, 50), 255);
    EXPECT_EQ(alphaAt(image, 75, 50), 0);
}

TEST(Layer, FlattenedLayersDrawNothingAndLeaveTheContextUsable)
{
    auto root = canvas();
    auto flat = filledRect({0, 0, 100, 100}, Qt::red);
    flat->setTransform(QTransform(0, 0, 0, 0, 0, 0));
    root->addSublayer(flat);
    root->addSublayer(filledRect({50, 50, 50, 50}, Qt::blue));
    const QImage image = render(*root);
    EXPECT_EQ(alphaAt(image, 10, 10), 0);
    EXPECT_EQ(qBlue(image.pixel(75, 75)), 255) << "later layers still draw";
}

TEST(Layer, HiddenAndClippedLayers)
{
    auto root = canvas();
    auto hidden = filledRect({0, 0, 10, 10}, Qt::red);
    hidden->setHidden(true);
    root->addSublayer(hidden);
    auto clipper = filledRect({50, 50, 20, 20}, QColor(0, 0, 0, 0));
    clipper->addSublayer(filledRect({-10, -10, 40, 40}, Qt::green));
    clipper->setMasksToBounds(true);
    root->addSublayer(clipper);
    const QImage image = render(*root);
    EXPECT_EQ(alphaAt(image, 5, 5), 0);
    EXPECT_EQ(image.pixel(60, 60), qRgb(0, 255, 0));
    EXPECT_EQ(alphaAt(image, 45, 60), 0);
    EXPECT_EQ(alphaAt(image, 75, 60), 0);
}

TEST(Layer, ContentsStretchToBoundsAndShapeDefaults)
{
    auto root = canvas();
    QImage two(2, 1, QImage::Format_ARGB32);
    two.setPixel(0, 0, qRgb(255, 0, 0));
    two.setPixel(1, 0, qRgb(0, 0, 255));
    auto picture = std::make_shared<Layer>();
    picture->setFrame({0, 0, 40, 20});
    picture->setContents(two);
    root->addSublayer(picture);

    auto shape = std::make_shared<ShapeLayer>();
    EXPECT_EQ(shape->fillColor(), QColor(Qt::black));
    EXPECT_FALSE(shape->strokeColor().isValid());
    EXPECT_EQ(shape->miterLimit(), 10.0);
    EXPECT_EQ(shape->lineWidth(), 1.0);
    shape->setFrame({50, 50, 20, 20});
    shape->setPath(std::make_shared<RectPath>(QRectF(0, 0, 20, 20)));
    root->addSublayer(shape);

    const QImage image = render(*root);
    EXPECT_EQ(image.pixel(2, 10), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(37, 10), qRgb(0, 0, 255));
    EXPECT_EQ(alphaAt(image, 20, 25), 0);
    EXPECT_EQ(image.pixel(60, 60), qRgb(0, 0, 0));
}

TEST(Layer, StrokesWithDashesAndRefusesBadPatterns)
{
    for (const std::vector<double>& pattern : {std::vector<double>{10, 10}, std::vector<double>{-1, 5}}) {
        auto root = canvas();
        auto line = std::make_shared<ShapeLayer>();
        line->setFrame({0, 0, 100, 100});
        line->setPath(std::make_shared<LinePath>(QPointF(10, 50), QPointF(90, 50)));
        line->setFillColor(QColor());
        line->setStrokeColor(Qt::black);
        line->setLineWidth(4);
        line->setLineDashPattern(pattern);
        root->addSublayer(line);
        const QImage image = render(*root);
        const bool dashed = pattern[0] > 0;
        EXPECT_EQ(alphaAt(image, 15, 50), 255);
        EXPECT_EQ(alphaAt(image, 25, 50), dashed ? 0 : 255);
    }
}

TEST(Layer, SublayerListKeepsOneParent)
{
    auto a = std::make_shared<Layer>();
    auto b = std::make_shared<Layer>();
    auto child = std::make_shared<Layer>();
    a->addSublayer(child);
    b->addSublayer(child);
    EXPECT_TRUE(a->sublayers().empty());
    EXPECT_EQ(child->superlayer(), b.get());
    child->removeFromSuperlayer();
    EXPECT_TRUE(b->sublayers().empty());
    EXPECT_EQ(child->superlayer(), nullptr);
}
