#include "app/welcome/PTWelcomeWindows.h"

#include "app/PTSplashOnboardingController.h"
#include "app/welcome/PTSplashWhatsNewController.h"

namespace PTWelcomeWindows {

Shown presentAtLaunch(bool forceWhatsNew, bool runModal)
{
    if (PTSplashWindowController::present<PTSplashOnboardingController>(true, runModal)) {
        // The version just installed has nothing new to show to a new user.
        PTSplashWhatsNewController::processNonPresent();
        return Shown::Onboarding;
    }
    PTSplashOnboardingController::processNonPresent();
    return PTSplashWindowController::present<PTSplashWhatsNewController>(!forceWhatsNew, runModal) ? Shown::WhatsNew
                                                                                                  : Shown::None;
}

} // namespace PTWelcomeWindows
