#include "ui/controls/PTSwitchControl.h"

#include "ui/theme/PTStyles.h"

PTSwitchControl::PTSwitchControl(QWidget* parent) : ITSwitch(parent)
{
    updateAppearance();
}

void PTSwitchControl::updateAppearance()
{
    setStrokeColor(PTStyles::defaultControlFieldStrokeColor());
    setTintColor(PTStyles::defaultBlue());
}
