#pragma once

#include "platform/store/ManagedObject.h"

#include <QModelIndex>
#include <QVector>

class PTCollection;
class PTGroup;
class PTItem;
class PTSourceListController;
class PTSourceListModel;
class QMimeData;

// Dragging groups and sets within the list and dropping onto it: rows re-order or move into groups, icons from
// the grid move (copy with Alt) into a set, and icon files open the add-icons sheet for a set. Positions follow
// the model: a row under a parent, or row -1 for a drop onto the parent itself.
class PTSourceListDrops {
public:
    static inline const QString ListItemType = QStringLiteral("PTSourceListItemPBoardType");

    PTSourceListDrops(PTSourceListController& list, PTSourceListModel& model);

    // The dragged groups and sets (never Miscellaneous) as a property list of URIs; null when there is none.
    QMimeData* mimeData(const QModelIndexList& indexes) const;
    bool canDrop(const QMimeData* data, Qt::DropAction action, int row, const QModelIndex& parent) const;
    bool drop(const QMimeData* data, Qt::DropAction action, int row, const QModelIndex& parent);

private:
    // The set the drop lands on, or null when it does not land on a set row.
    PTCollection* targetSet(int row, const QModelIndex& parent) const;
    // Whether rows may land there; the group goes to *target (null: the top level).
    bool rowTarget(int row, const QModelIndex& parent, PTGroup** target) const;
    QVector<PTItem*> icons(const QMimeData* data, PTCollection* target) const;
    QStringList files(const QMimeData* data) const;
    QVector<pt::store::ManagedObject*> draggedObjects(const QMimeData* data) const;
    void moveRows(const QVector<pt::store::ManagedObject*>& objects, PTGroup* target, int row);

    PTSourceListController& list_;
    PTSourceListModel& model_;
};
