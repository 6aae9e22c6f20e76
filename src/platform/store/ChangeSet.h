#pragma once

#include "platform/store/ObjectID.h"
#include "platform/store/StoreRow.h"

#include <QHash>

#include <vector>

namespace pt::store {

class EntityDescription;

// One object's pending change as it travels from a context to its parent or to the store.
struct ChangeEntry {
    enum class Kind { Insert, Update, Delete };

    ObjectID id;
    Kind kind = Kind::Update;
    StoreRow values;   // every value as the context holds it (insert, update)
    StoreRow original; // the values the change was made against, with their row version (update)
    quint64 changedAttributes = 0;
    quint64 changedRelationships = 0;

    // Puts the change over the row as stored: an insert replaces it, an update sets only the columns it changed,
    // so that what others saved meanwhile in the other columns shows through.
    void applyTo(StoreRow& row) const;
};

// The pending changes of a save, one entry per object. Adding a later change of the same object folds it into
// the earlier one: updates merge, an update of an insert stays an insert, a delete of an insert cancels both.
class ChangeSet {
public:
    void reserve(size_t count);
    void add(ChangeEntry entry);
    void remove(const ObjectID& id);
    const ChangeEntry* find(const ObjectID& id) const;
    const std::vector<ChangeEntry>& entries() const { return entries_; }
    bool isEmpty() const { return entries_.empty(); }
    bool touches(const EntityDescription* entity) const { return perEntity_.value(entity) > 0; }
    void clear();

private:
    std::vector<ChangeEntry> entries_;
    QHash<ObjectID, size_t> index_;
    QHash<const EntityDescription*, int> perEntity_;
};

} // namespace pt::store
