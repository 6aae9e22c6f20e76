#pragma once

#include "platform/desktop/PortalSetting.h"
#include "platform/desktop/ReduceTransparencySource.h"

namespace pt {

// The desktop portal's contrast setting on the session bus: read once, then followed through SettingChanged.
// Contrast 1 (higher contrast) asks for less transparency; 0 (no preference), any other answer, and no bus or
// portal do not.
class PortalContrastSource : public ReduceTransparencySource {
    Q_OBJECT
public:
    explicit PortalContrastSource(QDBusConnection connection = QDBusConnection::sessionBus(),
                                  QObject* parent = nullptr);
    void start() override;

    // Whether a contrast answer, nested variants unwrapped, asks for less transparency.
    static bool reducesTransparency(const QVariant& contrast);

private:
    PortalSetting contrast_;
};

} // namespace pt
