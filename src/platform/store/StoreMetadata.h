#pragma once

#include <QString>

namespace pt::store {

// What a store says about itself, readable without opening it for writing.
struct StoreMetadata {
    QString storeUuid;
    QString modelName;
    QString modelHash;
    int version = 0; // user_version
    QString created;
};

} // namespace pt::store
