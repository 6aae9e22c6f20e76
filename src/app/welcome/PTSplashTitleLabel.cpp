#include "app/welcome/PTSplashTitleLabel.h"

#include "foundation/ColorPrivate.h"
#include "ui/theme/PTStyles.h"

PTSplashTitleLabel::PTSplashTitleLabel(const QString& text, QWidget* parent) : PTTitleLabel(text, parent)
{
    setDefaultTextColors(PTColorFromHEX(0x505152, 1.0), PTStyles::defaultDarkModeWhite());
}
