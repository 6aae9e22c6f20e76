#pragma once

#include "platform/store/ObjectContext.h"
#include "platform/store/ObjectID.h"

#include <QVector>

#include <mutex>

// Collects links between objects made in separate worker contexts (by permanent ID) and applies them in one pass
// in another context. Recording is safe from any thread.
class PTImporter2Relations {
public:
    enum Type {
        SetToGroup = 0,
        GroupToParentGroup = 1,
        ItemToSet = 2,
        ItemToLicence = 3,
        SetToLicence = 4,
    };

    void addRelationshipBetween(const pt::store::ObjectID& object, const pt::store::ObjectID& target, Type type);
    // Sets both sides of every recorded link whose two objects exist in the context. A group is never put
    // inside itself or below itself: such a link (a hostile or broken bundle) is dropped.
    void propagateRelationshipsIntoContext(pt::store::ObjectContext& context) const;
    // The same for the recorded links from `first`, at most `count` of them (in the order they were recorded), so
    // that a long pass can be spread over several turns of the context's queue.
    void propagateRelationshipsIntoContext(pt::store::ObjectContext& context, qsizetype first, qsizetype count) const;
    qsizetype relationshipCount() const;

private:
    struct Relation {
        pt::store::ObjectID object;
        pt::store::ObjectID target;
        Type type;
    };

    mutable std::mutex mutex_;
    QVector<Relation> relations_;
};
