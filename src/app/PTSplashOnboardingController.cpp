#include "app/PTSplashOnboardingController.h"

#include "app/welcome/PTSplashTitleLabel.h"
#include "app/welcome/PTSplashWindow.h"
#include "app/welcome/PTStarterSetImport.h"

#include "library/entities/PTItem.h"
#include "library/store/PTStoreFunctions.h"
#include "platform/runtime/Defaults.h"
#include "ui/controls/PTSegmentedControl.h"
#include "ui/controls/PTSmallTextLabel.h"
#include "ui/theme/PTStyles.h"

#include <QVBoxLayout>

PTSplashOnboardingController::PTSplashOnboardingController()
{
    window()->setWindowTitle(tr("Welcome to Pictern"));
    window()->setAccessibleName(tr("Welcome to Pictern"));
    auto* title = new PTSplashTitleLabel(tr("Welcome to Pictern"));
    title->setFont(PTStyles::systemFont(24));
    auto* text = new PTSmallTextLabel(
        tr("Pictern keeps your icons in one library: drop SVG, PNG, PDF and icon font files on the window to "
           "import them, find them by name and tag, and drag or export them in the sizes and formats you need."));
    text->setWordWrap(true);
    text->setFont(PTStyles::systemFont(13));
    auto* getStarted = new PTSegmentedControl;
    getStarted->setSegmentCount(1);
    getStarted->setLabel(tr("Get Started"), 0);
    getStarted->setAccessibleName(tr("Get Started"));
    getStarted->setObjectName(QStringLiteral("getStarted"));
    connect(getStarted, &PTSegmentedControl::action, this, [this](int) { this->getStarted(); });
    contentLayout()->addWidget(title);
    contentLayout()->addWidget(text);
    contentLayout()->addStretch(1);
    contentLayout()->addWidget(getStarted, 0, Qt::AlignRight);
}

PTSplashOnboardingController::~PTSplashOnboardingController() = default;

qint64 PTSplashOnboardingController::launchCount()
{
    return pt::Defaults::standard().integerForKey(LaunchCountKey);
}

void PTSplashOnboardingController::incrementLaunchCount()
{
    pt::Defaults::standard().set(LaunchCountKey, launchCount() + 1);
}

bool PTSplashOnboardingController::requiresOnboarding()
{
    return launchCount() == 0;
}

bool PTSplashOnboardingController::windowShouldClose()
{
    if (didImportDefaultIcons_)
        return true;
    if (importer_)
        return false;
    pt::store::ObjectContext* context = PTMainManagedObjectContext();
    const auto items = context ? context->count({PTItem::EntityName}) : pt::Result<qint64>(qint64(0));
    // A library that already holds icons gets no starter set; neither does a build that offers none.
    if (!items || *items > 0)
        return true;
    importer_ = new PTStarterSetImport(window(), this);
    if (!importer_->start()) {
        delete importer_;
        importer_ = nullptr;
        return true;
    }
    connect(importer_, &PTStarterSetImport::finished, this, [this] {
        didImportDefaultIcons_ = true;
        importer_->deleteLater();
        importer_ = nullptr;
        performClose();
    });
    return false;
}

qint64 PTLaunchCount()
{
    return PTSplashOnboardingController::launchCount();
}

bool PTIsFirstLaunch()
{
    return PTLaunchCount() < 2;
}
