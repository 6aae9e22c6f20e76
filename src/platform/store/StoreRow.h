#pragma once

#include <QVarLengthArray>
#include <QVariant>
#include <QVector>

namespace pt::store {

// The stored state of one object: its row version, attribute values (by attribute index; an invalid QVariant
// is NULL) and the primary keys of its to-one targets (by relationship index; 0 is none).
struct StoreRow {
    qint64 opt = 0;
    QVector<QVariant> values;
    // Held inline: entities have a few to-one relationships, and a fetch makes one row per object.
    QVarLengthArray<qint64, 4> keys;
};

} // namespace pt::store
