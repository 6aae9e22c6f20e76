#pragma once

#include "platform/store/ManagedObject.h"

#include <QHash>
#include <QVector>

#include <optional>

class PTCollection;
class PTGroup;
class PTMenuBuilder;

// The tree of groups and sets that the source list shows: the children of every group, and of the top level,
// in ascending `sort`, cached per group so that the outline's many child requests cost a look-up. Creates,
// moves, wraps and dissolves groups and answers questions about the tree. Works on the main context on the main
// thread; its caches belong to that context, and whoever replaces the store stack calls purge().
//
// A child list holds PTGroup and PTCollection objects mixed. The top level is the null group.
class PTGroupController {
public:
    using Children = QVector<pt::store::ManagedObject*>;

    static PTGroupController& sharedController();

    // The cached child list of the group (null: the top level), built on first use or when forced.
    Children objectsForGroup(PTGroup* group, bool forceReload = false);
    // All groups of the main context (fetched on first use).
    QVector<PTGroup*> groups();

    // A new group among the parent's children at the index (-1, or any index past the others: last); a null
    // name gives "Untitled Group". Starts the save path.
    PTGroup* createGroupWithName(const QString& name, PTGroup* parent, qint64 index = -1);
    // Moves the set or group among the target's children (null: the top level) to the index (-1: the first).
    // Refuses (false) to move a group into itself or anything below it, and the Miscellaneous set.
    bool moveObject(pt::store::ManagedObject* object, PTGroup* target, qint64 index);
    // Wraps the sets and groups in a new group placed where the selected object nearest the top stood.
    PTGroup* groupItems(const Children& objects);
    // Dissolves each group; answers every child that came out.
    Children ungroupItems(const QVector<PTGroup*>& groups);
    // Dissolves the group into its parent at its own place; answers its former children.
    Children ungroup(PTGroup* group, bool purge);
    // Orders the group's children by name, case ignored; the caller saves.
    void sortGroupByName(PTGroup* group);
    // Renumbers the cached children 0..n-1 and answers the reloaded list.
    Children revalidateGroupSorting(PTGroup* group);
    void purgeGroup(PTGroup* group);
    // Drops every cached list and the group list.
    void purge();

    // Unlinks the group from its parent, forgets it, reloads the parent's list.
    void removeGroup(PTGroup* group);
    // removeGroup of a menu entry's group; anything else is ignored.
    void removeGroupFromMenuItem(pt::store::ManagedObject* object);
    // Forgets the group without touching the tree.
    void removeReferenceToGroup(PTGroup* group);
    // Takes groups of the main context into the group list when it lacks them, and reloads their lists and
    // their parents'.
    void adopt(const QVector<PTGroup*>& groups);
    // Unlinks the set from its group and hides it from child lists until purgeRemovalOfCollections.
    void removeCollection(PTCollection* set);
    void purgeRemovalOfCollections();

    // Every set inside the group at any depth, depth first in `sort` order.
    QVector<PTCollection*> collectionsForGroup(PTGroup* group);
    // Whether the object is among the group's children (or, recursively, below it). False for a null group.
    bool isChildOfGroup(pt::store::ManagedObject* object, PTGroup* group, bool recursive);
    // Whether one selected object lies inside a selected group at any depth.
    bool isInception(const Children& objects);
    // The parent of the selected object with the fewest ancestors (the first on a tie), which goes to *proposed.
    PTGroup* topLevelGroup(const Children& objects, pt::store::ManagedObject** proposed);
    // The number of the object's ancestors.
    int depthForItem(pt::store::ManagedObject* object) const;
    // Whether the object is the group or lies inside it at any depth. False for a null group.
    static bool hasParentGroup(pt::store::ManagedObject* object, PTGroup* group);
    // The group of the main context with that object URI string; null when it names no existing group.
    static PTGroup* groupWithURL(const QString& uri);

    // One entry per child of the group (null: the top level), each standing for its child and sending the action;
    // a child group's entry holds a submenu of its own children.
    void menuForGroup(PTGroup* group, const QString& action, PTMenuBuilder& menu);

    // The parent group of a set or group.
    static PTGroup* parentOf(pt::store::ManagedObject* object);
    static qint64 sortOf(pt::store::ManagedObject* object);
    static void setSortOf(pt::store::ManagedObject* object, qint64 sort);
    static QString nameOf(pt::store::ManagedObject* object);

private:
    PTGroupController() = default;
    // Puts the set or group under the parent (null: the top level), keeping both sides of the link.
    static void link(pt::store::ManagedObject* object, PTGroup* parent);
    static void renumber(const Children& children);
    Children loadChildren(PTGroup* group);

    QHash<PTGroup*, Children> tree_;
    std::optional<QVector<PTGroup*>> groups_;
    QVector<PTCollection*> removals_;
};
