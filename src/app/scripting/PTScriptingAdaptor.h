#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QList>
#include <QMetaType>
#include <QStringList>
#include <QVariantMap>

class QDBusArgument;

// com.pictern.Pictern.Scripting on the running instance's object: the library's sets and groups, the group tree,
// the carried plug-ins and their options, and an import that opens the add-icons sheet. Read-only apart from the
// import, session bus only. Every argument is checked; a bad call is refused whole with a named error.
class PTScriptingAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.pictern.Pictern.Scripting")
public:
    static inline const QString Interface = QStringLiteral("com.pictern.Pictern.Scripting");
    static inline const QString NoSuchObjectError = QStringLiteral("com.pictern.Pictern.Error.NoSuchObject");
    static inline const QString NoSuchPluginError = QStringLiteral("com.pictern.Pictern.Error.NoSuchPlugin");
    static inline const QString InvalidArgumentError = QStringLiteral("com.pictern.Pictern.Error.InvalidArgument");
    static inline const QString NotReadyError = QStringLiteral("com.pictern.Pictern.Error.NotReady");
    static inline const QString UnimportableFileMessage =
        QStringLiteral("\"%1\" is not an icon file, a folder or a Pictern bundle that Pictern can import.");

    // (sxs): a set or group's name, sort (-1 when never set) and object URI.
    struct Entry {
        QString name;
        qint64 sort = -1;
        QString uri;
    };
    // (ssxs): the same with its kind first, "collection" or "group".
    struct Child {
        QString kind;
        Entry entry;
    };
    // (ssbs): identifier, name, installed, options as JSON.
    struct PluginRecord {
        QString identifier;
        QString name;
        bool installed = false;
        QString JSONEncodedOptions;
    };

    // Serves on the object; errors go back over the bus the object is registered on.
    PTScriptingAdaptor(QObject* object, QDBusConnection bus);
    static void registerTypes();
    // Calls answer NotReady until the launch has finished.
    void setReady(bool ready) { m_ready = ready; }

public slots:
    QList<PTScriptingAdaptor::Entry> Collections(const QDBusMessage& call);
    QList<PTScriptingAdaptor::Entry> Groups(const QDBusMessage& call);
    PTScriptingAdaptor::Child Object(const QString& uri, const QDBusMessage& call);
    QString ParentGroup(const QString& uri, const QDBusMessage& call);
    QList<PTScriptingAdaptor::Child> GroupChildren(const QString& uri, const QDBusMessage& call);
    QList<PTScriptingAdaptor::Entry> GroupGroups(const QString& uri, const QDBusMessage& call);
    QList<PTScriptingAdaptor::Entry> GroupCollections(const QString& uri, const QDBusMessage& call);
    QStringList Plugins(const QDBusMessage& call);
    PTScriptingAdaptor::PluginRecord Plugin(const QString& identifier, const QDBusMessage& call);
    QVariantMap PluginOptions(const QString& identifier, const QDBusMessage& call);
    void Import(const QStringList& files, const QString& fromApplication, const QDBusMessage& call);

private:
    bool refuseUnlessReady(const QDBusMessage& call);
    bool refuse(const QDBusMessage& call, const QString& error, const QString& message);

    QDBusConnection m_bus;
    bool m_ready = false;
};

Q_DECLARE_METATYPE(PTScriptingAdaptor::Entry)
Q_DECLARE_METATYPE(PTScriptingAdaptor::Child)
Q_DECLARE_METATYPE(PTScriptingAdaptor::PluginRecord)

QDBusArgument& operator<<(QDBusArgument& argument, const PTScriptingAdaptor::Entry& entry);
const QDBusArgument& operator>>(const QDBusArgument& argument, PTScriptingAdaptor::Entry& entry);
QDBusArgument& operator<<(QDBusArgument& argument, const PTScriptingAdaptor::Child& child);
const QDBusArgument& operator>>(const QDBusArgument& argument, PTScriptingAdaptor::Child& child);
QDBusArgument& operator<<(QDBusArgument& argument, const PTScriptingAdaptor::PluginRecord& record);
const QDBusArgument& operator>>(const QDBusArgument& argument, PTScriptingAdaptor::PluginRecord& record);
