#include "svg/model/PTSVGRadialGradient.h"

#include "svg/dom/PTSVGXmlNode.h"

#include <cairo.h>

#include <cmath>

namespace {

// The length an attribute gives, or the fallback when it gives none.
PTSVGUnitLength lengthAttribute(const PTSVGXmlNode& element, QStringView name, const PTSVGUnitLength& fallback)
{
    const QString* text = element.attribute(name);
    return text ? PTSVGUnitLength::unitWithString(*text).value_or(fallback) : fallback;
}

} // namespace

std::shared_ptr<PTSVGNode> PTSVGRadialGradient::clone() const
{
    auto copy = std::make_shared<PTSVGRadialGradient>();
    copyGradientInto(*copy);
    copy->cx_ = cx_;
    copy->cy_ = cy_;
    copy->fx_ = fx_;
    copy->fy_ = fy_;
    copy->radius_ = radius_;
    return copy;
}

void PTSVGRadialGradient::parseGradient(const PTSVGXmlNode& element, PTSVGRadialGradient& gradient)
{
    const PTSVGUnitLength half = PTSVGUnitLength::unitWithPercentageFloat(0.5);
    gradient.cx_ = lengthAttribute(element, u"cx", half);
    gradient.cy_ = lengthAttribute(element, u"cy", half);
    gradient.radius_ = lengthAttribute(element, u"r", half);
    gradient.fx_ = lengthAttribute(element, u"fx", gradient.cx_);
    gradient.fy_ = lengthAttribute(element, u"fy", gradient.cy_);
    if (gradient.stops().empty())
        gradient.setStops(computeColorStops(element));
}

cairo_pattern_t* PTSVGRadialGradient::newGeometryPattern(const QSizeF& reference) const
{
    const double w = reference.width(), h = reference.height();
    const QPointF centre(cx_.computeValue(w), cy_.computeValue(h));
    // Percentages of the radius refer to the normalised diagonal, as SVG defines.
    const double r = radius_.computeValue(std::sqrt((w * w + h * h) / 2));
    if (!(r > 0))
        return nullptr;
    const QPointF focus(fx_.computeValue(w), fy_.computeValue(h));
    return cairo_pattern_create_radial(focus.x(), focus.y(), 0, centre.x(), centre.y(), r);
}
