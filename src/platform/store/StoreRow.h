#pragma once

#include <QVariant>
#include <QVector>

namespace pt::store {

// The stored state of one object: its row version, attribute values (by attribute index; an invalid QVariant
// is NULL) and the primary keys of its to-one targets (by relationship index; 0 is none).
struct StoreRow {
    qint64 opt = 0;
    QVector<QVariant> values;
    QVector<qint64> keys;
};

} // namespace pt::store
