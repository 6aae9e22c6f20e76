#include "app/PTSplashOnboardingController.h"

#include "platform/runtime/Defaults.h"

qint64 PTSplashOnboardingController::launchCount()
{
    return pt::Defaults::standard().integerForKey(LaunchCountKey);
}

void PTSplashOnboardingController::incrementLaunchCount()
{
    pt::Defaults::standard().set(LaunchCountKey, launchCount() + 1);
}

qint64 PTLaunchCount()
{
    return PTSplashOnboardingController::launchCount();
}

bool PTIsFirstLaunch()
{
    return PTLaunchCount() < 2;
}
