#include "platform/store/ObjectContext.h"

#include "platform/runtime/Logging.h"
#include "platform/store/StoreError.h"

#include <QCoreApplication>
#include <QThread>

#include <algorithm>

namespace pt::store {

struct ObjectContext::SaveObserver : ObservationToken::Record {
    DidSaveCallback callback;
};

// A row that a child pushed, seen through the predicate interface.
class ObjectContext::RowSource : public ValueSource {
public:
    RowSource(const EntityDescription& entity, const StoreRow& row, const ObjectID& self, const StoreCoordinator& store)
        : entity_(entity), row_(row), self_(self), store_(store)
    {
    }
    ObjectID selfID() const override { return self_; }
    QVariant attributeValue(int attribute) const override { return row_.values.value(attribute); }
    ObjectID targetID(int relationship) const override
    {
        const qint64 key = row_.keys.value(relationship);
        return key ? store_.idFor(entity_.target(relationship), key) : ObjectID();
    }

private:
    const EntityDescription& entity_;
    const StoreRow& row_;
    const ObjectID& self_;
    const StoreCoordinator& store_;
};

namespace {

QString inverseName(const EntityDescription& entity, int relationship)
{
    return entity.target(relationship)->relationships()[entity.inverseIndex(relationship)].name;
}

void sortByKey(QVector<ManagedObject*>& objects)
{
    std::stable_sort(objects.begin(), objects.end(), [](const ManagedObject* a, const ManagedObject* b) {
        const bool ta = a->objectID().isTemporary();
        const bool tb = b->objectID().isTemporary();
        if (ta != tb)
            return tb;
        return a->objectID().primaryKey() < b->objectID().primaryKey();
    });
}

int compareValues(const QVariant& a, const QVariant& b, SortDescriptor::Comparison comparison)
{
    const bool nullA = !a.isValid();
    const bool nullB = !b.isValid();
    if (nullA || nullB)
        return nullA == nullB ? 0 : (nullA ? -1 : 1);
    if (a.typeId() == QMetaType::QString)
        return QString::compare(a.toString(), b.toString(),
                                comparison == SortDescriptor::Comparison::CaseInsensitive ? Qt::CaseInsensitive
                                                                                          : Qt::CaseSensitive);
    const auto order = QVariant::compare(a, b);
    return order == QPartialOrdering::Less ? -1 : (order == QPartialOrdering::Greater ? 1 : 0);
}

} // namespace

ObjectContext::ObjectContext(Kind kind, std::shared_ptr<StoreCoordinator> coordinator)
    : kind_(kind)
    , coordinator_(std::move(coordinator))
{
    if (kind_ == Kind::PrivateQueue)
        queue_ = DispatchQueue::serial(QStringLiteral("pt.store.context"));
}

ObjectContext::ObjectContext(Kind kind, std::shared_ptr<ObjectContext> parent)
    : ObjectContext(kind, parent->coordinator_)
{
    parent_ = std::move(parent);
}

ObjectContext::~ObjectContext() = default;

void ObjectContext::perform(std::function<void()> work)
{
    switch (kind_) {
    case Kind::MainQueue:
        DispatchQueue::main().async(std::move(work));
        return;
    case Kind::PrivateQueue:
        queue_.async(std::move(work));
        return;
    case Kind::Confinement:
        work();
        return;
    }
}

void ObjectContext::performAndWait(const std::function<void()>& work)
{
    switch (kind_) {
    case Kind::MainQueue:
        DispatchQueue::main().sync(work);
        return;
    case Kind::PrivateQueue:
        queue_.sync(work);
        return;
    case Kind::Confinement:
        work();
        return;
    }
}

void ObjectContext::checkThread() const
{
    Q_ASSERT_X(kind_ != Kind::MainQueue || !QCoreApplication::instance()
                   || QThread::currentThread() == QCoreApplication::instance()->thread(),
               "ObjectContext", "a main-queue context used off the main thread");
}

const EntityDescription* ObjectContext::entityNamed(const QString& name) const
{
    checkThread();
    return coordinator_->model().entity(name);
}

ManagedObject* ObjectContext::registerObject(const ObjectID& id)
{
    std::unique_ptr<ManagedObject> object = id.entity()->instantiate();
    object->context_ = this;
    object->entity_ = id.entity();
    object->id_ = id;
    object->targets_.resize(id.entity()->relationships().size(), nullptr);
    ManagedObject* raw = object.get();
    objects_.emplace(id, std::move(object));
    return raw;
}

ManagedObject* ObjectContext::insert(const QString& entityName)
{
    const EntityDescription* entity = entityNamed(entityName);
    Q_ASSERT_X(entity, "ObjectContext::insert", qPrintable(entityName));
    if (!entity)
        return nullptr;
    ManagedObject* object = registerObject(ObjectID::temporary(entity));
    object->values_.resize(entity->attributes().size());
    object->fault_ = false;
    object->inserted_ = true;
    // A new object has no members anywhere yet.
    for (int i = 0; i < entity->relationships().size(); ++i)
        if (entity->relationships()[i].toMany)
            object->setMembers(i, {});
    inserted_.push_back(object);
    return object;
}

ManagedObject* ObjectContext::registeredObject(const ObjectID& id) const
{
    const ObjectID key = id.isTemporary() ? permanentIDs_.value(id, id) : id;
    const auto found = objects_.find(key);
    return found == objects_.end() ? nullptr : found->second.get();
}

ManagedObject* ObjectContext::objectWithID(const ObjectID& id)
{
    if (id.isNull())
        return nullptr;
    if (ManagedObject* object = registeredObject(id))
        return object;
    if (!isStored(id))
        return nullptr;
    return registerObject(id);
}

bool ObjectContext::isStored(const ObjectID& id) const
{
    return !id.isNull() && !id.isTemporary() && id.storeUuid() == coordinator_->storeUuid()
        && id.entity()->model() == &coordinator_->model();
}

ManagedObject* ObjectContext::existingObjectWithID(const ObjectID& id)
{
    ManagedObject* object = objectWithID(id);
    if (!object || object->deleted_)
        return nullptr;
    if (!object->fulfil())
        return nullptr;
    return object;
}

bool ObjectContext::fireFault(ManagedObject* object)
{
    auto row = readRow(object->id_);
    if (row && *row) {
        object->load(**row);
        return true;
    }
    if (!row)
        qCWarning(lcStore) << "cannot read" << object->id_.uriString() << row.error().toString();
    else
        qCWarning(lcStore) << object->id_.uriString() << "no longer exists";
    // A row that is gone reads as an empty, deleted object rather than failing again at every access.
    object->values_.resize(object->entity_->attributes().size());
    object->fault_ = false;
    if (row)
        object->deleted_ = true;
    return false;
}

void ObjectContext::loadMembers(ManagedObject* owner, int relationship)
{
    const EntityDescription& entity = *owner->entity_;
    FetchRequest request;
    request.predicate = Predicate::compare(inverseName(entity, relationship), true, owner->id_);
    auto members = fetchObjects(*entity.target(relationship), request, true);
    if (!members) {
        qCWarning(lcStore) << "cannot load" << entity.relationships()[relationship].name << "of"
                           << owner->id_.uriString() << members.error().toString();
        return;
    }
    sortByKey(*members);
    owner->setMembers(relationship, std::move(*members));
}

void ObjectContext::markChanged(ManagedObject* object)
{
    if (!object->inserted_ && !object->deleted_)
        updated_.insert(object);
}

void ObjectContext::dropFromLists(ManagedObject* object)
{
    std::erase(inserted_, object);
    std::erase(deleted_, object);
    updated_.remove(object);
}

void ObjectContext::entomb(ManagedObject* object)
{
    object->deleted_ = true;
    auto node = objects_.extract(object->id_);
    if (node)
        tombstones_.push_back(std::move(node.mapped()));
}

void ObjectContext::deleteObject(ManagedObject* object)
{
    checkThread();
    if (!object || object->deleted_)
        return;
    Q_ASSERT(object->context_ == this);
    object->fulfil();
    const EntityDescription& entity = *object->entity_;
    for (int i = 0; i < entity.relationships().size(); ++i) {
        const auto& relationship = entity.relationships()[i];
        if (relationship.toMany) {
            const QString inverse = inverseName(entity, i);
            for (ManagedObject* member : object->toMany(relationship.name))
                if (member->toOne(inverse) == object)
                    member->setToOne(inverse, nullptr);
        } else if (relationship.hasColumn()) {
            object->setTarget(i, nullptr, true);
        }
    }
    if (object->inserted_) {
        dropFromLists(object);
        object->deleted_ = true;
        return;
    }
    updated_.remove(object);
    object->deleted_ = true;
    deleted_.push_back(object);
}

bool ObjectContext::ownChangesTouch(const EntityDescription& entity) const
{
    const auto same = [&](const ManagedObject* object) { return object->entity_ == &entity; };
    return std::any_of(inserted_.begin(), inserted_.end(), same) || std::any_of(deleted_.begin(), deleted_.end(), same)
        || std::any_of(updated_.begin(), updated_.end(), same);
}

pt::Result<QVector<ManagedObject*>> ObjectContext::fetchObjects(const EntityDescription& entity,
                                                                const FetchRequest& request, bool loadValues)
{
    const Predicate& predicate = request.predicate;
    const bool pending = request.includesPendingChanges && ownChangesTouch(entity);
    QVector<ManagedObject*> result;
    const auto take = [&](qint64 key, const StoreRow* row) {
        const ObjectID id = coordinator_->idFor(&entity, key);
        ManagedObject* object = registeredObject(id);
        if (!object) {
            object = registerObject(id);
        } else if (object->deleted_) {
            return;
        } else if (pending && updated_.contains(object) && !predicate.evaluate(entity, *object)) {
            return;
        }
        if (row && object->fault_)
            object->load(*row);
        result.append(object);
    };
    if (loadValues) {
        auto rows = readRows(entity, predicate);
        if (!rows)
            return rows.error();
        result.reserve(rows->size());
        objects_.reserve(objects_.size() + size_t(rows->size()));
        for (const auto& [key, row] : std::as_const(*rows))
            take(key, &row);
    } else {
        auto keys = readKeys(entity, predicate);
        if (!keys)
            return keys.error();
        result.reserve(keys->size());
        for (qint64 key : std::as_const(*keys))
            take(key, nullptr);
    }
    if (pending) {
        const QSet<ManagedObject*> found(result.begin(), result.end());
        for (ManagedObject* object : std::as_const(updated_))
            if (object->entity_ == &entity && !found.contains(object) && predicate.evaluate(entity, *object))
                result.append(object);
        for (ManagedObject* object : inserted_)
            if (object->entity_ == &entity && predicate.evaluate(entity, *object))
                result.append(object);
    }
    return result;
}

pt::Result<QVector<ManagedObject*>> ObjectContext::fetch(const FetchRequest& request)
{
    const EntityDescription* entity = entityNamed(request.entityName);
    if (!entity)
        return storeError(StoreBadPredicate, QStringLiteral("no entity %1").arg(request.entityName));
    // Sorting reads the values anyway; one query beats firing every fault on its own.
    const bool loadValues = !request.returnsObjectsAsFaults || !request.prefetch.isEmpty() || !request.sort.isEmpty();
    auto objects = fetchObjects(*entity, request, loadValues);
    if (!objects)
        return objects;
    for (const QString& keyPath : request.prefetch)
        if (auto r = prefetch(*objects, keyPath); !r)
            return r.error();
    if (!request.sort.isEmpty()) {
        QVector<int> keys;
        for (const SortDescriptor& sort : request.sort)
            keys.append(entity->attributeIndex(sort.key));
        std::stable_sort(objects->begin(), objects->end(), [&](const ManagedObject* a, const ManagedObject* b) {
            for (int i = 0; i < request.sort.size(); ++i) {
                const int order = compareValues(a->attributeValue(keys[i]), b->attributeValue(keys[i]),
                                                request.sort[i].comparison);
                if (order != 0)
                    return request.sort[i].ascending ? order < 0 : order > 0;
            }
            return false;
        });
    }
    return objects;
}

pt::Result<void> ObjectContext::prefetch(const QVector<ManagedObject*>& objects, const QString& keyPath)
{
    QVector<ManagedObject*> level = objects;
    for (const QString& key : keyPath.split(u'.')) {
        if (level.isEmpty())
            return {};
        const EntityDescription& entity = *level.front()->entity_;
        const int relationship = entity.relationshipIndex(key);
        if (relationship < 0)
            return storeError(StoreBadPredicate, QStringLiteral("%1 has no relationship %2").arg(entity.name(), key));
        const EntityDescription& target = *entity.target(relationship);
        QVector<ManagedObject*> next;
        if (entity.relationships()[relationship].toMany) {
            QVector<ObjectID> owners;
            for (ManagedObject* owner : level)
                owners.append(owner->id_);
            FetchRequest request;
            request.predicate = Predicate::in(inverseName(entity, relationship), owners);
            auto members = fetchObjects(target, request, true);
            if (!members)
                return members.error();
            const int inverse = entity.inverseIndex(relationship);
            QHash<ManagedObject*, QVector<ManagedObject*>> byOwner;
            for (ManagedObject* member : std::as_const(*members))
                byOwner[member->targets_[inverse]].append(member);
            for (ManagedObject* owner : level) {
                if (owner->loadedMembers(relationship))
                    continue;
                QVector<ManagedObject*> list = byOwner.value(owner);
                sortByKey(list);
                owner->setMembers(relationship, std::move(list));
            }
            next = std::move(*members);
        } else {
            QSet<ManagedObject*> seen;
            QVector<ObjectID> faults;
            for (ManagedObject* object : level) {
                object->fulfil();
                ManagedObject* targetObject = object->targets_[relationship];
                if (!targetObject || seen.contains(targetObject))
                    continue;
                seen.insert(targetObject);
                next.append(targetObject);
                if (targetObject->fault_)
                    faults.append(targetObject->id_);
            }
            if (!faults.isEmpty()) {
                auto rows = readRows(target, Predicate::in(QStringLiteral("SELF"), faults));
                if (!rows)
                    return rows.error();
                for (const auto& [primaryKey, row] : std::as_const(*rows))
                    if (ManagedObject* object = registeredObject(coordinator_->idFor(&target, primaryKey)); object && object->fault_)
                        object->load(row);
            }
        }
        level = std::move(next);
    }
    return {};
}

pt::Result<QVector<ObjectID>> ObjectContext::fetchIDs(const FetchRequest& request)
{
    const EntityDescription* entity = entityNamed(request.entityName);
    if (!entity)
        return storeError(StoreBadPredicate, QStringLiteral("no entity %1").arg(request.entityName));
    const bool pending = request.includesPendingChanges && ownChangesTouch(*entity);
    if (pending) {
        auto objects = fetchObjects(*entity, request, false);
        if (!objects)
            return objects.error();
        QVector<ObjectID> ids;
        ids.reserve(objects->size());
        for (const ManagedObject* object : std::as_const(*objects))
            ids.append(object->id_);
        return ids;
    }
    auto keys = readKeys(*entity, request.predicate);
    if (!keys)
        return keys.error();
    QVector<ObjectID> ids;
    ids.reserve(keys->size());
    for (qint64 key : std::as_const(*keys))
        ids.append(coordinator_->idFor(entity, key));
    return ids;
}

pt::Result<qint64> ObjectContext::count(const FetchRequest& request)
{
    const EntityDescription* entity = entityNamed(request.entityName);
    if (!entity)
        return storeError(StoreBadPredicate, QStringLiteral("no entity %1").arg(request.entityName));
    if (!(request.includesPendingChanges && ownChangesTouch(*entity)) && !readTouches(*entity))
        return coordinator_->count(*entity, request.predicate);
    auto ids = fetchIDs(request);
    if (!ids)
        return ids.error();
    return qint64(ids->size());
}

// Reads through the parent (or the store).

pt::Result<std::optional<StoreRow>> ObjectContext::readRow(const ObjectID& id)
{
    if (parent_)
        return parent_->viewRow(id);
    return coordinator_->readRow(*id.entity(), id.primaryKey());
}

pt::Result<QVector<std::pair<qint64, StoreRow>>> ObjectContext::readRows(const EntityDescription& entity,
                                                                        const Predicate& predicate)
{
    if (parent_)
        return parent_->viewRows(entity, predicate);
    return coordinator_->fetchRows(entity, predicate);
}

pt::Result<QVector<qint64>> ObjectContext::readKeys(const EntityDescription& entity, const Predicate& predicate)
{
    if (parent_)
        return parent_->viewKeys(entity, predicate);
    return coordinator_->fetchKeys(entity, predicate);
}

pt::Result<QVector<ObjectContext::Values>> ObjectContext::fetchValues(const FetchRequest& request,
                                                                      const QStringList& attributes,
                                                                      const QStringList& toOne)
{
    const EntityDescription* entity = entityNamed(request.entityName);
    if (!entity)
        return storeError(StoreBadPredicate, QStringLiteral("no entity %1").arg(request.entityName));
    QVector<int> attributeIndexes, relationshipIndexes;
    for (const QString& key : attributes) {
        const int index = entity->attributeIndex(key);
        if (index < 0)
            return storeError(StoreBadPredicate, QStringLiteral("no attribute %1 in %2").arg(key, entity->name()));
        attributeIndexes.append(index);
    }
    for (const QString& key : toOne) {
        const int index = entity->relationshipIndex(key);
        if (index < 0 || !entity->relationships()[index].hasColumn())
            return storeError(StoreBadPredicate, QStringLiteral("no to-one %1 in %2").arg(key, entity->name()));
        relationshipIndexes.append(index);
    }
    QVector<Values> result;
    // Unsaved changes, here, pushed by children or pending in a parent, are not in the store's rows.
    if (viewTouches(*entity) || (request.includesPendingChanges && ownChangesTouch(*entity))) {
        auto objects = fetchObjects(*entity, request, true);
        if (!objects)
            return objects.error();
        result.reserve(objects->size());
        for (ManagedObject* object : std::as_const(*objects)) {
            Values values{object, {}, {}};
            for (int index : std::as_const(attributeIndexes))
                values.attributes.append(object->attributeValue(index));
            for (const QString& key : toOne)
                values.targets.append(object->toOne(key));
            result.append(std::move(values));
        }
        return result;
    }
    auto rows = coordinator_->fetchColumns(*entity, request.predicate, attributeIndexes, relationshipIndexes);
    if (!rows)
        return rows.error();
    result.reserve(rows->size());
    objects_.reserve(objects_.size() + size_t(rows->size()));
    for (auto& [key, columns] : *rows) {
        const ObjectID id = coordinator_->idFor(entity, key);
        ManagedObject* object = registeredObject(id);
        if (!object)
            object = registerObject(id);
        Values values{object, {}, {}};
        values.attributes = columns.mid(0, attributeIndexes.size());
        for (qsizetype i = 0; i < relationshipIndexes.size(); ++i) {
            const qint64 target = columns.at(attributeIndexes.size() + i).toLongLong();
            values.targets.append(target ? objectWithID(coordinator_->idFor(entity->target(relationshipIndexes[i]), target))
                                         : nullptr);
        }
        result.append(std::move(values));
    }
    return result;
}

bool ObjectContext::readTouches(const EntityDescription& entity) const
{
    return parent_ && parent_->viewTouches(entity);
}

bool ObjectContext::viewTouches(const EntityDescription& entity) const
{
    {
        std::lock_guard lock(pushedMutex_);
        if (pushed_.touches(&entity))
            return true;
    }
    return readTouches(entity);
}

pt::Result<std::optional<StoreRow>> ObjectContext::viewRow(const ObjectID& id)
{
    std::lock_guard lock(pushedMutex_);
    const ChangeEntry* entry = pushed_.find(id);
    if (entry && entry->kind == ChangeEntry::Kind::Delete)
        return std::optional<StoreRow>();
    if (entry && entry->kind == ChangeEntry::Kind::Insert)
        return std::optional<StoreRow>(entry->values);
    // An update shows over the row as stored now; a row deleted meanwhile stays deleted.
    auto row = readRow(id);
    if (entry && row && *row)
        entry->applyTo(**row);
    return row;
}

pt::Result<QVector<std::pair<qint64, StoreRow>>> ObjectContext::viewRows(const EntityDescription& entity,
                                                                        const Predicate& predicate)
{
    auto rows = readRows(entity, predicate);
    if (!rows)
        return rows;
    std::lock_guard lock(pushedMutex_);
    if (!pushed_.touches(&entity))
        return rows;
    QVector<std::pair<qint64, StoreRow>> result;
    QSet<qint64> seen;
    const auto keep = [&](qint64 key, StoreRow&& row, const ObjectID& id) {
        if (predicate.evaluate(entity, RowSource(entity, row, id, *coordinator_)))
            result.append({key, std::move(row)});
    };
    for (auto& [key, row] : *rows) {
        const ObjectID id = coordinator_->idFor(&entity, key);
        const ChangeEntry* entry = pushed_.find(id);
        if (!entry) {
            result.append({key, std::move(row)});
            continue;
        }
        seen.insert(key);
        if (entry->kind == ChangeEntry::Kind::Delete)
            continue;
        entry->applyTo(row);
        keep(key, std::move(row), id);
    }
    // Pushed objects whose stored rows did not match: inserts as they are, updates over their rows where those
    // still exist.
    QVector<ObjectID> updated;
    for (const ChangeEntry& entry : pushed_.entries()) {
        if (entry.id.entity() != &entity || seen.contains(entry.id.primaryKey()))
            continue;
        if (entry.kind == ChangeEntry::Kind::Insert)
            keep(entry.id.primaryKey(), StoreRow(entry.values), entry.id);
        else if (entry.kind == ChangeEntry::Kind::Update)
            updated.append(entry.id);
    }
    if (updated.isEmpty())
        return result;
    auto stored = readRows(entity, Predicate::in(QStringLiteral("SELF"), updated));
    if (!stored)
        return stored;
    for (auto& [key, row] : *stored) {
        const ObjectID id = coordinator_->idFor(&entity, key);
        pushed_.find(id)->applyTo(row);
        keep(key, std::move(row), id);
    }
    return result;
}

pt::Result<QVector<qint64>> ObjectContext::viewKeys(const EntityDescription& entity, const Predicate& predicate)
{
    {
        std::lock_guard lock(pushedMutex_);
        if (!pushed_.touches(&entity))
            return readKeys(entity, predicate);
    }
    auto rows = viewRows(entity, predicate);
    if (!rows)
        return rows.error();
    QVector<qint64> keys;
    keys.reserve(rows->size());
    for (const auto& entry : std::as_const(*rows))
        keys.append(entry.first);
    return keys;
}

void ObjectContext::overlayPushed(const ObjectID& id, StoreRow& row) const
{
    if (parent_)
        parent_->overlayPushed(id, row);
    std::lock_guard lock(pushedMutex_);
    if (const ChangeEntry* entry = pushed_.find(id))
        entry->applyTo(row);
}

// IDs and saving.

pt::Result<void> ObjectContext::obtainPermanentIDs(const QVector<ManagedObject*>& objects)
{
    // By entity, in the order given; a model has few entities, so a scan finds the group.
    std::vector<std::pair<const EntityDescription*, std::vector<ManagedObject*>>> byEntity;
    for (ManagedObject* object : objects) {
        if (!object || object->context_ != this || !object->id_.isTemporary())
            continue;
        auto group = std::find_if(byEntity.begin(), byEntity.end(),
                                  [&](const auto& entry) { return entry.first == object->entity_; });
        if (group == byEntity.end())
            group = byEntity.insert(byEntity.end(), {object->entity_, {}});
        group->second.push_back(object);
    }
    for (const auto& [entity, group] : byEntity) {
        auto first = coordinator_->reservePrimaryKeys(*entity, int(group.size()));
        if (!first)
            return first.error();
        qint64 key = *first;
        objects_.reserve(objects_.size() + group.size());
        permanentIDs_.reserve(permanentIDs_.size() + qsizetype(group.size()));
        for (ManagedObject* object : group) {
            // An object listed twice has its key already; the key reserved for the repeat is left unused.
            const ObjectID permanent = coordinator_->idFor(entity, key++);
            if (!object->id_.isTemporary())
                continue;
            const ObjectID temporary = object->id_;
            auto node = objects_.extract(temporary);
            node.key() = permanent;
            objects_.insert(std::move(node));
            object->id_ = permanent;
            permanentIDs_.insert(temporary, permanent);
        }
    }
    return {};
}

ChangeSet ObjectContext::ownChanges() const
{
    ChangeSet changes;
    changes.reserve(inserted_.size() + size_t(updated_.size()) + deleted_.size());
    for (ManagedObject* object : inserted_) {
        ChangeEntry entry;
        entry.id = object->id_;
        entry.kind = ChangeEntry::Kind::Insert;
        entry.values = object->currentRow();
        entry.changedAttributes = entry.changedRelationships = ~quint64(0);
        changes.add(std::move(entry));
    }
    for (ManagedObject* object : updated_) {
        if (!object->isUpdated())
            continue;
        ChangeEntry entry;
        entry.id = object->id_;
        entry.kind = ChangeEntry::Kind::Update;
        entry.values = object->currentRow();
        entry.original = object->committedRow();
        for (int i = 0; i < entry.values.values.size(); ++i)
            if (object->originalValues_.contains(i) && entry.values.values[i] != entry.original.values[i])
                entry.changedAttributes |= quint64(1) << i;
        for (int i = 0; i < entry.values.keys.size(); ++i)
            if (object->originalKeys_.contains(i) && entry.values.keys[i] != entry.original.keys[i])
                entry.changedRelationships |= quint64(1) << i;
        changes.add(std::move(entry));
    }
    for (ManagedObject* object : deleted_) {
        ChangeEntry entry;
        entry.id = object->id_;
        entry.kind = ChangeEntry::Kind::Delete;
        changes.add(std::move(entry));
    }
    return changes;
}

pt::Result<void> ObjectContext::save()
{
    checkThread();
    if (!inserted_.empty())
        if (auto r = obtainPermanentIDs(QVector<ManagedObject*>(inserted_.begin(), inserted_.end())); !r)
            return r;
    return parent_ ? saveToParent() : saveToStore();
}

pt::Result<void> ObjectContext::saveToStore()
{
    ChangeSet own = ownChanges();
    std::unique_lock lock(pushedMutex_);
    ChangeSet all = pushed_.isEmpty() ? std::move(own) : pushed_;
    if (!pushed_.isEmpty())
        for (const ChangeEntry& entry : own.entries())
            all.add(entry);
    if (all.isEmpty()) {
        lock.unlock();
        afterSave(nullptr);
        return {};
    }
    auto written = coordinator_->write(all, mergePolicy_);
    if (!written)
        return written.error();
    pushed_.clear();
    lock.unlock();
    afterSave(&*written);
    postDidSave(all, written->rows);
    return {};
}

pt::Result<void> ObjectContext::saveToParent()
{
    const ChangeSet own = ownChanges();
    if (own.isEmpty()) {
        afterSave(nullptr);
        return {};
    }
    parent_->acceptChildChanges(own);
    QHash<ObjectID, StoreRow> rows;
    for (const ChangeEntry& entry : own.entries())
        if (entry.kind != ChangeEntry::Kind::Delete)
            rows.insert(entry.id, entry.values);
    afterSave(nullptr);
    postDidSave(own, rows);
    return {};
}

void ObjectContext::acceptChildChanges(const ChangeSet& changes)
{
    std::lock_guard lock(pushedMutex_);
    for (const ChangeEntry& entry : changes.entries())
        pushed_.add(entry);
}

void ObjectContext::afterSave(const StoreCoordinator::WriteResult* written)
{
    const auto inserted = std::exchange(inserted_, {});
    const auto updated = std::exchange(updated_, {});
    const auto deleted = std::exchange(deleted_, {});
    for (ManagedObject* object : inserted) {
        object->inserted_ = false;
        if (!written)
            continue;
        if (written->adjusted.contains(object->id_))
            applyRow(object, written->rows.value(object->id_), false);
        else
            object->opt_ = 1;
    }
    for (ManagedObject* object : updated) {
        if (written && written->vanished.contains(object->id_)) {
            entomb(object);
            continue;
        }
        if (written && written->rows.contains(object->id_))
            applyRow(object, written->rows.value(object->id_), false);
        else
            object->clearChanges();
    }
    updated_.clear();
    for (ManagedObject* object : deleted)
        entomb(object);
}

void ObjectContext::applyRow(ManagedObject* object, const StoreRow& row, bool keepChanges)
{
    const EntityDescription& entity = *object->entity_;
    object->opt_ = row.opt;
    for (int i = 0; i < entity.attributes().size(); ++i) {
        const QVariant& stored = row.values.at(i);
        if (keepChanges && object->originalValues_.contains(i)) {
            object->originalValues_[i] = stored;
            continue;
        }
        if (object->values_[i] != stored || object->values_[i].isValid() != stored.isValid()) {
            object->values_[i] = stored;
            object->notify(entity.attributes()[i].name);
        }
    }
    for (int i = 0; i < entity.relationships().size(); ++i) {
        if (!entity.relationships()[i].hasColumn())
            continue;
        const qint64 key = row.keys.value(i);
        if (keepChanges && object->originalKeys_.contains(i)) {
            object->originalKeys_[i] = key;
            continue;
        }
        const ManagedObject* current = object->targets_[i];
        if (current ? current->id_.primaryKey() == key && !current->id_.isTemporary() : key == 0)
            continue;
        ManagedObject* target = object->targetWithKey(i, key);
        if (object->targets_[i] != target) {
            object->setTarget(i, target, true);
            object->originalKeys_.remove(i);
        }
    }
    if (!keepChanges)
        object->clearChanges();
    if (object->originalValues_.isEmpty() && object->originalKeys_.isEmpty())
        updated_.remove(object);
}

void ObjectContext::postDidSave(const ChangeSet& changes, const QHash<ObjectID, StoreRow>& rows)
{
    DidSave didSave;
    didSave.context = this;
    didSave.rows = rows;
    for (const ChangeEntry& entry : changes.entries()) {
        const EntityDescription& entity = *entry.id.entity();
        switch (entry.kind) {
        case ChangeEntry::Kind::Insert:
            didSave.inserted.append(entry.id);
            break;
        case ChangeEntry::Kind::Delete:
            didSave.deleted.append(entry.id);
            break;
        case ChangeEntry::Kind::Update: {
            // Its row was deleted by another writer before this save reached it.
            if (!rows.contains(entry.id)) {
                didSave.deleted.append(entry.id);
                break;
            }
            QSet<QString> keys;
            for (int i = 0; i < entity.attributes().size(); ++i)
                if (entry.changedAttributes & (quint64(1) << i))
                    keys.insert(entity.attributes()[i].name);
            for (int i = 0; i < entity.relationships().size(); ++i)
                if (entry.changedRelationships & (quint64(1) << i))
                    keys.insert(entity.relationships()[i].name);
            didSave.updated.insert(entry.id, keys);
            break;
        }
        }
    }
    notify(saveObservers_, didSave);
}

void ObjectContext::notify(std::vector<std::shared_ptr<SaveObserver>>& list, const DidSave& didSave)
{
    std::vector<std::shared_ptr<SaveObserver>> observers;
    {
        std::lock_guard lock(observersMutex_);
        std::erase_if(list, [](const auto& observer) { return !observer->active; });
        observers = list;
    }
    for (const auto& observer : observers)
        if (observer->active)
            observer->callback(didSave);
}

void ObjectContext::refresh(ManagedObject* object, bool mergeChanges)
{
    if (!object || object->inserted_ || object->deleted_ || object->fault_)
        return;
    if (mergeChanges) {
        auto row = readRow(object->id_);
        if (row && *row)
            applyRow(object, **row, true);
        return;
    }
    // Undo relationship edits first, so that the loaded inverses stay right.
    const auto originalKeys = object->originalKeys_;
    for (auto it = originalKeys.cbegin(); it != originalKeys.cend(); ++it)
        object->setTarget(it.key(), object->targetWithKey(it.key(), it.value()), true);
    updated_.remove(object);
    object->makeFault();
}

void ObjectContext::reset()
{
    inserted_.clear();
    updated_.clear();
    deleted_.clear();
    permanentIDs_.clear();
    tombstones_.clear();
    objects_.clear();
}

void ObjectContext::mergeChanges(const DidSave& changes)
{
    checkThread();
    if (changes.context == this)
        return;
    for (const ObjectID& id : changes.deleted) {
        ManagedObject* object = registeredObject(id);
        if (!object || object->deleted_)
            continue;
        const EntityDescription& entity = *object->entity_;
        for (int i = 0; i < entity.relationships().size(); ++i) {
            const int inverse = entity.inverseIndex(i);
            const QString& inverseKey = entity.target(i)->relationships()[inverse].name;
            if (entity.relationships()[i].toMany) {
                const QVector<ManagedObject*>* members = object->loadedMembers(i);
                for (ManagedObject* member : members ? *members : QVector<ManagedObject*>())
                    if (member->targets_[inverse] == object) {
                        member->targets_[inverse] = nullptr;
                        if (member->originalKeys_.contains(inverse))
                            member->originalKeys_[inverse] = 0;
                        member->notify(inverseKey);
                    }
            } else if (ManagedObject* target = object->targets_[i]; target && target->loadedMembers(inverse)) {
                target->loadedMembers(inverse)->removeAll(object);
                target->notify(inverseKey);
            }
        }
        dropFromLists(object);
        entomb(object);
    }
    for (auto it = changes.updated.cbegin(); it != changes.updated.cend(); ++it)
        mergeRow(it.key(), changes);
    for (const ObjectID& id : changes.inserted)
        mergeRow(id, changes);
    notify(mergeObservers_, changes);
}

void ObjectContext::mergeRow(const ObjectID& id, const DidSave& changes)
{
    const auto saved = changes.rows.constFind(id);
    if (saved == changes.rows.cend() || !isStored(id))
        return;
    ManagedObject* object = registeredObject(id);
    if (object && object->deleted_)
        return;
    StoreRow row = *saved;
    overlayPushed(id, row);
    if (object && !object->fault_) {
        applyRow(object, row, true);
        // Loaded here before its save was merged (a fetch by ID): the owners' loaded lists may not hold it yet.
        const EntityDescription& entity = *object->entity_;
        for (int i = 0; i < entity.relationships().size(); ++i) {
            ManagedObject* owner = object->targets_[i];
            if (!entity.relationships()[i].hasColumn() || object->originalKeys_.contains(i) || !owner)
                continue;
            QVector<ManagedObject*>* members = owner->loadedMembers(entity.inverseIndex(i));
            if (members && !members->contains(object)) {
                members->append(object);
                owner->notify(inverseName(entity, i));
            }
        }
        return;
    }
    // Not loaded here: only the loaded to-many relationships that it leaves or joins change. A fault may still
    // be listed under the targets it was loaded with.
    const EntityDescription& entity = *id.entity();
    const auto ownerOf = [&](int relationship) {
        const qint64 key = row.keys.value(relationship);
        return key ? registeredObject(coordinator_->idFor(entity.target(relationship), key)) : nullptr;
    };
    for (int i = 0; object && i < entity.relationships().size(); ++i) {
        ManagedObject* old = object->targets_[i];
        const int inverse = entity.inverseIndex(i);
        if (old && old != ownerOf(i) && old->loadedMembers(inverse) && old->loadedMembers(inverse)->removeAll(object))
            old->notify(inverseName(entity, i));
    }
    for (int i = 0; i < entity.relationships().size(); ++i) {
        ManagedObject* owner = ownerOf(i);
        const int inverse = entity.inverseIndex(i);
        QVector<ManagedObject*>* members = owner ? owner->loadedMembers(inverse) : nullptr;
        if (!members)
            continue;
        if (!object)
            object = registerObject(id);
        if (object->fault_)
            object->load(row);
        if (!members->contains(object)) {
            members->append(object);
            owner->notify(inverseName(entity, i));
        }
    }
}

QVector<ManagedObject*> ObjectContext::insertedObjects() const
{
    return QVector<ManagedObject*>(inserted_.begin(), inserted_.end());
}

QVector<ManagedObject*> ObjectContext::updatedObjects() const
{
    QVector<ManagedObject*> result;
    for (ManagedObject* object : updated_)
        if (object->isUpdated())
            result.append(object);
    return result;
}

QVector<ManagedObject*> ObjectContext::deletedObjects() const
{
    return QVector<ManagedObject*>(deleted_.begin(), deleted_.end());
}

QVector<ManagedObject*> ObjectContext::registeredObjects() const
{
    QVector<ManagedObject*> result;
    result.reserve(qsizetype(objects_.size()));
    for (const auto& entry : objects_)
        result.append(entry.second.get());
    return result;
}

bool ObjectContext::hasChanges() const
{
    if (!inserted_.empty() || !deleted_.empty() || !updatedObjects().isEmpty())
        return true;
    std::lock_guard lock(pushedMutex_);
    return !pushed_.isEmpty();
}

ObservationToken ObjectContext::addObserver(std::vector<std::shared_ptr<SaveObserver>>& list, DidSaveCallback callback)
{
    auto observer = std::make_shared<SaveObserver>();
    observer->callback = std::move(callback);
    std::lock_guard lock(observersMutex_);
    list.push_back(observer);
    return ObservationToken(observer);
}

ObservationToken ObjectContext::onDidSave(DidSaveCallback callback)
{
    return addObserver(saveObservers_, std::move(callback));
}

ObservationToken ObjectContext::onDidMerge(DidSaveCallback callback)
{
    return addObserver(mergeObservers_, std::move(callback));
}

ObservationToken ObjectContext::observe(ManagedObject* object, const QString& key, ManagedObject::Observer callback)
{
    auto observer = std::make_shared<ManagedObject::KeyObserver>();
    observer->key = key;
    observer->callback = std::move(callback);
    object->observers_.push_back(observer);
    return ObservationToken(observer);
}

} // namespace pt::store
