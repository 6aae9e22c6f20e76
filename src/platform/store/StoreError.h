#pragma once

#include "platform/runtime/Error.h"

namespace pt::store {

inline const QString StoreErrorDomain = QStringLiteral("pt.store");

enum StoreErrorCode {
    StoreOpenFailed = 1,   // the file cannot be opened or is not a database
    StoreNotAStore = 2,    // a database that is not one of our stores
    StoreIncompatible = 3, // made by another model version
    StoreSqlFailed = 4,    // a statement failed (busy, I/O, constraint)
    StoreBadPredicate = 5, // a predicate that names unknown keys or cannot be compiled
    StoreNoCoordinator = 6,
    StoreMigrationFailed = 7, // no way from the store's model to the target, or a step failed
    StoreReadOnly = 8,        // the store opened for reading only: its file or folder cannot be written
};

inline pt::Error storeError(StoreErrorCode code, const QString& description)
{
    return pt::Error::withDescription(StoreErrorDomain, code, description);
}

} // namespace pt::store
