#pragma once

#include "ui/controls/ITSwitch.h"
#include "ui/theme/PTAppearanceObserver.h"

// The switch of the application's panels: the palette's field stroke and blue, following the theme.
class PTSwitchControl : public ITSwitch {
    Q_OBJECT
public:
    explicit PTSwitchControl(QWidget* parent = nullptr);

private:
    void updateAppearance();

    PTAppearanceObserver appearanceObserver_{this, &PTSwitchControl::updateAppearance};
};
