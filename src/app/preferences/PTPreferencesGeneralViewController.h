#pragma once

#include "app/preferences/PTPreferencesPane.h"

#include <QPointer>

class LaunchAtLoginController;
class PTSegmentedControl;
class PTStarterSetImport;
class PTPreferencesAppearanceButton;
class PTTitleLabel;

// Start at login, confirmations, search, notifications and the appearance.
class PTPreferencesGeneralViewController : public PTPreferencesPane {
    Q_OBJECT
public:
    static inline const QString Identifier = QStringLiteral("general");
    explicit PTPreferencesGeneralViewController(QWidget* parent = nullptr);

    LaunchAtLoginController* launchAtLoginController() const { return launchAtLoginController_; }
    PTSwitchControl* launchAtLoginSwitch() const { return launchAtLoginSwitch_; }
    PTSwitchControl* automaticAppearanceControl() const { return automaticAppearanceControl_; }
    PTPreferencesAppearanceButton* lightModeAppearanceButton() const { return lightButton_; }
    PTPreferencesAppearanceButton* darkModeAppearanceButton() const { return darkButton_; }

    void selectAquaAppearance();
    void selectDarkAquaAppearance();
    // Follows the desktop when the automatic switch is on, else keeps the desktop's current appearance fixed.
    void updateAutomaticAppearance();
    // Shows the stored choice: with the automatic preference both buttons are off and disabled.
    void updateAppearanceControls();
    // Downloads the starter set into the library under a sheet on this window; offered only when available.
    void loadStarterIcons();
    PTSegmentedControl* starterSetButton() const { return starterSetButton_; }

private:
    QWidget* makeAppearanceControls();

    LaunchAtLoginController* launchAtLoginController_;
    PTSwitchControl* launchAtLoginSwitch_;
    PTSwitchControl* automaticAppearanceControl_ = nullptr;
    PTPreferencesAppearanceButton* lightButton_ = nullptr;
    PTPreferencesAppearanceButton* darkButton_ = nullptr;
    PTTitleLabel* lightLabel_ = nullptr;
    PTTitleLabel* darkLabel_ = nullptr;
    PTSegmentedControl* starterSetButton_ = nullptr;
    QPointer<PTStarterSetImport> starterSet_;
};
