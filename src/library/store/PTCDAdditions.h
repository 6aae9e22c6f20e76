#pragma once

#include "platform/store/ManagedObject.h"

// Extra operations on any object of the store.
namespace PTCDAdditions {

// The URI string of the object's permanent ID, obtaining one first when the object is new, so that the
// string resolves once the object is saved. Empty when no permanent ID can be had.
QString persistentURLString(pt::store::ManagedObject* object);
// Stores the value without going through a typed setter, with change notification.
void setRawValue(pt::store::ManagedObject* object, const QVariant& value, const QString& key);

} // namespace PTCDAdditions
