#pragma once

#include "app/updates/Updater.h"

#include <QPointer>

#include <optional>

class QNetworkAccessManager;
class QNetworkReply;

namespace pt {

// An updater that reads a small JSON feed, {"version", "displayVersion", "url"}, from a URL fixed when Pictern is
// built. With no URL (the default) nothing ever leaves the machine. The feed is untrusted: a body over 64 KiB,
// an answer slower than the timeout, malformed JSON, a version that is not a string or a page that is not http(s)
// is ignored and logged.
class FeedUpdater : public Updater {
    Q_OBJECT
public:
    static constexpr qint64 MaximumFeedBytes = 64 * 1024;

    FeedUpdater(const QUrl& feedUrl, const QString& runningVersion, QObject* parent = nullptr);
    ~FeedUpdater() override;

    void setTimeout(int milliseconds) { timeoutMs_ = milliseconds; }
    bool isConfigured() const override { return feedUrl_.isValid() && !feedUrl_.isEmpty(); }
    void checkForUpdateInformation() override;
    void checkForUpdates() override;

private:
    // Starts a request unless one is running; interactive marks a check whose outcome is to be reported.
    void check(bool interactive);
    void readFeed();
    void finish(CheckResult result, const UpdateItem& item = {});
    std::optional<UpdateItem> parseFeed(const QByteArray& body) const;

    QUrl feedUrl_;
    QString runningVersion_;
    QNetworkAccessManager* network_;
    QPointer<QNetworkReply> reply_;
    bool interactive_ = false;
    int timeoutMs_ = 15000;
};

} // namespace pt
