#pragma once

#include "svg/PTSVGShapeLayer.h"

// The stroke of a path: the path's outline drawn with no fill.
class PTSVGStrokeLayer : public PTSVGShapeLayer {
public:
    PTSVGStrokeLayer() { setFillColor(QColor()); }
};
