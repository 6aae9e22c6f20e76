#include "platform/runtime/Defaults.h"

#include "platform/runtime/DefaultsBinding.h"
#include "platform/runtime/TypedValueCodec.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace pt {

namespace {

QString defaultStoragePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/Pictern/Pictern.ini");
}

std::unique_ptr<QSettings> openSettings(const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    return std::make_unique<QSettings>(path, QSettings::IniFormat);
}

// Values compare by content and type, so that 1 and 1.0 and true are three different settings.
bool sameValue(const QVariant& a, const QVariant& b)
{
    return a.metaType() == b.metaType() && a == b;
}

} // namespace

Defaults& Defaults::standard()
{
    // Never destroyed: bindings and readers on other threads may outlive static destruction.
    static Defaults* defaults = new Defaults(defaultStoragePath());
    return *defaults;
}

void Defaults::useStorageFile(const QString& path)
{
    Defaults& defaults = standard();
    std::lock_guard lock(defaults.mutex_);
    defaults.settings_->sync();
    defaults.settings_ = openSettings(path);
    defaults.registered_.clear();
}

Defaults::Defaults(const QString& path) : settings_(openSettings(path)) {}

Defaults::~Defaults() = default;

void Defaults::registerDefaults(const QVariantMap& values)
{
    std::lock_guard lock(mutex_);
    for (auto it = values.begin(); it != values.end(); ++it)
        registered_.insert(it.key(), it.value());
}

QVariantMap Defaults::registeredDefaults() const
{
    std::lock_guard lock(mutex_);
    return registered_;
}

QVariant Defaults::objectForKey(const QString& key) const
{
    std::lock_guard lock(mutex_);
    const QVariant stored = settings_->value(key);
    if (stored.isValid()) {
        // A value written by hand into the file, not by us, reads as the text it is.
        const QVariant decoded = TypedValueCodec::decode(stored.toString());
        return decoded.isValid() ? decoded : QVariant(stored.toString());
    }
    return registered_.value(key);
}

bool Defaults::boolForKey(const QString& key) const
{
    const QVariant value = objectForKey(key);
    switch (value.typeId()) {
    case QMetaType::Bool: return value.toBool();
    case QMetaType::Int:
    case QMetaType::LongLong: return value.toLongLong() != 0;
    case QMetaType::Double: return value.toDouble() != 0.0;
    case QMetaType::QString: {
        const QString text = value.toString().trimmed();
        return text.compare("yes", Qt::CaseInsensitive) == 0 || text.compare("true", Qt::CaseInsensitive) == 0
            || text.toLongLong() != 0;
    }
    default: return false;
    }
}

qint64 Defaults::integerForKey(const QString& key) const
{
    const QVariant value = objectForKey(key);
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::LongLong: return value.toLongLong();
    case QMetaType::Double: return static_cast<qint64>(value.toDouble());
    case QMetaType::QString: return value.toString().trimmed().toLongLong();
    default: return 0;
    }
}

double Defaults::doubleForKey(const QString& key) const
{
    const QVariant value = objectForKey(key);
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Double: return value.toDouble();
    case QMetaType::QString: return value.toString().trimmed().toDouble();
    default: return 0.0;
    }
}

QString Defaults::stringForKey(const QString& key) const
{
    const QVariant value = objectForKey(key);
    switch (value.typeId()) {
    case QMetaType::QString:
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Double: return value.toString();
    default: return {};
    }
}

QVariantList Defaults::arrayForKey(const QString& key) const
{
    const QVariant value = objectForKey(key);
    return value.typeId() == QMetaType::QVariantList ? value.toList() : QVariantList{};
}

QVariantMap Defaults::dictionaryForKey(const QString& key) const
{
    const QVariant value = objectForKey(key);
    return value.typeId() == QMetaType::QVariantMap ? value.toMap() : QVariantMap{};
}

void Defaults::set(const QString& key, const QVariant& value)
{
    if (!value.isValid()) {
        remove(key);
        return;
    }
    bool didChange = false;
    {
        std::lock_guard lock(mutex_);
        const QVariant before = objectForKey(key);
        writeLocked(key, value);
        didChange = !sameValue(before, objectForKey(key));
    }
    if (didChange)
        emit changed(key);
}

void Defaults::remove(const QString& key)
{
    bool didChange = false;
    {
        std::lock_guard lock(mutex_);
        const QVariant before = objectForKey(key);
        settings_->remove(key);
        didChange = !sameValue(before, objectForKey(key));
    }
    if (didChange)
        emit changed(key);
}

void Defaults::writeLocked(const QString& key, const QVariant& value)
{
    QVariant normalised = value;
    // A string list is stored, and read back, as a list of strings.
    if (value.typeId() == QMetaType::QStringList)
        normalised = value.toList();
    settings_->setValue(key, TypedValueCodec::encode(normalised));
}

void Defaults::synchronize()
{
    std::lock_guard lock(mutex_);
    settings_->sync();
}

QString Defaults::storagePath() const
{
    std::lock_guard lock(mutex_);
    return settings_->fileName();
}

void Defaults::bindBool(QObject* target, const char* property, const QString& key, bool negate)
{
    new DefaultsBinding(this, target, property, key, negate);
}

} // namespace pt
