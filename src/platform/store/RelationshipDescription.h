#pragma once

#include <QString>

namespace pt::store {

// One relationship of an entity. The key of a to-one target sits in `column` of this entity's table; a to-many
// relationship, and the inverse side of a one-to-one, have no column and are found through the inverse's column.
struct RelationshipDescription {
    QString name;
    QString targetEntity;
    QString inverse;
    bool toMany = false;
    QString column;

    bool hasColumn() const { return !toMany && !column.isEmpty(); }
};

} // namespace pt::store
