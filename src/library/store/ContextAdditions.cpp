#include "library/store/ContextAdditions.h"

#include "library/store/PTStoreFunctions.h"
#include "platform/runtime/DispatchQueue.h"
#include "platform/runtime/Logging.h"

#include <QHash>
#include <QSet>

using pt::store::FetchRequest;
using pt::store::ManagedObject;
using pt::store::ObjectContext;
using pt::store::Predicate;

namespace contextAdditions {

namespace {

void fetchLoaded(ObjectContext& context, const QVector<ManagedObject*>& objects, const QString& entityName,
                 const QStringList& keyPaths)
{
    if (objects.isEmpty())
        return;
    FetchRequest request;
    request.entityName = entityName;
    request.predicate = Predicate::in(QStringLiteral("SELF"), [&] {
        QVector<pt::store::ObjectID> ids;
        for (const ManagedObject* object : objects)
            ids.append(object->objectID());
        return ids;
    }());
    request.returnsObjectsAsFaults = false;
    request.prefetch = keyPaths;
    if (auto result = context.fetch(request); !result)
        qCWarning(lcLibrary).noquote() << result.error().toString();
}

} // namespace

void resetAndBreakCycles(ObjectContext& context)
{
    for (ManagedObject* object : context.registeredObjects())
        context.refresh(object, false);
    context.reset();
}

void runInWorkerContext(const std::shared_ptr<pt::store::StoreCoordinator>& coordinator,
                        const std::function<void(ObjectContext&)>& work)
{
    ObjectContext context(ObjectContext::Kind::Confinement, coordinator);
    context.setMergePolicy(pt::store::MergePolicy::StoreTrumpByProperty);
    {
        const pt::store::ObservationToken token = context.onDidSave([](const pt::store::DidSave& changes) {
            pt::DispatchQueue::main().async([changes] {
                if (PTHasManagedObjectContext())
                    PTMainManagedObjectContext()->mergeChanges(changes);
            });
        });
        work(context);
        if (auto saved = context.save(); !saved)
            qCWarning(lcLibrary).noquote() << "worker context not saved:" << saved.error().toString();
        context.processPendingChanges();
    }
    resetAndBreakCycles(context);
}

void obtainPermanentIDsForInsertedObjects(ObjectContext& context)
{
    if (auto r = context.obtainPermanentIDs(context.insertedObjects()); !r)
        qCWarning(lcLibrary).noquote() << r.error().toString();
}

ManagedObject* clone(ObjectContext& context, ManagedObject* source, ObjectContext* into)
{
    ObjectContext& target = into ? *into : context;
    ManagedObject* copy = target.insert(source->entity().name());
    for (const QString& key : source->entity().attributeKeys())
        copy->setValue(key, source->value(key));
    return copy;
}

QStringList validatedObjectURIsWithStrings(ObjectContext& context, const QStringList& uris)
{
    QStringList valid;
    QSet<QString> seen;
    for (const QString& uri : uris) {
        if (seen.contains(uri))
            continue;
        seen.insert(uri);
        const auto id = context.coordinator()->objectIDForUri(uri);
        if (id && context.existingObjectWithID(*id))
            valid.append(uri);
    }
    return valid;
}

QVector<ManagedObject*> validatedObjectsWithURIStrings(ObjectContext& context, const QStringList& uris)
{
    QVector<ManagedObject*> objects;
    for (const QString& uri : validatedObjectURIsWithStrings(context, uris)) {
        ManagedObject* object = context.existingObjectWithID(*context.coordinator()->objectIDForUri(uri));
        if (!objects.contains(object))
            objects.append(object);
    }
    return objects;
}

void unfaultRelationships(ObjectContext& context, const QStringList& keyPaths, const QVector<ManagedObject*>& objects,
                          const QString& entityName)
{
    fetchLoaded(context, objects, entityName, keyPaths);
}

void unfault(ObjectContext& context, const QVector<ManagedObject*>& objects, const QString& entityName)
{
    QVector<ManagedObject*> faults;
    for (ManagedObject* object : objects)
        if (object->isFault())
            faults.append(object);
    fetchLoaded(context, faults, entityName, {});
}

void loadObjectsWithIDs(ObjectContext& context, const QVector<pt::store::ObjectID>& ids)
{
    QHash<QString, QVector<ManagedObject*>> faults;
    for (const pt::store::ObjectID& id : ids)
        if (ManagedObject* object = context.objectWithID(id); object && object->isFault())
            faults[object->entity().name()].append(object);
    for (auto it = faults.cbegin(); it != faults.cend(); ++it)
        fetchLoaded(context, it.value(), it.key(), {});
}

} // namespace contextAdditions
