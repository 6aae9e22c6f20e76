#pragma once

#include "platform/store/Predicate.h"

#include <QStringList>

namespace pt::store {

struct SortDescriptor {
    enum class Comparison { Default, CaseInsensitive };
    QString key;
    bool ascending = true;
    Comparison comparison = Comparison::Default;
};

// What to fetch: the entity's objects that match the predicate, as this context sees them (its unsaved
// inserts, edits and deletes included unless switched off).
struct FetchRequest {
    QString entityName;
    Predicate predicate;
    QVector<SortDescriptor> sort;
    // Relationship key paths ("licence", "collection.licence", "items") loaded together with the result.
    QStringList prefetch;
    bool returnsObjectsAsFaults = true;
    bool includesPendingChanges = true;
};

} // namespace pt::store
