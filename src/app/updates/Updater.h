#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QUrl>

namespace pt {

// A release newer than the running one, as a feed describes it.
struct UpdateItem {
    QString version;        // compared with the running version
    QString displayVersion; // shown to the user
    QUrl url;               // the release page
};

// Update checks. On Linux the package manager installs updates, so an updater only finds out whether a newer
// release exists and where its page is. The settings the Updates pane shows live in the defaults; the two that
// have no meaning here (automatic download, system profile) read false and cannot be set.
class Updater : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool automaticallyChecksForUpdates READ automaticallyChecksForUpdates WRITE
                   setAutomaticallyChecksForUpdates NOTIFY automaticallyChecksForUpdatesChanged)
    Q_PROPERTY(bool automaticallyDownloadsUpdates READ automaticallyDownloadsUpdates CONSTANT)
    Q_PROPERTY(bool sendsSystemProfile READ sendsSystemProfile CONSTANT)
    Q_PROPERTY(QDateTime lastUpdateCheckDate READ lastUpdateCheckDate NOTIFY lastUpdateCheckDateChanged)
public:
    static const QString AutomaticallyChecksKey; // "PTUpdaterAutomaticallyChecksForUpdates", default on
    static const QString LastCheckDateKey;       // "PTUpdaterLastUpdateCheckDate"
    enum class CheckResult { Found, UpToDate, Failed, NotConfigured };
    Q_ENUM(CheckResult)

    static void registerDefaults();
    using QObject::QObject;

    bool automaticallyChecksForUpdates() const;
    void setAutomaticallyChecksForUpdates(bool checks);
    bool automaticallyDownloadsUpdates() const { return false; }
    bool sendsSystemProfile() const { return false; }
    QDateTime lastUpdateCheckDate() const;

    // Whether this build knows where to look for releases.
    virtual bool isConfigured() const = 0;
    // A check without any window: a release found arrives through didFindValidUpdate.
    virtual void checkForUpdateInformation() = 0;
    // A check the user asked for: checkFinished says how it went, whatever the outcome.
    virtual void checkForUpdates() = 0;

Q_SIGNALS:
    void didFindValidUpdate(const pt::UpdateItem& item);
    void checkFinished(pt::Updater::CheckResult result, const pt::UpdateItem& item);
    void automaticallyChecksForUpdatesChanged(bool checks);
    void lastUpdateCheckDateChanged();

protected:
    // Records a check that got an answer from the feed.
    void setLastUpdateCheckDate(const QDateTime& date);
};

} // namespace pt
