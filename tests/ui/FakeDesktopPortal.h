#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QObject>
#include <QVariantMap>

// The settings interface of a desktop portal, on a connection of its own: it answers the appearance settings
// it was given and announces changes to them.
class FakeDesktopPortal : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")
public:
    // Keys of the group "org.freedesktop.appearance" and their values.
    explicit FakeDesktopPortal(QVariantMap appearance) : appearance_(std::move(appearance))
    {
        connection_.registerObject(Path, this, QDBusConnection::ExportAllSlots);
        registered = connection_.registerService(Service);
    }
    ~FakeDesktopPortal() override
    {
        connection_.unregisterService(Service);
        connection_.unregisterObject(Path);
        QDBusConnection::disconnectFromBus(connection_.name());
    }
    void signalSetting(const QString& key, const QVariant& value)
    {
        QDBusMessage signal = QDBusMessage::createSignal(Path, QStringLiteral("org.freedesktop.portal.Settings"),
                                                         QStringLiteral("SettingChanged"));
        signal << Group << key << QVariant::fromValue(QDBusVariant(value));
        connection_.send(signal);
    }

    bool registered = false;

public Q_SLOTS:
    // The portal wraps the value in a second variant; a setting it does not have answers an empty string.
    QDBusVariant Read(const QString& group, const QString& key)
    {
        const QVariant value = group == Group ? appearance_.value(key, QString()) : QString();
        return QDBusVariant(QVariant::fromValue(QDBusVariant(value)));
    }

private:
    inline static const QString Service = QStringLiteral("org.freedesktop.portal.Desktop");
    inline static const QString Path = QStringLiteral("/org/freedesktop/portal/desktop");
    inline static const QString Group = QStringLiteral("org.freedesktop.appearance");

    QVariantMap appearance_;
    QDBusConnection connection_ = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("portal"));
};
