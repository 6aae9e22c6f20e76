#pragma once

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QStringList>
#include <QUrl>
#include <QVariantMap>

// Fakes of desktop services, each on a bus connection of its own.

// org.freedesktop.Notifications: records each Notify, answers with increasing ids,
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

// org.freedesktop.FileManager1 on a connection of its own: records what it was asked to show.
class FakeFileManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")
public:
    explicit FakeFileManager(const QString& connectionName);
    ~FakeFileManager() override;

    QList<QStringList> shown;

public Q_SLOTS:
    void ShowItems(const QStringList& uris, const QString& startupId);

private:
    QString connectionName_;
};

// Catches the URLs handed to the desktop (QDesktopServices::setUrlHandler with "open").
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public Q_SLOTS:
    void open(const QUrl& url) { urls << url; }
};
