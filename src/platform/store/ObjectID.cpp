#include "platform/store/ObjectID.h"

#include "platform/store/ObjectModel.h"

#include <QUuid>

#include <atomic>
#include <charconv>

namespace pt::store {

ObjectID ObjectID::permanent(const EntityDescription* entity, qint64 primaryKey, const QString& storeUuid)
{
    ObjectID id;
    id.entity_ = entity;
    id.primaryKey_ = primaryKey;
    id.storeUuid_ = storeUuid;
    return id;
}

ObjectID ObjectID::temporary(const EntityDescription* entity)
{
    ObjectID id;
    id.entity_ = entity;
    // A counter, not a fresh UUID per object: inserting must not cost a random draw each.
    static std::atomic<quint64> counter = 0;
    id.temporaryKey_ = ++counter;
    return id;
}

QString ObjectID::uriPath() const
{
    if (!entity_)
        return {};
    if (isTemporary())
    {
        // One random UUID per process, its last eight bytes replaced by the counter.
        static const QByteArray base = QUuid::createUuid().toRfc4122();
        QByteArray bytes = base;
        for (int i = 0; i < 8; ++i)
            bytes[8 + i] = char((temporaryKey_ >> (56 - 8 * i)) & 0xff);
        return QStringLiteral("/%1/t%2").arg(entity_->name(),
                                             QUuid::fromRfc4122(bytes).toString(QUuid::WithoutBraces).toUpper());
    }
    return QStringLiteral("/%1/p%2").arg(entity_->name(), QString::number(primaryKey_));
}

QString ObjectID::uriString() const
{
    if (!entity_)
        return {};
    return Scheme + QStringLiteral("://") + (isTemporary() ? QString() : storeUuid_) + uriPath();
}

std::optional<ObjectID> ObjectID::fromUri(QStringView uri, const ObjectModel& model, const QString& storeUuid)
{
    const QString prefix = Scheme + QStringLiteral("://");
    if (!uri.startsWith(prefix))
        return std::nullopt;
    const QStringView rest = uri.mid(prefix.size());
    const qsizetype hostEnd = rest.indexOf(u'/');
    if (hostEnd <= 0 || rest.left(hostEnd).compare(storeUuid, Qt::CaseInsensitive) != 0)
        return std::nullopt;
    const QStringView path = rest.mid(hostEnd + 1);
    const qsizetype slash = path.indexOf(u'/');
    if (slash <= 0 || path.indexOf(u'/', slash + 1) >= 0)
        return std::nullopt;
    const EntityDescription* entity = model.entity(path.left(slash).toString());
    const QStringView key = path.mid(slash + 1);
    if (!entity || key.size() < 2 || key.front() != u'p')
        return std::nullopt;
    const QByteArray digits = key.mid(1).toLatin1();
    for (char c : digits)
        if (c < '0' || c > '9')
            return std::nullopt;
    qint64 primaryKey = 0;
    const auto [end, ec] = std::from_chars(digits.constData(), digits.constData() + digits.size(), primaryKey);
    if (ec != std::errc() || end != digits.constData() + digits.size() || primaryKey <= 0)
        return std::nullopt;
    return permanent(entity, primaryKey, storeUuid);
}

} // namespace pt::store
