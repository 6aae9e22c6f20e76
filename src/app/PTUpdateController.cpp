#include "app/PTUpdateController.h"

#include "app/PTBuildInfo.h"
#include "app/updates/FeedUpdater.h"
#include "ui/sheets/PTAlertController.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QMenu>
#include <QSysInfo>

namespace {

const char* const checkForUpdatesName = "checkForUpdatesAction";

QAction* addItem(QMenu* menu, const QString& title, const char* objectName, std::function<void()> handler)
{
    QAction* action = menu->addAction(title);
    action->setObjectName(QLatin1String(objectName));
    QObject::connect(action, &QAction::triggered, menu, std::move(handler));
    return action;
}

} // namespace

PTUpdateController& PTUpdateController::sharedController()
{
    static PTUpdateController* controller = new PTUpdateController(
        std::make_unique<pt::FeedUpdater>(QUrl(QStringLiteral(PICTERN_UPDATE_FEED_URL)), PTBuildInfo::version()),
        PTBuildInfo::supportEmail(),
        std::make_unique<pt::UsageReporter>(QUrl(QStringLiteral(PICTERN_USAGE_REPORT_URL))),
        QCoreApplication::instance());
    return *controller;
}

PTUpdateController::PTUpdateController(std::unique_ptr<pt::Updater> updater, const QString& supportAddress,
                                       std::unique_ptr<pt::UsageReporter> usageReporter, QObject* parent)
    : QObject(parent)
    , updater_(std::move(updater))
    , usageReporter_(usageReporter ? std::move(usageReporter) : std::make_unique<pt::UsageReporter>(QUrl()))
    , supportAddress_(supportAddress.trimmed())
{
    connect(updater_.get(), &pt::Updater::didFindValidUpdate, this, [this](const pt::UpdateItem& item) {
        didFindValidUpdate({item.displayVersion, item.version, item.url});
    });
    connect(updater_.get(), &pt::Updater::checkFinished, this, &PTUpdateController::reportCheck);
}

PTUpdateController::~PTUpdateController() = default;

void PTUpdateController::setup(QMenu* helpMenu)
{
    if (helpMenu && !helpMenu->findChild<QAction*>(QLatin1String(checkForUpdatesName))) {
        helpMenu->addSeparator();
        addItem(helpMenu, tr("Check for Updates..."), checkForUpdatesName, [this] { checkForUpdates(); });
        if (!supportAddress_.isEmpty()) {
            helpMenu->addSeparator();
            addItem(helpMenu, tr("Feedback..."), "feedbackAction", [this] { showFeedbackWindow(); });
            addItem(helpMenu, tr("Report A Bug..."), "reportBugAction", [this] { showReportBugWindow(); });
            addItem(helpMenu, tr("Support Request..."), "supportRequestAction",
                    [this] { showSupportRequestWindow(); });
        }
    }
    if (updater_->automaticallyChecksForUpdates())
        updater_->checkForUpdateInformation();
    usageReporter_->sendTrackingReport();
}

void PTUpdateController::checkForUpdates()
{
    updater_->checkForUpdates();
}

void PTUpdateController::checkForUpdatesInBackground()
{
    if (updateAvailable_) {
        QDesktopServices::openUrl(item_.url);
        return;
    }
    openPageWhenFound_ = true;
    updater_->checkForUpdateInformation();
}

void PTUpdateController::didFindValidUpdate(const AppcastItem& item)
{
    item_ = item;
    Q_EMIT updateAppcastItemChanged();
    if (!updateAvailable_) {
        updateAvailable_ = true;
        Q_EMIT updateAvailableChanged(true);
    }
    if (openPageWhenFound_) {
        openPageWhenFound_ = false;
        QDesktopServices::openUrl(item.url);
    }
}

void PTUpdateController::reportCheck(pt::Updater::CheckResult result, const pt::UpdateItem& item)
{
    using Result = pt::Updater::CheckResult;
    const QString running = PTBuildInfo::version();
    switch (result) {
    case Result::Found:
        if (PTAlertController::run(tr("A new version of Pictern is available"),
                                   tr("Pictern %1 is out; you have %2. Your package manager installs it. Open "
                                      "the release page?")
                                       .arg(item.displayVersion, running),
                                   true)
                .confirmed)
            QDesktopServices::openUrl(item.url);
        break;
    case Result::UpToDate:
        PTAlertController::run(tr("You're up to date"), tr("Pictern %1 is the newest version.").arg(running), false);
        break;
    case Result::Failed:
        PTAlertController::run(tr("The update check failed"),
                               tr("The list of releases could not be read. Try again later."), false);
        break;
    case Result::NotConfigured:
        PTAlertController::run(tr("Update checks are not set up in this build"),
                               tr("Your package manager keeps Pictern up to date."), false);
        break;
    }
}

void PTUpdateController::showFeedbackWindow()
{
    QDesktopServices::openUrl(feedbackURL(Feedback, supportAddress_));
}

void PTUpdateController::showReportBugWindow()
{
    QDesktopServices::openUrl(feedbackURL(BugReport, supportAddress_));
}

void PTUpdateController::showSupportRequestWindow()
{
    QDesktopServices::openUrl(feedbackURL(SupportRequest, supportAddress_));
}

QUrl PTUpdateController::feedbackURL(FeedbackType type, const QString& supportAddress)
{
    static const char* const subjects[] = {"Pictern Feedback", "Pictern Support Request", "Pictern Bug Report"};
    const QString body = QStringLiteral("\n\n--\nPictern %1, Qt %2, %3")
                             .arg(PTBuildInfo::version(), QString::fromLatin1(qVersion()),
                                  QSysInfo::prettyProductName());
    return mailURL(supportAddress, QString::fromLatin1(subjects[type]), body);
}

QUrl PTUpdateController::mailURL(const QString& address, const QString& subject, const QString& body)
{
    QUrl url;
    url.setScheme(QStringLiteral("mailto"));
    url.setPath(address);
    url.setQuery(QStringLiteral("subject=%1&body=%2")
                     .arg(QString::fromLatin1(QUrl::toPercentEncoding(subject)),
                          QString::fromLatin1(QUrl::toPercentEncoding(body))),
                 QUrl::StrictMode);
    return url;
}
