// The extra context and object operations: unfaulting with prefetching, cloning, ending a worker, raw values.
#include "StoreTestSupport.h"

#include "library/store/ContextAdditions.h"
#include "library/store/PTCDAdditions.h"

#include <gtest/gtest.h>

using namespace pt::store;
using pt::test::makeObject;
using pt::test::TestStore;

namespace {

class AdditionsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto seed = store.worker();
        auto* licence = makeObject(*seed, "PTLicence", "MIT");
        auto* set = makeObject(*seed, "PTCollection", "Set");
        set->setToOne("licence", licence);
        for (int i = 0; i < 5; ++i) {
            auto* item = makeObject(*seed, "PTItem", QString::number(i));
            item->setToOne("collection", set);
            item->setValue("width", 16 + i);
        }
        ASSERT_TRUE(seed->save());
        for (ManagedObject* item : set->toMany("items"))
            itemIDs.append(item->objectID());
        setID = set->objectID();
    }

    TestStore store;
    QVector<ObjectID> itemIDs;
    ObjectID setID;
};

} // namespace

TEST_F(AdditionsTest, UnfaultLoadsObjectsAndTheirKeyPaths)
{
    auto context = store.worker();
    QVector<ManagedObject*> items;
    for (const ObjectID& id : itemIDs)
        items.append(context->objectWithID(id));
    contextAdditions::unfaultRelationships(*context, {"licence", "collection.licence"}, items, "PTItem");
    for (ManagedObject* item : items)
        EXPECT_FALSE(item->isFault());
    ManagedObject* set = context->objectWithID(setID);
    EXPECT_FALSE(set->isFault());
    EXPECT_FALSE(set->toOne("licence")->isFault());

    // A to-many key path fills the relationship.
    auto other = store.worker();
    ManagedObject* otherSet = other->objectWithID(setID);
    contextAdditions::unfaultRelationships(*other, {"items"}, {otherSet}, "PTCollection");
    EXPECT_EQ(otherSet->toMany("items").size(), 5);

    auto third = store.worker();
    QVector<ManagedObject*> mixed{third->objectWithID(itemIDs[0]), third->objectWithID(itemIDs[1])};
    mixed[0]->value("name");
    contextAdditions::unfault(*third, mixed, "PTItem");
    EXPECT_FALSE(mixed[1]->isFault());
}

TEST_F(AdditionsTest, CloneCopiesAttributesButNoRelationships)
{
    auto context = store.worker();
    ManagedObject* source = context->objectWithID(itemIDs[2]);
    auto target = store.worker();
    ManagedObject* copy = contextAdditions::clone(*context, source, target.get());
    EXPECT_EQ(copy->context(), target.get());
    EXPECT_TRUE(copy->isInserted());
    EXPECT_EQ(copy->value("name"), source->value("name"));
    EXPECT_EQ(copy->value("width"), source->value("width"));
    EXPECT_EQ(copy->toOne("collection"), nullptr);
    ManagedObject* local = contextAdditions::clone(*context, source, nullptr);
    EXPECT_EQ(local->context(), context.get());
}

TEST_F(AdditionsTest, RefreshWithMergeKeepsUnsavedChangesOverNewStoreValues)
{
    auto context = store.worker();
    ManagedObject* item = context->objectWithID(itemIDs[0]);
    item->setValue("name", "mine");
    auto other = store.worker();
    ManagedObject* theirs = other->objectWithID(itemIDs[0]);
    theirs->setValue("name", "theirs");
    theirs->setValue("width", 99);
    ASSERT_TRUE(other->save());

    context->refresh(item, true);
    EXPECT_EQ(item->value("name").toString(), "mine");
    EXPECT_EQ(item->value("width").toInt(), 99);
    EXPECT_TRUE(item->isUpdated());

    contextAdditions::resetAndBreakCycles(*context);
    EXPECT_TRUE(context->registeredObjects().isEmpty());
    EXPECT_FALSE(context->hasChanges());
}

TEST_F(AdditionsTest, SetRawValueNotifiesObservers)
{
    auto context = store.worker();
    ManagedObject* item = context->objectWithID(itemIDs[0]);
    int heard = 0;
    auto token = context->observe(item, "tagsString", [&](ManagedObject*, const QString&) { ++heard; });
    PTCDAdditions::setRawValue(item, QStringLiteral("a,b"), "tagsString");
    EXPECT_EQ(heard, 1);
    EXPECT_EQ(item->value("tagsString").toString(), "a,b");
}
