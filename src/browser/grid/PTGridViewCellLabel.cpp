#include "browser/grid/PTGridViewCellLabel.h"

#include <QFontMetricsF>

void PTGridViewCellLabel::setString(const QString& string)
{
    if (string != string_)
        size_.reset();
    string_ = string;
}

void PTGridViewCellLabel::setFont(const QFont& font)
{
    if (font != font_)
        size_.reset();
    font_ = font;
}

QSizeF PTGridViewCellLabel::proposedSize() const
{
    if (string_.isEmpty())
        return {};
    if (!size_) {
        const QFontMetricsF metrics(font_);
        const QString firstLine = string_.section(QLatin1Char('\n'), 0, 0);
        size_ = QSizeF(metrics.horizontalAdvance(firstLine), metrics.ascent() + metrics.descent() + metrics.leading());
    }
    return *size_;
}
