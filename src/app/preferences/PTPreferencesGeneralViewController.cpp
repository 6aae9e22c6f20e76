#include "app/preferences/PTPreferencesGeneralViewController.h"

#include "app/autostart/LaunchAtLoginController.h"
#include "app/preferences/PTPreferencesAppearanceButton.h"
#include "app/preferences/PTPreferencesTitleLabel.h"
#include "app/welcome/PTStarterSetImport.h"
#include "transfer/PTStarterSetDownloads.h"
#include "ui/PTPreferenceKeys.h"

#include "library/controllers/PTCollectionController.h"
#include "platform/runtime/Defaults.h"
#include "ui/controls/PTSegmentedControl.h"
#include "ui/controls/PTSwitchControl.h"
#include "ui/theme/PTStyles.h"
#include "ui/theme/PTThemeController.h"

#include <QGridLayout>

PTPreferencesGeneralViewController::PTPreferencesGeneralViewController(QWidget* parent)
    : PTPreferencesPane(Identifier, parent),
      launchAtLoginController_(new LaunchAtLoginController(this)),
      launchAtLoginSwitch_(makeSwitch(tr("Start at Login")))
{
    launchAtLoginSwitch_->setChecked(launchAtLoginController_->launchAtLogin());
    connect(launchAtLoginController_, &LaunchAtLoginController::launchAtLoginChanged, launchAtLoginSwitch_,
            &PTSwitchControl::setChecked);
    connect(launchAtLoginSwitch_, &PTSwitchControl::userToggled, launchAtLoginController_, [this](bool on) {
        if (!launchAtLoginController_->setLaunchAtLogin(on))
            launchAtLoginSwitch_->setChecked(launchAtLoginController_->launchAtLogin());
    });
    addRow(tr("Start at Login"), tr("Open Pictern when you log in."), launchAtLoginSwitch_);
    addRow(tr("Appearance"), QString(), makeAppearanceControls());
    addSwitchRow(tr("Confirm Removing Icons"), tr("Ask before icons are removed from the library."),
                 PTCollectionController::DeleteSuppressionKey, true);
    addSwitchRow(tr("Clear Search on Selection Change"), tr("Choosing another set ends a running search."),
                 PTPreferenceKeys::ClearSearchOnSelectionChange);
    addSwitchRow(tr("Show Notifications"), tr("Tell the desktop when imports and exports finish."),
                 PTPreferenceKeys::ShowNotifications);
    addSwitchRow(tr("Always Show Notifications"), tr("Also while Pictern is the active application."),
                 PTPreferenceKeys::ShowNotificationsAlways);
    addSwitchRow(tr("Colour Icons in Dark Mode"), tr("Draw dark icons light on the dark appearance."),
                 PTPreferenceKeys::DarkModeAutoColorIcons);
    starterSetButton_ = makeButton(tr("Download..."), [this] { loadStarterIcons(); });
    starterSetButton_->setAccessibleName(tr("Download Starter Icons"));
    starterSetButton_->setEnabled(PTStarterSetDownloads::available());
    addRow(tr("Starter Icons"), tr("Add a set of icons to play with to the library."), starterSetButton_);
    finishRows();
    updateAppearanceControls();
}

QWidget* PTPreferencesGeneralViewController::makeAppearanceControls()
{
    auto* controls = new QWidget;
    auto* grid = new QGridLayout(controls);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(2);
    lightButton_ = new PTPreferencesAppearanceButton(PTAppearanceAqua, tr("Light Appearance"));
    darkButton_ = new PTPreferencesAppearanceButton(PTAppearanceDark, tr("Dark Appearance"));
    lightLabel_ = new PTPreferencesTitleLabel(tr("Light"));
    darkLabel_ = new PTPreferencesTitleLabel(tr("Dark"));
    automaticAppearanceControl_ = makeSwitch(tr("Automatic Appearance"));
    auto* automaticLabel = new PTPreferencesTitleLabel(tr("Auto"));
    for (PTTitleLabel* label : std::initializer_list<PTTitleLabel*>{lightLabel_, darkLabel_, automaticLabel}) {
        label->setFont(PTStyles::systemFont(11));
        label->setAlignment(Qt::AlignCenter);
    }
    grid->addWidget(lightButton_, 0, 0, Qt::AlignCenter);
    grid->addWidget(darkButton_, 0, 1, Qt::AlignCenter);
    grid->addWidget(automaticAppearanceControl_, 0, 2, Qt::AlignCenter);
    grid->addWidget(lightLabel_, 1, 0);
    grid->addWidget(darkLabel_, 1, 1);
    grid->addWidget(automaticLabel, 1, 2);
    // The buttons act, then show the stored choice again; a click never leaves a button checked by itself.
    connect(lightButton_, &QAbstractButton::clicked, this, &PTPreferencesGeneralViewController::selectAquaAppearance);
    connect(darkButton_, &QAbstractButton::clicked, this,
            &PTPreferencesGeneralViewController::selectDarkAquaAppearance);
    connect(automaticAppearanceControl_, &PTSwitchControl::userToggled, this,
            &PTPreferencesGeneralViewController::updateAutomaticAppearance);
    return controls;
}

void PTPreferencesGeneralViewController::selectAquaAppearance()
{
    PTThemeController::defaultController().setDefaultAppearance(PTAppearanceAqua, PTAppearancePreferenceManual);
    updateAppearanceControls();
}

void PTPreferencesGeneralViewController::selectDarkAquaAppearance()
{
    PTThemeController::defaultController().setDefaultAppearance(PTAppearanceDark, PTAppearancePreferenceManual);
    updateAppearanceControls();
}

void PTPreferencesGeneralViewController::updateAutomaticAppearance()
{
    PTThemeController& theme = PTThemeController::defaultController();
    const int appearance = theme.appearanceForPreference(PTAppearancePreferenceAutomatic);
    theme.setDefaultAppearance(appearance, automaticAppearanceControl_->isChecked() ? PTAppearancePreferenceAutomatic
                                                                                     : PTAppearancePreferenceManual);
    updateAppearanceControls();
}

void PTPreferencesGeneralViewController::updateAppearanceControls()
{
    const pt::Defaults& defaults = pt::Defaults::standard();
    const qint64 preference = defaults.integerForKey(PTThemeController::AppearancePreferenceKey);
    const qint64 appearance = defaults.integerForKey(PTThemeController::AppearanceKey);
    if (preference != PTAppearancePreferenceAutomatic && preference != PTAppearancePreferenceManual)
        return;
    const bool automatic = preference == PTAppearancePreferenceAutomatic;
    for (QWidget* control : std::initializer_list<QWidget*>{lightButton_, darkButton_, lightLabel_, darkLabel_})
        control->setEnabled(!automatic);
    automaticAppearanceControl_->setChecked(automatic);
    lightButton_->setChecked(!automatic && appearance == PTAppearanceAqua);
    darkButton_->setChecked(!automatic && appearance != PTAppearanceAqua);
}

void PTPreferencesGeneralViewController::loadStarterIcons()
{
    if (starterSet_)
        return;
    starterSet_ = new PTStarterSetImport(window(), this);
    connect(starterSet_, &PTStarterSetImport::finished, starterSet_, &QObject::deleteLater);
    if (!starterSet_->start())
        delete starterSet_;
}
