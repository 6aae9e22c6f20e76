#pragma once

#include <QObject>
#include <QUrl>

class QNetworkAccessManager;

namespace pt {

// The usage report: at launch, Pictern's version and build and the system's name, posted as JSON to an address
// fixed when Pictern is built. It goes only when the user has turned it on (off by default) and only while the
// build has an address; with none, the setting reads off and cannot be turned on.
class UsageReporter : public QObject {
    Q_OBJECT
public:
    static const QString SendsUsageReportKey; // "PTUsageReporterSendsUsageReport", default off

    static void registerDefaults();
    explicit UsageReporter(const QUrl& reportUrl, QObject* parent = nullptr);

    bool isConfigured() const { return reportUrl_.isValid() && !reportUrl_.isEmpty(); }
    bool sendsUsageReport() const;
    void setSendsUsageReport(bool sends);
    // Posts the report when both allow it; answers whether it went out.
    bool sendTrackingReport();
    // What the report says: {"version", "build", "system", "qt"}.
    static QByteArray report();

Q_SIGNALS:
    void sendsUsageReportChanged(bool sends);

private:
    QUrl reportUrl_;
    QNetworkAccessManager* network_ = nullptr;
};

} // namespace pt
