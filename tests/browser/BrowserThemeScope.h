#pragma once

#include "ui/theme/PTThemeController.h"

// Sets the shared theme by hand for one test, then gives the choice back to the desktop and shows the value that
// was shown before, so later tests see the theme they would have seen.
class BrowserThemeScope {
public:
    explicit BrowserThemeScope(int appearance)
        : previous_(PTThemeController::defaultController().appearance())
    {
        set(appearance);
    }
    ~BrowserThemeScope()
    {
        PTThemeController& controller = PTThemeController::defaultController();
        controller.setDefaultAppearance(PTAppearanceAqua, PTAppearancePreferenceAutomatic);
        controller.setAppearance(previous_);
    }
    BrowserThemeScope(const BrowserThemeScope&) = delete;
    BrowserThemeScope& operator=(const BrowserThemeScope&) = delete;

    static void set(int appearance)
    {
        PTThemeController::defaultController().setDefaultAppearance(appearance, PTAppearancePreferenceManual);
    }

private:
    int previous_;
};
