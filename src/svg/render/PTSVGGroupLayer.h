#pragma once

#include "svg/render/PTSVGLayer.h"

// A group, a transform wrapper, or a mask: as a mask, a container's parts (a clip path and a mask content)
// intersect, and a luminance part covers by its luminance times its alpha, as SVG masks do.
class PTSVGGroupLayer : public PTSVGLayer {
public:
    enum class MaskRole { None, Container, Luminance };

    MaskRole maskRole() const { return maskRole_; }
    void setMaskRole(MaskRole role) { maskRole_ = role; }

    void renderAsMask(cairo_t* cr) override;

private:
    void renderContainerMask(cairo_t* cr);
    void renderLuminanceMask(cairo_t* cr);

    MaskRole maskRole_ = MaskRole::None;
};

typedef struct _cairo_surface cairo_surface_t;
// Turns the premultiplied colour of an ARGB32 image surface into coverage, the same value in every channel
// alpha included: luminance of the premultiplied channels is luminance times alpha, as SVG masks weigh it.
void PTSVGConvertToLuminance(cairo_surface_t* surface);
