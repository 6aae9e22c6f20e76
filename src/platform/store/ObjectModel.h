#pragma once

#include "platform/store/EntityDescription.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace pt::store {

// A version of the object model: its entities with their relationships resolved, a name stored in the
// store's metadata, a version number (the store's user_version) and a hash that decides compatibility.
class ObjectModel {
public:
    ObjectModel(QString name, int version, std::vector<EntityDescription> entities);
    ObjectModel(const ObjectModel&) = delete;
    ObjectModel& operator=(const ObjectModel&) = delete;

    const QString& name() const { return name_; }
    int version() const { return version_; }
    const std::vector<std::unique_ptr<EntityDescription>>& entities() const { return entities_; }
    const EntityDescription* entity(const QString& name) const;

    // SHA-1 (hex) of a canonical text of entities, attributes, types and relationships: two models with the
    // same hash read and write the same tables.
    QString hash() const { return hash_; }
    // CREATE TABLE and CREATE INDEX statements of the entities' tables.
    QStringList schemaStatements() const;

private:
    QString name_;
    int version_;
    std::vector<std::unique_ptr<EntityDescription>> entities_;
    QString hash_;
};

} // namespace pt::store
