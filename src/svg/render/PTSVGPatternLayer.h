#pragma once

#include "svg/render/PTSVGPaintLayer.h"

class PTSVGPattern;

// Tiles one pattern over its path (see PTSVGPaintLayer). The
// tile is the pattern node's x, y, width and height (fractions of objectRect unless its units are user space),
// its content is drawn once into a tile image at the device's resolution, and patternTransform turns the tiling.
class PTSVGPatternLayer : public PTSVGPaintLayer {
public:
    // Largest side of a tile image, so that a tiny tile under a huge scale cannot allocate without bound.
    static constexpr int MaximumTilePixels = 4096;

    // The layer tree of the pattern's content, drawn once per tile.
    const std::shared_ptr<pt::Layer>& pattern() const { return pattern_; }
    void setPattern(std::shared_ptr<pt::Layer> pattern) { pattern_ = std::move(pattern); }
    const std::shared_ptr<const PTSVGPattern>& patternNode() const { return patternNode_; }
    void setPatternNode(std::shared_ptr<const PTSVGPattern> node) { patternNode_ = std::move(node); }

    // The tile rectangle in the painted node's user space (before patternTransform).
    QRectF tileRect() const;
    void drawInContext(cairo_t* cr) override;

private:
    std::shared_ptr<pt::Layer> pattern_;
    std::shared_ptr<const PTSVGPattern> patternNode_;
};
