#include "app/scripting/ScriptableLookup.h"

#include "library/store/ContextAdditions.h"
#include "library/store/PTStoreFunctions.h"

namespace scriptableLookup {

pt::store::ManagedObject* objectWithURI(const QString& uri)
{
    pt::store::ObjectContext* context = PTMainManagedObjectContext();
    if (!context || uri.isEmpty())
        return nullptr;
    const QVector<pt::store::ManagedObject*> found = contextAdditions::validatedObjectsWithURIStrings(*context, {uri});
    return found.isEmpty() ? nullptr : found.first();
}

qint64 sortOf(const pt::store::ManagedObject* object)
{
    const QVariant sort = object->value(QStringLiteral("sort"));
    return sort.isValid() && !sort.isNull() ? sort.toLongLong() : -1;
}

} // namespace scriptableLookup
