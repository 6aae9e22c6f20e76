#include "app/preferences/PTPreferencesTitleLabel.h"

#include "foundation/ColorPrivate.h"

PTPreferencesTitleLabel::PTPreferencesTitleLabel(const QString& text, QWidget* parent) : PTTitleLabel(text, parent)
{
    setDefaultTextColors(PTColorFromHEX(0x515151, 1.0), PTColorFromHEX(0xFFFFFF, 0.9));
}
