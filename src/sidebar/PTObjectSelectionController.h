#pragma once

#include "platform/store/ManagedObject.h"

#include <QString>
#include <QVector>

class PTGroup;
class PTSourceListController;
class QMenu;

// Builds the source list's context menus: for the empty list, one group, one set, several sets, several groups,
// or a mix; each entry runs its command on the objects the menu was made for.
class PTObjectSelectionController {
public:
    using Objects = QVector<pt::store::ManagedObject*>;
    enum Mask { HasSets = 1, HasGroups = 2 };

    explicit PTObjectSelectionController(PTSourceListController& sourceList);

    // Bit HasSets when a set is among the objects, HasGroups when a group is; 0 for none.
    static int selectionMaskForItems(const Objects& objects);
    // The menu for the objects (the list's own menu when empty); the caller owns it. Null when the objects are
    // neither groups nor sets.
    QMenu* contextualMenuForItems(const Objects& objects);
    // "Delete" when deleting asks nothing, else "Delete...".
    static QString deleteTitle();
    // Moves each object into the group (null: the top level), first among its children, skipping what is the
    // group itself, already inside it, or holds it.
    void moveObjects(const Objects& objects, PTGroup* target);
    // Asks (unless suppressed) and removes the objects; afterwards the row above the first one is selected.
    void deleteObjects(const Objects& objects);

private:
    QMenu* listMenu();
    QMenu* groupMenu(PTGroup* group);
    QMenu* setMenu(pt::store::ManagedObject* set);
    QMenu* setsMenu(const Objects& sets);
    QMenu* groupsMenu(const Objects& groups);
    QMenu* mixedMenu(const Objects& objects);
    void addMoveTo(QMenu* menu, const Objects& objects);
    void addDelete(QMenu* menu, const Objects& objects);
    void addSortByName(QMenu* menu, const QVector<PTGroup*>& groups);
    void addShowInFileManager(QMenu* menu, const Objects& sets);
    void addCommand(QMenu* menu, const QString& title, int command, const Objects& objects);

    PTSourceListController& sourceList_;
};
