#pragma once

#include "platform/store/ObjectID.h"

#include <QString>
#include <QVector>

#include <type_traits>
#include <variant>

namespace pt::store {

class ManagedObject;

// A value for a `%@` of a predicate: nil, a number, a string, an object (by its ID) or a list of objects.
class PredicateArgument {
public:
    using Value = std::variant<std::monostate, qint64, QString, ObjectID, QVector<ObjectID>>;

    PredicateArgument(std::nullptr_t = nullptr) {}
    PredicateArgument(int number) : value_(qint64(number)) {}
    PredicateArgument(qint64 number) : value_(number) {}
    PredicateArgument(const QString& text) : value_(text) {}
    PredicateArgument(const ObjectID& id) : value_(id) {}
    PredicateArgument(const ManagedObject* object);
    PredicateArgument(const QVector<ObjectID>& ids) : value_(ids) {}
    template <typename Container>
        requires std::is_convertible_v<typename Container::value_type, const ManagedObject*>
    PredicateArgument(const Container& objects)
    {
        QVector<ObjectID> ids;
        ids.reserve(qsizetype(objects.size()));
        for (const ManagedObject* object : objects)
            ids.append(idOf(object));
        value_ = std::move(ids);
    }

    const Value& value() const { return value_; }

private:
    static ObjectID idOf(const ManagedObject* object);
    Value value_;
};

} // namespace pt::store
