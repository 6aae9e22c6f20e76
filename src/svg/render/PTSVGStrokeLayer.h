#pragma once

#include "svg/render/PTSVGShapeLayer.h"

// The stroke of a path: the path's outline drawn with no fill.
class PTSVGStrokeLayer : public PTSVGShapeLayer {
public:
    PTSVGStrokeLayer() { setFillColor(QColor()); }
};
