#pragma once

#include "platform/layers/Layer.h"
#include "svg/render/PTSVGLayerState.h"

#include <functional>

// The base of every SVG layer that is not a path: groups, transform wrappers, mask containers, gradient,
// pattern and image paint. Only SVG layers may be its sublayers.
class PTSVGLayer : public pt::Layer, public PTSVGLayerState {
public:
    pt::Layer& layer() override { return *this; }

    // Throws PTSVGInvalidSublayerException for anything but an SVG layer.
    void addSublayer(const std::shared_ptr<pt::Layer>& layer) override;
    void renderInContext(cairo_t* cr) override;

    // The leaves under a layer, in order: each direct sublayer without sublayers, else its own leaves. The layer
    // itself is never among them.
    static std::vector<pt::Layer*> deepestSublayersOfLayer(const pt::Layer& layer);
    // Calls the block with (layer, false), then with (its mask, true) without walking into the mask, then walks
    // each sublayer the same way.
    static void recursivelyWalkLayer(pt::Layer& layer, const std::function<void(pt::Layer&, bool isMask)>& block);

protected:
    // Groups, wrappers and images draw nothing themselves but their contents image.
    std::optional<QRectF> drawingBounds() const override;
};
