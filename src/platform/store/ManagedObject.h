#pragma once

#include "platform/store/EntityDescription.h"
#include "platform/store/ObjectID.h"
#include "platform/store/ObservationToken.h"
#include "platform/store/StoreRow.h"
#include "platform/store/ValueSource.h"

#include <QHash>
#include <QVarLengthArray>
#include <QVariant>
#include <QVariantMap>
#include <QVector>

#include <functional>
#include <optional>
#include <vector>

namespace pt::store {

class ObjectContext;

// An object of a context. A fault until a value is read; then it holds its row's values, the original values
// of what was changed since, and the objects it points at. Relationships keep their inverses: setting a
// to-one updates the loaded to-many of the old and the new target. Objects belong to their context and are
// used on its thread only; the context owns them, and pointers stay valid until the context is reset.
class ManagedObject : public ValueSource {
public:
    using Observer = std::function<void(ManagedObject* object, const QString& key)>;

    ManagedObject() = default;
    ManagedObject(const ManagedObject&) = delete;
    ManagedObject& operator=(const ManagedObject&) = delete;
    ~ManagedObject() override;

    const ObjectID& objectID() const { return id_; }
    ObjectContext* context() const { return context_; }
    const EntityDescription& entity() const { return *entity_; }

    bool isFault() const { return fault_; }
    bool isDeleted() const { return deleted_; }
    bool isInserted() const { return inserted_ && !deleted_; }
    // Changed since it was read or saved (values compared with those it was read with).
    bool isUpdated() const;

    // Attribute values by key, with change notification on set. Values are kept in the attribute's own type.
    QVariant value(const QString& key) const;
    void setValue(const QString& key, const QVariant& value);
    // The same without notification.
    QVariant primitiveValue(const QString& key) const;
    void setPrimitiveValue(const QString& key, const QVariant& value);
    void willChangeValue(const QString& key);
    void didChangeValue(const QString& key);

    ManagedObject* toOne(const QString& key) const;
    void setToOne(const QString& key, ManagedObject* target);
    // The members of a to-many relationship, in primary-key order (unsaved ones last), loaded on first use.
    QVector<ManagedObject*> toMany(const QString& key) const;
    void addTo(const QString& key, ManagedObject* member);
    void removeFrom(const QString& key, ManagedObject* member);

    // The changed attributes (and to-one relationships, as ManagedObject*) with their new values.
    QVariantMap changedValues() const;
    // Fires the fault (reads the row); answers false when the row no longer exists.
    bool fulfil() const;

    ObjectID selfID() const override { return id_; }
    QVariant attributeValue(int attribute) const override;
    ObjectID targetID(int relationship) const override;

private:
    friend class ObjectContext;
    struct KeyObserver : ObservationToken::Record {
        QString key;
        Observer callback;
    };

    void load(const StoreRow& row);
    void makeFault();
    void setAttribute(int attribute, QVariant value, bool notify);
    void setTarget(int relationship, ManagedObject* target, bool notify);
    ManagedObject* targetWithKey(int relationship, qint64 key) const;
    // The members of a to-many relationship once they are loaded (or known), else null.
    QVector<ManagedObject*>* loadedMembers(int relationship)
    {
        const auto index = size_t(relationship);
        return index < members_.size() && members_[index] ? &*members_[index] : nullptr;
    }
    void setMembers(int relationship, QVector<ManagedObject*> members);
    void notify(const QString& key);
    StoreRow currentRow() const;
    StoreRow committedRow() const;
    void clearChanges() { originalValues_.clear(); originalKeys_.clear(); }
    QVariant normalized(int attribute, QVariant value) const;
    int attributeOrDie(const QString& key) const;
    int relationshipOrDie(const QString& key) const;

    ObjectContext* context_ = nullptr;
    const EntityDescription* entity_ = nullptr;
    ObjectID id_;
    bool fault_ = true;
    bool inserted_ = false;
    bool deleted_ = false;
    qint64 opt_ = 0;
    QVector<QVariant> values_; // empty in a fault that was never loaded
    QVarLengthArray<ManagedObject*, 4> targets_; // by relationship, inline as there are few
    // By relationship; empty until the first to-many is loaded, as most objects never load one.
    std::vector<std::optional<QVector<ManagedObject*>>> members_;
    QHash<int, QVariant> originalValues_;
    QHash<int, qint64> originalKeys_;
    std::vector<std::shared_ptr<KeyObserver>> observers_;
};

} // namespace pt::store

Q_DECLARE_METATYPE(pt::store::ManagedObject*)
