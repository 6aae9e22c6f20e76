#include "svg/model/PTSVGUnitLength.h"

#include "svg/PTSVGUtils.h"

std::optional<PTSVGUnitLength> PTSVGUnitLength::unitWithString(QStringView text)
{
    const QStringView trimmed = text.trimmed();
    if (trimmed == u"inherit")
        return std::nullopt;
    PTSVGUnitLength length(PTSVGUtils::leadingFloat(trimmed));
    if (trimmed.endsWith(u'%')) {
        length.value_ /= 100.0;
        length.type_ = Percentage;
    }
    return length;
}

std::optional<PTSVGUnitLength> PTSVGUnitLength::unitWithPercentageString(QStringView text)
{
    auto length = unitWithString(text);
    if (length)
        length->type_ = Percentage;
    return length;
}

double PTSVGUnitLength::computeValue(double reference) const
{
    return type_ == Percentage ? value_ * reference : value_;
}

QString PTSVGUnitLength::stringValue() const
{
    if (type_ == Percentage)
        return PTSVGShortFloatString(value_ * 100) + QLatin1Char('%');
    return PTSVGShortFloatString(value_);
}
