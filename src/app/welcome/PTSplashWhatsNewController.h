#pragma once

#include "app/welcome/PTSplashWindowController.h"

#include <QString>

#include <optional>

// What's new in this version, shown once after each update of the version.
class PTSplashWhatsNewController : public PTSplashWindowController {
    Q_OBJECT
public:
    static inline const QString VersionKey = QStringLiteral("PTSplashWhatsNewVersionNumber");

    PTSplashWhatsNewController();

    // Stores the running version whatever the answer; yes when none was stored or the stored one is older,
    // unless this build turned the window off.
    static bool shouldPresent();
    static bool shouldPresent(const QString& runningVersion, std::optional<bool> buildShowsWhatsNew);
    // Remembers the running version, so that the window stays quiet for it.
    static void processNonPresent();
    // The build's choice (PICTERN_SHOW_WHATS_NEW).
    static bool buildShowsWhatsNew();

    // The Continue button.
    void continueToPictern() { performClose(); }
};
