#pragma once

#include "platform/runtime/Error.h"
#include "platform/store/ObjectModel.h"

#include <QHash>

#include <functional>
#include <memory>

namespace pt::store {

class SqliteDatabase;

// One step from a model version to another. Every entity of the destination takes the rows of the source's
// entity of the same name, with the primary keys, the row versions and every column that both have; a policy
// then fills what the destination adds. Steps between a model and a superset of it (new entities, attributes,
// keys or indexes) need no registration: the migrator infers them.
struct MigrationStep {
    // Runs after the default copy of its entity, inside the step's transaction, on the destination database;
    // the source store is attached to it as the schema "source".
    using EntityPolicy = std::function<pt::Result<void>(SqliteDatabase& destination)>;

    std::shared_ptr<const ObjectModel> source;
    std::shared_ptr<const ObjectModel> destination;
    QHash<QString, EntityPolicy> policies; // by destination entity name
    // Runs once the migrated store has replaced the old one.
    std::function<void(const QString& storePath)> completed;
};

} // namespace pt::store
