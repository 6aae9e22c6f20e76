#pragma once

#include "svg/model/PTSVGGradient.h"

// A linearGradient element: a ramp from (x1, y1) to (x2, y2).
class PTSVGLinearGradient : public PTSVGGradient {
public:
    std::shared_ptr<PTSVGNode> clone() const override;

    // Reads the geometry and the stops of the (already merged) element into the node. Coordinates all within
    // 0..1 are fractions of the box (defaults 0, 0 to 1, 0); otherwise they are lengths (defaults 0, 0 to 100, 0)
    // where a percentage is still a fraction.
    static void parseGradient(const PTSVGXmlNode& element, PTSVGLinearGradient& gradient);

protected:
    cairo_pattern_t* newGeometryPattern(const QSizeF& reference) const override;
};
