#include "app/PTNotificationCenter.h"

#include "platform/runtime/Defaults.h"
#include "platform/runtime/Logging.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QGuiApplication>

namespace {

const QString Service = QStringLiteral("org.freedesktop.Notifications");
const QString Path = QStringLiteral("/org/freedesktop/Notifications");
constexpr int CallTimeoutMs = 5000;

// The "image-data" hint: (iiibiiay) of non-premultiplied RGBA rows.
struct ImageData {
    int width = 0;
    int height = 0;
    int rowStride = 0;
    bool hasAlpha = true;
    int bitsPerSample = 8;
    int channels = 4;
    QByteArray data;
};

QDBusArgument& operator<<(QDBusArgument& argument, const ImageData& image)
{
    argument.beginStructure();
    argument << image.width << image.height << image.rowStride << image.hasAlpha << image.bitsPerSample
             << image.channels << image.data;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, ImageData& image)
{
    argument.beginStructure();
    argument >> image.width >> image.height >> image.rowStride >> image.hasAlpha >> image.bitsPerSample >>
        image.channels >> image.data;
    argument.endStructure();
    return argument;
}

} // namespace

Q_DECLARE_METATYPE(ImageData)

namespace {

ImageData imageData(const QImage& source)
{
    const QImage rgba = source.convertToFormat(QImage::Format_RGBA8888);
    ImageData image;
    image.width = rgba.width();
    image.height = rgba.height();
    // Rows packed without padding, whatever the width: the stride says so exactly.
    image.rowStride = rgba.width() * 4;
    image.data.reserve(qsizetype(image.rowStride) * image.height);
    for (int y = 0; y < rgba.height(); ++y)
        image.data.append(reinterpret_cast<const char*>(rgba.constScanLine(y)), image.rowStride);
    return image;
}

} // namespace

PTNotificationCenter& PTNotificationCenter::sharedCenter()
{
    static PTNotificationCenter center(QDBusConnection::sessionBus(), [] {
        return QGuiApplication::applicationState() == Qt::ApplicationActive;
    });
    return center;
}

PTNotificationCenter::PTNotificationCenter(QDBusConnection bus, std::function<bool()> isActive, QObject* parent)
    : QObject(parent)
    , bus_(std::move(bus))
    , isActive_(std::move(isActive))
{
    qDBusRegisterMetaType<ImageData>();
}

bool PTNotificationCenter::enabled() const
{
    return pt::Defaults::standard().boolForKey(EnabledKey);
}

bool PTNotificationCenter::shouldAlwaysShow() const
{
    return pt::Defaults::standard().boolForKey(AlwaysShowKey);
}

bool PTNotificationCenter::postNotification(const PTNotification& notification)
{
    if (!enabled() || (isActive_() && !shouldAlwaysShow()))
        return false;
    if (!bus_.isConnected()) {
        emit undelivered(notification);
        return false;
    }
    if (capabilities_) {
        send(notification);
        return true;
    }
    waiting_.append(notification);
    if (askingCapabilities_)
        return true;
    askingCapabilities_ = true;
    QDBusMessage call = QDBusMessage::createMethodCall(Service, Path, Service, QStringLiteral("GetCapabilities"));
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call, CallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher] {
        const QDBusPendingReply<QStringList> reply = *watcher;
        watcher->deleteLater();
        askingCapabilities_ = false;
        if (reply.isError()) {
            // Nobody serves notifications (or too slowly): these go back to the window, and the next one asks again.
            qCInfo(lcApp).noquote() << "No notification server:" << reply.error().message();
            for (const PTNotification& notification : std::exchange(waiting_, {}))
                emit undelivered(notification);
            return;
        }
        capabilities_ = reply.value();
        const QList<PTNotification> waiting = std::exchange(waiting_, {});
        for (const PTNotification& notification : waiting)
            send(notification);
    });
    return true;
}

QVariantList PTNotificationCenter::notifyArguments(const PTNotification& notification, const QStringList& capabilities)
{
    QString body = notification.subtitle.isEmpty()
                       ? notification.message
                       : (notification.message.isEmpty() ? notification.subtitle
                                                         : notification.subtitle + QLatin1Char('\n') + notification.message);
    // Servers with markup would read names such as "a <b> & c" as tags.
    if (capabilities.contains(QLatin1String("body-markup")))
        body = body.toHtmlEscaped();
    QVariantMap hints;
    hints.insert(QStringLiteral("desktop-entry"), DesktopEntry);
    if (!notification.image.isNull())
        hints.insert(QStringLiteral("image-data"), QVariant::fromValue(imageData(notification.image)));
    return {QStringLiteral("Pictern"), uint(0), DesktopEntry, notification.title, body, QStringList(), hints, int(-1)};
}

void PTNotificationCenter::send(const PTNotification& notification)
{
    QDBusMessage call = QDBusMessage::createMethodCall(Service, Path, Service, QStringLiteral("Notify"));
    call.setArguments(notifyArguments(notification, *capabilities_));
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call, CallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, notification] {
        const QDBusPendingReply<uint> reply = *watcher;
        watcher->deleteLater();
        if (reply.isError()) {
            qCInfo(lcApp).noquote() << "A notification was not shown:" << reply.error().message();
            emit undelivered(notification);
        } else {
            emit delivered(notification.identifier, reply.value());
        }
    });
}
