#pragma once

#include "platform/runtime/Error.h"
#include "platform/store/PredicateArgument.h"
#include "platform/store/ValueSource.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QVariant>
#include <QVector>

#include <memory>

namespace pt::store {

class EntityDescription;

// A fetch condition, of exactly the forms the library uses:
//   TRUEPREDICATE;  key = value / key != value (value nil, a number, a string or an object);
//   SELF IN list / relationship IN list (of objects);  key CONTAINS[cd] text or $variable;  AND, OR.
// The same predicate compiles to SQL and evaluates in memory with the same answers, so a fetch can combine the
// store's rows with a context's unsaved objects. Values are immutable and cheap to copy.
class Predicate {
public:
    enum class Kind { True, Compare, In, Contains, And, Or };

    Predicate();
    static Predicate truePredicate() { return Predicate(); }
    static Predicate compare(const QString& key, bool equal, const PredicateArgument& value);
    static Predicate in(const QString& key, const QVector<ObjectID>& ids);
    static Predicate containsCD(const QString& key, const QString& text);
    static Predicate containsCDVariable(const QString& key, const QString& variable);
    static Predicate andPredicate(const QVector<Predicate>& terms);
    static Predicate orPredicate(const QVector<Predicate>& terms);

    // Parses the text form ("collection=%@", "type=NULL OR type=0", ...), taking `%@` values in order.
    static pt::Result<Predicate> parse(const QString& format, const QVector<PredicateArgument>& arguments = {});

    Kind kind() const;
    bool isTrue() const { return kind() == Kind::True; }
    // Replaces $variables with the given texts; a variable without a value stays and fails in SQL.
    Predicate substitute(const QHash<QString, QString>& variables) const;

    bool evaluate(const EntityDescription& entity, const ValueSource& object) const;
    // Appends the WHERE condition to `sql` and its values to `bindings`. With `searchIndexed`, CONTAINS[cd] on
    // search columns first narrows to the rows the entity's SearchIndex names.
    pt::Result<void> toSql(const EntityDescription& entity, QString& sql, QVector<QVariant>& bindings,
                           bool searchIndexed = false) const;

    struct Node;

private:
    explicit Predicate(std::shared_ptr<const Node> node) : node_(std::move(node)) {}
    std::shared_ptr<const Node> node_;
};

} // namespace pt::store
