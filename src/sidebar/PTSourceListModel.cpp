#include "sidebar/PTSourceListModel.h"

#include "library/controllers/PTCollectionController.h"
#include "library/controllers/PTGroupController.h"
#include "library/entities/PTCollection.h"
#include "library/entities/PTGroup.h"
#include "library/store/PTCDAdditions.h"
#include "library/store/PTStoreFunctions.h"
#include "library/upkeep/PTLibraryShell.h"
#include "browser/PTBrowserTransfer.h"
#include "sidebar/NameRefusal.h"
#include "sidebar/PTSourceListDrops.h"

#include <QCoreApplication>
#include <QMimeData>
#include <QSize>

using pt::store::ManagedObject;
using Kind = PTSourceListItem::Kind;

namespace {

const QString NameKey = QStringLiteral("name");

} // namespace

PTSourceListModel::PTSourceListModel(QObject* parent)
    : QAbstractItemModel(parent)
{
}

PTSourceListModel::~PTSourceListModel() = default;

PTSourceListItem* PTSourceListModel::addRow(std::vector<std::unique_ptr<PTSourceListItem>>& rows, Kind kind,
                                            ManagedObject* object, PTSourceListItem* parent, int height)
{
    QString identifier;
    if (kind == Kind::All)
        identifier = PTSourceListItem::AllIdentifier;
    else if (kind == Kind::Header)
        identifier = PTSourceListItem::GroupIdentifier;
    else if (object)
        identifier = PTCDAdditions::persistentURLString(object);
    auto item = std::make_unique<PTSourceListItem>(kind, identifier, object, parent, static_cast<int>(rows.size()),
                                                   height);
    PTSourceListItem* row = item.get();
    rows.push_back(std::move(item));
    if (!identifier.isEmpty())
        items_.insert(identifier, row);
    if (object && object->context()) {
        row->setNameObservation(object->context()->observe(object, NameKey, [this, row](ManagedObject*, const QString&) {
            const QModelIndex index = indexForItem(row);
            emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole, Qt::AccessibleTextRole});
        }));
    }
    return row;
}

void PTSourceListModel::rebuild()
{
    beginResetModel();
    top_.clear();
    items_.clear();
    addRow(top_, Kind::Spacer, nullptr, nullptr, SpacerTopHeight);
    addRow(top_, Kind::All, nullptr, nullptr, RowHeight);
    addRow(top_, Kind::Object, PTCollectionController::sharedController().miscCollection(), nullptr, RowHeight);
    addRow(top_, Kind::Header, nullptr, nullptr, HeaderHeight);
    for (ManagedObject* object : PTGroupController::sharedController().objectsForGroup(nullptr))
        addRow(top_, Kind::Object, object, nullptr, RowHeight);
    addRow(top_, Kind::Spacer, nullptr, nullptr, SpacerBottomHeight);
    endResetModel();
}

void PTSourceListModel::loadChildren(PTSourceListItem* item) const
{
    if (item->childrenLoaded())
        return;
    item->setChildrenLoaded();
    auto* self = const_cast<PTSourceListModel*>(this);
    const auto children = PTGroupController::sharedController().objectsForGroup(PTGroup::from(item->underlyingObject()));
    item->children().reserve(children.size());
    for (ManagedObject* child : children)
        self->addRow(item->children(), Kind::Object, child, item, RowHeight);
}

PTSourceListItem* PTSourceListModel::itemForIndex(const QModelIndex& index) const
{
    return index.isValid() ? static_cast<PTSourceListItem*>(index.internalPointer()) : nullptr;
}

QModelIndex PTSourceListModel::indexForItem(const PTSourceListItem* item) const
{
    return item ? createIndex(item->row(), 0, const_cast<PTSourceListItem*>(item)) : QModelIndex();
}

PTSourceListItem* PTSourceListModel::itemForIdentifier(const QString& identifier) const
{
    return items_.value(identifier);
}

bool PTSourceListModel::renameObject(PTSourceListItem* item, const QString& typed)
{
    if (!item || !item->isObject())
        return false;
    const QString name = typed.trimmed();
    if (name.isEmpty() || name == item->title())
        return false;
    if (const QString refusal = nameRefusal(name); !refusal.isEmpty()) {
        if (const auto shell = PTLibraryShell::installed())
            shell->presentAlert(QCoreApplication::translate("PTSourceListController", "The name was not changed."),
                                refusal);
        return false;
    }
    ManagedObject* object = item->underlyingObject();
    if (auto* set = PTCollection::from(object)) {
        set->setName(name);
        PTCollectionController::sharedController().commitRenameOfCollection(set);
    } else if (auto* group = PTGroup::from(object)) {
        group->setName(name);
    }
    PTSaveManagedObjectContext();
    emit objectRenamed();
    return true;
}

QModelIndex PTSourceListModel::index(int row, int column, const QModelIndex& parent) const
{
    if (column != 0 || row < 0)
        return {};
    if (!parent.isValid())
        return row < topLevelCount() ? createIndex(row, 0, top_[row].get()) : QModelIndex();
    PTSourceListItem* item = itemForIndex(parent);
    loadChildren(item);
    return row < static_cast<int>(item->children().size()) ? createIndex(row, 0, item->children()[row].get())
                                                          : QModelIndex();
}

QModelIndex PTSourceListModel::parent(const QModelIndex& child) const
{
    const PTSourceListItem* item = itemForIndex(child);
    return item ? indexForItem(item->parent()) : QModelIndex();
}

int PTSourceListModel::rowCount(const QModelIndex& parent) const
{
    if (!parent.isValid())
        return topLevelCount();
    PTSourceListItem* item = itemForIndex(parent);
    if (!item->isGroupObject())
        return 0;
    loadChildren(item);
    return static_cast<int>(item->children().size());
}

int PTSourceListModel::columnCount(const QModelIndex&) const
{
    return 1;
}

bool PTSourceListModel::hasChildren(const QModelIndex& parent) const
{
    if (!parent.isValid())
        return true;
    // Every group shows its disclosure arrow; its children are built only when it opens.
    return itemForIndex(parent)->isGroupObject();
}

QVariant PTSourceListModel::data(const QModelIndex& index, int role) const
{
    const PTSourceListItem* item = itemForIndex(index);
    if (!item)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
    case Qt::AccessibleTextRole:
        return item->title();
    case Qt::SizeHintRole:
        return QSize(-1, item->height());
    case ItemRole:
        return QVariant::fromValue(static_cast<void*>(const_cast<PTSourceListItem*>(item)));
    default:
        return {};
    }
}

bool PTSourceListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    return role == Qt::EditRole && renameObject(itemForIndex(index), value.toString());
}

Qt::ItemFlags PTSourceListModel::flags(const QModelIndex& index) const
{
    const PTSourceListItem* item = itemForIndex(index);
    if (!item) // The top level takes drops between rows.
        return Qt::ItemIsDropEnabled;
    // The header and spacers are not enabled, so the keyboard passes over them and never empties the selection.
    if (!item->isSelectable())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (item->isObject()) {
        flags |= Qt::ItemIsEditable | Qt::ItemIsDropEnabled;
        if (!item->isMiscellaneous())
            flags |= Qt::ItemIsDragEnabled;
        if (item->isGroupObject())
            flags &= ~Qt::ItemNeverHasChildren;
    }
    return flags;
}

QStringList PTSourceListModel::mimeTypes() const
{
    return {PTSourceListDrops::ListItemType, PTBrowserTransfer::ItemType, QStringLiteral("text/uri-list")};
}

QMimeData* PTSourceListModel::mimeData(const QModelIndexList& indexes) const
{
    return drops_.mimeData ? drops_.mimeData(indexes) : nullptr;
}

bool PTSourceListModel::canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int,
                                        const QModelIndex& parent) const
{
    return drops_.canDrop && drops_.canDrop(data, action, row, parent);
}

bool PTSourceListModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int,
                                     const QModelIndex& parent)
{
    return drops_.drop && drops_.drop(data, action, row, parent);
}

Qt::DropActions PTSourceListModel::supportedDropActions() const
{
    return Qt::CopyAction | Qt::MoveAction;
}

Qt::DropActions PTSourceListModel::supportedDragActions() const
{
    return Qt::MoveAction;
}
