#include "ui/colour/PTColourPickerHexFormatter.h"

namespace {

bool isHexOrHash(QChar c)
{
    return c == QLatin1Char('#') || (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
        || (c >= QLatin1Char('a') && c <= QLatin1Char('f')) || (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}

} // namespace

QValidator::State PTColourPickerHexFormatter::validate(QString& input, int&) const
{
    if (input.isEmpty())
        return Acceptable;
    const qsizetype limit = input.startsWith(QLatin1Char('#')) ? 7 : 6;
    if (input.size() > limit || !std::all_of(input.cbegin(), input.cend(), isHexOrHash))
        return Invalid;
    input = input.toUpper();
    return Acceptable;
}
