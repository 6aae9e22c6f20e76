#include "ui/theme/PTThemeController.h"

#include "ui/theme/PTAppearanceObserver.h"
#include "ui/theme/PTStyles.h"

#include "platform/desktop/PortalAppearanceSource.h"
#include "platform/runtime/Defaults.h"
#include "platform/runtime/NotificationCenter.h"

#include <QApplication>

const QString PTThemeController::AppearancePreferenceKey = QStringLiteral("PTThemeAppearancePreference");
const QString PTThemeController::AppearanceKey = QStringLiteral("PTThemeAppearance");
const QString PTThemeController::AppearanceDidChangeNotification =
    QStringLiteral("PTThemeAppearanceDidChangeNotification");

void PTThemeController::registerDefaults()
{
    pt::Defaults::standard().registerDefaults({{AppearancePreferenceKey, int(PTAppearancePreferenceAutomatic)}});
}

PTThemeController& PTThemeController::defaultController()
{
    static PTThemeController* controller =
        new PTThemeController(std::make_unique<pt::PortalAppearanceSource>(), QApplication::instance());
    return *controller;
}

PTThemeController::PTThemeController(std::unique_ptr<pt::SystemAppearanceSource> source, QObject* parent)
    : QObject(parent), source_(std::move(source))
{
    connect(source_.get(), &pt::SystemAppearanceSource::appearanceChanged, this,
            &PTThemeController::systemAppearanceDidChange);
    loadAppearanceFromDefaults();
    source_->start();
    loaded_ = true;
    // A first value equal to the starting one changes nothing above, yet the application must get its palette.
    applyPalette(appearance_);
}

PTThemeController::~PTThemeController() = default;

int PTThemeController::appearanceForPreference(int preference) const
{
    return preference == PTAppearancePreferenceAutomatic ? systemAppearance_ : appearance_;
}

void PTThemeController::setAppearance(int appearance)
{
    if (appearance == appearance_)
        return;
    appearance_ = appearance;
    applyPalette(appearance);
    pt::NotificationCenter::defaultCenter().post(AppearanceDidChangeNotification, this);
    if (loaded_)
        PTThemeNotifyAppearanceObservers(appearance_);
}

void PTThemeController::setDefaultAppearance(int appearance, int preference)
{
    pt::Defaults& defaults = pt::Defaults::standard();
    if (preference == PTAppearancePreferenceAutomatic) {
        defaults.remove(AppearanceKey);
        defaults.set(AppearancePreferenceKey, int(PTAppearancePreferenceAutomatic));
    } else if (preference == PTAppearancePreferenceManual) {
        defaults.set(AppearanceKey, appearance);
        defaults.set(AppearancePreferenceKey, int(PTAppearancePreferenceManual));
    }
    loadAppearanceFromDefaults();
}

void PTThemeController::loadAppearanceFromDefaults()
{
    const pt::Defaults& defaults = pt::Defaults::standard();
    const qint64 preference = defaults.integerForKey(AppearancePreferenceKey);
    if (preference == PTAppearancePreferenceManual)
        setAppearance(static_cast<int>(defaults.integerForKey(AppearanceKey)));
    else if (preference == PTAppearancePreferenceAutomatic)
        setAppearance(systemAppearance_);
}

void PTThemeController::systemAppearanceDidChange(int appearance)
{
    systemAppearance_ = appearance;
    loadAppearanceFromDefaults();
}

void PTThemeController::applyPalette(int appearance)
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        QApplication::setPalette(PTStyles::palette(appearance));
}

bool PTThemeIsAppearance(int appearance)
{
    return PTThemeController::defaultController().appearance() == appearance;
}
