#pragma once

#include "platform/store/ObjectContext.h"

#include <QStringList>

#include <functional>
#include <memory>

// Extra operations on any context (the receiver comes first).
namespace contextAdditions {

// Turns every registered object into a fault, then forgets them all; ends a worker context.
void resetAndBreakCycles(pt::store::ObjectContext& context);
// Runs the work in a new confinement context on the coordinator whose saves are merged into the main context
// (store values win over unsaved ones), then saves it (a failure is logged) and ends it. Any thread but the main.
void runInWorkerContext(const std::shared_ptr<pt::store::StoreCoordinator>& coordinator,
                        const std::function<void(pt::store::ObjectContext&)>& work);
// Permanent IDs for every inserted object; a failure is logged and otherwise ignored.
void obtainPermanentIDsForInsertedObjects(pt::store::ObjectContext& context);
// A new object of the source's entity in `into` (or the receiver when null) with every attribute copied;
// relationships are not copied.
pt::store::ManagedObject* clone(pt::store::ObjectContext& context, pt::store::ManagedObject* source,
                                pt::store::ObjectContext* into);
// The distinct strings that name an existing object of this store (an object of this context's view, saved
// or not yet written); others (unparseable, another store's, deleted rows) are dropped. First occurrences keep
// their order.
QStringList validatedObjectURIsWithStrings(pt::store::ObjectContext& context, const QStringList& uris);
// The objects of those strings, without duplicates.
QVector<pt::store::ManagedObject*> validatedObjectsWithURIStrings(pt::store::ObjectContext& context,
                                                                  const QStringList& uris);
// Loads the objects (and the objects on the key paths) in one fetch per entity level, for speed only.
void unfaultRelationships(pt::store::ObjectContext& context, const QStringList& keyPaths,
                          const QVector<pt::store::ManagedObject*>& objects, const QString& entityName);
// Loads those of the objects that are still faults; fetches nothing when none is.
void unfault(pt::store::ObjectContext& context, const QVector<pt::store::ManagedObject*>& objects,
             const QString& entityName);
// Registers the objects of those IDs and loads the ones that are faults in one fetch per entity, so that a
// long run of lookups by ID does not read the store once per object. IDs of no stored object are passed over.
void loadObjectsWithIDs(pt::store::ObjectContext& context, const QVector<pt::store::ObjectID>& ids);

} // namespace contextAdditions
