#include "platform/desktop/PortalSetting.h"

#include "platform/runtime/Logging.h"

#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

namespace pt {

namespace {
const QString PortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString PortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString SettingsInterface = QStringLiteral("org.freedesktop.portal.Settings");
} // namespace

PortalSetting::PortalSetting(QDBusConnection connection, QString group, QString key, QObject* parent)
    : QObject(parent), connection_(std::move(connection)), group_(std::move(group)), key_(std::move(key))
{
}

void PortalSetting::start()
{
    if (!connection_.isConnected()) {
        qCDebug(lcPlatform) << "no session bus; the desktop setting" << key_ << "is unset";
        Q_EMIT valueChanged(QVariant());
        return;
    }
    if (!connection_.connect(PortalService, PortalPath, SettingsInterface, QStringLiteral("SettingChanged"), this,
                             SLOT(settingChanged(QDBusMessage))))
        qCDebug(lcPlatform) << "cannot follow the desktop portal's settings:" << connection_.lastError().message();
    QDBusMessage read = QDBusMessage::createMethodCall(PortalService, PortalPath, SettingsInterface,
                                                       QStringLiteral("Read"));
    read << group_ << key_;
    auto* watcher = new QDBusPendingCallWatcher(connection_.asyncCall(read), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* call) {
        call->deleteLater();
        const QDBusPendingReply<QVariant> reply = *call;
        if (reply.isError()) {
            qCDebug(lcPlatform) << "desktop portal gave no" << key_ << ":" << reply.error().message();
            Q_EMIT valueChanged(QVariant());
            return;
        }
        Q_EMIT valueChanged(unwrap(reply.value()));
    });
}

QVariant PortalSetting::unwrap(const QVariant& value)
{
    QVariant inner = value;
    while (inner.userType() == qMetaTypeId<QDBusVariant>())
        inner = inner.value<QDBusVariant>().variant();
    return inner;
}

void PortalSetting::settingChanged(const QDBusMessage& message)
{
    const QVariantList arguments = message.arguments();
    if (arguments.size() == 3 && arguments[0].toString() == group_ && arguments[1].toString() == key_)
        Q_EMIT valueChanged(unwrap(arguments[2]));
}

} // namespace pt
