#include "platform/store/PredicateArgument.h"

#include "platform/store/ManagedObject.h"

namespace pt::store {

PredicateArgument::PredicateArgument(const ManagedObject* object)
{
    if (object)
        value_ = object->objectID();
}

ObjectID PredicateArgument::idOf(const ManagedObject* object)
{
    return object ? object->objectID() : ObjectID();
}

} // namespace pt::store
