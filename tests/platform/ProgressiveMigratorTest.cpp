#include "platform/store/ObjectContext.h"
#include "platform/store/ProgressiveMigrator.h"
#include "platform/store/StoreError.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace pt::store;

namespace {

std::shared_ptr<const ObjectModel> noteModel(int version, QVector<AttributeDescription> attributes)
{
    std::vector<EntityDescription> entities;
    entities.emplace_back(QStringLiteral("Note"), attributes, QVector<RelationshipDescription>{});
    return std::make_shared<const ObjectModel>(QStringLiteral("Notes%1").arg(version), version, std::move(entities));
}

const auto v1 = noteModel(1, {{"title", AttributeType::String}});
const auto v2 = noteModel(2, {{"title", AttributeType::String}, {"body", AttributeType::String, false, true}});
const auto v3 = noteModel(3, {{"title", AttributeType::Int64}});

QString makeStore(const QTemporaryDir& dir, const std::shared_ptr<const ObjectModel>& model, QString* uri = nullptr)
{
    const QString path = dir.filePath("Notes.db");
    auto coordinator = StoreCoordinator::open(path, model);
    EXPECT_TRUE(coordinator.ok());
    ObjectContext context(ObjectContext::Kind::Confinement, *coordinator);
    ManagedObject* note = context.insert("Note");
    note->setValue("title", QStringLiteral("first"));
    EXPECT_TRUE(context.save().ok());
    if (uri)
        *uri = note->objectID().uriString();
    return path;
}

} // namespace

TEST(ProgressiveMigrator, AdditiveModelsOnly)
{
    EXPECT_TRUE(ProgressiveMigrator::isAdditive(*v1, *v2));
    EXPECT_FALSE(ProgressiveMigrator::isAdditive(*v2, *v1));
    EXPECT_FALSE(ProgressiveMigrator::isAdditive(*v1, *v3));
    EXPECT_FALSE(ProgressiveMigrator::isAdditive(*v1, *v1));
    EXPECT_EQ(ProgressiveMigrator::destinationPath("/a/Rorev.db", "Pictern8"), "/a/Rorev.Pictern8.db");
}

TEST(ProgressiveMigrator, InferredStepKeepsRowsKeysAndIdentity)
{
    QTemporaryDir dir;
    QString uri;
    const QString path = makeStore(dir, v1, &uri);
    const QString uuid = StoreCoordinator::metadataForStore(path)->storeUuid;

    auto passes = ProgressiveMigrator({v1, v2, v3}, {}).migrate(path, *v2);
    ASSERT_TRUE(passes.ok()) << passes.error().toString().toStdString();
    ASSERT_EQ(passes->size(), 1);
    auto coordinator = StoreCoordinator::open(path, v2);
    ASSERT_TRUE(coordinator.ok());
    EXPECT_EQ((*coordinator)->storeUuid(), uuid);
    ObjectContext context(ObjectContext::Kind::Confinement, *coordinator);
    ManagedObject* note = context.existingObjectWithID(*(*coordinator)->objectIDForUri(uri));
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->value("title").toString(), "first");
    EXPECT_TRUE(note->value("body").isNull());
    // Already current: nothing to do.
    coordinator->reset();
    EXPECT_TRUE(ProgressiveMigrator({v1, v2}, {}).migrate(path, *v2)->isEmpty());
}

TEST(ProgressiveMigrator, NoWayOnLeavesTheStoreAsItWas)
{
    QTemporaryDir dir;
    const QString path = makeStore(dir, v2);
    for (const auto& target : {v1, v3}) {
        auto passes = ProgressiveMigrator({v1, v2, v3}, {}).migrate(path, *target);
        ASSERT_FALSE(passes.ok());
        EXPECT_EQ(passes.error().code, StoreMigrationFailed);
    }
    auto unknown = ProgressiveMigrator({v1, v3}, {}).migrate(path, *v3);
    ASSERT_FALSE(unknown.ok());
    // No intermediate store is left beside it.
    EXPECT_TRUE(QDir(dir.path()).entryList({"Notes.Notes*"}, QDir::Files).isEmpty());
    EXPECT_TRUE(StoreCoordinator::open(path, v2).ok());
}

TEST(ProgressiveMigrator, SwapWithoutTheNewFilePutsTheOldOneBack)
{
    QTemporaryDir dir;
    const QString path = makeStore(dir, v1);
    auto swapped = ProgressiveMigrator({v1}, {}).swap(path, dir.filePath("missing.db"));
    ASSERT_FALSE(swapped.ok());
    EXPECT_TRUE(StoreCoordinator::open(path, v1).ok());
}
