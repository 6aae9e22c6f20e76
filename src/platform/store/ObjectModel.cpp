#include "platform/store/ObjectModel.h"

#include <QCryptographicHash>

namespace pt::store {

namespace {

QString sqlType(AttributeType type)
{
    switch (type) {
    case AttributeType::String:
        return QStringLiteral("TEXT");
    case AttributeType::Int64:
    case AttributeType::Bool:
        return QStringLiteral("INTEGER");
    case AttributeType::Double:
    case AttributeType::Date:
        return QStringLiteral("REAL");
    }
    return {};
}

QString canonicalText(const std::vector<std::unique_ptr<EntityDescription>>& entities)
{
    QString text;
    for (const auto& entity : entities) {
        text += QStringLiteral("E %1\n").arg(entity->name());
        for (const auto& a : entity->attributes())
            text += QStringLiteral("A %1 %2 %3 %4\n").arg(a.name, sqlType(a.type)).arg(a.folded).arg(a.indexed);
        for (const auto& r : entity->relationships())
            text += QStringLiteral("R %1 %2 %3 %4 %5\n").arg(r.name, r.targetEntity, r.inverse).arg(r.toMany).arg(r.column);
    }
    return text;
}

} // namespace

ObjectModel::ObjectModel(QString name, int version, std::vector<EntityDescription> entities)
    : name_(std::move(name))
    , version_(version)
{
    std::sort(entities.begin(), entities.end(), [](const auto& a, const auto& b) { return a.name() < b.name(); });
    for (auto& entity : entities) {
        entities_.push_back(std::make_unique<EntityDescription>(std::move(entity)));
        entities_.back()->model_ = this;
    }
    for (auto& entity : entities_) {
        for (const auto& relationship : entity->relationships()) {
            const EntityDescription* target = this->entity(relationship.targetEntity);
            Q_ASSERT_X(target, "ObjectModel", "relationship to an unknown entity");
            const int inverse = target ? target->relationshipIndex(relationship.inverse) : -1;
            Q_ASSERT_X(inverse >= 0, "ObjectModel", "relationship without its inverse");
            entity->targets_.append(target);
            entity->inverses_.append(inverse);
        }
    }
    hash_ = QString::fromLatin1(
        QCryptographicHash::hash(canonicalText(entities_).toUtf8(), QCryptographicHash::Sha1).toHex());
}

const EntityDescription* ObjectModel::entity(const QString& name) const
{
    for (const auto& entity : entities_)
        if (entity->name() == name)
            return entity.get();
    return nullptr;
}

QStringList ObjectModel::schemaStatements() const
{
    QStringList statements;
    for (const auto& entity : entities_) {
        QStringList columns{QStringLiteral("pk INTEGER PRIMARY KEY"), QStringLiteral("opt INTEGER NOT NULL DEFAULT 1")};
        QStringList indexes;
        for (const auto& a : entity->attributes()) {
            columns << QStringLiteral("%1 %2").arg(a.name, sqlType(a.type));
            if (a.indexed)
                indexes << a.name;
        }
        for (const auto& r : entity->relationships()) {
            if (!r.hasColumn())
                continue;
            // The store's own nullify runs first; SET NULL is the safety net behind it.
            columns << QStringLiteral("%1 INTEGER REFERENCES %2(pk) ON DELETE SET NULL DEFERRABLE INITIALLY DEFERRED")
                           .arg(r.column, r.targetEntity);
            indexes << r.column;
        }
        statements << QStringLiteral("CREATE TABLE %1(%2) STRICT").arg(entity->name(), columns.join(QStringLiteral(", ")));
        for (const auto& column : indexes)
            statements << QStringLiteral("CREATE INDEX %1_%2 ON %1(%2)").arg(entity->name(), column);
    }
    return statements;
}

} // namespace pt::store
