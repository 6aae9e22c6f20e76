#pragma once

#include "platform/desktop/SystemAppearanceSource.h"

#include <QDBusConnection>
#include <QDBusMessage>

namespace pt {

// The desktop portal's colour scheme on the session bus: read once, then followed through SettingChanged.
// Scheme 1 means dark; 0 (no preference), 2 (light), any other answer, and no bus or portal mean light.
class PortalAppearanceSource : public SystemAppearanceSource {
    Q_OBJECT
public:
    explicit PortalAppearanceSource(QDBusConnection connection = QDBusConnection::sessionBus(),
                                    QObject* parent = nullptr);
    void start() override;

    // The appearance for a colour-scheme answer, nested variants unwrapped.
    static int appearanceForScheme(const QVariant& value);

private Q_SLOTS:
    // The portal's SettingChanged(group, key, value); QtDBus will not deliver a variant argument to a typed slot.
    void settingChanged(const QDBusMessage& message);

private:
    QDBusConnection connection_;
};

} // namespace pt
