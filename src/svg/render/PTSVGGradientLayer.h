#pragma once

#include "svg/render/PTSVGPaintLayer.h"

class PTSVGGradient;

// Paints one gradient over its path (see PTSVGPaintLayer).
class PTSVGGradientLayer : public PTSVGPaintLayer {
public:
    const std::shared_ptr<const PTSVGGradient>& gradient() const { return gradient_; }
    void setGradient(std::shared_ptr<const PTSVGGradient> gradient) { gradient_ = std::move(gradient); }

    void drawInContext(cairo_t* cr) override;

private:
    std::shared_ptr<const PTSVGGradient> gradient_;
};
