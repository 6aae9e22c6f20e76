#include "ui/controls/PTSmallTextLabel.h"

#include "foundation/ColorPrivate.h"

PTSmallTextLabel::PTSmallTextLabel(const QString& text, QWidget* parent) : PTClickableTextField(text, parent)
{
    setDefaultTextColors(PTColorFromHEX(0x909090, 1.0), PTColorFromHEX(0xFFFFFF, 0.4));
}
