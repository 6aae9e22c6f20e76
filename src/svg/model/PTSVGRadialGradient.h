#pragma once

#include "svg/model/PTSVGGradient.h"

// A radialGradient element: a ramp from the focal point (fx, fy) to the circle around (cx, cy).
class PTSVGRadialGradient : public PTSVGGradient {
public:
    std::shared_ptr<PTSVGNode> clone() const override;

    // Reads the geometry (absent cx, cy, r are 50%; the focus defaults to the centre) and, when the node has none
    // yet, the stops of the (already merged) element.
    static void parseGradient(const PTSVGXmlNode& element, PTSVGRadialGradient& gradient);

    const PTSVGUnitLength& cx() const { return cx_; }
    const PTSVGUnitLength& cy() const { return cy_; }
    const PTSVGUnitLength& fx() const { return fx_; }
    const PTSVGUnitLength& fy() const { return fy_; }
    const PTSVGUnitLength& radius() const { return radius_; }
    void setCx(const PTSVGUnitLength& length) { cx_ = length; }
    void setCy(const PTSVGUnitLength& length) { cy_ = length; }
    void setFx(const PTSVGUnitLength& length) { fx_ = length; }
    void setFy(const PTSVGUnitLength& length) { fy_ = length; }
    void setRadius(const PTSVGUnitLength& length) { radius_ = length; }

protected:
    cairo_pattern_t* newGeometryPattern(const QSizeF& reference) const override;

private:
    PTSVGUnitLength cx_, cy_, fx_, fy_, radius_;
};
