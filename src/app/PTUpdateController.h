#pragma once

#include "app/updates/Updater.h"

#include <QObject>
#include <QString>
#include <QUrl>

#include <memory>

class QMenu;

// What the application knows about updates of itself: whether one was found in this run, and which; the update
// notice follows. It starts the silent check at launch (when the user lets it), reports an interactive check in
// an alert, and offers update and feedback items in the Help menu. Feedback goes by e-mail to the support
// address; without one the feedback items are not offered.
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
    PTUpdateController(std::unique_ptr<pt::Updater> updater, const QString& supportAddress,
                       QObject* parent = nullptr);
    ~PTUpdateController() override;

    pt::Updater& updater() const { return *updater_; }
    // Adds the update and feedback items to the menu once, and starts the silent check when automatic checks
    // are on. Called once at launch, after the menus exist.
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

signals:
    void updateAvailableChanged(bool available);
    void updateAppcastItemChanged();

private:
    void reportCheck(pt::Updater::CheckResult result, const pt::UpdateItem& item);

    std::unique_ptr<pt::Updater> updater_;
    QString supportAddress_;
    bool updateAvailable_ = false;
    bool openPageWhenFound_ = false;
    AppcastItem item_;
};
