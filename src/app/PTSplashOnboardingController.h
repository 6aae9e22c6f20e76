#pragma once

#include "app/welcome/PTSplashWindowController.h"

#include <QString>

class PTStarterSetImport;

// The onboarding shown to a new user. Closing it on an empty library fills the library with the starter set
// (when this build offers one) under a sheet, and the window closes once that has ended, imported or not. The
// launch count it keeps tells a first launch from later ones.
class PTSplashOnboardingController : public PTSplashWindowController {
    Q_OBJECT
public:
    static inline const QString LaunchCountKey = QStringLiteral("PTOnboardingLaunchCount");

    PTSplashOnboardingController();
    ~PTSplashOnboardingController() override;

    // The stored count (0 when absent).
    static qint64 launchCount();
    // Stores the count plus 1; once per launch, before the main window is built.
    static void incrementLaunchCount();
    // True while no launch has been counted (or the count was set to 0).
    static bool requiresOnboarding();
    static bool shouldPresent() { return requiresOnboarding(); }
    static void processNonPresent() {}

    // The Get Started button.
    void getStarted() { performClose(); }
    bool windowShouldClose() override;
    bool didImportDefaultIcons() const { return didImportDefaultIcons_; }
    // The starter set under way, or null.
    PTStarterSetImport* importer() const { return importer_; }

private:
    PTStarterSetImport* importer_ = nullptr;
    bool didImportDefaultIcons_ = false;
};

// The number of launches counted so far.
qint64 PTLaunchCount();
// True throughout the first launch (the count is below 2 while its main window is built).
bool PTIsFirstLaunch();
