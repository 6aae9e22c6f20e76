#include "svg/render/PTSVGDirectRenderer.h"

#include "platform/graphics/CairoColor.h"
#include "svg/render/PTSVGGradientLayer.h"
#include "svg/render/PTSVGGroupLayer.h"
#include "svg/render/PTSVGShapeLayer.h"
#include "svg/render/PTSVGStrokeLayer.h"

#include <algorithm>
#include <cmath>
#include <typeinfo>

namespace {

// Mask bitmaps are sized from layer frames, which come from the document: a side is capped before allocating.
constexpr double MaximumMaskSide = 8192;

// Classes are compared exactly: the stroke layer is a path layer too, but only the layer that owns it draws it.
template <typename Class>
bool isExactly(const pt::Layer& layer)
{
    return typeid(layer) == typeid(Class);
}

void setSourceColor(cairo_t* cr, const QColor& color, double alpha)
{
    const QColor rgb = color.toRgb();
    pt::CairoColor{rgb.redF(), rgb.greenF(), rgb.blueF(), rgb.alphaF() * alpha}.setAsSource(cr);
}

// The union of two rectangles by their edges: a frame of zero size still counts as a point.
QRectF unite(const QRectF& a, const QRectF& b)
{
    const double left = std::min(a.left(), b.left()), top = std::min(a.top(), b.top());
    return QRectF(left, top, std::max(a.right(), b.right()) - left, std::max(a.bottom(), b.bottom()) - top);
}

// Pixels along one side of a mask bitmap: the length times the scale, truncated; 0 for anything not positive.
int bitmapSide(double length, double scale)
{
    const double pixels = length * scale;
    return pixels >= 1 ? int(std::min(pixels, MaximumMaskSide)) : 0;
}

} // namespace

void PTSVGDirectRenderer::save(cairo_t* cr)
{
    cairo_save(cr);
    savedAlphas_.push_back(alpha_);
}

void PTSVGDirectRenderer::restore(cairo_t* cr)
{
    cairo_restore(cr);
    alpha_ = savedAlphas_.back();
    savedAlphas_.pop_back();
}

void PTSVGDirectRenderer::renderLayer(pt::Layer* layer, cairo_t* cr)
{
    if (!layer || layer->isHidden() || isExactly<PTSVGStrokeLayer>(*layer) || isExactly<PTSVGGradientLayer>(*layer))
        return;
    // A transform that flattens the layer leaves nothing to see; cairo would refuse it and stop drawing altogether.
    if (!layer->transform().isInvertible())
        return;
    save(cr);
    pt::applyTransform(cr, layer->transform());
    alpha_ = layer->opacity();
    pt::ImageSurface mask;
    QRectF maskFrame;
    const bool masked = layer->mask() != nullptr;
    if (masked) {
        mask = newMaskedImageForLayer(layer->mask().get(), &maskFrame);
        // A mask lies in its layer's own coordinates, which for a path layer start at its frame origin.
        if (isExactly<PTSVGShapeLayer>(*layer))
            maskFrame.translate(layer->frame().topLeft());
        cairo_push_group(cr);
    }
    renderLayerPaint(*layer, cr);
    for (const auto& sublayer : layer->sublayers())
        renderLayer(sublayer.get(), cr);
    if (masked) {
        cairo_pop_group_to_source(cr);
        clipToMask(cr, mask, maskFrame);
    }
    restore(cr);
}

void PTSVGDirectRenderer::clipToMask(cairo_t* cr, const pt::ImageSurface& mask, const QRectF& frame) const
{
    // An empty mask shows nothing.
    if (mask.isNull())
        return;
    const QSize pixels = mask.size();
    cairo_save(cr);
    cairo_translate(cr, frame.x(), frame.y());
    cairo_scale(cr, frame.width() / pixels.width(), frame.height() / pixels.height());
    cairo_mask_surface(cr, mask.surface(), 0, 0);
    cairo_restore(cr);
}

void PTSVGDirectRenderer::renderLayerPaint(pt::Layer& layer, cairo_t* cr)
{
    if (!isExactly<PTSVGShapeLayer>(layer))
        return;
    auto& shape = static_cast<PTSVGShapeLayer&>(layer);
    const QPointF origin = shape.frame().topLeft();
    cairo_translate(cr, origin.x(), origin.y());
    const auto& path = shape.path();
    save(cr);
    cairo_set_fill_rule(cr, shape.fillRule() == pt::ShapeLayer::FillRule::EvenOdd ? CAIRO_FILL_RULE_EVEN_ODD
                                                                                  : CAIRO_FILL_RULE_WINDING);
    PTSVGGradientLayer* gradient = shape.gradientFillLayer();
    // The path clips only a gradient, which paints beyond it: clipping a solid fill to its own outline would
    // square the coverage of its antialiased edges, and each clip costs a mask of the path.
    if (path && gradient) {
        path->appendToContext(cr);
        cairo_clip(cr);
    }
    if (path)
        path->appendToContext(cr);
    if (gradient) {
        save(cr);
        alpha_ = gradient->opacity();
        cairo_push_group(cr);
        gradient->drawInContext(cr);
        cairo_pop_group_to_source(cr);
        cairo_paint_with_alpha(cr, alpha_);
        restore(cr);
    } else if (shape.fillColor().isValid()) {
        setSourceColor(cr, shape.fillColor(), alpha_);
        cairo_fill(cr);
    }
    restore(cr);
    save(cr);
    if (!shape.strokeLayer()) {
        // What is left of the path is stroked at width 0, which draws nothing: it is only let go.
        cairo_new_path(cr);
    } else if (shape.strokeLayer()->strokeColor().isValid()) {
        strokeWithLayer(*shape.strokeLayer(), cr);
    }
    restore(cr);
}

void PTSVGDirectRenderer::strokeWithLayer(const pt::ShapeLayer& stroke, cairo_t* cr)
{
    save(cr);
    alpha_ = stroke.opacity();
    cairo_set_line_cap(cr, lineCapFromLayer(stroke));
    cairo_set_line_join(cr, lineJoinFromLayer(stroke));
    // Dash lengths are read in single precision; a pattern cairo cannot draw leaves the line solid.
    std::vector<double> dashes;
    if (stroke.drawsDashes()) {
        for (const double length : stroke.lineDashPattern())
            dashes.push_back(float(length));
    }
    cairo_set_dash(cr, dashes.data(), int(dashes.size()), stroke.lineDashPhase());
    if (const auto& path = stroke.path())
        path->appendToContext(cr);
    cairo_set_line_width(cr, stroke.lineWidth());
    setSourceColor(cr, stroke.strokeColor(), alpha_);
    cairo_stroke(cr);
    restore(cr);
}

pt::ImageSurface PTSVGDirectRenderer::newImageForLayer(pt::Layer* layer, ColorSpace colorSpace, QRectF* proposedRect)
{
    const QRectF frame = findFrameForLayer(layer);
    *proposedRect = frame;
    const double scale = scale_ * backingScale_;
    const QSize pixels(bitmapSide(frame.width(), scale), bitmapSide(frame.height(), scale));
    pt::ImageSurface image(pixels);
    if (image.isNull())
        return {};
    // The bitmap covers the frame where it lies, so a mask reaching left of or above the origin keeps that part.
    cairo_t* context = cairo_create(image.surface());
    cairo_scale(context, pixels.width() / frame.width(), pixels.height() / frame.height());
    cairo_translate(context, -frame.x(), -frame.y());
    renderLayer(layer, context);
    cairo_destroy(context);
    if (colorSpace == ColorSpace::Gray)
        PTSVGConvertToLuminance(image.surface());
    return image;
}

pt::ImageSurface PTSVGDirectRenderer::newMaskedImageForLayer(pt::Layer* layer, QRectF* proposedRect)
{
    return newImageForLayer(layer, ColorSpace::Gray, proposedRect);
}

QRectF PTSVGDirectRenderer::convertLayerFrame(const QRectF& frame)
{
    return QRectF(0, 0, std::abs(frame.x() - frame.width()), std::abs(frame.y() - frame.height()));
}

cairo_line_join_t PTSVGDirectRenderer::lineJoinFromLayer(const pt::ShapeLayer& layer)
{
    switch (layer.lineJoin()) {
    case pt::ShapeLayer::LineJoin::Bevel: return CAIRO_LINE_JOIN_BEVEL;
    case pt::ShapeLayer::LineJoin::Miter: return CAIRO_LINE_JOIN_MITER;
    default: return CAIRO_LINE_JOIN_ROUND;
    }
}

cairo_line_cap_t PTSVGDirectRenderer::lineCapFromLayer(const pt::ShapeLayer& layer)
{
    switch (layer.lineCap()) {
    case pt::ShapeLayer::LineCap::Butt: return CAIRO_LINE_CAP_BUTT;
    case pt::ShapeLayer::LineCap::Round: return CAIRO_LINE_CAP_ROUND;
    default: return CAIRO_LINE_CAP_SQUARE;
    }
}

QRectF PTSVGDirectRenderer::findFrameForLayer(const pt::Layer* layer)
{
    return layer ? recursivelyFindFrameForLayer(*layer, layer->frame()) : QRectF();
}

QRectF PTSVGDirectRenderer::recursivelyFindFrameForLayer(const pt::Layer& layer, const QRectF& rect)
{
    QRectF frame = unite(rect, layer.frame());
    for (const auto& sublayer : layer.sublayers())
        frame = recursivelyFindFrameForLayer(*sublayer, frame);
    return frame;
}
