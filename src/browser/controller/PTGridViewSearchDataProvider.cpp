#include "browser/controller/PTGridViewSearchDataProvider.h"

#include "foundation/StringAdditions.h"
#include "library/entities/PTCollection.h"
#include "library/entities/PTGroup.h"
#include "library/entities/PTItem.h"

#include <QSet>

const QString PTGridViewSearchDataProvider::LocationSeparator = QStringLiteral("  \u27E9  ");

PTGridViewSearchDataProvider::PTGridViewSearchDataProvider(TermSource searchTerm) : searchTerm_(std::move(searchTerm))
{
}

// Results come loaded: nothing known is needed.
void PTGridViewSearchDataProvider::setItems(const QVector<PTItem*>& items, KnownItems /*known*/)
{
    itemArray_ = items;
    resort();
}

void PTGridViewSearchDataProvider::resort()
{
    sortItems(itemArray_);
}

void PTGridViewSearchDataProvider::setSortOrder(SortOrder order)
{
    PTGridViewDataProvider::setSortOrder(std::move(order));
    resort();
}

qint64 PTGridViewSearchDataProvider::numberOfItemsInSection(qint64 /*section*/) const
{
    return itemArray_.size();
}

PTItem* PTGridViewSearchDataProvider::itemForIndexPath(const GridIndexPath& path)
{
    return path.index >= 0 && path.index < itemArray_.size() ? itemArray_[path.index] : nullptr;
}

GridIndexPath PTGridViewSearchDataProvider::indexPathForItem(PTItem* item)
{
    const qint64 index = itemArray_.indexOf(item);
    return index < 0 ? GridIndexPath() : GridIndexPath{0, index};
}

QString PTGridViewSearchDataProvider::tooltipForIndexPath(const GridIndexPath& path)
{
    PTItem* item = itemForIndexPath(path);
    if (!item)
        return {};
    QStringList names;
    if (PTCollection* set = item->collection()) {
        names.prepend(set->name());
        // A damaged store may hold a loop of parents.
        QSet<PTGroup*> seen;
        for (PTGroup* group = set->group(); group && !seen.contains(group); group = group->group()) {
            seen.insert(group);
            names.prepend(group->name());
        }
    }
    names.append(item->name());
    return names.join(LocationSeparator);
}

QStringList PTGridViewSearchDataProvider::pathComponentsForSection(qint64 /*section*/) const
{
    QString term = stringAdditions::normalizedString(searchTerm_ ? searchTerm_() : QString());
    bool wordStart = true;
    for (QChar& c : term) {
        c = wordStart ? c.toUpper() : c.toLower();
        wordStart = c.isSpace();
    }
    return {QStringLiteral("Search"), term};
}

void PTGridViewSearchDataProvider::purge()
{
    PTGridViewDataProvider::purge();
    itemArray_.clear();
}
