#include "platform/desktop/PortalAppearanceSource.h"

#include "platform/runtime/Logging.h"

#include <QDBusVariant>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace pt {

namespace {
const QString PortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString PortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString SettingsInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString AppearanceGroup = QStringLiteral("org.freedesktop.appearance");
const QString ColorSchemeKey = QStringLiteral("color-scheme");
constexpr uint SchemeDark = 1;
} // namespace

PortalAppearanceSource::PortalAppearanceSource(QDBusConnection connection, QObject* parent)
    : SystemAppearanceSource(parent), connection_(std::move(connection))
{
}

void PortalAppearanceSource::start()
{
    if (!connection_.isConnected()) {
        qCDebug(lcPlatform) << "no session bus; the desktop appearance is light";
        Q_EMIT appearanceChanged(Light);
        return;
    }
    if (!connection_.connect(PortalService, PortalPath, SettingsInterface, QStringLiteral("SettingChanged"), this,
                             SLOT(settingChanged(QDBusMessage))))
        qCDebug(lcPlatform) << "cannot follow the desktop portal's settings:" << connection_.lastError().message();
    QDBusMessage read = QDBusMessage::createMethodCall(PortalService, PortalPath, SettingsInterface,
                                                       QStringLiteral("Read"));
    read << AppearanceGroup << ColorSchemeKey;
    auto* watcher = new QDBusPendingCallWatcher(connection_.asyncCall(read), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* call) {
        call->deleteLater();
        const QDBusPendingReply<QVariant> reply = *call;
        if (reply.isError()) {
            qCDebug(lcPlatform) << "desktop portal gave no colour scheme:" << reply.error().message();
            Q_EMIT appearanceChanged(Light);
            return;
        }
        Q_EMIT appearanceChanged(appearanceForScheme(reply.value()));
    });
}

int PortalAppearanceSource::appearanceForScheme(const QVariant& value)
{
    QVariant inner = value;
    // Read answers a variant inside a variant; unwrap however deep it comes.
    while (inner.canConvert<QDBusVariant>() && inner.userType() == qMetaTypeId<QDBusVariant>())
        inner = inner.value<QDBusVariant>().variant();
    if (inner.userType() == QMetaType::UInt && inner.toUInt() == SchemeDark)
        return Dark;
    return Light;
}

void PortalAppearanceSource::settingChanged(const QDBusMessage& message)
{
    const QVariantList arguments = message.arguments();
    if (arguments.size() == 3 && arguments[0].toString() == AppearanceGroup
        && arguments[1].toString() == ColorSchemeKey)
        Q_EMIT appearanceChanged(appearanceForScheme(arguments[2]));
}

} // namespace pt
