#include "svg/PTSVGRadialGradient.h"

#include "svg/PTSVGUtils.h"
#include "svg/PTSVGXmlNode.h"

#include <cairo.h>

#include <cmath>

namespace {

PTSVGUnitLength centreLength(const PTSVGXmlNode& element, QStringView name)
{
    const QString* text = element.attribute(name);
    if (!text)
        return PTSVGUnitLength::unitWithPercentageFloat(0.5);
    return PTSVGUnitLength::unitWithString(*text).value_or(PTSVGUnitLength::unitWithPercentageFloat(0.5));
}

// A focus below 1 is a fraction of the box, as "25%" is.
PTSVGUnitLength focusLength(const QString& text)
{
    const auto length = PTSVGUtils::leadingFloat(text) < 1 ? PTSVGUnitLength::unitWithPercentageString(text)
                                                          : PTSVGUnitLength::unitWithString(text);
    return length.value_or(PTSVGUnitLength::unitWithPercentageFloat(0.5));
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
    gradient.cx_ = centreLength(element, u"cx");
    gradient.cy_ = centreLength(element, u"cy");
    gradient.radius_ = centreLength(element, u"r");
    gradient.fx_ = gradient.cx_;
    gradient.fy_ = gradient.cy_;
    if (const QString* fx = element.attribute(u"fx"))
        gradient.fx_ = focusLength(*fx);
    if (const QString* fy = element.attribute(u"fy"))
        gradient.fy_ = focusLength(*fy);
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
