#include "app/PTSplashOnboardingController.h"

#include "app/welcome/PTStarterSetImport.h"

#include "library/entities/PTItem.h"
#include "library/store/PTStoreFunctions.h"
#include "platform/runtime/Defaults.h"

PTSplashOnboardingController::PTSplashOnboardingController()
{
    setContent(tr("Welcome to Pictern"),
               tr("Pictern keeps your icons in one library: drop SVG, PNG, PDF and icon font files on the window "
                  "to import them, find them by name and tag, and drag or export them in the sizes and formats "
                  "you need."),
               tr("Get Started"), QStringLiteral("getStarted"), [this] { getStarted(); });
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
