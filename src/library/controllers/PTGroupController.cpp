#include "library/controllers/PTGroupController.h"

#include "library/entities/PTCollection.h"
#include "library/controllers/PTCollectionController.h"
#include "library/entities/PTGroup.h"
#include "library/controllers/PTMenuBuilder.h"
#include "library/store/PTStoreFunctions.h"
#include "platform/runtime/Logging.h"
#include "platform/store/ObjectContext.h"

#include <QCoreApplication>

#include <algorithm>
#include <limits>

using pt::store::ManagedObject;

namespace {

void sortBySort(PTGroupController::Children& children)
{
    std::stable_sort(children.begin(), children.end(), [](ManagedObject* a, ManagedObject* b) {
        return PTGroupController::sortOf(a) < PTGroupController::sortOf(b);
    });
}

} // namespace

PTGroupController& PTGroupController::sharedController()
{
    static PTGroupController controller;
    return controller;
}

PTGroup* PTGroupController::parentOf(ManagedObject* object)
{
    if (auto* group = PTGroup::from(object))
        return group->group();
    if (auto* set = PTCollection::from(object))
        return set->group();
    return nullptr;
}

qint64 PTGroupController::sortOf(ManagedObject* object)
{
    if (auto* group = PTGroup::from(object))
        return group->sort();
    if (auto* set = PTCollection::from(object))
        return set->sort();
    return 0;
}

void PTGroupController::setSortOf(ManagedObject* object, qint64 sort)
{
    if (auto* group = PTGroup::from(object))
        group->setSort(sort);
    else if (auto* set = PTCollection::from(object))
        set->setSort(sort);
}

QString PTGroupController::nameOf(ManagedObject* object)
{
    if (auto* group = PTGroup::from(object))
        return group->name();
    if (auto* set = PTCollection::from(object))
        return set->name();
    return {};
}

void PTGroupController::link(ManagedObject* object, PTGroup* parent)
{
    if (auto* group = PTGroup::from(object))
        group->setGroup(parent);
    else if (auto* set = PTCollection::from(object))
        set->setGroup(parent);
}

void PTGroupController::renumber(const Children& children)
{
    for (int i = 0; i < children.size(); ++i)
        setSortOf(children[i], i);
}

PTGroupController::Children PTGroupController::loadChildren(PTGroup* group)
{
    Children children;
    if (group) {
        for (PTGroup* child : group->groups())
            children.append(child);
        for (PTCollection* set : group->sets()) {
            if (!removals_.contains(set))
                children.append(set);
        }
    } else {
        for (PTGroup* child : groups()) {
            if (!child->group() && !child->isDeleted())
                children.append(child);
        }
        for (PTCollection* set : PTCollectionController::sharedController().collections()) {
            if (!set->group() && !removals_.contains(set))
                children.append(set);
        }
    }
    sortBySort(children);
    return children;
}

PTGroupController::Children PTGroupController::objectsForGroup(PTGroup* group, bool forceReload)
{
    if (!forceReload) {
        const auto cached = tree_.constFind(group);
        if (cached != tree_.constEnd())
            return *cached;
    }
    Children children = loadChildren(group);
    tree_.insert(group, children);
    return children;
}

QVector<PTGroup*> PTGroupController::groups()
{
    if (!groups_) {
        pt::store::ObjectContext* context = PTMainManagedObjectContext();
        if (!context)
            return {};
        const auto fetched = context->fetch({PTGroup::EntityName});
        if (!fetched) {
            qCWarning(lcLibrary).noquote() << fetched.error().toString();
            return {};
        }
        QVector<PTGroup*> list;
        for (ManagedObject* object : *fetched)
            list.append(PTGroup::from(object));
        groups_ = list;
    }
    return *groups_;
}

PTGroup* PTGroupController::createGroupWithName(const QString& name, PTGroup* parent, qint64 index)
{
    pt::store::ObjectContext* context = PTMainManagedObjectContext();
    if (!context)
        return nullptr;
    groups();
    PTGroup* group = PTGroup::insert(*context);
    group->setName(name.isNull() ? QCoreApplication::translate("PTGroupController", "Untitled Group") : name);
    group->setSort(std::numeric_limits<qint32>::max());
    if (groups_)
        groups_->append(group);
    group->setGroup(parent);
    const Children reloaded = revalidateGroupSorting(parent);
    group->setSort(reloaded.size() + 1);
    Children children = objectsForGroup(parent, true);
    if (index >= 0 && index < children.size() - 1) {
        children.removeAll(group);
        children.insert(index, group);
        renumber(children);
        objectsForGroup(parent, true);
    }
    PTSaveManagedObjectContext();
    return group;
}

bool PTGroupController::moveObject(ManagedObject* object, PTGroup* target, qint64 index)
{
    if (auto* set = PTCollection::from(object); set && !set->moveable())
        return false;
    if (target && target->selfAndAncestors().contains(PTGroup::from(object))) {
        qCWarning(lcLibrary) << "a group cannot move into itself or a group below it";
        return false;
    }
    if (index < 0 || index == std::numeric_limits<qint64>::max())
        index = 0;
    PTGroup* oldParent = parentOf(object);
    link(object, nullptr);

    Children children = objectsForGroup(target);
    link(object, target);
    qint64 insertion = std::min<qint64>(index, children.size());
    const qint64 current = children.indexOf(object);
    if (current >= 0) {
        if (insertion > current)
            --insertion;
        children.move(current, insertion);
    } else {
        children.insert(insertion, object);
    }
    renumber(children);

    objectsForGroup(oldParent, true);
    if (oldParent != target)
        objectsForGroup(target, true);
    PTSaveManagedObjectContext();
    return true;
}

PTGroup* PTGroupController::groupItems(const Children& objects)
{
    ManagedObject* proposed = nullptr;
    PTGroup* place = topLevelGroup(objects, &proposed);
    if (!proposed)
        return nullptr;
    if (place)
        revalidateGroupSorting(place);
    Children siblings = objectsForGroup(place);
    const qint64 position = std::max<qint64>(0, siblings.indexOf(proposed));

    PTGroup* group = createGroupWithName(QString(), nullptr);
    if (!group)
        return nullptr;
    siblings.insert(position, group);
    group->setGroup(place);
    for (ManagedObject* object : objects) {
        if (auto* set = PTCollection::from(object); set && !set->moveable())
            continue;
        link(object, group);
        siblings.removeAll(object);
    }
    renumber(siblings);

    if (auto obtained = group->context()->obtainPermanentIDs({group}); !obtained)
        qCWarning(lcLibrary).noquote() << obtained.error().toString();
    objectsForGroup(group, true);
    objectsForGroup(place, true);
    PTCollectionController::sharedController().purgeAndNotify({});
    return group;
}

PTGroupController::Children PTGroupController::ungroupItems(const QVector<PTGroup*>& groups)
{
    Children children;
    for (PTGroup* group : groups)
        children += ungroup(group, false);
    PTCollectionController::sharedController().purgeAndNotify({});
    return children;
}

PTGroupController::Children PTGroupController::ungroup(PTGroup* group, bool purge)
{
    PTGroup* parent = group->group();
    const Children children = objectsForGroup(group);
    const Children siblings = revalidateGroupSorting(parent);
    const qint64 position = siblings.indexOf(group);
    for (qint64 j = position + 1; j < siblings.size(); ++j)
        setSortOf(siblings[j], children.size() + j - 1);
    for (qint64 m = 0; m < children.size(); ++m) {
        link(children[m], parent);
        setSortOf(children[m], position + m);
    }
    removeGroup(group);
    group->context()->deleteObject(group);
    revalidateGroupSorting(parent);
    if (purge)
        PTCollectionController::sharedController().purgeAndNotify({});
    return children;
}

void PTGroupController::sortGroupByName(PTGroup* group)
{
    Children children = objectsForGroup(group);
    std::stable_sort(children.begin(), children.end(), [](ManagedObject* a, ManagedObject* b) {
        return QString::compare(nameOf(a), nameOf(b), Qt::CaseInsensitive) < 0;
    });
    renumber(children);
    objectsForGroup(group, true);
}

PTGroupController::Children PTGroupController::revalidateGroupSorting(PTGroup* group)
{
    renumber(objectsForGroup(group));
    return objectsForGroup(group, true);
}

void PTGroupController::purgeGroup(PTGroup* group)
{
    objectsForGroup(group, true);
    revalidateGroupSorting(group);
}

void PTGroupController::purge()
{
    tree_.clear();
    groups_.reset();
}

void PTGroupController::removeGroup(PTGroup* group)
{
    PTGroup* parent = group->group();
    group->setGroup(nullptr);
    if (groups_)
        groups_->removeAll(group);
    tree_.remove(group);
    objectsForGroup(parent, true);
}

void PTGroupController::removeGroupFromMenuItem(ManagedObject* object)
{
    if (PTGroup* group = PTGroup::from(object))
        removeGroup(group);
}

void PTGroupController::removeReferenceToGroup(PTGroup* group)
{
    if (groups_)
        groups_->removeAll(group);
}

void PTGroupController::adopt(const QVector<PTGroup*>& groups)
{
    pt::store::ObjectContext* context = PTMainManagedObjectContext();
    this->groups();
    if (!groups_)
        return;
    for (PTGroup* group : groups) {
        if (group->context() != context || group->isDeleted())
            continue;
        if (!groups_->contains(group))
            groups_->append(group);
        objectsForGroup(group->group(), true);
        objectsForGroup(group, true);
    }
}

void PTGroupController::removeCollection(PTCollection* set)
{
    PTGroup* group = set->group();
    set->setGroup(nullptr);
    if (!removals_.contains(set))
        removals_.append(set);
    purgeGroup(group);
}

void PTGroupController::purgeRemovalOfCollections()
{
    removals_.clear();
}

QVector<PTCollection*> PTGroupController::collectionsForGroup(PTGroup* group)
{
    Children children;
    for (PTGroup* child : group->groups())
        children.append(child);
    for (PTCollection* set : group->sets())
        children.append(set);
    sortBySort(children);
    QVector<PTCollection*> sets;
    for (ManagedObject* child : children) {
        if (auto* set = PTCollection::from(child))
            sets.append(set);
        else
            sets += collectionsForGroup(PTGroup::from(child));
    }
    return sets;
}

bool PTGroupController::isChildOfGroup(ManagedObject* object, PTGroup* group, bool recursive)
{
    if (!group)
        return false;
    const Children children = objectsForGroup(group);
    if (children.contains(object))
        return true;
    if (!recursive)
        return false;
    return std::any_of(children.begin(), children.end(), [&](ManagedObject* child) {
        PTGroup* inner = PTGroup::from(child);
        return inner && isChildOfGroup(object, inner, true);
    });
}

bool PTGroupController::isInception(const Children& objects)
{
    for (ManagedObject* candidate : objects) {
        PTGroup* group = PTGroup::from(candidate);
        if (!group)
            continue;
        for (ManagedObject* object : objects) {
            if (object != group && isChildOfGroup(object, group, true))
                return true;
        }
    }
    return false;
}

PTGroup* PTGroupController::topLevelGroup(const Children& objects, ManagedObject** proposed)
{
    ManagedObject* best = nullptr;
    int bestDepth = std::numeric_limits<int>::max();
    for (ManagedObject* object : objects) {
        const int depth = depthForItem(object);
        if (depth < bestDepth) {
            best = object;
            bestDepth = depth;
        }
    }
    if (proposed)
        *proposed = best;
    return best ? parentOf(best) : nullptr;
}

int PTGroupController::depthForItem(ManagedObject* object) const
{
    PTGroup* parent = parentOf(object);
    return parent ? int(parent->selfAndAncestors().size()) : 0;
}

bool PTGroupController::hasParentGroup(ManagedObject* object, PTGroup* group)
{
    if (!group)
        return false;
    if (object == group)
        return true;
    PTGroup* parent = parentOf(object);
    return parent && parent->selfAndAncestors().contains(group);
}

PTGroup* PTGroupController::groupWithURL(const QString& uri)
{
    return PTGroup::from(PTMainContextObjectWithURIString(uri));
}

void PTGroupController::menuForGroup(PTGroup* group, const QString& action, PTMenuBuilder& menu)
{
    for (ManagedObject* child : objectsForGroup(group)) {
        if (auto* inner = PTGroup::from(child))
            menuForGroup(inner, action, menu.addSubmenuItem(inner->name(), action, inner));
        else
            menu.addItem(nameOf(child), action, child);
    }
}
