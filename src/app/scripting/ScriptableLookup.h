#pragma once

#include <QString>

namespace pt::store {
class ManagedObject;
}

// How scripting proxies find stored objects and read their sort.
namespace scriptableLookup {

// The main context's object of the URI, through the validated look-up: null for garbage, another library's URI or
// a deleted object.
pt::store::ManagedObject* objectWithURI(const QString& uri);
// The object's "sort", or -1 when it was never set.
qint64 sortOf(const pt::store::ManagedObject* object);

} // namespace scriptableLookup
