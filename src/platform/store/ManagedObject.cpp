#include "platform/store/ManagedObject.h"

#include "platform/runtime/Logging.h"
#include "platform/store/ObjectContext.h"

#include <QDateTime>

namespace pt::store {

ManagedObject::~ManagedObject() = default;

int ManagedObject::attributeOrDie(const QString& key) const
{
    const int index = entity_->attributeIndex(key);
    Q_ASSERT_X(index >= 0, "ManagedObject", qPrintable(entity_->name() + QStringLiteral(" has no attribute ") + key));
    return index;
}

int ManagedObject::relationshipOrDie(const QString& key) const
{
    const int index = entity_->relationshipIndex(key);
    Q_ASSERT_X(index >= 0, "ManagedObject", qPrintable(entity_->name() + QStringLiteral(" has no relationship ") + key));
    return index;
}

bool ManagedObject::fulfil() const
{
    if (fault_)
        return context_->fireFault(const_cast<ManagedObject*>(this));
    return true;
}

bool ManagedObject::isUpdated() const
{
    if (inserted_ || deleted_)
        return false;
    for (auto it = originalValues_.cbegin(); it != originalValues_.cend(); ++it)
        if (values_[it.key()] != it.value())
            return true;
    for (auto it = originalKeys_.cbegin(); it != originalKeys_.cend(); ++it) {
        const ManagedObject* target = targets_[it.key()];
        if ((target ? target->id_.primaryKey() : 0) != it.value() || (target && target->id_.isTemporary()))
            return true;
    }
    return false;
}

QVariant ManagedObject::attributeValue(int attribute) const
{
    fulfil();
    return values_.value(attribute);
}

ObjectID ManagedObject::targetID(int relationship) const
{
    fulfil();
    const ManagedObject* target = targets_.value(relationship);
    return target ? target->id_ : ObjectID();
}

QVariant ManagedObject::value(const QString& key) const
{
    return attributeValue(attributeOrDie(key));
}

QVariant ManagedObject::primitiveValue(const QString& key) const
{
    return value(key);
}

void ManagedObject::setValue(const QString& key, const QVariant& value)
{
    const int index = attributeOrDie(key);
    fulfil();
    setAttribute(index, value, true);
}

void ManagedObject::setPrimitiveValue(const QString& key, const QVariant& value)
{
    const int index = attributeOrDie(key);
    fulfil();
    setAttribute(index, value, false);
}

void ManagedObject::willChangeValue(const QString&)
{
    // Observers are told after the change; nothing is kept from before it.
}

void ManagedObject::didChangeValue(const QString& key)
{
    notify(key);
}

QVariant ManagedObject::normalized(int attribute, QVariant value) const
{
    if (!value.isValid() || value.isNull())
        return {};
    static const int stored[] = {QMetaType::QString, QMetaType::LongLong, QMetaType::Double, QMetaType::QDateTime,
                                 QMetaType::Bool};
    const AttributeType type = entity_->attributes()[attribute].type;
    if (value.typeId() == stored[int(type)] && type != AttributeType::Date)
        return value;
    switch (type) {
    case AttributeType::String:
        return value.toString();
    case AttributeType::Int64:
        return qlonglong(value.toLongLong());
    case AttributeType::Double:
        return value.toDouble();
    case AttributeType::Date:
        return value.toDateTime().toUTC();
    case AttributeType::Bool:
        return value.toBool();
    }
    return {};
}

void ManagedObject::setAttribute(int attribute, QVariant value, bool notifyObservers)
{
    value = normalized(attribute, std::move(value));
    if (values_[attribute] == value && values_[attribute].isValid() == value.isValid())
        return;
    if (!inserted_ && !originalValues_.contains(attribute))
        originalValues_.insert(attribute, values_[attribute]);
    values_[attribute] = std::move(value);
    context_->markChanged(this);
    if (notifyObservers)
        notify(entity_->attributes()[attribute].name);
}

ManagedObject* ManagedObject::toOne(const QString& key) const
{
    const int index = relationshipOrDie(key);
    Q_ASSERT(entity_->relationships()[index].hasColumn());
    fulfil();
    return targets_[index];
}

void ManagedObject::setToOne(const QString& key, ManagedObject* target)
{
    const int index = relationshipOrDie(key);
    Q_ASSERT(entity_->relationships()[index].hasColumn());
    Q_ASSERT(!target || (target->context_ == context_ && target->entity_ == entity_->target(index)));
    fulfil();
    setTarget(index, target, true);
}

void ManagedObject::setTarget(int relationship, ManagedObject* target, bool notifyObservers)
{
    ManagedObject* old = targets_[relationship];
    if (old == target)
        return;
    if (!inserted_ && !originalKeys_.contains(relationship))
        originalKeys_.insert(relationship, old && !old->id_.isTemporary() ? old->id_.primaryKey() : 0);
    targets_[relationship] = target;
    const int inverse = entity_->inverseIndex(relationship);
    const QString& inverseKey = entity_->target(relationship)->relationships()[inverse].name;
    if (QVector<ManagedObject*>* members = old ? old->loadedMembers(inverse) : nullptr) {
        members->removeAll(this);
        if (notifyObservers)
            old->notify(inverseKey);
    }
    if (QVector<ManagedObject*>* members = target ? target->loadedMembers(inverse) : nullptr;
        members && !members->contains(this)) {
        members->append(this);
        if (notifyObservers)
            target->notify(inverseKey);
    }
    context_->markChanged(this);
    if (notifyObservers)
        notify(entity_->relationships()[relationship].name);
}

QVector<ManagedObject*> ManagedObject::toMany(const QString& key) const
{
    const int index = relationshipOrDie(key);
    Q_ASSERT(entity_->relationships()[index].toMany);
    auto* self = const_cast<ManagedObject*>(this);
    if (!self->loadedMembers(index))
        context_->loadMembers(self, index);
    const QVector<ManagedObject*>* members = self->loadedMembers(index);
    return members ? *members : QVector<ManagedObject*>();
}

void ManagedObject::addTo(const QString& key, ManagedObject* member)
{
    const int index = relationshipOrDie(key);
    member->setToOne(entity_->target(index)->relationships()[entity_->inverseIndex(index)].name, this);
}

void ManagedObject::removeFrom(const QString& key, ManagedObject* member)
{
    const int index = relationshipOrDie(key);
    const QString inverse = entity_->target(index)->relationships()[entity_->inverseIndex(index)].name;
    if (member->toOne(inverse) == this)
        member->setToOne(inverse, nullptr);
}

QVariantMap ManagedObject::changedValues() const
{
    QVariantMap changed;
    if (inserted_) {
        for (int i = 0; i < values_.size(); ++i)
            if (values_[i].isValid())
                changed.insert(entity_->attributes()[i].name, values_[i]);
        for (int i = 0; i < targets_.size(); ++i)
            if (targets_[i])
                changed.insert(entity_->relationships()[i].name, QVariant::fromValue(targets_[i]));
        return changed;
    }
    for (auto it = originalValues_.cbegin(); it != originalValues_.cend(); ++it)
        if (values_[it.key()] != it.value())
            changed.insert(entity_->attributes()[it.key()].name, values_[it.key()]);
    for (auto it = originalKeys_.cbegin(); it != originalKeys_.cend(); ++it) {
        ManagedObject* target = targets_[it.key()];
        if ((target ? target->id_.primaryKey() : 0) != it.value())
            changed.insert(entity_->relationships()[it.key()].name, QVariant::fromValue(target));
    }
    return changed;
}

void ManagedObject::load(const StoreRow& row)
{
    opt_ = row.opt;
    // Shares the row's values until the first edit; a resize to the same size would copy them at once.
    values_ = row.values;
    if (values_.size() != entity_->attributes().size())
        values_.resize(entity_->attributes().size());
    for (int i = 0; i < entity_->relationships().size(); ++i) {
        targets_[i] = targetWithKey(i, row.keys.value(i));
    }
    fault_ = false;
}

void ManagedObject::makeFault()
{
    fault_ = true;
    clearChanges();
    values_.fill(QVariant());
    members_.clear();
}

void ManagedObject::setMembers(int relationship, QVector<ManagedObject*> members)
{
    if (members_.empty())
        members_.resize(size_t(entity_->relationships().size()));
    members_[size_t(relationship)] = std::move(members);
}

ManagedObject* ManagedObject::targetWithKey(int relationship, qint64 key) const
{
    return key ? context_->objectWithID(context_->coordinator()->idFor(entity_->target(relationship), key)) : nullptr;
}

StoreRow ManagedObject::currentRow() const
{
    StoreRow row;
    row.opt = opt_;
    row.values = values_;
    row.keys.resize(targets_.size(), 0);
    for (int i = 0; i < targets_.size(); ++i)
        if (targets_[i])
            row.keys[i] = targets_[i]->id_.primaryKey();
    return row;
}

StoreRow ManagedObject::committedRow() const
{
    StoreRow row = currentRow();
    for (auto it = originalValues_.cbegin(); it != originalValues_.cend(); ++it)
        row.values[it.key()] = it.value();
    for (auto it = originalKeys_.cbegin(); it != originalKeys_.cend(); ++it)
        row.keys[it.key()] = it.value();
    return row;
}

void ManagedObject::notify(const QString& key)
{
    if (observers_.empty())
        return;
    std::erase_if(observers_, [](const auto& observer) { return !observer->active; });
    const auto observers = observers_;
    for (const auto& observer : observers)
        if (observer->active && observer->key == key)
            observer->callback(this, key);
}

} // namespace pt::store
