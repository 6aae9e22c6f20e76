#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QVariant>

namespace pt {

// One setting of the desktop portal on a bus: read once, asynchronously, then followed through SettingChanged.
// Every answer, the first included, arrives as valueChanged(); no bus, no portal or an error answer an invalid
// value.
class PortalSetting : public QObject {
    Q_OBJECT
public:
    PortalSetting(QDBusConnection connection, QString group, QString key, QObject* parent = nullptr);
    void start();

    // The portal nests the value in variants; this unwraps however deep it comes.
    static QVariant unwrap(const QVariant& value);

Q_SIGNALS:
    void valueChanged(const QVariant& value);

private Q_SLOTS:
    // The portal's SettingChanged(group, key, value); QtDBus will not deliver a variant argument to a typed slot.
    void settingChanged(const QDBusMessage& message);

private:
    QDBusConnection connection_;
    QString group_;
    QString key_;
};

} // namespace pt
