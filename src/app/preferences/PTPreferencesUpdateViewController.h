#pragma once

#include "app/preferences/PTPreferencesPane.h"

class PTUpdateController;
class PTTitleLabel;

// Update checks: the automatic check, the last check and a check now. Downloads and system profiles mean nothing
// here (the package manager updates Pictern), so their switches show off and disabled, saying why.
class PTPreferencesUpdateViewController : public PTPreferencesPane {
    Q_OBJECT
public:
    static inline const QString Identifier = QStringLiteral("updates");
    explicit PTPreferencesUpdateViewController(PTUpdateController& controller, QWidget* parent = nullptr);

    PTSwitchControl* automaticallyCheckForUpdatesControl() const { return automaticallyCheck_; }
    QString lastCheckedText() const;

private:
    void updateLastCheckTime();

    PTUpdateController& controller_;
    PTSwitchControl* automaticallyCheck_;
    PTTitleLabel* lastUpdatedTextField_;
};
