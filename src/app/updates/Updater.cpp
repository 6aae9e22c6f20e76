#include "app/updates/Updater.h"

#include "platform/runtime/Defaults.h"

namespace pt {

const QString Updater::AutomaticallyChecksKey = QStringLiteral("PTUpdaterAutomaticallyChecksForUpdates");
const QString Updater::LastCheckDateKey = QStringLiteral("PTUpdaterLastUpdateCheckDate");

void Updater::registerDefaults()
{
    Defaults::standard().registerDefaults({{AutomaticallyChecksKey, true}});
}

bool Updater::automaticallyChecksForUpdates() const
{
    return Defaults::standard().boolForKey(AutomaticallyChecksKey);
}

void Updater::setAutomaticallyChecksForUpdates(bool checks)
{
    if (checks == automaticallyChecksForUpdates())
        return;
    Defaults::standard().set(AutomaticallyChecksKey, checks);
    Q_EMIT automaticallyChecksForUpdatesChanged(checks);
}

QDateTime Updater::lastUpdateCheckDate() const
{
    return Defaults::standard().objectForKey(LastCheckDateKey).toDateTime();
}

void Updater::setLastUpdateCheckDate(const QDateTime& date)
{
    Defaults::standard().set(LastCheckDateKey, date);
    Q_EMIT lastUpdateCheckDateChanged();
}

} // namespace pt
