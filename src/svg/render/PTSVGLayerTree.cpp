#include "svg/render/PTSVGLayerTree.h"

#include "svg/render/PTSVGGradientLayer.h"
#include "svg/render/PTSVGGroupLayer.h"
#include "svg/model/PTSVGImage.h"
#include "svg/render/PTSVGImageLayer.h"
#include "svg/parse/PTSVGParser.h"
#include "svg/model/PTSVGPath.h"
#include "svg/model/PTSVGPattern.h"
#include "svg/render/PTSVGPatternLayer.h"
#include "svg/render/PTSVGShapeLayer.h"
#include "svg/render/PTSVGStrokeLayer.h"

#include <cmath>

namespace {

// The smallest rectangle of whole numbers holding the rectangle.
QRectF integralRect(const QRectF& rect)
{
    const double left = std::floor(rect.left()), top = std::floor(rect.top());
    return QRectF(left, top, std::ceil(rect.right()) - left, std::ceil(rect.bottom()) - top);
}

// A wrapper that only transforms: zero frame, so the transform applies about the origin.
std::shared_ptr<PTSVGGroupLayer> transformWrapper(const QTransform& transform)
{
    auto wrapper = std::make_shared<PTSVGGroupLayer>();
    wrapper->setTransform(transform);
    return wrapper;
}

QTransform boxTransform(const QRectF& box)
{
    return QTransform(box.width(), 0, 0, box.height(), box.x(), box.y());
}

// A length of a mask region: objectBoundingBox numbers are fractions of the box, user-space percentages refer to
// the view box; absent ones take SVG's default region of -10% / 120%.
double regionLength(const PTSVGNode::Length& length, bool box, double reference, double fallback)
{
    if (!length)
        return fallback * reference;
    return box ? length->value() * reference : length->computeValue(reference);
}

} // namespace

std::shared_ptr<pt::Layer> PTSVGLayerTree::layerForNode(const PTSVGNode& node)
{
    std::shared_ptr<pt::Layer> layer;
    if (const auto* path = dynamic_cast<const PTSVGPath*>(&node))
        layer = layerForPath(*path);
    else if (const auto* group = dynamic_cast<const PTSVGGroup*>(&node))
        layer = layerForGroup(*group);
    else if (const auto* image = dynamic_cast<const PTSVGImage*>(&node))
        layer = layerForImage(*image);
    if (!layer)
        return nullptr;
    applyDefaultsToLayer(*layer, node);
    return applyTransforms(layer, node);
}

void PTSVGLayerTree::applyDefaultsToLayer(pt::Layer& layer, const PTSVGNode& node) const
{
    // A clip path is made of outlines only: opacity does not reach it.
    const auto opacity = node.opacity();
    if (clipDepth_ == 0 && opacity)
        layer.setOpacity(std::clamp(float(opacity->value()), 0.0f, 1.0f));
    if (node.blendMode() != 0)
        dynamic_cast<PTSVGLayerState&>(layer).setBlendingMode(node.blendMode());
    if (!node.shouldRender())
        layer.setHidden(true);
}

std::shared_ptr<pt::Layer> PTSVGLayerTree::applyTransforms(const std::shared_ptr<pt::Layer>& layer,
                                                           const PTSVGNode& node) const
{
    const QRectF frame = layer->frame();
    const double x = node.x() ? node.x()->computeValue(frame.width()) : 0;
    const double y = node.y() ? node.y()->computeValue(frame.height()) : 0;
    // Of the nodes drawn here only a nested document is placed by x and y, through this translation: images
    // place themselves, a mask's x and y bound its region, and paths and groups have no position of their own.
    const auto* group = dynamic_cast<const PTSVGGroup*>(&node);
    const bool ownOffset = (x != 0 || y != 0) && group && group->svg();
    std::vector<PTSVGTransform> transforms = node.transforms();
    if (ownOffset)
        transforms.push_back(PTSVGTransform::transformByTranslatingX(x, y));
    if (transforms.empty())
        return layer;
    // The first transform is outermost; the node's own offset innermost.
    std::shared_ptr<pt::Layer> outermost;
    std::shared_ptr<pt::Layer> innermost;
    for (const auto& transform : transforms) {
        auto wrapper = transformWrapper(transform.matrix());
        // A transform that flattens everything (a zero scale, a zero matrix) leaves nothing to draw.
        if (!transform.matrix().isInvertible())
            wrapper->setHidden(true);
        if (innermost)
            innermost->addSublayer(wrapper);
        else
            outermost = wrapper;
        innermost = wrapper;
    }
    innermost->addSublayer(layer);
    return outermost;
}

std::shared_ptr<pt::Layer> PTSVGLayerTree::layerForGroup(const PTSVGGroup& group)
{
    if (const auto& nested = group.svg()) {
        // The nested document's view box is fitted into its viewport, which clips it.
        const QSizeF viewport = nested->proposedViewSize();
        const QRectF viewBox = nested->viewBox();
        auto clip = std::make_shared<PTSVGGroupLayer>();
        clip->setFrame(QRectF(QPointF(), viewport));
        clip->setMasksToBounds(true);
        auto wrapper = transformWrapper(nested->aspectRatio().transform(viewBox, QRectF(QPointF(), viewport)));
        if (auto content = layerForGroup(*nested))
            wrapper->addSublayer(content);
        clip->addSublayer(wrapper);
        return clip;
    }
    auto layer = std::make_shared<PTSVGGroupLayer>();
    for (const auto& child : group.children()) {
        if (auto sublayer = layerForNode(*child))
            layer->addSublayer(sublayer);
    }
    layer->setFrame(QRectF(0, 0, group.width() ? group.width()->value() : 0, group.height() ? group.height()->value() : 0));
    maskLayer(*layer, group);
    return layer;
}

std::shared_ptr<pt::Layer> PTSVGLayerTree::layerForImage(const PTSVGImage& image)
{
    if (image.image().isNull())
        return nullptr;
    auto layer = std::make_shared<PTSVGImageLayer>(image.image());
    const QSizeF natural = image.image().size();
    // A missing side follows from the other one and the image's proportions.
    QSizeF box = natural;
    if (image.width() && image.height())
        box = QSizeF(image.width()->value(), image.height()->value());
    else if (image.width())
        box = natural.scaled(image.width()->value(), 1e9, Qt::KeepAspectRatio);
    else if (image.height())
        box = natural.scaled(1e9, image.height()->value(), Qt::KeepAspectRatio);
    const QRectF viewport(QPointF(image.x() ? image.x()->value() : 0, image.y() ? image.y()->value() : 0), box);
    const PTSVGAspectRatio& ratio = image.aspectRatio();
    layer->setFrame(ratio.fittedRect(natural, viewport));
    if (!ratio.slices())
        return layer;
    // A slice overflows the box, which clips it.
    auto clip = std::make_shared<PTSVGGroupLayer>();
    clip->setBounds(viewport);
    clip->setPosition(viewport.center());
    clip->setMasksToBounds(true);
    clip->addSublayer(layer);
    return clip;
}

std::shared_ptr<PTSVGShapeLayer> PTSVGLayerTree::basicLayerForPath(const PTSVGPath& path) const
{
    auto layer = std::make_shared<PTSVGShapeLayer>();
    layer->setFillColor(QColor());
    layer->setFillRule(fillRule(clipDepth_ > 0 ? path.clipRule() : path.windingRule()));
    if (path.path().isEmpty()) {
        layer->setFrame(QRectF());
        return layer;
    }
    const QRectF box = integralRect(path.path().bounds());
    layer->setOriginalPathOrigin(box.topLeft());
    // The path moves to start at the layer's origin, keeping only its fractional offset.
    auto moved = std::make_shared<PTSVGBezierPath>(path.path());
    moved->transform(QTransform::fromTranslate(-box.x(), -box.y()));
    layer->setPath(std::move(moved));
    layer->setFrame(box);
    return layer;
}

std::shared_ptr<pt::Layer> PTSVGLayerTree::layerForPath(const PTSVGPath& path)
{
    auto layer = basicLayerForPath(path);
    applyFill(*layer, path);
    applyStroke(*layer, path);
    maskLayer(*layer, path);
    return layer;
}

void PTSVGLayerTree::applyFill(PTSVGShapeLayer& layer, const PTSVGPath& path)
{
    if (clipDepth_ > 0) {
        layer.setFillColor(Qt::white);
        return;
    }
    const bool override = fillColor_.isValid() && recolours();
    if (!override && (path.fillGradient() || path.fillPattern())) {
        auto paint = paintLayer(layer, path, false);
        if (!paint)
            return;
        layer.addSublayer(paint);
        if (auto* gradient = dynamic_cast<PTSVGGradientLayer*>(paint.get()))
            layer.setGradientFillLayer(gradient);
        else
            layer.setPatternFillLayer(dynamic_cast<PTSVGPatternLayer*>(paint.get()));
        return;
    }
    std::optional<QColor> color = path.fillColor();
    // A fully transparent fill ("none") stays unfilled under an override.
    const bool none = color && color->alpha() == 0 && !path.fillGradient() && !path.fillPattern();
    if (override && !none)
        color = fillColor_;
    if (!color) {
        // No fill anywhere: SVG's black, at the fill opacity.
        color = QColor(Qt::black);
        if (const auto opacity = path.fillOpacity(); opacity && opacity->value() != 1.0)
            color->setAlphaF(std::clamp(opacity->value(), 0.0, 1.0));
    }
    layer.setFillColor(proposedColorForColor(*color));
}

double PTSVGLayerTree::resolvedStrokeWidth(const PTSVGNode& node) const
{
    if (strokeWidth_ > 0 && recolours())
        return strokeWidth_;
    const auto width = node.strokeWidth();
    // Given nowhere: SVG's 1. Given as 0 (or an invalid negative width): no stroke at all.
    if (!width || width->inherit())
        return 1.0;
    if (width->value() < 0)
        return 0;
    const double diagonal = std::sqrt((viewBox_.width() * viewBox_.width() + viewBox_.height() * viewBox_.height()) / 2);
    return width->computeValue(diagonal);
}

std::shared_ptr<PTSVGStrokeLayer> PTSVGLayerTree::strokeLayer(const PTSVGShapeLayer& layer, const PTSVGPath& path) const
{
    std::optional<QColor> color = path.strokeColor();
    const bool paint = path.strokeGradient() || path.strokePattern();
    if (strokeColor_.isValid() && recolours() && ((color && color->alpha() > 0) || paint))
        color = strokeColor_;
    auto stroke = std::make_shared<PTSVGStrokeLayer>();
    stroke->setPath(layer.path());
    if (color) {
        QColor strokeColor = proposedColorForColor(*color);
        // The stroke opacity folds into the colour: one shape, so the same as a group opacity.
        if (const auto opacity = path.strokeOpacity(); opacity && opacity->value() != 1.0)
            strokeColor.setAlphaF(strokeColor.alphaF() * std::clamp(opacity->value(), 0.0, 1.0));
        stroke->setStrokeColor(strokeColor);
    }
    stroke->setLineWidth(resolvedStrokeWidth(path));
    const bool styles = recolours();
    stroke->setLineCap(lineCap(styles && lineCapStyle_ != 0 ? lineCapStyle_ : path.lineCapStyle()));
    stroke->setLineJoin(lineJoin(styles && lineJoinStyle_ != 0 ? lineJoinStyle_ : path.lineJoinStyle()));
    stroke->setLineDashPhase(path.strokeDashOffset() ? path.strokeDashOffset()->value() : 0);
    stroke->setLineDashPattern(lineDashPattern(path));
    return stroke;
}

void PTSVGLayerTree::applyStroke(PTSVGShapeLayer& layer, const PTSVGPath& path)
{
    if (clipDepth_ > 0 || !layer.path())
        return;
    if (!path.strokeColor() && !path.strokeGradient() && !path.strokePattern())
        return;
    auto stroke = strokeLayer(layer, path);
    if (!(stroke->lineWidth() > 0))
        return;
    const bool paint = (path.strokeGradient() || path.strokePattern()) && !(strokeColor_.isValid() && recolours());
    if (!paint) {
        if (!stroke->strokeColor().isValid() || stroke->strokeColor().alpha() == 0)
            return;
        layer.addSublayer(stroke);
        layer.setStrokeLayer(stroke.get());
        return;
    }
    // A painted stroke: the paint covers everything and the stroke, drawn opaque, cuts it out.
    auto paintLayerForStroke = paintLayer(layer, path, true);
    if (!paintLayerForStroke)
        return;
    stroke->setStrokeColor(Qt::black);
    paintLayerForStroke->setMask(stroke);
    layer.addSublayer(paintLayerForStroke);
    layer.setStrokeLayer(stroke.get());
    if (auto* gradient = dynamic_cast<PTSVGGradientLayer*>(paintLayerForStroke.get()))
        layer.setGradientStrokeLayer(gradient);
    else
        layer.setPatternStrokeLayer(dynamic_cast<PTSVGPatternLayer*>(paintLayerForStroke.get()));
}

std::shared_ptr<PTSVGLayer> PTSVGLayerTree::paintLayer(const PTSVGShapeLayer& layer, const PTSVGPath& path, bool stroke)
{
    const auto gradient = stroke ? path.strokeGradient() : path.fillGradient();
    const auto pattern = stroke ? path.strokePattern() : path.fillPattern();
    const auto opacity = stroke ? path.strokeOpacity() : path.fillOpacity();
    std::shared_ptr<PTSVGLayer> paint;
    if (gradient) {
        auto gradientLayer = std::make_shared<PTSVGGradientLayer>();
        gradientLayer->setGradient(gradient);
        gradientLayer->setViewBox(viewBox_);
        gradientLayer->setObjectRect(path.path().bounds());
        gradientLayer->setUserOrigin(layer.frame().topLeft());
        gradientLayer->setFillsShape(!stroke);
        paint = gradientLayer;
    } else if (pattern) {
        // The pattern's own transform turns the tiling, so its content is built without it.
        int noDepth = 0;
        bool cycle = false;
        auto content = referencedLayer(*pattern, noDepth, &cycle, false);
        if (cycle)
            return nullptr;
        auto patternLayer = std::make_shared<PTSVGPatternLayer>();
        patternLayer->setPattern(content);
        patternLayer->setPatternNode(pattern);
        patternLayer->setViewBox(viewBox_);
        patternLayer->setObjectRect(path.path().bounds());
        patternLayer->setUserOrigin(layer.frame().topLeft());
        patternLayer->setFillsShape(!stroke);
        paint = patternLayer;
    } else {
        return nullptr;
    }
    // The paint layer shares the path layer's coordinates.
    paint->setFrame(layer.bounds());
    if (opacity)
        paint->setOpacity(std::clamp(opacity->value(), 0.0, 1.0));
    return paint;
}

void PTSVGLayerTree::maskLayer(pt::Layer& layer, const PTSVGNode& node)
{
    const auto& clip = node.clipPath();
    // Inside a clip path only outlines count: masks there have no effect.
    const auto& mask = clipDepth_ > 0 ? nullptr : node.mask();
    if (!clip && !mask)
        return;
    const QPointF origin = layer.frame().topLeft();
    auto container = std::make_shared<PTSVGGroupLayer>();
    container->setMaskRole(PTSVGGroupLayer::MaskRole::Container);
    if (clip) {
        if (auto part = clipPart(*clip, node, origin))
            container->addSublayer(part);
    }
    if (mask) {
        if (auto part = maskPart(*mask, node, origin))
            container->addSublayer(part);
    }
    // A reference that leads back into itself masks everything away rather than recursing.
    layer.setMask(container);
}

std::shared_ptr<pt::Layer> PTSVGLayerTree::referencedLayer(const PTSVGGroup& node, int& depth, bool* cycle,
                                                           bool withTransforms)
{
    *cycle = activeReferences_.count(&node) || activeReferences_.size() >= size_t(MaximumReferenceDepth);
    if (*cycle)
        return nullptr;
    activeReferences_.insert(&node);
    ++depth;
    auto layer = withTransforms ? layerForNode(node) : layerForGroup(node);
    --depth;
    activeReferences_.erase(&node);
    return layer;
}

std::shared_ptr<pt::Layer> PTSVGLayerTree::clipPart(const PTSVGGroup& clip, const PTSVGNode& node, QPointF origin)
{
    bool cycle = false;
    auto content = referencedLayer(clip, clipDepth_, &cycle, false);
    if (cycle)
        return nullptr;
    // Clip contents are in the user space of the clipped node (or fractions of its box), whose origin sits at
    // the layer's frame origin; the clip path's own transform applies after the box.
    QTransform place = PTSVGConcatTransforms(clip.transforms()) * QTransform::fromTranslate(-origin.x(), -origin.y());
    if (clip.units() == 1)
        place = boxTransform(boundingBox(node)) * place;
    auto wrapper = transformWrapper(place);
    if (content)
        wrapper->addSublayer(content);
    return wrapper;
}

std::shared_ptr<pt::Layer> PTSVGLayerTree::maskPart(const PTSVGGroup& mask, const PTSVGNode& node, QPointF origin)
{
    bool cycle = false;
    auto content = referencedLayer(mask, maskDepth_, &cycle);
    if (cycle)
        return nullptr;
    const QRectF box = boundingBox(node);
    const bool boxUnits = mask.units() != 0;
    const QRectF reference = boxUnits ? box : viewBox_;
    QRectF region(regionLength(mask.x(), boxUnits, reference.width(), -0.1),
                  regionLength(mask.y(), boxUnits, reference.height(), -0.1),
                  regionLength(mask.width(), boxUnits, reference.width(), 1.2),
                  regionLength(mask.height(), boxUnits, reference.height(), 1.2));
    if (boxUnits)
        region.translate(box.topLeft());
    else if (!mask.x() || !mask.y())
        region.translate(mask.x() ? 0 : reference.x(), mask.y() ? 0 : reference.y());
    region.translate(-origin);
    // The region clips the mask; outside it nothing shows.
    auto regionLayer = std::make_shared<PTSVGGroupLayer>();
    regionLayer->setMaskRole(PTSVGGroupLayer::MaskRole::Luminance);
    regionLayer->setBounds(region);
    regionLayer->setPosition(region.center());
    regionLayer->setMasksToBounds(true);
    QTransform place = QTransform::fromTranslate(-origin.x(), -origin.y());
    if (mask.contentUnits() == 1)
        place = boxTransform(box) * place;
    auto wrapper = transformWrapper(place);
    if (content)
        wrapper->addSublayer(content);
    regionLayer->addSublayer(wrapper);
    return regionLayer;
}

QColor PTSVGLayerTree::proposedColorForColor(const QColor& color) const
{
    if (replacementColors_.isEmpty() || !recolours())
        return color;
    const QColor rgb = color.toRgb();
    return replacementColors_.value(rgb.rgba(), rgb);
}

std::vector<double> PTSVGLayerTree::lineDashPattern(const PTSVGNode& node)
{
    return node.strokeDashArray();
}

pt::ShapeLayer::LineCap PTSVGLayerTree::lineCap(qint64 style)
{
    switch (style) {
    case 3: return pt::ShapeLayer::LineCap::Square;
    case 2: return pt::ShapeLayer::LineCap::Round;
    default: return pt::ShapeLayer::LineCap::Butt;
    }
}

pt::ShapeLayer::LineJoin PTSVGLayerTree::lineJoin(qint64 style)
{
    switch (style) {
    case 2: return pt::ShapeLayer::LineJoin::Round;
    case 3: return pt::ShapeLayer::LineJoin::Bevel;
    default: return pt::ShapeLayer::LineJoin::Miter;
    }
}

pt::ShapeLayer::FillRule PTSVGLayerTree::fillRule(int rule)
{
    return rule == 1 ? pt::ShapeLayer::FillRule::EvenOdd : pt::ShapeLayer::FillRule::NonZero;
}

QRectF PTSVGLayerTree::boundingBox(const PTSVGNode& node)
{
    if (const auto* path = dynamic_cast<const PTSVGPath*>(&node))
        return path->path().bounds();
    if (const auto* image = dynamic_cast<const PTSVGImage*>(&node)) {
        const auto value = [](const PTSVGNode::Length& length) { return length ? length->value() : 0.0; };
        return QRectF(value(image->x()), value(image->y()), value(image->width()), value(image->height()));
    }
    const auto* group = dynamic_cast<const PTSVGGroup*>(&node);
    if (!group)
        return {};
    if (const auto& nested = group->svg())
        return QRectF(QPointF(), nested->proposedViewSize());
    QRectF box;
    for (const auto& child : group->children()) {
        if (!child->shouldRender())
            continue;
        const QRectF childBox = PTSVGConcatTransforms(child->transforms()).mapRect(boundingBox(*child));
        if (childBox.isNull())
            continue;
        box = box.isNull() ? childBox : box.united(childBox);
    }
    return box;
}
