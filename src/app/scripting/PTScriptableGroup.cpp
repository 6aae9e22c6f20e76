#include "app/scripting/PTScriptableGroup.h"

#include "app/scripting/ScriptableLookup.h"
#include "library/controllers/PTGroupController.h"
#include "library/entities/PTCollection.h"
#include "library/entities/PTGroup.h"

PTScriptableGroup PTScriptableGroup::scriptableGroupFromGroup(PTGroup* group)
{
    return {group->name(), scriptableLookup::sortOf(group), group->objectID().uriString()};
}

PTGroup* PTScriptableGroup::model() const
{
    return dynamic_cast<PTGroup*>(scriptableLookup::objectWithURI(UUID));
}

std::optional<PTScriptableGroup> PTScriptableGroup::group() const
{
    const PTGroup* group = model();
    PTGroup* parent = group ? group->group() : nullptr;
    if (!parent)
        return std::nullopt;
    return scriptableGroupFromGroup(parent);
}

QVector<PTScriptableGroup::Child> PTScriptableGroup::children() const
{
    QVector<Child> children;
    PTGroup* group = model();
    if (!group)
        return children;
    for (pt::store::ManagedObject* child : PTGroupController::sharedController().objectsForGroup(group)) {
        if (auto* collection = dynamic_cast<PTCollection*>(child))
            children.append(PTScriptableCollection::scriptableCollectionFromCollection(collection));
        else if (auto* subgroup = dynamic_cast<PTGroup*>(child))
            children.append(scriptableGroupFromGroup(subgroup));
    }
    return children;
}

QVector<PTScriptableGroup> PTScriptableGroup::groups() const
{
    QVector<PTScriptableGroup> groups;
    for (const Child& child : children()) {
        if (const auto* group = std::get_if<PTScriptableGroup>(&child))
            groups.append(*group);
    }
    return groups;
}

QVector<PTScriptableCollection> PTScriptableGroup::collections() const
{
    QVector<PTScriptableCollection> collections;
    if (PTGroup* group = model()) {
        for (PTCollection* collection : PTGroupController::sharedController().collectionsForGroup(group))
            collections.append(PTScriptableCollection::scriptableCollectionFromCollection(collection));
    }
    return collections;
}
