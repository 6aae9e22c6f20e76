#pragma once

#include "ui/theme/PTThemeController.h"

// Sets the shared theme by hand for one test, then hands it back to the desktop.
class ThemeScope {
public:
    explicit ThemeScope(int appearance) { set(appearance); }
    ~ThemeScope()
    {
        PTThemeController::defaultController().setDefaultAppearance(PTAppearanceAqua, PTAppearancePreferenceAutomatic);
    }
    static void set(int appearance)
    {
        PTThemeController::defaultController().setDefaultAppearance(appearance, PTAppearancePreferenceManual);
    }
};
