#include "platform/desktop/PortalContrastSource.h"

namespace pt {

namespace {
constexpr uint ContrastHigh = 1;
} // namespace

PortalContrastSource::PortalContrastSource(QDBusConnection connection, QObject* parent)
    : ReduceTransparencySource(parent),
      contrast_(std::move(connection), QStringLiteral("org.freedesktop.appearance"), QStringLiteral("contrast"))
{
    connect(&contrast_, &PortalSetting::valueChanged, this,
            [this](const QVariant& value) { Q_EMIT reduceTransparencyChanged(reducesTransparency(value)); });
}

void PortalContrastSource::start()
{
    contrast_.start();
}

bool PortalContrastSource::reducesTransparency(const QVariant& contrast)
{
    const QVariant value = PortalSetting::unwrap(contrast);
    return value.userType() == QMetaType::UInt && value.toUInt() == ContrastHigh;
}

} // namespace pt
