#include "app/scripting/PTScriptableCollection.h"

#include "app/scripting/PTScriptableGroup.h"
#include "app/scripting/ScriptableLookup.h"
#include "library/entities/PTCollection.h"
#include "library/entities/PTGroup.h"

PTScriptableCollection PTScriptableCollection::scriptableCollectionFromCollection(PTCollection* collection)
{
    return {collection->name(), scriptableLookup::sortOf(collection), collection->objectID().uriString()};
}

PTCollection* PTScriptableCollection::model() const
{
    return dynamic_cast<PTCollection*>(scriptableLookup::objectWithURI(UUID));
}

std::optional<PTScriptableGroup> PTScriptableCollection::group() const
{
    const PTCollection* collection = model();
    PTGroup* parent = collection ? collection->group() : nullptr;
    if (!parent)
        return std::nullopt;
    return PTScriptableGroup::scriptableGroupFromGroup(parent);
}
