#include "ui/colour/PTColourPickerNumberFormatter.h"

PTColourPickerNumberFormatter::PTColourPickerNumberFormatter(int maxValue, QObject* parent)
    : QValidator(parent)
    , m_maxValue(maxValue)
{
}

QValidator::State PTColourPickerNumberFormatter::validate(QString& input, int& pos) const
{
    if (input.size() > 3)
        return Invalid;
    int value = 0;
    for (const QChar c : input) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return Invalid;
        value = value * 10 + (c.unicode() - '0');
    }
    if (value < m_minValue || value > m_maxValue) {
        input = QString::number(value < m_minValue ? m_minValue : m_maxValue);
        pos = std::min(pos, int(input.size()));
    }
    return Acceptable;
}
