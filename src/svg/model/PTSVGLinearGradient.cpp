#include "svg/model/PTSVGLinearGradient.h"

#include "svg/PTSVGUtils.h"
#include "svg/dom/PTSVGXmlNode.h"

#include <cairo.h>

std::shared_ptr<PTSVGNode> PTSVGLinearGradient::clone() const
{
    auto copy = std::make_shared<PTSVGLinearGradient>();
    copyGradientInto(*copy);
    return copy;
}

void PTSVGLinearGradient::parseGradient(const PTSVGXmlNode& element, PTSVGLinearGradient& gradient)
{
    const char16_t* names[4] = {u"x1", u"x2", u"y1", u"y2"};
    bool fractions = true;
    for (const char16_t* name : names) {
        const float value = PTSVGUtils::leadingFloat(element.attributeValue(QStringView(name)));
        fractions = fractions && value >= 0 && value <= 1;
    }
    const char16_t* fractionDefaults[4] = {u"0", u"1", u"0", u"0"};
    const char16_t* lengthDefaults[4] = {u"0", u"100", u"0", u"0"};
    PTSVGGradientUnitLength lengths[4];
    for (int i = 0; i < 4; ++i) {
        const QString* text = element.attribute(QStringView(names[i]));
        const QStringView source = text ? QStringView(*text) : QStringView(fractions ? fractionDefaults[i] : lengthDefaults[i]);
        const auto length = fractions ? PTSVGUnitLength::unitWithPercentageString(source)
                                      : PTSVGUnitLength::unitWithString(source);
        lengths[i] = length.value_or(PTSVGUnitLength());
    }
    gradient.setX1(lengths[0]);
    gradient.setX2(lengths[1]);
    gradient.setY1(lengths[2]);
    gradient.setY2(lengths[3]);
    gradient.setStops(computeColorStops(element));
}

cairo_pattern_t* PTSVGLinearGradient::newGeometryPattern(const QSizeF& reference) const
{
    const QPointF start(x1().computeValue(reference.width()), y1().computeValue(reference.height()));
    const QPointF end(x2().computeValue(reference.width()), y2().computeValue(reference.height()));
    if (start == end)
        return nullptr;
    return cairo_pattern_create_linear(start.x(), start.y(), end.x(), end.y());
}
