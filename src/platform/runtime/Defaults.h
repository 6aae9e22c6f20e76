#pragma once

#include <QObject>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>

#include <memory>
#include <mutex>

class QSettings;

namespace pt {

// The user's settings: values stored in an INI file, over registered defaults that are never written. Every
// value is stored with its type, so an int read back after a restart is an int, a double a double, and lists
// and maps keep the types of their elements. Reads are safe from any thread; changed() is emitted once for
// each write that really changes the value a reader sees.
class Defaults : public QObject {
    Q_OBJECT
public:
    static Defaults& standard();
    // Points the process's defaults at another file (tests, or a fresh profile); forgets registered values.
    static void useStorageFile(const QString& path);

    void registerDefaults(const QVariantMap& values);
    QVariantMap registeredDefaults() const;

    // The stored value, else the registered one, else an invalid QVariant.
    QVariant objectForKey(const QString& key) const;
    // Typed reads: a value of another type answers the type's empty value, as the platform's typed reads do
    // for numbers and bools (a bool read of the string "YES" or the number 1 is true; any other string false).
    bool boolForKey(const QString& key) const;
    qint64 integerForKey(const QString& key) const;
    double doubleForKey(const QString& key) const;
    QString stringForKey(const QString& key) const;
    QVariantList arrayForKey(const QString& key) const;
    QVariantMap dictionaryForKey(const QString& key) const;

    void set(const QString& key, const QVariant& value);
    void remove(const QString& key);
    // Writes pending changes to the file now (they are also written on exit and periodically).
    void synchronize();
    QString storagePath() const;

    // Keeps a bool property of target in step with the key: set now and on every change, and, when the property
    // has a notify signal, written back to the key when the user changes it. With negate the property shows the
    // opposite of the stored value. The binding ends with target.
    void bindBool(QObject* target, const char* property, const QString& key, bool negate = false);

Q_SIGNALS:
    void changed(const QString& key);

private:
    explicit Defaults(const QString& path);
    ~Defaults() override;
    void writeLocked(const QString& key, const QVariant& value);

    mutable std::recursive_mutex mutex_;
    std::unique_ptr<QSettings> settings_;
    QVariantMap registered_;
};

} // namespace pt
