#include "library/bundle/PTImporter2Relations.h"

#include "library/entities/PTCollection.h"
#include "library/entities/PTGroup.h"
#include "library/entities/PTItem.h"
#include "library/entities/PTLicence.h"
#include "library/store/ContextAdditions.h"

namespace {

bool isSameOrAncestor(PTGroup* group, PTGroup* of)
{
    return of && of->selfAndAncestors().contains(group);
}

} // namespace

void PTImporter2Relations::addRelationshipBetween(const pt::store::ObjectID& object, const pt::store::ObjectID& target,
                                                  Type type)
{
    std::lock_guard lock(mutex_);
    relations_.append({object, target, type});
}

void PTImporter2Relations::propagateRelationshipsIntoContext(pt::store::ObjectContext& context) const
{
    propagateRelationshipsIntoContext(context, 0, relationshipCount());
}

qsizetype PTImporter2Relations::relationshipCount() const
{
    std::lock_guard lock(mutex_);
    return relations_.size();
}

void PTImporter2Relations::propagateRelationshipsIntoContext(pt::store::ObjectContext& context, qsizetype first,
                                                             qsizetype count) const
{
    std::lock_guard lock(mutex_);
    const QVector<Relation> relations = relations_.mid(first, count);
    QVector<pt::store::ObjectID> ids;
    ids.reserve(relations.size() * 2);
    for (const Relation& relation : relations)
        ids << relation.object << relation.target;
    contextAdditions::loadObjectsWithIDs(context, ids);
    for (const Relation& relation : relations) {
        pt::store::ManagedObject* object = context.existingObjectWithID(relation.object);
        pt::store::ManagedObject* target = context.existingObjectWithID(relation.target);
        if (!object || !target)
            continue;
        switch (relation.type) {
        case SetToGroup:
            if (PTCollection* set = PTCollection::from(object); set && PTGroup::from(target))
                set->setGroup(PTGroup::from(target));
            break;
        case GroupToParentGroup: {
            PTGroup* group = PTGroup::from(object);
            PTGroup* parent = PTGroup::from(target);
            if (group && parent && !isSameOrAncestor(group, parent))
                group->setGroup(parent);
            break;
        }
        case ItemToSet:
            if (PTItem* item = PTItem::from(object); item && PTCollection::from(target))
                item->setCollection(PTCollection::from(target));
            break;
        case ItemToLicence:
            if (PTItem* item = PTItem::from(object); item && PTLicence::from(target))
                item->setLicence(PTLicence::from(target));
            break;
        case SetToLicence:
            if (PTCollection* set = PTCollection::from(object); set && PTLicence::from(target))
                set->setLicence(PTLicence::from(target));
            break;
        }
    }
}
