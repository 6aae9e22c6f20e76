#include "sidebar/PTSourceListDrops.h"

#include "browser/PTBrowserTransfer.h"
#include "browser/controller/PTGridViewController.h"
#include "library/controllers/PTCollectionController.h"
#include "library/controllers/PTGroupController.h"
#include "library/entities/PTCollection.h"
#include "library/entities/PTGroup.h"
#include "library/entities/PTItem.h"
#include "library/store/PTCDAdditions.h"
#include "library/store/PTStoreFunctions.h"
#include "library/upkeep/PTImportValidation.h"
#include "platform/plist/PropertyList.h"
#include "sidebar/PTSourceListController.h"
#include "sidebar/PTSourceListModel.h"

#include <QMimeData>
#include <QTimer>
#include <QUrl>

using pt::store::ManagedObject;

PTSourceListDrops::PTSourceListDrops(PTSourceListController& list, PTSourceListModel& model)
    : list_(list)
    , model_(model)
{
}

QMimeData* PTSourceListDrops::mimeData(const QModelIndexList& indexes) const
{
    QVariantList uris;
    for (const QModelIndex& index : indexes) {
        const PTSourceListItem* item = model_.itemForIndex(index);
        if (item && item->isObject() && !item->isMiscellaneous())
            uris << PTCDAdditions::persistentURLString(item->underlyingObject());
    }
    const auto plist = pt::PropertyList::toData(uris);
    if (uris.isEmpty() || !plist)
        return nullptr;
    auto* data = new QMimeData;
    data->setData(ListItemType, *plist);
    return data;
}

PTCollection* PTSourceListDrops::targetSet(int row, const QModelIndex& parent) const
{
    return row < 0 ? PTCollection::from(model_.itemForIndex(parent) ? model_.itemForIndex(parent)->underlyingObject()
                                                                     : nullptr)
                   : nullptr;
}

bool PTSourceListDrops::rowTarget(int row, const QModelIndex& parent, PTGroup** target) const
{
    const PTSourceListItem* item = model_.itemForIndex(parent);
    if (!item) {
        // Between the header and the bottom spacer.
        *target = nullptr;
        return row >= PTSourceListModel::FixedTopRows && row <= model_.topLevelCount() - 1;
    }
    *target = PTGroup::from(item->underlyingObject());
    return *target != nullptr;
}

QVector<PTItem*> PTSourceListDrops::icons(const QMimeData* data, PTCollection* target) const
{
    QVector<PTItem*> items;
    for (const QString& uri : PTBrowserTransfer::itemURIs(data->data(PTBrowserTransfer::ItemType))) {
        auto* item = PTItem::from(PTMainContextObjectWithURIString(uri));
        if (item && item->collection() != target && !items.contains(item))
            items << item;
    }
    return items;
}

QStringList PTSourceListDrops::files(const QMimeData* data) const
{
    const auto validation = PTImportValidation::installed();
    if (!validation || !data->hasUrls())
        return {};
    QStringList paths;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    return validation->validateURLStrings(paths, PTImportValidation::AllOptions);
}

QVector<ManagedObject*> PTSourceListDrops::draggedObjects(const QMimeData* data) const
{
    QVector<ManagedObject*> objects;
    const auto plist = pt::PropertyList::fromData(data->data(ListItemType));
    if (!plist)
        return objects;
    for (const QVariant& uri : plist->toList()) {
        ManagedObject* object = PTMainContextObjectWithURIString(uri.toString());
        if ((PTGroup::from(object) || PTCollection::from(object)) && !objects.contains(object))
            objects << object;
    }
    return objects;
}

bool PTSourceListDrops::canDrop(const QMimeData* data, Qt::DropAction action, int row, const QModelIndex& parent) const
{
    if (!data || action == Qt::IgnoreAction)
        return false;
    // Icons first: asking a grid drag for its URLs would make it export its files.
    if (data->hasFormat(PTBrowserTransfer::ItemType)) {
        PTCollection* target = targetSet(row, parent);
        return target && !icons(data, target).isEmpty();
    }
    if (data->hasFormat(ListItemType)) {
        PTGroup* target = nullptr;
        return rowTarget(row, parent, &target) && !draggedObjects(data).isEmpty();
    }
    return targetSet(row, parent) && !files(data).isEmpty();
}

bool PTSourceListDrops::drop(const QMimeData* data, Qt::DropAction action, int row, const QModelIndex& parent)
{
    if (!canDrop(data, action, row, parent))
        return false;
    if (data->hasFormat(PTBrowserTransfer::ItemType)) {
        PTCollection* target = targetSet(row, parent);
        const QVector<PTItem*> items = icons(data, target);
        PTSourceListController* list = &list_;
        // The grid shows the change without jumping.
        const auto refresh = [list] {
            if (PTGridViewController* grid = PTGridViewController::sharedController())
                grid->disableScrollBlock([list] { list->reloadSelectedItem(); });
        };
        if (action == Qt::CopyAction) {
            PTCollectionController::sharedController().cloneItems(items, target);
            refresh();
        } else {
            PTCollectionController::sharedController().moveItems(items, target, refresh);
        }
        return true;
    }
    if (data->hasFormat(ListItemType)) {
        PTGroup* target = nullptr;
        rowTarget(row, parent, &target);
        moveRows(draggedObjects(data), target, parent.isValid() ? row : row - PTSourceListModel::FixedTopRows);
        return true;
    }
    QList<QUrl> urls;
    for (const QString& path : files(data))
        urls << QUrl::fromLocalFile(path);
    if (const auto transfer = PTBrowserTransfer::installed())
        transfer->presentAddIconsSheet(urls, targetSet(row, parent));
    return true;
}

void PTSourceListDrops::moveRows(const QVector<ManagedObject*>& objects, PTGroup* target, int row)
{
    PTGroupController& groups = PTGroupController::sharedController();
    // Rows dropped together keep their order: each goes right after the one before. Indices count the rows as
    // they stand before the move, the moved one included.
    qint64 index = row < 0 ? 0 : row;
    for (ManagedObject* object : objects) {
        if (auto* group = PTGroup::from(object); group && PTGroupController::hasParentGroup(target, group))
            continue;
        if (groups.moveObject(object, target, index))
            index = groups.objectsForGroup(target).indexOf(object) + 1;
    }
    if (target)
        list_.expandObject(target);
    // The model is being asked from inside its own drop: rebuild once that has returned.
    QTimer::singleShot(0, &list_, [list = &list_] {
        list->cancelScrollForReloadWithBlock([list] { list->reloadData(); });
    });
}
