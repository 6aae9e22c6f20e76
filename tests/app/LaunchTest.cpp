#include "AppTestLibrary.h"
#include "TestSupport.h"

#include "app/PTAppController.h"
#include "app/PTAppDelegate.h"
#include "app/PTLibraryLock.h"
#include "app/PTSplashOnboardingController.h"
#include "app/PTWindow.h"
#include "library/PTLibraryController.h"
#include "platform/runtime/Defaults.h"
#include "platform/ui/ModalRunner.h"
#include "ui/PTMainWindow.h"

#include <gtest/gtest.h>

namespace {

TEST(LaunchTest, TheFirstLaunchLastsUntilTheSecondStarts)
{
    pt::Defaults& defaults = pt::Defaults::standard();
    struct Case {
        QVariant stored;
        bool first;
    };
    const Case cases[] = {{QVariant(), true}, {0, true}, {1, true}, {2, false}, {57, false}};
    for (const Case& c : cases) {
        if (c.stored.isValid())
            defaults.set(PTSplashOnboardingController::LaunchCountKey, c.stored);
        else
            defaults.remove(PTSplashOnboardingController::LaunchCountKey);
        EXPECT_EQ(PTIsFirstLaunch(), c.first) << c.stored.toString().toStdString();
    }
    defaults.remove(PTSplashOnboardingController::LaunchCountKey);
    PTSplashOnboardingController::incrementLaunchCount();
    PTSplashOnboardingController::incrementLaunchCount();
    EXPECT_EQ(PTLaunchCount(), 2);
}

// The launch over the test library: the onboarding first (closed here as soon as it shows), counted once, the
// store up, the main window shown, and the library locked against a second process for as long as this one runs.
TEST(LaunchTest, LaunchCountsAndOpensTheMainWindow)
{
    pt::Defaults::standard().remove(PTSplashOnboardingController::LaunchCountKey);
    PTAppDelegate::QuitPath path = PTAppDelegate::defaultQuitPath();
    path.exit = [](int) {};
    PTAppDelegate delegate(path);
    QStringList welcomed;
    pt::ModalRunner::setHook([&welcomed](QWidget* window) {
        welcomed << window->accessibleName();
        window->close();
    });
    ASSERT_TRUE(delegate.applicationDidFinishLaunching(false));
    pt::ModalRunner::setHook({});
    EXPECT_EQ(welcomed, QStringList{"Welcome to Pictern"});
    EXPECT_EQ(PTLaunchCount(), 1);
    EXPECT_TRUE(PTIsFirstLaunch());
    ASSERT_NE(delegate.applicationController(), nullptr);
    EXPECT_EQ(PTMainWindow(), delegate.applicationController()->window());
    EXPECT_TRUE(delegate.applicationController()->window()->isVisible());
    EXPECT_FALSE(PTLibraryLock(PTLibraryController::currentLibrary()->path()).tryLock())
        << "the running launch holds the library";
    delegate.tearDown();
    EXPECT_EQ(PTMainWindow(), nullptr);
}

} // namespace
