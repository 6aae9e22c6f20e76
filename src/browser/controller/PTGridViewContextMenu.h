#pragma once

#include "platform/store/ObjectID.h"

#include <QSet>
#include <QVector>

#include <memory>

class PTCollection;
class PTGridViewController;
class PTGroup;
class PTItem;
class QMenu;

// The grid's context menu. It keeps the object IDs of the items it was built for, so its commands act on those
// icons even when the grid was refilled while it was open (stored positions would name others by then).
class PTGridViewContextMenu {
public:
    // The "Export As" entries: title and export format.
    struct ExportFormat {
        const char* title;
        int format;
    };

    explicit PTGridViewContextMenu(PTGridViewController& controller);
    ~PTGridViewContextMenu();

    // A new menu for the items, replacing the one before; it stays this object's.
    QMenu* menuForItems(const QVector<PTItem*>& items);
    QMenu* menu() const { return menu_.get(); }
    // The menu's items that still exist.
    QVector<PTItem*> items() const;
    // Forgets the items (a drag ended).
    void clear();

private:
    void addSetMenu(QMenu* menu, const QString& title, bool move, const QSet<PTCollection*>& disabled);
    void fillGroup(QMenu* menu, PTGroup* group, bool move, const QSet<PTCollection*>& disabled);
    void addSetEntry(QMenu* menu, PTCollection* set, bool move, const QSet<PTCollection*>& disabled);

    PTGridViewController& controller_;
    std::unique_ptr<QMenu> menu_;
    QVector<pt::store::ObjectID> ids_;
};
