#include "browser/controller/PTGridViewDataProvider.h"

#include "library/controllers/PTCollectionController.h"
#include "library/controllers/PTGroupController.h"
#include "library/entities/PTCollection.h"
#include "library/entities/PTItem.h"
#include "library/store/ContextAdditions.h"

#include <algorithm>

PTGridViewDataProvider::PTGridViewDataProvider() : sortOrder_(defaultSortOrder()) {}

PTGridViewDataProvider::SortOrder PTGridViewDataProvider::defaultSortOrder()
{
    const auto keyOfName = [](const QString& name) {
        QByteArray key = name.toUtf8();
        for (char& c : key) {
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        }
        return key;
    };
    return {[keyOfName](const PTItem& item) { return keyOfName(item.name()); }, true, keyOfName};
}

// Keys are made once per item: a large section sorts without converting names at every comparison.
void PTGridViewDataProvider::sortItems(QVector<PTItem*>& items) const
{
    std::vector<std::pair<QByteArray, PTItem*>> keyed;
    keyed.reserve(static_cast<size_t>(items.size()));
    for (PTItem* item : items) {
        const auto known = item->isFault() && sortOrder_.keyOfName ? known_.constFind(item) : known_.cend();
        keyed.emplace_back(known != known_.cend() ? sortOrder_.keyOfName(known->name) : sortOrder_.key(*item), item);
    }
    const bool ascending = sortOrder_.ascending;
    std::sort(keyed.begin(), keyed.end(), [ascending](const auto& a, const auto& b) {
        const int order = a.first.compare(b.first);
        if (order != 0)
            return ascending ? order < 0 : order > 0;
        return a.second->compare(*b.second) < 0;
    });
    for (size_t i = 0; i < keyed.size(); ++i)
        items[static_cast<qsizetype>(i)] = keyed[i].second;
}

void PTGridViewDataProvider::unfaultFrom(const QVector<PTItem*>& items, qsizetype index)
{
    PTItem* item = items[index];
    if (!item->isFault())
        return;
    QVector<pt::store::ManagedObject*> faults;
    for (qsizetype i = index; i < items.size() && faults.size() < UnfaultBatch; ++i)
        if (items[i]->isFault())
            faults.append(items[i]);
    contextAdditions::unfault(*item->context(), faults, PTItem::EntityName);
}

PTCollection* PTGridViewDataProvider::setOf(const PTItem* item) const
{
    if (item->isFault()) {
        if (const auto known = known_.constFind(item); known != known_.cend())
            return known->set;
    }
    return item->collection();
}

void PTGridViewDataProvider::setItems(const QVector<PTItem*>& items, KnownItems known)
{
    purge();
    known_ = std::move(known);
    QVector<PTCollection*> sets;
    for (PTItem* item : items) {
        PTCollection* set = setOf(item);
        if (!set)
            continue;
        auto found = collectionTree_.find(set->objectID());
        if (found == collectionTree_.end()) {
            sets.append(set);
            found = collectionTree_.insert(set->objectID(), {});
        }
        found->append(item);
    }
    collections_ = PTCollectionController::sharedController().sortCollections(sets);
    sortedSections_.assign(static_cast<size_t>(collections_.size()), false);
}

qint64 PTGridViewDataProvider::numberOfSections() const
{
    return collections_.size();
}

qint64 PTGridViewDataProvider::numberOfItemsInSection(qint64 section) const
{
    if (section < 0 || section >= collections_.size())
        return 0;
    return collectionTree_.value(collections_[section]->objectID()).size();
}

PTCollection* PTGridViewDataProvider::collectionForSection(qint64 section, bool sortIfRequired)
{
    if (section < 0 || section >= collections_.size())
        return nullptr;
    PTCollection* set = collections_[section];
    if (sortIfRequired && !sortedSections_[static_cast<size_t>(section)]) {
        sortItems(collectionTree_[set->objectID()]);
        sortedSections_[static_cast<size_t>(section)] = true;
    }
    return set;
}

PTItem* PTGridViewDataProvider::itemForIndexPath(const GridIndexPath& path)
{
    PTCollection* set = collectionForSection(path.section, true);
    if (!set)
        return nullptr;
    const QVector<PTItem*>& items = collectionTree_[set->objectID()];
    if (path.index < 0 || path.index >= items.size())
        return nullptr;
    unfaultFrom(items, path.index);
    return items[path.index];
}

GridIndexPath PTGridViewDataProvider::indexPathForItem(PTItem* item)
{
    PTCollection* set = item ? setOf(item) : nullptr;
    if (!set)
        return {};
    const qint64 section = collections_.indexOf(set);
    if (section < 0)
        return {};
    collectionForSection(section, true);
    const qint64 index = collectionTree_[set->objectID()].indexOf(item);
    return index < 0 ? GridIndexPath() : GridIndexPath{section, index};
}

QVector<GridIndexPath> PTGridViewDataProvider::indexPathsForItems(const QVector<PTItem*>& items)
{
    QVector<GridIndexPath> paths;
    paths.reserve(items.size());
    for (PTItem* item : items)
        paths.append(indexPathForItem(item));
    return paths;
}

QVector<PTItem*> PTGridViewDataProvider::itemsForIndexPaths(const QVector<GridIndexPath>& paths)
{
    QVector<PTItem*> items;
    items.reserve(paths.size());
    for (const GridIndexPath& path : paths) {
        if (PTItem* item = itemForIndexPath(path))
            items.append(item);
    }
    return items;
}

pt::store::ObjectID PTGridViewDataProvider::representedObjectForIndexPath(const GridIndexPath& path)
{
    PTItem* item = itemForIndexPath(path);
    return item ? item->objectID() : pt::store::ObjectID();
}

QString PTGridViewDataProvider::tooltipForIndexPath(const GridIndexPath& path)
{
    PTItem* item = itemForIndexPath(path);
    return item ? item->name() : QString();
}

QStringList PTGridViewDataProvider::pathComponentsForSection(qint64 section) const
{
    if (section < 0 || section >= collections_.size())
        return {};
    QStringList names;
    for (pt::store::ManagedObject* object : collections_[section]->path()) {
        const QString name = PTGroupController::nameOf(object);
        names.append(name.isEmpty() ? QStringLiteral("Untitled") : name);
    }
    return names;
}

void PTGridViewDataProvider::setSortOrder(SortOrder order)
{
    sortOrder_ = std::move(order);
    std::fill(sortedSections_.begin(), sortedSections_.end(), false);
}

void PTGridViewDataProvider::purge()
{
    sortedSections_.clear();
    collections_.clear();
    collectionTree_.clear();
    known_.clear();
}
