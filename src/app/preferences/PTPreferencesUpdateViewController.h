#pragma once

#include "app/preferences/PTPreferencesPane.h"

class PTUpdateController;
class PTTitleLabel;

// Update checks: the automatic check (off and disabled, saying why, when the build has no feed), the last check and a check now, and the usage report (off unless the user
// turns it on; disabled, saying why, when the build has no address for it). Downloads mean nothing here (the
// package manager updates Pictern), so their switch shows off and disabled.
class PTPreferencesUpdateViewController : public PTPreferencesPane {
    Q_OBJECT
public:
    static inline const QString Identifier = QStringLiteral("updates");
    explicit PTPreferencesUpdateViewController(PTUpdateController& controller, QWidget* parent = nullptr);

    PTSwitchControl* automaticallyCheckForUpdatesControl() const { return automaticallyCheck_; }
    PTSwitchControl* sendUsageReportControl() const { return sendUsageReport_; }
    QString lastCheckedText() const;

private:
    void updateLastCheckTime();

    PTUpdateController& controller_;
    PTSwitchControl* automaticallyCheck_;
    PTSwitchControl* sendUsageReport_;
    PTTitleLabel* lastUpdatedTextField_;
};
