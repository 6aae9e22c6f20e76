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
    // Items sort by a byte key made once per item and sort, ascending or descending. An order by name also
    // gives the key of a name alone, so that items still faults sort without being loaded.
    struct SortOrder {
        std::function<QByteArray(const PTItem& item)> key;
        bool ascending = true;
        std::function<QByteArray(const QString& name)> keyOfName = {};
    };
    // What a refill read of an item it left a fault: its set and name. Loaded items answer for themselves.
    struct Known {
        PTCollection* set = nullptr;
        QString name;
    };
    using KnownItems = QHash<const PTItem*, Known>;
    // Faults are loaded this many at a time, from the first one the grid asks for.
    static constexpr qsizetype UnfaultBatch = 256;

    PTGridViewDataProvider();
    virtual ~PTGridViewDataProvider() = default;
    PTGridViewDataProvider(const PTGridViewDataProvider&) = delete;
    PTGridViewDataProvider& operator=(const PTGridViewDataProvider&) = delete;

    // By name, case ignored in ASCII, comparing the UTF-8 forms (the order of cStringComparison).
    static SortOrder defaultSortOrder();

    // Rebuilds the sections; items without a set are left out.
    virtual void setItems(const QVector<PTItem*>& items, KnownItems known);
    void setItems(const QVector<PTItem*>& items) { setItems(items, {}); }
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
    // Loads the item, and the faults after it in the list, in one fetch.
    static void unfaultFrom(const QVector<PTItem*>& items, qsizetype index);

private:
    PTCollection* setOf(const PTItem* item) const;

    KnownItems known_;
    QHash<pt::store::ObjectID, QVector<PTItem*>> collectionTree_;
    QVector<PTCollection*> collections_;
    SortOrder sortOrder_;
    std::vector<bool> sortedSections_;
};
