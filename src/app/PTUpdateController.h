#pragma once

#include "app/updates/Updater.h"
#include "app/updates/UsageReporter.h"

#include <QObject>
#include <QString>
#include <QUrl>

#include <memory>

class QMenu;

// What the application knows about updates of itself: whether one was found in this run, and which; the update
// notice follows. It starts the silent check at launch (when the user lets it), reports an interactive check in
// an alert, and offers update and feedback items in the Help menu. Feedback goes by e-mail to the support
// address; without one the feedback items are not offered. The usage report goes at launch only when the user
// turned it on and the build has an address for it.
class PTUpdateController : public QObject {
    Q_OBJECT
public:
    // The version found, as the update feed names it, and its release page.
    struct AppcastItem {
        QString displayVersionString;
        QString versionString;
        QUrl url;
    };
    enum FeedbackType { Feedback = 0, SupportRequest = 1, BugReport = 2 };

    // The controller over the feed and support address this build was configured with; made on first use.
    static PTUpdateController& sharedController();
    // Without a usage reporter, one with no address stands in: it never sends.
    PTUpdateController(std::unique_ptr<pt::Updater> updater, const QString& supportAddress,
                       std::unique_ptr<pt::UsageReporter> usageReporter = nullptr, QObject* parent = nullptr);
    ~PTUpdateController() override;

    pt::Updater& updater() const { return *updater_; }
    pt::UsageReporter& usageReporter() const { return *usageReporter_; }
    // Adds the update and feedback items to the menu once, starts the silent check when automatic checks are on
    // and sends the usage report when the user lets it. Called once at launch, after the menus exist.
    void setup(QMenu* helpMenu);

    // False until an update is reported; never goes back during a run.
    bool updateAvailable() const { return updateAvailable_; }
    const AppcastItem& updateAppcastItem() const { return item_; }
    // A valid update was found.
    void didFindValidUpdate(const AppcastItem& item);

    // The interactive check: an alert says a release was found, all is up to date, or checks are not set up.
    void checkForUpdates();
    // The update notice's click: opens the page of the release found (checking first when none is known).
    void checkForUpdatesInBackground();
    void showFeedbackWindow();
    void showReportBugWindow();
    void showSupportRequestWindow();
    // A mailto: address with a subject by type and the versions in the body.
    static QUrl feedbackURL(FeedbackType type, const QString& supportAddress);
    // A mailto: address with the subject and body filled in.
    static QUrl mailURL(const QString& address, const QString& subject, const QString& body);

signals:
    void updateAvailableChanged(bool available);
    void updateAppcastItemChanged();

private:
    void reportCheck(pt::Updater::CheckResult result, const pt::UpdateItem& item);

    std::unique_ptr<pt::Updater> updater_;
    std::unique_ptr<pt::UsageReporter> usageReporter_;
    QString supportAddress_;
    bool updateAvailable_ = false;
    bool openPageWhenFound_ = false;
    AppcastItem item_;
};
