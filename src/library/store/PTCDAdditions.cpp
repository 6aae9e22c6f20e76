#include "library/store/PTCDAdditions.h"

#include "platform/runtime/Logging.h"
#include "platform/store/ObjectContext.h"

namespace PTCDAdditions {

QString persistentURLString(pt::store::ManagedObject* object)
{
    if (object->objectID().isTemporary()) {
        if (auto r = object->context()->obtainPermanentIDs({object}); !r) {
            qCWarning(lcLibrary).noquote() << r.error().toString();
            return {};
        }
    }
    return object->objectID().uriString();
}

void setRawValue(pt::store::ManagedObject* object, const QVariant& value, const QString& key)
{
    object->willChangeValue(key);
    object->setPrimitiveValue(key, value);
    object->didChangeValue(key);
}

} // namespace PTCDAdditions
