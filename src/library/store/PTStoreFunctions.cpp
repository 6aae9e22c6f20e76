#include "library/store/PTStoreFunctions.h"

#include "library/store/ContextAdditions.h"
#include "library/store/PTStoreStack.h"
#include "platform/runtime/Logging.h"

pt::store::ObjectContext* PTMainManagedObjectContext()
{
    PTStoreStack* stack = PTStoreStack::shared();
    if (!stack) {
        qCWarning(lcLibrary) << "no store host installed";
        return nullptr;
    }
    return stack->managedObjectContext();
}

pt::store::ManagedObject* PTMainContextObjectWithURIString(const QString& uri)
{
    pt::store::ObjectContext* context = PTMainManagedObjectContext();
    if (!context)
        return nullptr;
    const auto objects = contextAdditions::validatedObjectsWithURIStrings(*context, {uri});
    return objects.isEmpty() ? nullptr : objects.first();
}

bool PTHasManagedObjectContext()
{
    PTStoreStack* stack = PTStoreStack::shared();
    return stack && stack->hasManagedObjectContext();
}

pt::store::ObjectContext* PTPrivateManagedObjectContext()
{
    PTStoreStack* stack = PTStoreStack::shared();
    return stack ? stack->privateManagedObjectContext() : nullptr;
}

bool PTSaveManagedObjectContext()
{
    return PTSaveManagedObjectContextWithCompletion({});
}

bool PTSaveManagedObjectContextWithCompletion(std::function<void(const pt::Error& error)> completion)
{
    PTStoreStack* stack = PTStoreStack::shared();
    if (!stack) {
        qCWarning(lcLibrary) << "no store host installed";
        if (completion)
            pt::DispatchQueue::main().async([completion] { completion(PTStoreStack::initializeError()); });
        return true;
    }
    stack->save(std::move(completion));
    return true;
}
