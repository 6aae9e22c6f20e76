#include "app/preferences/PTPreferencesUpdateViewController.h"

#include "app/preferences/PTPreferencesTitleLabel.h"
#include "app/PTUpdateController.h"

#include "foundation/TimeAgo.h"
#include "ui/controls/PTSegmentedControl.h"
#include "ui/controls/PTSwitchControl.h"
#include "ui/theme/PTStyles.h"

#include <QHBoxLayout>

PTPreferencesUpdateViewController::PTPreferencesUpdateViewController(PTUpdateController& controller,
                                                                     QWidget* parent)
    : PTPreferencesPane(Identifier, parent),
      controller_(controller),
      automaticallyCheck_(makeSwitch(tr("Check for Updates Automatically"))),
      sendUsageReport_(makeSwitch(tr("Send Usage Report"))),
      lastUpdatedTextField_(new PTPreferencesTitleLabel)
{
    pt::Updater& updater = controller.updater();
    // A build without a feed never checks, whatever the stored choice says: the switch shows that, off and
    // disabled, and leaves the choice alone for a build that has one.
    const bool configured = updater.isConfigured();
    automaticallyCheck_->setChecked(configured && updater.automaticallyChecksForUpdates());
    automaticallyCheck_->setEnabled(configured);
    if (configured) {
        connect(&updater, &pt::Updater::automaticallyChecksForUpdatesChanged, automaticallyCheck_,
                &PTSwitchControl::setChecked);
        connect(automaticallyCheck_, &PTSwitchControl::userToggled, &updater,
                &pt::Updater::setAutomaticallyChecksForUpdates);
    }
    addRow(tr("Check for Updates Automatically"),
           configured ? tr("Look for a new release when Pictern starts.")
                                  : tr("Update checks are not set up in this build."),
           automaticallyCheck_);

    PTSwitchControl* download = makeSwitch(tr("Download Updates Automatically"));
    download->setEnabled(false);
    addRow(tr("Download Updates Automatically"), tr("Your package manager downloads and installs updates."),
           download);

    pt::UsageReporter& usage = controller.usageReporter();
    sendUsageReport_->setChecked(usage.sendsUsageReport());
    sendUsageReport_->setEnabled(usage.isConfigured());
    connect(&usage, &pt::UsageReporter::sendsUsageReportChanged, sendUsageReport_, &PTSwitchControl::setChecked);
    connect(sendUsageReport_, &PTSwitchControl::userToggled, &usage, &pt::UsageReporter::setSendsUsageReport);
    addRow(tr("Send Usage Report"),
           usage.isConfigured() ? tr("At launch, send the version of Pictern and the name of your system.")
                                : tr("This build has no address for usage reports, so it sends none."),
           sendUsageReport_);

    auto* lastRow = new QWidget;
    auto* columns = new QHBoxLayout(lastRow);
    columns->setContentsMargins(0, 0, 0, 0);
    lastUpdatedTextField_->setFont(PTStyles::systemFont(12));
    lastUpdatedTextField_->setAccessibleName(tr("Last Update Check"));
    columns->addWidget(lastUpdatedTextField_, 1);
    columns->addWidget(makeButton(tr("Check Now"), [this] { controller_.checkForUpdates(); }));
    addRow(lastRow);
    connect(&updater, &pt::Updater::lastUpdateCheckDateChanged, this,
            &PTPreferencesUpdateViewController::updateLastCheckTime);
    updateLastCheckTime();
    finishRows();
}

QString PTPreferencesUpdateViewController::lastCheckedText() const
{
    return lastUpdatedTextField_->text();
}

void PTPreferencesUpdateViewController::updateLastCheckTime()
{
    const QDateTime date = controller_.updater().lastUpdateCheckDate();
    lastUpdatedTextField_->setText(
        tr("Last checked: %1").arg(date.isValid() ? timeAgo::formattedAsTimeAgo(date) : tr("N/A")));
}
