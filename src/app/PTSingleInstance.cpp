#include "app/PTSingleInstance.h"

#include "app/PTApplicationAdaptor.h"
#include "platform/runtime/Logging.h"

#include <QDBusMessage>

namespace {

constexpr int ForwardTimeoutMs = 10000;

} // namespace

PTSingleInstance::PTSingleInstance(QDBusConnection bus, QObject* parent)
    : QObject(parent)
    , bus_(std::move(bus))
{
    new PTApplicationAdaptor(this);
}

PTSingleInstance::~PTSingleInstance()
{
    if (registered_) {
        bus_.unregisterService(ServiceName);
        bus_.unregisterObject(ObjectPath);
    }
}

bool PTSingleInstance::registerPrimary()
{
    if (!bus_.isConnected())
        return false;
    if (!bus_.registerObject(ObjectPath, this, QDBusConnection::ExportAdaptors))
        return false;
    // Never queued: a second launch must learn at once that it is one.
    if (!bus_.registerService(ServiceName)) {
        bus_.unregisterObject(ObjectPath);
        return false;
    }
    registered_ = true;
    return true;
}

QStringList PTSingleInstance::absoluteURIs(const QStringList& arguments, const QString& workingDirectory)
{
    QStringList uris;
    for (const QString& argument : arguments) {
        const QUrl url = QUrl::fromUserInput(argument, workingDirectory, QUrl::AssumeLocalFile);
        if (!url.isValid() || url.scheme().isEmpty()) {
            qCWarning(lcApp) << "Not passing on an argument that is no URL:" << argument;
            continue;
        }
        uris.append(url.toString(QUrl::FullyEncoded));
    }
    return uris;
}

bool PTSingleInstance::forward(QDBusConnection bus, const QStringList& arguments, const QString& workingDirectory,
                               const QString& activationToken)
{
    QVariantMap platformData;
    if (!activationToken.isEmpty()) {
        platformData.insert(ActivationTokenKey, activationToken);
        platformData.insert(StartupIdKey, activationToken);
    }
    const QStringList uris = absoluteURIs(arguments, workingDirectory);
    QDBusMessage call = uris.isEmpty()
                            ? QDBusMessage::createMethodCall(ServiceName, ObjectPath, Interface, QStringLiteral("Activate"))
                            : QDBusMessage::createMethodCall(ServiceName, ObjectPath, Interface, QStringLiteral("Open"));
    if (uris.isEmpty())
        call << platformData;
    else
        call << uris << platformData;
    // The launch ends right after, so it may wait for the answer.
    const QDBusMessage reply = bus.call(call, QDBus::Block, ForwardTimeoutMs);
    if (reply.type() == QDBusMessage::ErrorMessage) {
        qCWarning(lcApp).noquote() << "The running Pictern did not answer:" << reply.errorMessage();
        return false;
    }
    return true;
}

QString PTSingleInstance::launchActivationToken()
{
    const QString token = qEnvironmentVariable("XDG_ACTIVATION_TOKEN");
    return token.isEmpty() ? qEnvironmentVariable("DESKTOP_STARTUP_ID") : token;
}

void PTSingleInstance::handleActivate(const QVariantMap& platformData)
{
    // Qt's platform plugins read the token from the environment when a window asks for activation.
    const QString token = platformData.value(ActivationTokenKey).toString();
    if (!token.isEmpty())
        qputenv("XDG_ACTIVATION_TOKEN", token.toUtf8());
    emit activateRequested();
}

void PTSingleInstance::handleOpen(const QStringList& uris, const QVariantMap& platformData)
{
    QList<QUrl> urls;
    for (const QString& uri : uris)
        urls.append(QUrl(uri, QUrl::StrictMode));
    handleActivate(platformData);
    emit openRequested(urls);
}
