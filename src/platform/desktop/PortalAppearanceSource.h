#pragma once

#include "platform/desktop/PortalSetting.h"
#include "platform/desktop/SystemAppearanceSource.h"

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

private:
    PortalSetting colorScheme_;
};

} // namespace pt
