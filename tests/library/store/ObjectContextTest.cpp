// Contexts: identity, faults, relationships with their inverses, nullify on delete, change tracking,
// observation, refresh and reset.
#include "StoreTestSupport.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace pt::store;
using pt::test::fetchNames;
using pt::test::makeObject;
using pt::test::queryStore;
using pt::test::TestStore;

namespace {

ManagedObject* first(ObjectContext& context, const QString& entity, const QString& name)
{
    FetchRequest request;
    request.entityName = entity;
    request.predicate = *Predicate::parse("name=%@", {name});
    auto result = context.fetch(request);
    return result && !result->isEmpty() ? result->front() : nullptr;
}

} // namespace

TEST(ObjectContextTest, ObjectsAreUniquedFaultedAndLoadedOnAccess)
{
    TestStore store;
    auto seed = store.worker();
    auto* set = makeObject(*seed, "PTCollection", "Set");
    for (int i = 0; i < 3; ++i)
        makeObject(*seed, "PTItem", QString::number(i))->setToOne("collection", set);
    ASSERT_TRUE(seed->save());
    const ObjectID setID = set->objectID();

    auto context = store.worker();
    ManagedObject* fault = context->objectWithID(setID);
    EXPECT_TRUE(fault->isFault());
    EXPECT_EQ(fault->value("name").toString(), "Set");
    EXPECT_FALSE(fault->isFault());
    const auto members = fault->toMany("items");
    ASSERT_EQ(members.size(), 3);
    for (ManagedObject* item : members)
        EXPECT_EQ(item->toOne("collection"), fault);
    EXPECT_EQ(first(*context, "PTCollection", "Set"), fault);
}

// A long list reads a few values of each object without loading any; unsaved changes, the context's own or
// pushed into its parent, still show, as in fetch().
TEST(ObjectContextTest, FetchedValuesLeaveObjectsFaultsAndFollowUnsavedChanges)
{
    TestStore store;
    auto seed = store.worker();
    auto* set = makeObject(*seed, "PTCollection", "Set");
    auto* other = makeObject(*seed, "PTCollection", "Other");
    for (const char* name : {"b", "a", "c"})
        makeObject(*seed, "PTItem", name)->setToOne("collection", set);
    makeObject(*seed, "PTItem", "elsewhere")->setToOne("collection", other);
    ASSERT_TRUE(seed->save());

    // Contexts as the application stacks them: the one read is the child of another.
    auto parent = store.worker();
    auto context = std::make_shared<ObjectContext>(ObjectContext::Kind::Confinement, parent);
    FetchRequest request{"PTItem", Predicate::in("collection", {set->objectID()}), {}, {}, true, true};
    const auto read = [&](ObjectContext& reader) {
        QStringList seen;
        auto values = reader.fetchValues(request, {"name"}, {"collection"});
        EXPECT_TRUE(values);
        if (!values)
            return seen;
        for (const auto& value : *values) {
            EXPECT_EQ(value.object->value("name"), value.attributes.front());
            EXPECT_EQ(value.targets.front(), reader.objectWithID(set->objectID()));
            seen << value.attributes.front().toString();
        }
        seen.sort();
        return seen;
    };
    auto values = context->fetchValues(request, {"name"}, {"collection"});
    ASSERT_TRUE(values);
    ASSERT_EQ(values->size(), 3);
    for (const auto& value : *values)
        EXPECT_TRUE(value.object->isFault());
    EXPECT_EQ(read(*context), (QStringList{"a", "b", "c"}));

    first(*context, "PTItem", "a")->setValue("name", QString("renamed"));
    context->deleteObject(first(*context, "PTItem", "b"));
    makeObject(*context, "PTItem", "new")->setToOne("collection", context->objectWithID(set->objectID()));
    EXPECT_EQ(read(*context), (QStringList{"c", "new", "renamed"}));
    ASSERT_TRUE(context->save());
    ObjectContext sibling(ObjectContext::Kind::Confinement, parent);
    EXPECT_EQ(read(sibling), (QStringList{"c", "new", "renamed"}));

    EXPECT_FALSE(context->fetchValues(request, {"nothing"}, {}));
    EXPECT_FALSE(context->fetchValues(request, {}, {"name"}));
}

TEST(ObjectContextTest, RelationshipsKeepTheirInversesInMemory)
{
    TestStore store;
    auto context = store.worker();
    auto* a = makeObject(*context, "PTCollection", "A");
    auto* b = makeObject(*context, "PTCollection", "B");
    auto* item = makeObject(*context, "PTItem", "item");
    a->addTo("items", item);
    EXPECT_EQ(item->toOne("collection"), a);
    EXPECT_EQ(a->toMany("items"), QVector<ManagedObject*>{item});
    item->setToOne("collection", b);
    EXPECT_TRUE(a->toMany("items").isEmpty());
    EXPECT_EQ(b->toMany("items"), QVector<ManagedObject*>{item});
    b->removeFrom("items", item);
    EXPECT_EQ(item->toOne("collection"), nullptr);
    EXPECT_TRUE(b->toMany("items").isEmpty());
}

TEST(ObjectContextTest, DeletingASetGroupOrLicenceLeavesNoDanglingRelationship)
{
    TestStore store;
    {
        auto seed = store.worker();
        auto* licence = makeObject(*seed, "PTLicence", "MIT");
        auto* parent = makeObject(*seed, "PTGroup", "Parent");
        auto* child = makeObject(*seed, "PTGroup", "Child");
        child->setToOne("group", parent);
        auto* set = makeObject(*seed, "PTCollection", "Set");
        set->setToOne("group", parent);
        set->setToOne("licence", licence);
        for (int i = 0; i < 4; ++i) {
            auto* item = makeObject(*seed, "PTItem", QString::number(i));
            item->setToOne("collection", set);
            item->setToOne("licence", licence);
        }
        ASSERT_TRUE(seed->save());
    }
    // One context holds some items loaded; the deleting context has never loaded them.
    auto observer = store.worker();
    ManagedObject* loadedItem = first(*observer, "PTItem", "0");
    ASSERT_TRUE(loadedItem->toOne("collection"));

    auto context = store.worker();
    context->deleteObject(first(*context, "PTCollection", "Set"));
    context->deleteObject(first(*context, "PTGroup", "Parent"));
    context->deleteObject(first(*context, "PTLicence", "MIT"));
    // In memory, at once.
    ManagedObject* item = first(*context, "PTItem", "1");
    EXPECT_EQ(item->toOne("collection"), nullptr);
    EXPECT_EQ(item->toOne("licence"), nullptr);
    EXPECT_EQ(first(*context, "PTGroup", "Child")->toOne("group"), nullptr);
    EXPECT_EQ(fetchNames(*context, "PTItem", "collection=nil").size(), 4);

    DidSave saved;
    auto token = context->onDidSave([&](const DidSave& didSave) { saved = didSave; });
    ASSERT_TRUE(context->save());
    // On disk.
    EXPECT_EQ(queryStore(store.path(), "SELECT count(*) FROM PTItem WHERE collection IS NOT NULL OR licence IS NOT NULL"), "0");
    EXPECT_EQ(queryStore(store.path(), "SELECT count(*) FROM PTGroup WHERE parent IS NOT NULL"), "0");
    EXPECT_EQ(queryStore(store.path(), "PRAGMA foreign_key_check"), "");
    EXPECT_EQ(saved.deleted.size(), 3);
    EXPECT_EQ(saved.updated.size(), 5);

    // In another context, through the merge.
    observer->mergeChanges(saved);
    EXPECT_EQ(loadedItem->toOne("collection"), nullptr);
    EXPECT_EQ(loadedItem->toOne("licence"), nullptr);
}

TEST(ObjectContextTest, ChangesAreTrackedAndObservedPerKey)
{
    TestStore store;
    auto seed = store.worker();
    makeObject(*seed, "PTLicence", "MIT")->setValue("url", "https://example.org");
    ASSERT_TRUE(seed->save());

    auto context = store.worker();
    ManagedObject* licence = first(*context, "PTLicence", "MIT");
    QStringList heard;
    auto token = context->observe(licence, "name", [&](ManagedObject*, const QString& key) { heard << key; });
    EXPECT_TRUE(licence->changedValues().isEmpty());
    licence->setValue("name", "Apache");
    licence->setValue("url", "https://example.org");
    EXPECT_EQ(licence->changedValues(), (QVariantMap{{"name", "Apache"}}));
    EXPECT_TRUE(licence->isUpdated());
    EXPECT_TRUE(context->hasChanges());
    EXPECT_EQ(heard, QStringList{"name"});

    // Setting the old value back leaves nothing to save.
    licence->setValue("name", "MIT");
    EXPECT_FALSE(licence->isUpdated());
    EXPECT_FALSE(context->hasChanges());

    licence->setValue("name", "BSD");
    context->refresh(licence, false);
    EXPECT_TRUE(licence->isFault());
    EXPECT_EQ(licence->value("name").toString(), "MIT");
    token.reset();
    licence->setValue("name", "GPL");
    EXPECT_EQ(heard.size(), 3);
}

TEST(ObjectContextTest, TemporaryIdsBecomePermanentAndStillFindTheirObject)
{
    TestStore store;
    auto context = store.worker();
    ManagedObject* set = makeObject(*context, "PTCollection", "New");
    const ObjectID temporary = set->objectID();
    EXPECT_TRUE(temporary.isTemporary());
    EXPECT_TRUE(temporary.uriString().startsWith("x-ptstore:///PTCollection/t"));
    EXPECT_EQ(context->existingObjectWithID(temporary), set);
    ASSERT_TRUE(context->obtainPermanentIDs({set}));
    EXPECT_FALSE(set->objectID().isTemporary());
    EXPECT_EQ(context->objectWithID(temporary), set);
    EXPECT_EQ(context->objectWithID(set->objectID()), set);
    // The row does not exist before the save.
    EXPECT_FALSE(store.coordinator()->exists(set->objectID()));
    ASSERT_TRUE(context->save());
    EXPECT_TRUE(store.coordinator()->exists(set->objectID()));
}

TEST(ObjectContextTest, AFailedSaveKeepsEveryChange)
{
    TestStore store;
    auto context = store.worker();
    makeObject(*context, "PTItem", "first");
    ASSERT_TRUE(context->save());

    // Another connection holds the write lock, so the save fails after its busy timeout.
    StoreCoordinator::Options options;
    options.busyTimeoutMs = 50;
    auto impatient = StoreCoordinator::open(store.path(), PTModel::current(), options);
    ASSERT_TRUE(impatient);
    auto worker = std::make_shared<ObjectContext>(ObjectContext::Kind::Confinement, *impatient);
    ManagedObject* item = first(*worker, "PTItem", "first");
    item->setValue("name", "renamed");
    ManagedObject* added = makeObject(*worker, "PTItem", "second");
    ASSERT_TRUE(worker->obtainPermanentIDs({added}));

    sqlite3* blocker = nullptr;
    sqlite3_open(store.path().toUtf8().constData(), &blocker);
    ASSERT_EQ(sqlite3_exec(blocker, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_FALSE(worker->save());
    EXPECT_TRUE(worker->hasChanges());
    EXPECT_TRUE(added->isInserted());
    sqlite3_exec(blocker, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(blocker);

    ASSERT_TRUE(worker->save());
    EXPECT_EQ(fetchNames(*store.worker(), "PTItem", "TRUEPREDICATE"), (QStringList{"renamed", "second"}));
}

TEST(ObjectContextTest, SortedFetchesOrderStoredAndPendingObjectsTogether)
{
    TestStore store;
    auto seed = store.worker();
    for (const char* name : {"beta", "Delta", "alpha"})
        makeObject(*seed, "PTGroup", name);
    ASSERT_TRUE(seed->save());
    auto context = store.worker();
    makeObject(*context, "PTGroup", "charlie");
    FetchRequest request;
    request.entityName = "PTGroup";
    request.sort = {{"name", true, SortDescriptor::Comparison::CaseInsensitive}};
    const auto names = [&] {
        const auto groups = context->fetch(request);
        QStringList ordered;
        for (ManagedObject* group : *groups)
            ordered << group->value("name").toString();
        return ordered;
    };
    EXPECT_EQ(names(), (QStringList{"alpha", "beta", "charlie", "Delta"}));
    request.sort = {{"name", false, SortDescriptor::Comparison::Default}};
    request.includesPendingChanges = false;
    EXPECT_EQ(names(), (QStringList{"beta", "alpha", "Delta"}));
}

TEST(ObjectContextTest, AKeyToARowDeletedMeanwhileIsSavedAsNil)
{
    TestStore store;
    auto seed = store.worker();
    ManagedObject* doomed = makeObject(*seed, "PTCollection", "Doomed");
    ASSERT_TRUE(seed->save());

    auto importer = store.worker();
    ManagedObject* set = importer->objectWithID(doomed->objectID());
    ManagedObject* item = makeObject(*importer, "PTItem", "late");
    item->setToOne("collection", set);

    auto remover = store.worker();
    remover->deleteObject(remover->objectWithID(doomed->objectID()));
    ASSERT_TRUE(remover->save());

    // The save succeeds (a dangling key would fail every later save) and the item reads as unlinked.
    ASSERT_TRUE(importer->save());
    EXPECT_EQ(item->toOne("collection"), nullptr);
    EXPECT_EQ(queryStore(store.path(), "SELECT count(*) FROM PTItem WHERE collection IS NULL"), "1");
    EXPECT_EQ(queryStore(store.path(), "PRAGMA foreign_key_check"), "");
}
