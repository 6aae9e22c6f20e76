#include "FakeDesktopServices.h"

FakeNotificationServer::FakeNotificationServer(const QString& connectionName, QStringList capabilities, bool silent)
    : connectionName_(connectionName)
    , capabilities_(std::move(capabilities))
    , silent_(silent)
{
    QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, connectionName_);
    bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), this, QDBusConnection::ExportAllSlots);
    bus.registerService(QStringLiteral("org.freedesktop.Notifications"));
}

FakeNotificationServer::~FakeNotificationServer()
{
    QDBusConnection bus(connectionName_);
    bus.unregisterService(QStringLiteral("org.freedesktop.Notifications"));
    bus.unregisterObject(QStringLiteral("/org/freedesktop/Notifications"));
    QDBusConnection::disconnectFromBus(connectionName_);
}

QStringList FakeNotificationServer::GetCapabilities()
{
    ++capabilityRequests;
    if (silent_)
        setDelayedReply(true);
    return capabilities_;
}

uint FakeNotificationServer::Notify(const QString& appName, uint replacesId, const QString& appIcon,
                                    const QString& summary, const QString& body, const QStringList& actions,
                                    const QVariantMap& hints, int timeout)
{
    calls.append({appName, replacesId, appIcon, summary, body, actions, hints, timeout});
    return uint(calls.size());
}

FakeFileManager::FakeFileManager(const QString& connectionName)
    : connectionName_(connectionName)
{
    QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, connectionName_);
    bus.registerObject(QStringLiteral("/org/freedesktop/FileManager1"), this, QDBusConnection::ExportAllSlots);
    bus.registerService(QStringLiteral("org.freedesktop.FileManager1"));
}

FakeFileManager::~FakeFileManager()
{
    QDBusConnection bus(connectionName_);
    bus.unregisterService(QStringLiteral("org.freedesktop.FileManager1"));
    bus.unregisterObject(QStringLiteral("/org/freedesktop/FileManager1"));
    QDBusConnection::disconnectFromBus(connectionName_);
}

void FakeFileManager::ShowItems(const QStringList& uris, const QString&)
{
    shown.append(uris);
}
