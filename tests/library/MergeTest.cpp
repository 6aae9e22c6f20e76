// A worker saves while the main context has unsaved edits of the same rows; the merge and the two policies.
#include "StoreTestSupport.h"

#include "TestSupport.h"
#include "platform/runtime/DispatchQueue.h"

#include <gtest/gtest.h>

#include <atomic>

using namespace pt::store;
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
