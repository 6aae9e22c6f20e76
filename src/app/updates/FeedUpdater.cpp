#include "app/updates/FeedUpdater.h"

#include "foundation/StringAdditions.h"
#include "platform/runtime/Logging.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>

namespace pt {

FeedUpdater::FeedUpdater(const QUrl& feedUrl, const QString& runningVersion, QObject* parent)
    : Updater(parent), feedUrl_(feedUrl), runningVersion_(runningVersion), network_(new QNetworkAccessManager(this))
{
}

FeedUpdater::~FeedUpdater()
{
    if (reply_)
        reply_->abort();
}

void FeedUpdater::checkForUpdateInformation()
{
    check(false);
}

void FeedUpdater::checkForUpdates()
{
    check(true);
}

void FeedUpdater::check(bool interactive)
{
    if (!isConfigured()) {
        if (interactive)
            Q_EMIT checkFinished(CheckResult::NotConfigured, {});
        return;
    }
    interactive_ = interactive_ || interactive;
    if (reply_)
        return;
    QNetworkRequest request(feedUrl_);
    request.setTransferTimeout(timeoutMs_);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    reply_ = network_->get(request);
    // Refuse an oversized body as it arrives rather than after buffering it.
    connect(reply_, &QNetworkReply::downloadProgress, this, [this](qint64 received, qint64 total) {
        if (received > MaximumFeedBytes || total > MaximumFeedBytes) {
            qCWarning(lcApp) << "Update feed larger than" << MaximumFeedBytes << "bytes; ignored";
            reply_->setProperty("oversized", true);
            reply_->abort();
        }
    });
    connect(reply_, &QNetworkReply::finished, this, &FeedUpdater::readFeed);
}

void FeedUpdater::readFeed()
{
    QNetworkReply* reply = reply_;
    reply->deleteLater();
    reply_.clear();
    if (reply->property("oversized").toBool())
        return finish(CheckResult::Failed);
    if (reply->error() != QNetworkReply::NoError) {
        qCWarning(lcApp) << "Update feed not read:" << reply->errorString();
        return finish(CheckResult::Failed);
    }
    const std::optional<UpdateItem> item = parseFeed(reply->read(MaximumFeedBytes + 1));
    if (!item)
        return finish(CheckResult::Failed);
    setLastUpdateCheckDate(QDateTime::currentDateTimeUtc());
    if (PTCompareVersions(item->version, runningVersion_) <= 0)
        return finish(CheckResult::UpToDate);
    Q_EMIT didFindValidUpdate(*item);
    finish(CheckResult::Found, *item);
}

void FeedUpdater::finish(CheckResult result, const UpdateItem& item)
{
    const bool interactive = interactive_;
    interactive_ = false;
    if (interactive)
        Q_EMIT checkFinished(result, item);
}

std::optional<UpdateItem> FeedUpdater::parseFeed(const QByteArray& body) const
{
    if (body.size() > MaximumFeedBytes) {
        qCWarning(lcApp) << "Update feed larger than" << MaximumFeedBytes << "bytes; ignored";
        return std::nullopt;
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(body, &error);
    if (!document.isObject()) {
        qCWarning(lcApp) << "Update feed is not a JSON object:" << error.errorString();
        return std::nullopt;
    }
    const QJsonObject feed = document.object();
    const QJsonValue version = feed.value(QLatin1String("version"));
    const QJsonValue page = feed.value(QLatin1String("url"));
    if (!version.isString() || version.toString().trimmed().isEmpty() || !page.isString()) {
        qCWarning(lcApp) << "Update feed lacks a version or a page; ignored";
        return std::nullopt;
    }
    const QUrl url(page.toString(), QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() || (scheme != QLatin1String("https") && scheme != QLatin1String("http"))) {
        qCWarning(lcApp) << "Update feed names a page that is not a web address; ignored";
        return std::nullopt;
    }
    UpdateItem item{version.toString().trimmed(), feed.value(QLatin1String("displayVersion")).toString(), url};
    if (item.displayVersion.trimmed().isEmpty())
        item.displayVersion = item.version;
    return item;
}

} // namespace pt
