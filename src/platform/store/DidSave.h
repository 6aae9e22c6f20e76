#pragma once

#include "platform/store/ObjectID.h"
#include "platform/store/StoreRow.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QVector>

namespace pt::store {

class ObjectContext;

// What one save changed, handed to the saving context's did-save observers on the saving thread and passed on
// to ObjectContext::mergeChanges of another context. `rows` holds the saved values of inserted and updated
// objects, so a merge needs no further reads.
struct DidSave {
    const ObjectContext* context = nullptr;
    QVector<ObjectID> inserted;
    QHash<ObjectID, QSet<QString>> updated;
    QVector<ObjectID> deleted;
    QHash<ObjectID, StoreRow> rows;

    bool isEmpty() const { return inserted.isEmpty() && updated.isEmpty() && deleted.isEmpty(); }
};

// How a save resolves a column that another context changed in the store since this one read it.
enum class MergePolicy {
    StoreTrumpByProperty = 1,  // the store's value stays; this context's other changes are written
    ObjectTrumpByProperty = 2, // this context's value is written
};

} // namespace pt::store
