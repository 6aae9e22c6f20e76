#include "ui/PTTitleLabel.h"

#include "ui/PTStyles.h"
#include "ui/PTThemeController.h"

#include "foundation/ColorPrivate.h"

PTTitleLabel::PTTitleLabel(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    setAccessibleName(text.isEmpty() ? QStringLiteral("Label") : text);
    setDefaultTextColors(PTColorFromHEX(0x838383, 1.0), PTStyles::defaultDarkModeWhite());
}

void PTTitleLabel::setDefaultTextColors(const QColor& aqua, const QColor& dark)
{
    aquaColor_ = aqua;
    darkColor_ = dark;
    updateTextColor();
}

void PTTitleLabel::setAppearanceAquaColor(const QColor& color)
{
    aquaColor_ = color;
    updateTextColor();
}

void PTTitleLabel::setAppearanceDarkColor(const QColor& color)
{
    darkColor_ = color;
    updateTextColor();
}

QColor PTTitleLabel::textColor() const
{
    return palette().color(QPalette::WindowText);
}

void PTTitleLabel::updateTextColor()
{
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, PTThemeIsAppearance(PTAppearanceDark) ? darkColor_ : aquaColor_);
    setPalette(colours);
}
