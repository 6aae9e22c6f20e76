#include "platform/store/Predicate.h"

#include "platform/store/EntityDescription.h"
#include "platform/store/PredicateParser.h"
#include "platform/store/SearchIndex.h"
#include "platform/store/StoreError.h"
#include "platform/store/TextFold.h"

#include <algorithm>

namespace pt::store {

struct Predicate::Node {
    Kind kind = Kind::True;
    QString key;
    bool equal = true;
    PredicateArgument::Value value;
    QVector<ObjectID> idList;
    QSet<ObjectID> ids;
    QString text;
    QString foldedText; // for a column kept as written, compared with pt_fold of it
    QString searchText; // for a search column, folded as the column is
    QString variable;
    QVector<Predicate> children;
};

namespace {

bool isSelf(const QString& key)
{
    return key.compare(QLatin1String("SELF"), Qt::CaseInsensitive) == 0;
}

QByteArray keysAsJson(const EntityDescription* entity, const QVector<ObjectID>& ids)
{
    QByteArray json("[");
    for (const ObjectID& id : ids) {
        if (id.entity() != entity || id.isTemporary())
            continue;
        if (json.size() > 1)
            json += ',';
        json += QByteArray::number(id.primaryKey());
    }
    json += ']';
    return json;
}

bool attributeEquals(const QVariant& stored, const PredicateArgument::Value& value)
{
    if (std::holds_alternative<std::monostate>(value))
        return !stored.isValid() || stored.isNull();
    if (!stored.isValid() || stored.isNull())
        return false;
    if (const auto* number = std::get_if<qint64>(&value))
    {
        switch (stored.typeId()) {
        case QMetaType::QString:
            return false;
        case QMetaType::Double:
            return stored.toDouble() == double(*number);
        default:
            return stored.toLongLong() == *number;
        }
    }
    if (const auto* text = std::get_if<QString>(&value))
        return stored.typeId() == QMetaType::QString && stored.toString() == *text;
    return false;
}

} // namespace

Predicate::Predicate() : node_(std::make_shared<Node>()) {}

Predicate Predicate::compare(const QString& key, bool equal, const PredicateArgument& value)
{
    auto node = std::make_shared<Node>();
    node->kind = Kind::Compare;
    node->key = key;
    node->equal = equal;
    node->value = value.value();
    return Predicate(std::move(node));
}

Predicate Predicate::in(const QString& key, const QVector<ObjectID>& ids)
{
    auto node = std::make_shared<Node>();
    node->kind = Kind::In;
    node->key = key;
    node->idList = ids;
    node->ids = QSet<ObjectID>(ids.begin(), ids.end());
    return Predicate(std::move(node));
}

Predicate Predicate::containsCD(const QString& key, const QString& text)
{
    auto node = std::make_shared<Node>();
    node->kind = Kind::Contains;
    node->key = key;
    node->text = text;
    node->foldedText = foldCaseAndDiacritics(text);
    node->searchText = foldWidthCaseAndDiacritics(text);
    return Predicate(std::move(node));
}

Predicate Predicate::containsCDVariable(const QString& key, const QString& variable)
{
    auto node = std::make_shared<Node>();
    node->kind = Kind::Contains;
    node->key = key;
    node->variable = variable;
    return Predicate(std::move(node));
}

Predicate Predicate::andPredicate(const QVector<Predicate>& terms)
{
    if (terms.size() == 1)
        return terms.front();
    auto node = std::make_shared<Node>();
    node->kind = Kind::And;
    node->children = terms;
    return Predicate(std::move(node));
}

Predicate Predicate::orPredicate(const QVector<Predicate>& terms)
{
    if (terms.size() == 1)
        return terms.front();
    auto node = std::make_shared<Node>();
    node->kind = Kind::Or;
    node->children = terms;
    return Predicate(std::move(node));
}

pt::Result<Predicate> Predicate::parse(const QString& format, const QVector<PredicateArgument>& arguments)
{
    return PredicateParser(format, arguments).parse();
}

Predicate::Kind Predicate::kind() const
{
    return node_->kind;
}

Predicate Predicate::substitute(const QHash<QString, QString>& variables) const
{
    const Node& n = *node_;
    if (n.kind == Kind::Contains && !n.variable.isEmpty() && variables.contains(n.variable))
        return containsCD(n.key, variables.value(n.variable));
    if (n.kind != Kind::And && n.kind != Kind::Or)
        return *this;
    QVector<Predicate> children;
    for (const Predicate& child : n.children)
        children.append(child.substitute(variables));
    return n.kind == Kind::And ? andPredicate(children) : orPredicate(children);
}

bool Predicate::evaluate(const EntityDescription& entity, const ValueSource& object) const
{
    const Node& n = *node_;
    switch (n.kind) {
    case Kind::True:
        return true;
    case Kind::And:
        for (const Predicate& child : n.children)
            if (!child.evaluate(entity, object))
                return false;
        return true;
    case Kind::Or:
        for (const Predicate& child : n.children)
            if (child.evaluate(entity, object))
                return true;
        return false;
    case Kind::In: {
        if (isSelf(n.key))
            return n.ids.contains(object.selfID());
        const int relationship = entity.relationshipIndex(n.key);
        if (relationship < 0)
            return false;
        const ObjectID target = object.targetID(relationship);
        return !target.isNull() && n.ids.contains(target);
    }
    case Kind::Contains: {
        const int attribute = entity.attributeIndex(n.key);
        if (attribute < 0 || !n.variable.isEmpty())
            return false;
        const QVariant value = object.attributeValue(attribute);
        if (value.isNull() || value.typeId() != QMetaType::QString)
            return false;
        const QString text = value.toString();
        if (entity.attributes()[attribute].folded)
            return text.contains(n.searchText);
        return foldCaseAndDiacritics(text).contains(n.foldedText);
    }
    case Kind::Compare: {
        if (isSelf(n.key)) {
            const auto* id = std::get_if<ObjectID>(&n.value);
            return (id && *id == object.selfID()) == n.equal;
        }
        const int attribute = entity.attributeIndex(n.key);
        if (attribute >= 0)
            return attributeEquals(object.attributeValue(attribute), n.value) == n.equal;
        const int relationship = entity.relationshipIndex(n.key);
        if (relationship < 0)
            return false;
        const ObjectID target = object.targetID(relationship);
        bool equal = false;
        if (std::holds_alternative<std::monostate>(n.value))
            equal = target.isNull();
        else if (const auto* id = std::get_if<ObjectID>(&n.value))
            equal = !target.isNull() && target == *id;
        return equal == n.equal;
    }
    }
    return false;
}

pt::Result<void> Predicate::toSql(const EntityDescription& entity, QString& sql, QVector<QVariant>& bindings,
                                  bool searchIndexed) const
{
    const Node& n = *node_;
    // A CONTAINS[cd] on a search column, or an OR of them all looking for one text, is what the index narrows.
    const auto searchColumn = [&](const Node& node, const QString& text) {
        if (node.kind != Kind::Contains || !node.variable.isEmpty() || node.searchText != text)
            return false;
        const int attribute = entity.attributeIndex(node.key);
        return attribute >= 0 && entity.attributes()[attribute].folded;
    };
    const QString text = n.kind == Kind::Or && !n.children.isEmpty() ? n.children.front().node_->searchText : n.searchText;
    const bool searchesColumns = n.kind == Kind::Or
        ? !n.children.isEmpty() && std::all_of(n.children.begin(), n.children.end(),
                                               [&](const Predicate& child) { return searchColumn(*child.node_, text); })
        : searchColumn(n, text);
    if (searchIndexed && searchesColumns && SearchIndex::canServe(text)) {
        sql += QStringLiteral("(pk IN (SELECT rowid FROM %1 WHERE %1 MATCH ?) AND ").arg(SearchIndex::tableName(entity));
        bindings.append(SearchIndex::matchExpression(text));
        if (auto r = toSql(entity, sql, bindings); !r)
            return r;
        sql += u')';
        return {};
    }
    const auto unknownKey = [&] {
        return storeError(StoreBadPredicate, QStringLiteral("%1 has no key \"%2\"").arg(entity.name(), n.key));
    };
    switch (n.kind) {
    case Kind::True:
        sql += QLatin1String("1");
        return {};
    case Kind::And:
    case Kind::Or: {
        if (n.children.isEmpty()) {
            sql += n.kind == Kind::And ? QLatin1String("1") : QLatin1String("0");
            return {};
        }
        sql += u'(';
        for (int i = 0; i < n.children.size(); ++i) {
            if (i > 0)
                sql += n.kind == Kind::And ? QLatin1String(" AND ") : QLatin1String(" OR ");
            if (auto r = n.children[i].toSql(entity, sql, bindings, searchIndexed); !r)
                return r;
        }
        sql += u')';
        return {};
    }
    case Kind::In: {
        QString column;
        const EntityDescription* target = &entity;
        if (isSelf(n.key)) {
            column = QStringLiteral("pk");
        } else {
            const int relationship = entity.relationshipIndex(n.key);
            if (relationship < 0 || !entity.relationships()[relationship].hasColumn())
                return unknownKey();
            column = entity.relationships()[relationship].column;
            target = entity.target(relationship);
        }
        bindings.append(QString::fromLatin1(keysAsJson(target, n.idList)));
        sql += QStringLiteral("%1 IN (SELECT value FROM json_each(?))").arg(column);
        return {};
    }
    case Kind::Contains: {
        const int attribute = entity.attributeIndex(n.key);
        if (attribute < 0 || entity.attributes()[attribute].type != AttributeType::String)
            return unknownKey();
        if (!n.variable.isEmpty())
            return storeError(StoreBadPredicate, QStringLiteral("no value for $%1").arg(n.variable));
        if (entity.attributes()[attribute].folded) {
            bindings.append(n.searchText);
            sql += QStringLiteral("instr(%1, ?) > 0").arg(n.key);
        } else {
            bindings.append(n.foldedText);
            sql += QStringLiteral("instr(pt_fold(%1), ?) > 0").arg(n.key);
        }
        return {};
    }
    case Kind::Compare: {
        const bool isNil = std::holds_alternative<std::monostate>(n.value);
        if (isSelf(n.key)) {
            const auto* id = std::get_if<ObjectID>(&n.value);
            if (!id || id->entity() != &entity || id->isTemporary()) {
                sql += n.equal ? QLatin1String("0") : QLatin1String("1");
                return {};
            }
            bindings.append(id->primaryKey());
            sql += n.equal ? QLatin1String("pk = ?") : QLatin1String("pk IS NOT ?");
            return {};
        }
        QString column;
        QVariant bound;
        const int attribute = entity.attributeIndex(n.key);
        if (attribute >= 0) {
            column = n.key;
            if (const auto* number = std::get_if<qint64>(&n.value))
                bound = *number;
            else if (const auto* text = std::get_if<QString>(&n.value))
                bound = *text;
            else if (!isNil)
                return storeError(StoreBadPredicate, QStringLiteral("an object compared with %1").arg(n.key));
        } else {
            const int relationship = entity.relationshipIndex(n.key);
            if (relationship < 0 || !entity.relationships()[relationship].hasColumn())
                return unknownKey();
            column = entity.relationships()[relationship].column;
            if (const auto* id = std::get_if<ObjectID>(&n.value)) {
                // No stored row refers to an unsaved object or to another entity.
                if (id->entity() != entity.target(relationship) || id->isTemporary()) {
                    sql += n.equal ? QLatin1String("0") : QLatin1String("1");
                    return {};
                }
                bound = id->primaryKey();
            } else if (!isNil) {
                return storeError(StoreBadPredicate, QStringLiteral("a value compared with %1").arg(n.key));
            }
        }
        if (isNil) {
            sql += column + (n.equal ? QLatin1String(" IS NULL") : QLatin1String(" IS NOT NULL"));
            return {};
        }
        bindings.append(bound);
        // IS NOT keeps NULL rows in a "!=" test, as the in-memory test does.
        sql += column + (n.equal ? QLatin1String(" = ?") : QLatin1String(" IS NOT ?"));
        return {};
    }
    }
    return {};
}

} // namespace pt::store
