#include "app/PTPrefsButton.h"

#include "app/ChromeArt.h"

PTPrefsButton::PTPrefsButton(QWidget* parent)
    : PTToolbarButton(parent)
{
}

void PTPrefsButton::viewRequiresScreenUpdate()
{
    setIcon(chromeArt::imageNamed(GlyphName, this));
}
