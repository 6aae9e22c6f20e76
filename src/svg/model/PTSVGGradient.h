#pragma once

#include "svg/model/PTSVGGradientUnitLength.h"
#include "svg/model/PTSVGNode.h"

#include <QColor>
#include <QRectF>

#include <vector>

class PTSVGXmlNode;
typedef struct _cairo_pattern cairo_pattern_t;

// One colour stop of a gradient ramp.
struct PTSVGGradientStop {
    double offset;
    QColor color;

    friend bool operator==(const PTSVGGradientStop&, const PTSVGGradientStop&) = default;
};

// The base of linear and radial gradient nodes: the colour ramp, the linear geometry, and (through the node
// fields) the units (0 userSpaceOnUse, otherwise objectBoundingBox) and the gradientTransform list.
class PTSVGGradient : public PTSVGNode {
public:
    // The stops of a gradient element's children, in order. Offsets take "%" as a percentage, clamp to 0..1 and
    // never decrease; stop-color and stop-opacity each come from the style attribute when it gives them, else from
    // their own attributes; no colour is black, and a colour's own alpha multiplies with the opacity.
    static std::vector<PTSVGGradientStop> computeColorStops(const PTSVGXmlNode& element);

    // The gradient as a cairo pattern in the painted node's user space, fading by opacity; the caller destroys it.
    // objectRect is the painted shape's box (objectBoundingBox units), viewPort the document's view box
    // (percentages of userSpaceOnUse units). Null when there is nothing to paint: no stops, or an empty box in
    // objectBoundingBox units.
    cairo_pattern_t* newPattern(const QRectF& objectRect, const QRectF& viewPort, double opacity) const;

    const std::vector<PTSVGGradientStop>& stops() const { return stops_; }
    void setStops(std::vector<PTSVGGradientStop> stops) { stops_ = std::move(stops); }

    const PTSVGGradientUnitLength& x1() const { return x1_; }
    const PTSVGGradientUnitLength& y1() const { return y1_; }
    const PTSVGGradientUnitLength& x2() const { return x2_; }
    const PTSVGGradientUnitLength& y2() const { return y2_; }
    void setX1(const PTSVGGradientUnitLength& length) { x1_ = length; }
    void setY1(const PTSVGGradientUnitLength& length) { y1_ = length; }
    void setX2(const PTSVGGradientUnitLength& length) { x2_ = length; }
    void setY2(const PTSVGGradientUnitLength& length) { y2_ = length; }

protected:
    // The pattern of the geometry in the gradient's own space: fractions of the box, or user space units whose
    // percentages refer to the reference size. Null for a gradient without extent.
    virtual cairo_pattern_t* newGeometryPattern(const QSizeF& reference) const;
    bool objectBoundingBoxUnits() const { return units() != 0; }

    void copyGradientInto(PTSVGGradient& copy) const;

private:
    std::vector<PTSVGGradientStop> stops_;
    PTSVGGradientUnitLength x1_, y1_, x2_, y2_;
};
