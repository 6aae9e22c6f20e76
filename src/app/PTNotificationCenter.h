#pragma once

#include "app/PTNotification.h"

#include <QDBusConnection>
#include <QObject>
#include <QStringList>

#include <functional>
#include <optional>

// Posts notifications to the desktop's notification server (org.freedesktop.Notifications) when the user's
// settings allow: not at all with "PTPreferencesShowNotifications" off, and not while Pictern is the active
// application unless "PTPreferencesShowNotificationsAlways" is on. Every call is asynchronous: a server that is
// slow or never answers keeps nobody waiting. A notification that no server took (none on the bus, or the call
// failed) is handed back through undelivered(), so that the window can show it instead. Main thread.
class PTNotificationCenter : public QObject {
    Q_OBJECT
public:
    static inline const QString EnabledKey = QStringLiteral("PTPreferencesShowNotifications");
    static inline const QString AlwaysShowKey = QStringLiteral("PTPreferencesShowNotificationsAlways");
    static inline const QString DesktopEntry = QStringLiteral("com.pictern.Pictern");

    static PTNotificationCenter& sharedCenter();
    // The bus to talk on and the test of whether the application is active.
    PTNotificationCenter(QDBusConnection bus, std::function<bool()> isActive, QObject* parent = nullptr);

    bool enabled() const;
    bool shouldAlwaysShow() const;
    // Answers whether a Notify call went out (or waits for the server's capabilities to go out).
    bool postNotification(const PTNotification& notification);

    // The arguments of Notify for the notification and the server's capabilities.
    static QVariantList notifyArguments(const PTNotification& notification, const QStringList& capabilities);

signals:
    // The server's id for a delivered notification.
    void delivered(const QString& identifier, uint serverId);
    // A notification the settings allowed but no notification server showed.
    void undelivered(const PTNotification& notification);

private:
    void send(const PTNotification& notification);

    QDBusConnection bus_;
    std::function<bool()> isActive_;
    std::optional<QStringList> capabilities_;
    bool askingCapabilities_ = false;
    QList<PTNotification> waiting_;
};
