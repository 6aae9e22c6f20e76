#include "platform/desktop/PortalAppearanceSource.h"

namespace pt {

namespace {
constexpr uint SchemeDark = 1;
} // namespace

PortalAppearanceSource::PortalAppearanceSource(QDBusConnection connection, QObject* parent)
    : SystemAppearanceSource(parent),
      colorScheme_(std::move(connection), QStringLiteral("org.freedesktop.appearance"),
                   QStringLiteral("color-scheme"))
{
    connect(&colorScheme_, &PortalSetting::valueChanged, this,
            [this](const QVariant& value) { Q_EMIT appearanceChanged(appearanceForScheme(value)); });
}

void PortalAppearanceSource::start()
{
    colorScheme_.start();
}

int PortalAppearanceSource::appearanceForScheme(const QVariant& value)
{
    const QVariant scheme = PortalSetting::unwrap(value);
    if (scheme.userType() == QMetaType::UInt && scheme.toUInt() == SchemeDark)
        return Dark;
    return Light;
}

} // namespace pt
