#pragma once

#include "app/updates/Updater.h"

#include <QObject>
#include <QUrl>

#include <memory>

class QMenu;

// Update checks and feedback from the Help menu. It starts the silent check at launch (when the user lets it),
// publishes a release found, which the update notice follows, and reports an interactive check in an alert.
// Feedback goes by e-mail to the support address; without one the feedback items are not offered.
class PTUpdateController : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool updateAvailable READ updateAvailable NOTIFY updateAvailableChanged)
public:
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

    bool updateAvailable() const { return updateAvailable_; }
    const pt::UpdateItem& updateAppcastItem() const { return updateItem_; }

    // The interactive check: an alert says a release was found, all is up to date, or checks are not set up.
    void checkForUpdates();
    // The update notice's click: opens the page of the release found (checking first when none is known).
    void checkForUpdatesInBackground();
    void showFeedbackWindow();
    void showReportBugWindow();
    void showSupportRequestWindow();
    // A mailto: address with a subject by type and the versions in the body.
    static QUrl feedbackURL(FeedbackType type, const QString& supportAddress);

Q_SIGNALS:
    void updateAvailableChanged(bool available);
    void updateAppcastItemChanged();

private:
    void didFindValidUpdate(const pt::UpdateItem& item);
    void reportCheck(pt::Updater::CheckResult result, const pt::UpdateItem& item);

    std::unique_ptr<pt::Updater> updater_;
    QString supportAddress_;
    bool updateAvailable_ = false;
    bool openPageWhenFound_ = false;
    pt::UpdateItem updateItem_;
};
