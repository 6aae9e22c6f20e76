#pragma once

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

// org.freedesktop.Notifications on a connection of its own: records each Notify, answers with increasing ids,
// or, when silent, never answers at all.
class FakeNotificationServer : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Call {
        QString appName;
        uint replacesId = 0;
        QString appIcon;
        QString summary;
        QString body;
        QStringList actions;
        QVariantMap hints;
        int timeout = 0;
    };

    FakeNotificationServer(const QString& connectionName, QStringList capabilities, bool silent = false);
    ~FakeNotificationServer() override;

    QList<Call> calls;
    int capabilityRequests = 0;

public Q_SLOTS:
    QStringList GetCapabilities();
    uint Notify(const QString& appName, uint replacesId, const QString& appIcon, const QString& summary,
                const QString& body, const QStringList& actions, const QVariantMap& hints, int timeout);

private:
    QString connectionName_;
    QStringList capabilities_;
    bool silent_;
};
