#include "svg/render/PTSVGLayer.h"

void PTSVGLayer::addSublayer(const std::shared_ptr<pt::Layer>& layer)
{
    checkSublayer(layer);
    pt::Layer::addSublayer(layer);
}

void PTSVGLayer::renderInContext(cairo_t* cr)
{
    renderSVG(cr, [this](cairo_t* context) { pt::Layer::renderInContext(context); });
}

std::optional<QRectF> PTSVGLayer::drawingBounds() const
{
    return QRectF();
}

std::vector<pt::Layer*> PTSVGLayer::deepestSublayersOfLayer(const pt::Layer& layer)
{
    std::vector<pt::Layer*> leaves;
    for (const auto& sublayer : layer.sublayers()) {
        if (sublayer->sublayers().empty()) {
            leaves.push_back(sublayer.get());
        } else {
            const auto deeper = deepestSublayersOfLayer(*sublayer);
            leaves.insert(leaves.end(), deeper.begin(), deeper.end());
        }
    }
    return leaves;
}

void PTSVGLayer::recursivelyWalkLayer(pt::Layer& layer, const std::function<void(pt::Layer&, bool)>& block)
{
    block(layer, false);
    if (const auto& mask = layer.mask())
        block(*mask, true);
    // A copy: the block may move masks around, never sublayers, but the walk must not depend on that.
    const auto sublayers = layer.sublayers();
    for (const auto& sublayer : sublayers)
        recursivelyWalkLayer(*sublayer, block);
}
