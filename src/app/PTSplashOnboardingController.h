#pragma once

#include <QString>

// The onboarding shown to a new user. The launch count it keeps tells a first launch from later ones.
class PTSplashOnboardingController {
public:
    static inline const QString LaunchCountKey = QStringLiteral("PTOnboardingLaunchCount");

    // The stored count (0 when absent).
    static qint64 launchCount();
    // Stores the count plus 1; once per launch, before the main window is built.
    static void incrementLaunchCount();
};

// The number of launches counted so far.
qint64 PTLaunchCount();
// True throughout the first launch (the count is below 2 while its main window is built).
bool PTIsFirstLaunch();
