#pragma once

#include <QHashFunctions>
#include <QString>

#include <optional>

namespace pt::store {

class EntityDescription;
class ObjectModel;

// The identity of an object: permanent ({entity, primary key, store UUID}) once its row has a key, temporary
// (a fresh UUID) until then. Permanent IDs travel between threads and contexts and print as stable URIs:
//   x-ptstore://<STORE-UUID>/<Entity>/p<pk>       temporary: x-ptstore:///<Entity>/t<UUID>
class ObjectID {
public:
    static inline const QString Scheme = QStringLiteral("x-ptstore");

    ObjectID() = default;
    static ObjectID permanent(const EntityDescription* entity, qint64 primaryKey, const QString& storeUuid);
    static ObjectID temporary(const EntityDescription* entity);

    bool isNull() const { return entity_ == nullptr; }
    bool isTemporary() const { return entity_ && primaryKey_ == 0; }
    const EntityDescription* entity() const { return entity_; }
    qint64 primaryKey() const { return primaryKey_; }
    const QString& storeUuid() const { return storeUuid_; }

    QString uriString() const;
    // "/PTItem/p42": the part that names the object within its store.
    QString uriPath() const;

    // Parses a permanent URI of the given store. Anything else (another scheme or store, an unknown entity, a
    // temporary or malformed key) gives nothing; nothing here looks at rows.
    static std::optional<ObjectID> fromUri(QStringView uri, const ObjectModel& model, const QString& storeUuid);

    friend bool operator==(const ObjectID& a, const ObjectID& b)
    {
        return a.primaryKey_ == b.primaryKey_ && a.entity_ == b.entity_ && a.temporaryKey_ == b.temporaryKey_
            && a.storeUuid_ == b.storeUuid_;
    }
    friend bool operator!=(const ObjectID& a, const ObjectID& b) { return !(a == b); }
    friend size_t qHash(const ObjectID& id, size_t seed = 0)
    {
        // Permanent IDs are told apart by entity and key; only temporary ones need their UUID.
        return qHashMulti(seed, id.entity_, id.primaryKey_, id.temporaryKey_);
    }

private:
    const EntityDescription* entity_ = nullptr;
    qint64 primaryKey_ = 0;
    // Unique in the process; printed as a UUID.
    quint64 temporaryKey_ = 0;
    QString storeUuid_;
};

} // namespace pt::store

template <>
struct std::hash<pt::store::ObjectID> {
    size_t operator()(const pt::store::ObjectID& id) const noexcept { return qHash(id); }
};
