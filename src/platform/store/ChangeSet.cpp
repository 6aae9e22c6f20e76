#include "platform/store/ChangeSet.h"

namespace pt::store {

void ChangeEntry::applyTo(StoreRow& row) const
{
    if (kind == Kind::Insert) {
        row = values;
        return;
    }
    if (kind != Kind::Update)
        return;
    for (int i = 0; i < row.values.size(); ++i)
        if (changedAttributes & (quint64(1) << i))
            row.values[i] = values.values.value(i);
    for (int i = 0; i < row.keys.size(); ++i)
        if (changedRelationships & (quint64(1) << i))
            row.keys[i] = values.keys.value(i);
}

void ChangeSet::reserve(size_t count)
{
    entries_.reserve(count);
    index_.reserve(qsizetype(count));
}

void ChangeSet::add(ChangeEntry entry)
{
    const auto found = index_.constFind(entry.id);
    if (found == index_.cend()) {
        index_.insert(entry.id, entries_.size());
        ++perEntity_[entry.id.entity()];
        entries_.push_back(std::move(entry));
        return;
    }
    ChangeEntry& earlier = entries_[*found];
    using Kind = ChangeEntry::Kind;
    if (entry.kind == Kind::Delete) {
        if (earlier.kind == Kind::Insert)
            remove(entry.id);
        else
            earlier = std::move(entry);
        return;
    }
    if (earlier.kind == Kind::Delete)
        return;
    // Keep what the first change was made against, for the columns it changed.
    const quint64 newAttributes = entry.changedAttributes & ~earlier.changedAttributes;
    const quint64 newRelationships = entry.changedRelationships & ~earlier.changedRelationships;
    for (int i = 0; i < earlier.original.values.size(); ++i)
        if (newAttributes & (quint64(1) << i))
            earlier.original.values[i] = entry.original.values.value(i);
    for (int i = 0; i < earlier.original.keys.size(); ++i)
        if (newRelationships & (quint64(1) << i))
            earlier.original.keys[i] = entry.original.keys.value(i);
    earlier.values = std::move(entry.values);
    earlier.changedAttributes |= entry.changedAttributes;
    earlier.changedRelationships |= entry.changedRelationships;
}

void ChangeSet::remove(const ObjectID& id)
{
    const auto found = index_.constFind(id);
    if (found == index_.cend())
        return;
    const size_t position = *found;
    index_.erase(found);
    --perEntity_[id.entity()];
    if (position + 1 != entries_.size()) {
        entries_[position] = std::move(entries_.back());
        index_[entries_[position].id] = position;
    }
    entries_.pop_back();
}

const ChangeEntry* ChangeSet::find(const ObjectID& id) const
{
    const auto found = index_.constFind(id);
    return found == index_.cend() ? nullptr : &entries_[*found];
}

void ChangeSet::clear()
{
    entries_.clear();
    index_.clear();
    perEntity_.clear();
}

} // namespace pt::store
