#pragma once

#include "svg/render/PTSVGLayer.h"

// Shows one raster image, stretched over its bounds.
class PTSVGImageLayer : public PTSVGLayer {
public:
    // Contents = the image; frame (0, 0, its pixel size).
    explicit PTSVGImageLayer(const QImage& image);
};
