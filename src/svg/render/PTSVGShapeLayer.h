#pragma once

#include "platform/layers/ShapeLayer.h"
#include "svg/render/PTSVGLayerState.h"

// One drawn path of an SVG document, the twin of PTSVGLayer on a shape layer. Its path starts at the layer's
// own origin; originalPathOrigin is where the path's integral box stood before it was moved there.
class PTSVGShapeLayer : public pt::ShapeLayer, public PTSVGLayerState {
public:
    pt::Layer& layer() override { return *this; }

    void addSublayer(const std::shared_ptr<pt::Layer>& layer) override;
    void renderInContext(cairo_t* cr) override;

    QPointF originalPathOrigin() const { return originalPathOrigin_; }
    void setOriginalPathOrigin(QPointF origin) { originalPathOrigin_ = origin; }
    // The sum of the frame origins of this layer and of every layer above it.
    QPointF absoluteOrigin() const override;

private:
    QPointF originalPathOrigin_;
};
