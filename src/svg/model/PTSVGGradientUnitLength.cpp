#include "svg/model/PTSVGGradientUnitLength.h"

#include "svg/PTSVGUtils.h"

QString PTSVGGradientUnitLength::stringValue() const
{
    if (type() == Percentage)
        return PTSVGShortFloatString(value());
    return PTSVGUnitLength::stringValue();
}
