#pragma once

#include "platform/store/AttributeDescription.h"
#include "platform/store/RelationshipDescription.h"

#include <QStringList>
#include <QVector>

#include <functional>
#include <memory>

namespace pt::store {

class ManagedObject;
class ObjectModel;

// An entity of the model: a table with `pk INTEGER PRIMARY KEY`, `opt` (the row version for optimistic
// locking), one column per attribute and one per to-one relationship that owns its key. Instances are made by
// the factory, so that an entity can have a typed subclass of ManagedObject.
class EntityDescription {
public:
    using Factory = std::function<std::unique_ptr<ManagedObject>()>;

    EntityDescription(QString name, QVector<AttributeDescription> attributes,
                      QVector<RelationshipDescription> relationships, Factory factory = {});

    const QString& name() const { return name_; }
    const QVector<AttributeDescription>& attributes() const { return attributes_; }
    const QVector<RelationshipDescription>& relationships() const { return relationships_; }
    QStringList attributeKeys() const;

    // -1 when the entity has no attribute (relationship) of that name.
    int attributeIndex(const QString& name) const;
    int relationshipIndex(const QString& name) const;

    // Resolved by the model: the target entity and the index of the inverse relationship in it.
    const EntityDescription* target(int relationship) const { return targets_.at(relationship); }
    int inverseIndex(int relationship) const { return inverses_.at(relationship); }
    const ObjectModel* model() const { return model_; }

    std::unique_ptr<ManagedObject> instantiate() const;

private:
    friend class ObjectModel;

    QString name_;
    QVector<AttributeDescription> attributes_;
    QVector<RelationshipDescription> relationships_;
    QVector<const EntityDescription*> targets_;
    QVector<int> inverses_;
    Factory factory_;
    const ObjectModel* model_ = nullptr;
};

} // namespace pt::store
