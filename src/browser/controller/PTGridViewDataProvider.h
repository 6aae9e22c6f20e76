#pragma once

#include "browser/grid/GridIndexPath.h"
#include "platform/store/ObjectID.h"

#include <QHash>
#include <QStringList>
#include <QVector>

#include <functional>
#include <vector>

class PTCollection;
class PTItem;

// Turns the flat, filtered items of a refill into the grid's sections: one per set, in source-list order. A
// section is sorted only when the grid first reads one of its items, so a library of many sets sorts what is
// seen. The sort is stable: items the order calls equal keep the order of their object IDs.
class PTGridViewDataProvider {
public:
    // Items sort by a byte key made once per item and sort, ascending or descending.
    struct SortOrder {
        std::function<QByteArray(const PTItem& item)> key;
        bool ascending = true;
    };

    PTGridViewDataProvider();
    virtual ~PTGridViewDataProvider() = default;
    PTGridViewDataProvider(const PTGridViewDataProvider&) = delete;
    PTGridViewDataProvider& operator=(const PTGridViewDataProvider&) = delete;

    // By name, case ignored in ASCII, comparing the UTF-8 forms (the order of cStringComparison).
    static SortOrder defaultSortOrder();

    // Rebuilds the sections; items without a set are left out.
    virtual void setItems(const QVector<PTItem*>& items);
    virtual qint64 numberOfSections() const;
    virtual qint64 numberOfItemsInSection(qint64 section) const;
    // Sorts the section first when it was not yet; null past the end.
    virtual PTItem* itemForIndexPath(const GridIndexPath& path);
    // Sorts the section first, so the answer is where the grid shows the item; invalid for an item not shown.
    virtual GridIndexPath indexPathForItem(PTItem* item);
    QVector<GridIndexPath> indexPathsForItems(const QVector<PTItem*>& items);
    // Paths without an item add nothing.
    QVector<PTItem*> itemsForIndexPaths(const QVector<GridIndexPath>& paths);
    pt::store::ObjectID representedObjectForIndexPath(const GridIndexPath& path);
    virtual QString tooltipForIndexPath(const GridIndexPath& path);
    // The names along the section set's path, outermost group first; a missing name reads "Untitled".
    virtual QStringList pathComponentsForSection(qint64 section) const;
    virtual QVector<PTCollection*> collections() const { return collections_; }
    virtual PTCollection* collectionForSection(qint64 section, bool sortIfRequired = false);

    const SortOrder& sortOrder() const { return sortOrder_; }
    // Every section is sorted again on its next read.
    virtual void setSortOrder(SortOrder order);
    virtual void purge();

protected:
    // Sorts the items stably by the order, ties by object ID.
    void sortItems(QVector<PTItem*>& items) const;

private:
    QHash<pt::store::ObjectID, QVector<PTItem*>> collectionTree_;
    QVector<PTCollection*> collections_;
    SortOrder sortOrder_;
    std::vector<bool> sortedSections_;
};
