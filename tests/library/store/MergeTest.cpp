// A worker saves while the main context has unsaved edits of the same rows, or edits waiting in the writer; the
// merge and the two policies.
#include "StoreTestSupport.h"

#include "TestSupport.h"
#include "platform/runtime/DispatchQueue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>

using namespace pt::store;
using pt::test::fetchNames;
using pt::test::makeObject;
using pt::test::queryStore;
using pt::test::TestStore;

namespace {

class MergeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto seed = store.worker();
        auto* set = makeObject(*seed, "PTCollection", "Set");
        for (int i = 0; i < 1000; ++i) {
            auto* item = makeObject(*seed, "PTItem", QStringLiteral("item %1").arg(i));
            item->setValue("tagsString", "seed");
            item->setToOne("collection", set);
        }
        ASSERT_TRUE(seed->save());
        setID = set->objectID();
        writer = std::make_shared<ObjectContext>(ObjectContext::Kind::PrivateQueue, store.coordinator());
        main = std::make_shared<ObjectContext>(ObjectContext::Kind::MainQueue, writer);
    }

    // Saves main into the writer and the writer into the store.
    void saveThrough()
    {
        ASSERT_TRUE(main->save());
        bool ok = false;
        writer->performAndWait([&] { ok = writer->save().ok(); });
        ASSERT_TRUE(ok);
    }

    // Renames an item to "main" and saves that into the writer, where it waits for the writer's save.
    ManagedObject* renameWaitingInWriter()
    {
        ManagedObject* item = itemsOf(*main).front();
        item->setValue("name", "main");
        EXPECT_TRUE(main->save());
        return item;
    }

    QVector<ManagedObject*> itemsOf(ObjectContext& context)
    {
        return context.objectWithID(setID)->toMany("items");
    }

    TestStore store;
    ObjectID setID;
    std::shared_ptr<ObjectContext> writer;
    std::shared_ptr<ObjectContext> main;
};

} // namespace

TEST_F(MergeTest, AWorkerSaveMergesIntoMainWhoseOwnEditsWin)
{
    const QVector<ManagedObject*> mainItems = itemsOf(*main);
    ASSERT_EQ(mainItems.size(), 1000);
    for (int i = 0; i < 10; ++i)
        mainItems[i]->setValue("name", QStringLiteral("main %1").arg(i));
    QStringList heard;
    auto token = main->observe(mainItems[20], "tagsString", [&](ManagedObject*, const QString& key) { heard << key; });

    std::atomic<bool> merged = false;
    pt::DispatchQueue::global().async([&] {
        auto worker = std::make_shared<ObjectContext>(ObjectContext::Kind::Confinement, store.coordinator());
        auto observer = worker->onDidSave([&](const DidSave& didSave) {
            auto copy = std::make_shared<DidSave>(didSave);
            main->perform([&, copy] {
                main->mergeChanges(*copy);
                merged = true;
            });
        });
        ManagedObject* set = worker->objectWithID(setID);
        for (ManagedObject* item : set->toMany("items")) {
            item->setValue("tagsString", "worker");
            if (item->value("name").toString() < "item 10")
                item->setValue("name", "worker");
        }
        for (int i = 0; i < 1000; ++i)
            makeObject(*worker, "PTItem", QStringLiteral("new %1").arg(i))->setToOne("collection", set);
        EXPECT_TRUE(worker->save());
    });
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return merged.load(); }, 20000));

    // Main sees every row, the worker's values where it has no edits, and its own edits.
    EXPECT_EQ(itemsOf(*main).size(), 2000);
    FetchRequest request;
    request.entityName = "PTItem";
    request.predicate = *Predicate::parse("collection=%@", {main->objectWithID(setID)});
    EXPECT_EQ(*main->count(request), 2000);
    EXPECT_EQ(mainItems[20]->value("tagsString").toString(), "worker");
    EXPECT_EQ(heard, QStringList{"tagsString"});
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(mainItems[i]->value("name").toString(), QStringLiteral("main %1").arg(i));
    EXPECT_EQ(mainItems[0]->value("tagsString").toString(), "worker");

    saveThrough();
    EXPECT_EQ(queryStore(store.path(), "SELECT count(*) FROM PTItem WHERE name LIKE 'main %'"), "10");
    EXPECT_EQ(queryStore(store.path(), "SELECT count(*) FROM PTItem WHERE name = 'worker'"), "0");
    EXPECT_EQ(queryStore(store.path(), "SELECT count(*) FROM PTItem WHERE tagsString = 'worker'"), "1000");
}

TEST_F(MergeTest, StoreTrumpDropsOnlyTheConflictingColumn)
{
    auto worker = store.worker(MergePolicy::StoreTrumpByProperty);
    const QVector<ManagedObject*> workerItems = itemsOf(*worker);
    const QVector<ManagedObject*> mainItems = itemsOf(*main);
    for (int i = 0; i < 10; ++i)
        mainItems[i]->setValue("name", QStringLiteral("main %1").arg(i));
    saveThrough();

    for (int i = 0; i < 20; ++i) {
        workerItems[i]->setValue("name", "worker");
        workerItems[i]->setValue("tagsString", "worker");
    }
    ASSERT_TRUE(worker->save());
    // Rows 0-9 conflict on the name: the store keeps main's; the tags and the unconflicted rows are written.
    EXPECT_EQ(queryStore(store.path(), "SELECT count(*) FROM PTItem WHERE name LIKE 'main %'"), "10");
    EXPECT_EQ(queryStore(store.path(), "SELECT count(*) FROM PTItem WHERE name = 'worker'"), "10");
    EXPECT_EQ(queryStore(store.path(), "SELECT count(*) FROM PTItem WHERE tagsString = 'worker'"), "20");
    EXPECT_EQ(workerItems[0]->value("name").toString(), "main 0");
    EXPECT_FALSE(worker->hasChanges());

    // The same edits under object-trump overwrite.
    auto objectTrump = store.worker(MergePolicy::ObjectTrumpByProperty);
    const QVector<ManagedObject*> otherItems = itemsOf(*objectTrump);
    for (int i = 0; i < 10; ++i)
        mainItems[i]->setValue("name", QStringLiteral("again %1").arg(i));
    saveThrough();
    otherItems[0]->setValue("name", "object wins");
    ASSERT_TRUE(objectTrump->save());
    EXPECT_EQ(queryStore(store.path(), "SELECT name FROM PTItem WHERE pk = " + QString::number(otherItems[0]->objectID().primaryKey())),
              "object wins");
}

TEST_F(MergeTest, WorkersAndTheSavePathRunTogetherWithoutLosingAnything)
{
    constexpr int Rounds = 20;
    std::atomic<int> merged = 0;
    std::atomic<int> written = 0;
    ManagedObject* set = main->objectWithID(setID);
    for (int round = 0; round < Rounds; ++round) {
        pt::DispatchQueue::global().async([&, round] {
            auto worker = std::make_shared<ObjectContext>(ObjectContext::Kind::Confinement, store.coordinator());
            auto observer = worker->onDidSave([&](const DidSave& didSave) {
                auto copy = std::make_shared<DidSave>(didSave);
                main->perform([&, copy] {
                    main->mergeChanges(*copy);
                    ++merged;
                });
            });
            ManagedObject* workerSet = worker->objectWithID(setID);
            for (int i = 0; i < 50; ++i)
                makeObject(*worker, "PTItem", QStringLiteral("w%1-%2").arg(round).arg(i))->setToOne("collection", workerSet);
            EXPECT_TRUE(worker->save());
        });
        // Meanwhile the main context edits and saves through the writer.
        makeObject(*main, "PTGroup", QStringLiteral("g%1").arg(round));
        set->setValue("sort", round);
        ASSERT_TRUE(main->save());
        writer->perform([&] {
            EXPECT_TRUE(writer->save());
            ++written;
        });
    }
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return merged == Rounds && written == Rounds; }, 30000));
    EXPECT_EQ(set->toMany("items").size(), 1000 + Rounds * 50);
    EXPECT_EQ(queryStore(store.path(), "SELECT count(*) FROM PTItem"), QString::number(1000 + Rounds * 50));
    EXPECT_EQ(queryStore(store.path(), "SELECT count(*) FROM PTGroup"), QString::number(Rounds));
    EXPECT_EQ(queryStore(store.path(), "SELECT sort FROM PTCollection"), QString::number(Rounds - 1));
    EXPECT_EQ(queryStore(store.path(), "PRAGMA integrity_check"), "ok");
}

namespace {

DidSave savedBy(ObjectContext& context, const std::function<void()>& work)
{
    DidSave saved;
    auto token = context.onDidSave([&](const DidSave& didSave) { saved = didSave; });
    work();
    return saved;
}

} // namespace

TEST_F(MergeTest, WhileMainsSaveWaitsInTheWriterItsReadsKeepAWorkersOtherColumns)
{
    ManagedObject* item = renameWaitingInWriter();
    const ObjectID itemID = item->objectID();

    auto worker = store.worker();
    const DidSave saved = savedBy(*worker, [&] {
        worker->objectWithID(itemID)->setValue("tagsString", "worker");
        ASSERT_TRUE(worker->save());
    });
    main->mergeChanges(saved);

    // Fetches and a fault fired again see the stored column under main's pending one.
    EXPECT_EQ(fetchNames(*main, "PTItem", "tagsString == %@", {QString("worker")}), QStringList{"main"});
    EXPECT_TRUE(fetchNames(*main, "PTItem", "tagsString == %@ AND name == %@", {QString("seed"), QString("main")}).isEmpty());
    main->refresh(item, false);
    EXPECT_EQ(item->value("tagsString").toString(), "worker");
    EXPECT_EQ(item->value("name").toString(), "main");

    saveThrough();
    EXPECT_EQ(queryStore(store.path(), "SELECT name || ' ' || tagsString FROM PTItem WHERE pk = "
                                           + QString::number(itemID.primaryKey())),
              "main worker");
}

TEST_F(MergeTest, ARowAWorkerDeletedStaysDeletedWhileMainsSaveWaitsInTheWriter)
{
    const ObjectID itemID = renameWaitingInWriter()->objectID();

    auto worker = store.worker();
    const DidSave deleted = savedBy(*worker, [&] {
        worker->deleteObject(worker->objectWithID(itemID));
        ASSERT_TRUE(worker->save());
    });
    main->mergeChanges(deleted);

    EXPECT_TRUE(fetchNames(*main, "PTItem", "name == %@", {QString("main")}).isEmpty());
    FetchRequest inSet;
    inSet.entityName = "PTItem";
    inSet.predicate = *Predicate::parse("collection=%@", {setID});
    EXPECT_EQ(*main->count(inSet), 999);
    EXPECT_EQ(main->existingObjectWithID(itemID), nullptr);

    // The writer's save finds the row gone and tells of it as deleted.
    DidSave written;
    writer->performAndWait([&] { written = savedBy(*writer, [&] { EXPECT_TRUE(writer->save()); }); });
    EXPECT_EQ(written.deleted, QVector<ObjectID>{itemID});
    EXPECT_FALSE(written.updated.contains(itemID));
    main->mergeChanges(written);
    const ManagedObject* registered = main->registeredObject(itemID);
    EXPECT_TRUE(!registered || registered->isDeleted());
    EXPECT_EQ(itemsOf(*main).size(), 999);
    EXPECT_EQ(queryStore(store.path(), "SELECT count(*) FROM PTItem"), "999");
}

TEST_F(MergeTest, AMergeMovesObjectsBetweenLoadedToManyRelationships)
{
    enum class Held { BothSets, TargetSetOnly, MovedItemAsFault };
    for (const Held held : {Held::BothSets, Held::TargetSetOnly, Held::MovedItemAsFault}) {
        SCOPED_TRACE(int(held));
        auto seed = store.worker();
        ManagedObject* seedFrom = makeObject(*seed, "PTCollection", "From");
        ManagedObject* seedTo = makeObject(*seed, "PTCollection", "To");
        for (int i = 0; i < 3; ++i)
            makeObject(*seed, "PTItem", QString::number(i))->setToOne("collection", seedFrom);
        ASSERT_TRUE(seed->save());

        auto context = store.worker();
        ManagedObject* from = context->objectWithID(seedFrom->objectID());
        ManagedObject* to = context->objectWithID(seedTo->objectID());
        ASSERT_TRUE(to->toMany("items").isEmpty());
        if (held != Held::TargetSetOnly) {
            ASSERT_EQ(from->toMany("items").size(), 3);
        }
        if (held == Held::MovedItemAsFault)
            context->refresh(from->toMany("items").front(), false);

        auto worker = store.worker();
        const DidSave moved = savedBy(*worker, [&] {
            for (ManagedObject* item : worker->objectWithID(seedFrom->objectID())->toMany("items").mid(0, 2))
                item->setToOne("collection", worker->objectWithID(seedTo->objectID()));
            ASSERT_TRUE(worker->save());
        });
        context->mergeChanges(moved);

        EXPECT_EQ(to->toMany("items").size(), 2);
        EXPECT_EQ(pt::test::namesOf(to->toMany("items")), (QStringList{"0", "1"}));
        EXPECT_EQ(pt::test::namesOf(from->toMany("items")), QStringList{"2"});
        for (ManagedObject* item : to->toMany("items"))
            EXPECT_EQ(item->toOne("collection"), to);
    }
}

TEST_F(MergeTest, AMergeOfAnotherStoresSaveIsIgnored)
{
    TestStore other;
    auto seed = other.worker();
    ManagedObject* otherSet = makeObject(*seed, "PTCollection", "Other");
    ASSERT_TRUE(seed->save());
    // The same key in both stores: only the store tells the two sets apart.
    ASSERT_EQ(otherSet->objectID().primaryKey(), setID.primaryKey());
    ASSERT_EQ(itemsOf(*main).size(), 1000);

    auto worker = other.worker();
    const DidSave foreign = savedBy(*worker, [&] {
        ManagedObject* set = worker->objectWithID(otherSet->objectID());
        set->setValue("name", "Renamed");
        makeObject(*worker, "PTItem", "foreign")->setToOne("collection", set);
        ASSERT_TRUE(worker->save());
    });
    main->mergeChanges(foreign);

    EXPECT_EQ(itemsOf(*main).size(), 1000);
    EXPECT_EQ(main->objectWithID(setID)->value("name").toString(), "Set");
    EXPECT_FALSE(main->hasChanges());
}
