#pragma once

#include <QDBusConnection>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QUrl>

// One Pictern per session: the first launch owns "com.pictern.Pictern" on the session bus and serves
// org.freedesktop.Application; a later launch finds the name taken, hands its arguments over as absolute URIs
// (or just asks to be activated) and exits.
class PTSingleInstance : public QObject {
    Q_OBJECT
public:
    static inline const QString ServiceName = QStringLiteral("com.pictern.Pictern");
    static inline const QString ObjectPath = QStringLiteral("/com/pictern/Pictern");
    static inline const QString Interface = QStringLiteral("org.freedesktop.Application");
    static inline const QString ActivationTokenKey = QStringLiteral("activation-token");
    static inline const QString StartupIdKey = QStringLiteral("desktop-startup-id");

    explicit PTSingleInstance(QDBusConnection bus, QObject* parent = nullptr);
    ~PTSingleInstance() override;

    // Serves the interface and takes the name; false when another process owns it (or there is no bus).
    bool registerPrimary();
    // Arguments (paths relative to the folder, or URIs) as absolute URI strings; unparsable ones are dropped.
    static QStringList absoluteURIs(const QStringList& arguments, const QString& workingDirectory);
    // Hands the arguments to the owner of the name: Open with URIs, else Activate. The token lets the
    // owner's window take the focus. Answers whether the owner took it.
    static bool forward(QDBusConnection bus, const QStringList& arguments, const QString& workingDirectory,
                        const QString& activationToken);
    // The activation token this process was started with (XDG_ACTIVATION_TOKEN, else DESKTOP_STARTUP_ID).
    static QString launchActivationToken();

    // Called by the adaptor.
    void handleActivate(const QVariantMap& platformData);
    void handleOpen(const QStringList& uris, const QVariantMap& platformData);

signals:
    void activateRequested();
    void openRequested(const QList<QUrl>& urls);

private:
    QDBusConnection bus_;
    bool registered_ = false;
};
