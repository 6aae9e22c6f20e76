#include "app/welcome/PTSplashWhatsNewController.h"

#include "app/PTBuildInfo.h"
#include "app/welcome/PTSplashTitleLabel.h"
#include "app/welcome/PTSplashWindow.h"

#include "foundation/StringAdditions.h"
#include "platform/runtime/Defaults.h"
#include "ui/controls/PTSegmentedControl.h"
#include "ui/controls/PTSmallTextLabel.h"
#include "ui/theme/PTStyles.h"

#include <QVBoxLayout>

PTSplashWhatsNewController::PTSplashWhatsNewController()
{
    const QString title = tr("What's New in Pictern %1").arg(PTBuildInfo::version());
    window()->setWindowTitle(title);
    window()->setAccessibleName(title);
    auto* heading = new PTSplashTitleLabel(title);
    heading->setFont(PTStyles::systemFont(24));
    auto* text = new PTSmallTextLabel(
        tr("• Preferences for importing, exporting, dragging, your library, licences and updates.\n"
           "• Start Pictern when you log in.\n"
           "• Pictern can tell you when a new release is out; your package manager installs it."));
    text->setWordWrap(true);
    text->setFont(PTStyles::systemFont(13));
    auto* continueButton = new PTSegmentedControl;
    continueButton->setSegmentCount(1);
    continueButton->setLabel(tr("Continue to Pictern"), 0);
    continueButton->setAccessibleName(tr("Continue to Pictern"));
    continueButton->setObjectName(QStringLiteral("continueToPictern"));
    connect(continueButton, &PTSegmentedControl::action, this, [this](int) { continueToPictern(); });
    contentLayout()->addWidget(heading);
    contentLayout()->addWidget(text);
    contentLayout()->addStretch(1);
    contentLayout()->addWidget(continueButton, 0, Qt::AlignRight);
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
