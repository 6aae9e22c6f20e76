#include "platform/store/ObjectID.h"

#include "platform/store/ObjectModel.h"

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
    id.temporaryKey_ = QUuid::createUuid();
    return id;
}

QString ObjectID::uriPath() const
{
    if (!entity_)
        return {};
    if (isTemporary())
        return QStringLiteral("/%1/t%2").arg(entity_->name(), temporaryKey_.toString(QUuid::WithoutBraces).toUpper());
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
