#include "svg/render/PTSVGShapeLayer.h"

void PTSVGShapeLayer::addSublayer(const std::shared_ptr<pt::Layer>& layer)
{
    checkSublayer(layer);
    pt::ShapeLayer::addSublayer(layer);
}

void PTSVGShapeLayer::renderInContext(cairo_t* cr)
{
    renderSVG(cr, [this](cairo_t* context) { pt::ShapeLayer::renderInContext(context); });
}

QPointF PTSVGShapeLayer::absoluteOrigin() const
{
    QPointF origin;
    for (const pt::Layer* layer = this; layer; layer = layer->superlayer())
        origin += layer->frame().topLeft();
    return origin;
}
