#include "app/PTAddButton.h"

#include "app/ChromeArt.h"

PTAddButton::PTAddButton(QWidget* parent)
    : PTToolbarButton(parent)
{
}

void PTAddButton::viewRequiresScreenUpdate()
{
    setIcon(chromeArt::imageNamed(GlyphName, this));
}
