#include "app/welcome/PTSplashWhatsNewController.h"

#include "app/PTBuildInfo.h"

#include "foundation/StringAdditions.h"
#include "platform/runtime/Defaults.h"

PTSplashWhatsNewController::PTSplashWhatsNewController()
{
    setContent(tr("What's New in Pictern %1").arg(PTBuildInfo::version()),
               tr("• Preferences for importing, exporting, dragging, your library, licences and updates.\n"
                  "• Start Pictern when you log in.\n"
                  "• Pictern can tell you when a new release is out; your package manager installs it."),
               tr("Continue to Pictern"), QStringLiteral("continueToPictern"), [this] { continueToPictern(); });
}

bool PTSplashWhatsNewController::buildShowsWhatsNew()
{
    return PICTERN_SHOW_WHATS_NEW;
}

bool PTSplashWhatsNewController::shouldPresent()
{
    return shouldPresent(PTBuildInfo::version(), buildShowsWhatsNew());
}

bool PTSplashWhatsNewController::shouldPresent(const QString& runningVersion, std::optional<bool> buildShowsWhatsNew)
{
    pt::Defaults& defaults = pt::Defaults::standard();
    const QVariant stored = defaults.objectForKey(VersionKey);
    defaults.set(VersionKey, runningVersion);
    if (buildShowsWhatsNew == false)
        return false;
    return !stored.isValid() || PTCompareVersions(stored.toString(), runningVersion) < 0;
}

void PTSplashWhatsNewController::processNonPresent()
{
    pt::Defaults::standard().set(VersionKey, PTBuildInfo::version());
}
