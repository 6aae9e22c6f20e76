#include "platform/store/EntityDescription.h"

#include "platform/store/ManagedObject.h"

namespace pt::store {

EntityDescription::EntityDescription(QString name, QVector<AttributeDescription> attributes,
                                     QVector<RelationshipDescription> relationships, Factory factory)
    : name_(std::move(name))
    , attributes_(std::move(attributes))
    , relationships_(std::move(relationships))
    , factory_(std::move(factory))
{
    // Change sets track changed properties in 64-bit masks.
    Q_ASSERT(attributes_.size() <= 64 && relationships_.size() <= 64);
}

// A scan beats hashing the key: entities have a handful of properties, and most names differ in length.
int EntityDescription::attributeIndex(const QString& name) const
{
    for (int i = 0; i < attributes_.size(); ++i)
        if (attributes_[i].name == name)
            return i;
    return -1;
}

int EntityDescription::relationshipIndex(const QString& name) const
{
    for (int i = 0; i < relationships_.size(); ++i)
        if (relationships_[i].name == name)
            return i;
    return -1;
}

QStringList EntityDescription::attributeKeys() const
{
    QStringList keys;
    for (const auto& attribute : attributes_)
        keys << attribute.name;
    return keys;
}

std::unique_ptr<ManagedObject> EntityDescription::instantiate() const
{
    if (factory_)
        return factory_();
    return std::make_unique<ManagedObject>();
}

} // namespace pt::store
