#include "app/updates/UsageReporter.h"

#include "app/PTBuildInfo.h"
#include "platform/runtime/Defaults.h"
#include "platform/runtime/Logging.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSysInfo>

namespace pt {

const QString UsageReporter::SendsUsageReportKey = QStringLiteral("PTUsageReporterSendsUsageReport");

void UsageReporter::registerDefaults()
{
    Defaults::standard().registerDefaults({{SendsUsageReportKey, false}});
}

UsageReporter::UsageReporter(const QUrl& reportUrl, QObject* parent) : QObject(parent), reportUrl_(reportUrl)
{
}

bool UsageReporter::sendsUsageReport() const
{
    return isConfigured() && Defaults::standard().boolForKey(SendsUsageReportKey);
}

void UsageReporter::setSendsUsageReport(bool sends)
{
    if (!isConfigured() || sends == sendsUsageReport())
        return;
    Defaults::standard().set(SendsUsageReportKey, sends);
    Q_EMIT sendsUsageReportChanged(sends);
}

bool UsageReporter::sendTrackingReport()
{
    if (!sendsUsageReport())
        return false;
    if (!network_)
        network_ = new QNetworkAccessManager(this);
    QNetworkRequest request(reportUrl_);
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
    request.setTransferTimeout(15000);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    QNetworkReply* reply = network_->post(request, report());
    connect(reply, &QNetworkReply::finished, reply, [reply] {
        if (reply->error() != QNetworkReply::NoError)
            qCInfo(lcApp).noquote() << "The usage report was not taken:" << reply->errorString();
        reply->deleteLater();
    });
    return true;
}

QByteArray UsageReporter::report()
{
    return QJsonDocument(QJsonObject{{QStringLiteral("version"), PTBuildInfo::version()},
                                     {QStringLiteral("build"), PTBuildInfo::buildNumber()},
                                     {QStringLiteral("system"), QSysInfo::prettyProductName()},
                                     {QStringLiteral("qt"), QString::fromLatin1(qVersion())}})
        .toJson(QJsonDocument::Compact);
}

} // namespace pt
