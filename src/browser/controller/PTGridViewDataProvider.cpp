#include "browser/controller/PTGridViewDataProvider.h"

#include "library/controllers/PTCollectionController.h"
#include "library/controllers/PTGroupController.h"
#include "library/entities/PTCollection.h"
#include "library/entities/PTItem.h"

#include <algorithm>

PTGridViewDataProvider::PTGridViewDataProvider() : sortOrder_(defaultSortOrder()) {}

PTGridViewDataProvider::SortOrder PTGridViewDataProvider::defaultSortOrder()
{
    return {[](const PTItem& item) {
                QByteArray key = item.name().toUtf8();
                for (char& c : key) {
                    if (c >= 'A' && c <= 'Z')
                        c = static_cast<char>(c - 'A' + 'a');
                }
                return key;
            },
            true};
}

// Keys are made once per item: a large section sorts without converting names at every comparison.
void PTGridViewDataProvider::sortItems(QVector<PTItem*>& items) const
{
    std::vector<std::pair<QByteArray, PTItem*>> keyed;
    keyed.reserve(static_cast<size_t>(items.size()));
    for (PTItem* item : items)
        keyed.emplace_back(sortOrder_.key(*item), item);
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

void PTGridViewDataProvider::setItems(const QVector<PTItem*>& items)
{
    purge();
    QVector<PTCollection*> sets;
    for (PTItem* item : items) {
        PTCollection* set = item->collection();
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
    return path.index >= 0 && path.index < items.size() ? items[path.index] : nullptr;
}

GridIndexPath PTGridViewDataProvider::indexPathForItem(PTItem* item)
{
    if (!item || !item->collection())
        return {};
    const qint64 section = collections_.indexOf(item->collection());
    if (section < 0)
        return {};
    collectionForSection(section, true);
    const qint64 index = collectionTree_[item->collection()->objectID()].indexOf(item);
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
}
