#include "app/PTAppearanceSVGImageView.h"

#include "svg/PTSVG.h"
#include "ui/theme/PTStyles.h"
#include "ui/theme/PTThemeController.h"

PTAppearanceSVGImageView::PTAppearanceSVGImageView(QWidget* parent)
    : PTSVGView(parent)
{
    updateAppearance();
}

void PTAppearanceSVGImageView::setColorAppearanceAqua(const QColor& color)
{
    aqua_ = color;
    updateAppearance();
}

void PTAppearanceSVGImageView::setColorAppearanceDarkAqua(const QColor& color)
{
    dark_ = color;
    updateAppearance();
}

void PTAppearanceSVGImageView::updateAppearance()
{
    if (PTThemeIsAppearance(PTAppearanceDark))
        setTintColor(dark_.isValid() ? dark_ : PTStyles::defaultDarkModeWhite());
    else
        setTintColor(aqua_);
}
