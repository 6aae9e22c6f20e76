#pragma once

#include "platform/runtime/DispatchQueue.h"
#include "platform/runtime/Error.h"
#include "platform/store/ChangeSet.h"
#include "platform/store/DidSave.h"
#include "platform/store/FetchRequest.h"
#include "platform/store/ManagedObject.h"
#include "platform/store/ObservationToken.h"
#include "platform/store/StoreCoordinator.h"

#include <QSet>

#include <functional>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace pt::store {

// A scratch pad of objects over the store or over a parent context.
//
// Kinds: MainQueue (used on the main thread; perform() posts to the main queue), PrivateQueue (its own serial
// queue; use it inside perform()), Confinement (used on the thread that made it; perform() runs inline).
// A root context (made on a coordinator) saves to the store in one transaction; a child (made on a parent
// context) saves into its parent, which keeps the pushed changes, shows them to the child's reads and fetches,
// and writes them with its own next save. Fetches see the store, the parent's pending changes and this
// context's unsaved inserts, edits and deletes. Deleting an object nullifies every relationship of it at once.
// Temporary IDs never leave a context: a save first makes them permanent.
class ObjectContext {
public:
    enum class Kind { MainQueue, PrivateQueue, Confinement };
    using DidSaveCallback = std::function<void(const DidSave&)>;

    ObjectContext(Kind kind, std::shared_ptr<StoreCoordinator> coordinator);
    ObjectContext(Kind kind, std::shared_ptr<ObjectContext> parent);
    ~ObjectContext();
    ObjectContext(const ObjectContext&) = delete;
    ObjectContext& operator=(const ObjectContext&) = delete;

    Kind kind() const { return kind_; }
    // The root coordinator, also of a child context.
    StoreCoordinator* coordinator() const { return coordinator_.get(); }
    std::shared_ptr<StoreCoordinator> sharedCoordinator() const { return coordinator_; }
    ObjectContext* parent() const { return parent_.get(); }
    MergePolicy mergePolicy() const { return mergePolicy_; }
    void setMergePolicy(MergePolicy policy) { mergePolicy_ = policy; }

    void perform(std::function<void()> work);
    void performAndWait(const std::function<void()>& work);

    ManagedObject* insert(const QString& entityName);
    // The object of that ID, as a fault when it is not loaded; the same object every time. Null for an ID of
    // another store or a temporary ID that is not this context's.
    ManagedObject* objectWithID(const ObjectID& id);
    // The object only when its row exists (or it is this context's unsaved insert); never a dangling fault.
    ManagedObject* existingObjectWithID(const ObjectID& id);
    ManagedObject* registeredObject(const ObjectID& id) const;
    void deleteObject(ManagedObject* object);

    pt::Result<QVector<ManagedObject*>> fetch(const FetchRequest& request);
    pt::Result<QVector<ObjectID>> fetchIDs(const FetchRequest& request);
    // A matching object with the values of a few of its attributes and to-one relationships.
    struct Values {
        ManagedObject* object = nullptr;
        QVector<QVariant> attributes;
        QVector<ManagedObject*> targets;
    };
    // The matching objects, left as faults, with those values read in the same query: a long list can be
    // sorted and grouped before any object is loaded. With unsaved changes to the entity in view the objects
    // are loaded, so the answer always matches fetch().
    pt::Result<QVector<Values>> fetchValues(const FetchRequest& request, const QStringList& attributes,
                                            const QStringList& toOne);
    pt::Result<qint64> count(const FetchRequest& request);

    pt::Result<void> obtainPermanentIDs(const QVector<ManagedObject*>& objects);
    // Deletes propagate and changes are recorded as they happen, so there is never anything left to process;
    // kept so that callers can mark the points where other systems flush.
    void processPendingChanges() {}
    pt::Result<void> save();

    // mergeChanges=false: turns the object into a fault and drops its unsaved changes. true: reads its row
    // again and keeps the unsaved changes on top.
    void refresh(ManagedObject* object, bool mergeChanges);
    // Forgets every object; pointers to them are no longer valid.
    void reset();
    // Takes another context's save into this one (run on this context's thread): deleted objects become
    // deleted, updated ones take the saved values except where this context has unsaved changes, inserted
    // ones join the loaded to-many relationships that they belong to. Observers hear of every change.
    void mergeChanges(const DidSave& changes);

    QVector<ManagedObject*> insertedObjects() const;
    QVector<ManagedObject*> updatedObjects() const;
    QVector<ManagedObject*> deletedObjects() const;
    QVector<ManagedObject*> registeredObjects() const;
    bool hasChanges() const;

    [[nodiscard]] ObservationToken onDidSave(DidSaveCallback callback);
    // Calls back after mergeChanges took another context's save, on this context's thread.
    [[nodiscard]] ObservationToken onDidMerge(DidSaveCallback callback);
    // Calls back on every change of the object's key (attribute or relationship), whether made here, by a
    // merge or by a refresh.
    [[nodiscard]] ObservationToken observe(ManagedObject* object, const QString& key, ManagedObject::Observer callback);

private:
    friend class ManagedObject;
    struct SaveObserver;
    class RowSource;

    // A main-queue context is used on the main thread only.
    void checkThread() const;
    const EntityDescription* entityNamed(const QString& name) const;
    // A permanent ID of this context's store and model.
    bool isStored(const ObjectID& id) const;
    ManagedObject* registerObject(const ObjectID& id);
    bool fireFault(ManagedObject* object);
    void loadMembers(ManagedObject* owner, int relationship);
    void markChanged(ManagedObject* object);
    void applyRow(ManagedObject* object, const StoreRow& row, bool keepChanges);
    void entomb(ManagedObject* object);
    void dropFromLists(ManagedObject* object);

    // Reads as this context's children see them: the store, with the changes pushed into this context.
    pt::Result<std::optional<StoreRow>> viewRow(const ObjectID& id);
    pt::Result<QVector<std::pair<qint64, StoreRow>>> viewRows(const EntityDescription& entity, const Predicate& predicate);
    pt::Result<QVector<qint64>> viewKeys(const EntityDescription& entity, const Predicate& predicate);
    bool viewTouches(const EntityDescription& entity) const;
    void overlayPushed(const ObjectID& id, StoreRow& row) const;
    pt::Result<std::optional<StoreRow>> readRow(const ObjectID& id);
    pt::Result<QVector<std::pair<qint64, StoreRow>>> readRows(const EntityDescription& entity, const Predicate& predicate);
    pt::Result<QVector<qint64>> readKeys(const EntityDescription& entity, const Predicate& predicate);
    bool readTouches(const EntityDescription& entity) const;
    bool ownChangesTouch(const EntityDescription& entity) const;

    pt::Result<QVector<ManagedObject*>> fetchObjects(const EntityDescription& entity, const FetchRequest& request,
                                                     bool loadValues);
    pt::Result<void> prefetch(const QVector<ManagedObject*>& objects, const QString& keyPath);
    ChangeSet ownChanges() const;
    void afterSave(const StoreCoordinator::WriteResult* written);
    void postDidSave(const ChangeSet& changes, const QHash<ObjectID, StoreRow>& rows);
    ObservationToken addObserver(std::vector<std::shared_ptr<SaveObserver>>& list, DidSaveCallback callback);
    void notify(std::vector<std::shared_ptr<SaveObserver>>& list, const DidSave& didSave);
    pt::Result<void> saveToStore();
    pt::Result<void> saveToParent();
    void acceptChildChanges(const ChangeSet& changes);
    // Takes one saved row of another context's save.
    void mergeRow(const ObjectID& id, const DidSave& changes);

    Kind kind_;
    std::shared_ptr<StoreCoordinator> coordinator_;
    std::shared_ptr<ObjectContext> parent_;
    MergePolicy mergePolicy_ = MergePolicy::ObjectTrumpByProperty;
    DispatchQueue queue_;

    std::unordered_map<ObjectID, std::unique_ptr<ManagedObject>> objects_;
    QHash<ObjectID, ObjectID> permanentIDs_;
    std::vector<std::unique_ptr<ManagedObject>> tombstones_;
    std::vector<ManagedObject*> inserted_;
    QSet<ManagedObject*> updated_;
    std::vector<ManagedObject*> deleted_;

    // Changes that children saved into this context; guarded, because children read them from their threads.
    mutable std::recursive_mutex pushedMutex_;
    ChangeSet pushed_;

    std::mutex observersMutex_;
    std::vector<std::shared_ptr<SaveObserver>> saveObservers_;
    std::vector<std::shared_ptr<SaveObserver>> mergeObservers_;
};

} // namespace pt::store
