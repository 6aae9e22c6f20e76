#include "library/upkeep/PTMappingItemToItemV6_8.h"
#include "library/upkeep/PTMigrationController.h"
#include "library/entities/PTModel.h"
#include "library/store/PTStoreStack.h"
#include "platform/store/ObjectContext.h"
#include "platform/store/ProgressiveMigrator.h"
#include "platform/store/StoreFileCopy.h"

#include "StoreTestSupport.h"
#include "UpkeepTestSupport.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using pt::store::ManagedObject;
using pt::store::ObjectContext;
using pt::store::StoreCoordinator;

namespace {

struct Fixture {
    QString setUri;
    QString taggedUri;
    QString untaggedUri;
    QString storeUuid;
};

// A version-6 store: one set, an item with tag rows (one tag joined twice) and an item without any.
Fixture makeVersion6Store(const QString& path, std::shared_ptr<StoreCoordinator>* keepOpen = nullptr)
{
    auto coordinator = StoreCoordinator::open(path, PTModel::version6());
    EXPECT_TRUE(coordinator.ok());
    ObjectContext context(ObjectContext::Kind::Confinement, *coordinator);
    ManagedObject* set = pt::test::makeObject(context, "PTCollection", "Arrows");
    ManagedObject* tagged = pt::test::makeObject(context, "PTItem", "Arrow Left");
    tagged->setValue("informativeText", QStringLiteral("Flèche Ｗest"));
    tagged->setToOne("collection", set);
    ManagedObject* untagged = pt::test::makeObject(context, "PTItem", "home_icon-24");
    untagged->setToOne("collection", set);
    const auto join = [&](ManagedObject* tag) {
        ManagedObject* link = context.insert("PTTags");
        link->setToOne("item", tagged);
        link->setToOne("tag", tag);
    };
    ManagedObject* west = pt::test::makeObject(context, "PTTag", "west");
    ManagedObject* pointer = pt::test::makeObject(context, "PTTag", "Pointer");
    join(west);
    join(pointer);
    join(west);
    EXPECT_TRUE(context.save().ok());
    Fixture fixture{set->objectID().uriString(), tagged->objectID().uriString(), untagged->objectID().uriString(),
                    (*coordinator)->storeUuid()};
    if (keepOpen)
        *keepOpen = *coordinator;
    return fixture;
}

QVariant valueOf(StoreCoordinator& coordinator, const QString& uri, const QString& key)
{
    auto id = coordinator.objectIDForUri(uri);
    EXPECT_TRUE(id.has_value()) << uri.toStdString();
    if (!id)
        return {};
    auto row = coordinator.readRow(*id->entity(), id->primaryKey());
    EXPECT_TRUE(row.ok() && row->has_value());
    return (*row)->values.value(id->entity()->attributeIndex(key));
}

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

TEST(StoreMigration, Version6StoreReachesTheCurrentModelWithTagsSearchColumnsAndItsURIs)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Rorev.db");
    const Fixture fixture = makeVersion6Store(path);
    QFile index(dir.filePath("SearchIndex.db"));
    ASSERT_TRUE(index.open(QIODevice::WriteOnly));
    index.close();

    auto passes = PTMigrationController::migrator().migrate(path, *PTModel::current());
    ASSERT_TRUE(passes.ok()) << passes.error().toString().toStdString();
    ASSERT_EQ(passes->size(), 2);
    EXPECT_EQ((*passes)[0].destinationModel, "Pictern7");
    EXPECT_EQ((*passes)[1].destinationModel, "Pictern8");
    // Only the store is left: no intermediate file, no log, no old search index; the old versions are parked
    // inside the package.
    EXPECT_EQ(entries(dir.path()), (QStringList{".Rorev.db.parked", "Rorev.db"}));
    for (const auto& pass : *passes) {
        EXPECT_EQ(QFileInfo(pass.parkedFolder).path(), pt::store::ProgressiveMigrator::parkingFolder(path));
        EXPECT_TRUE(QFileInfo::exists(QDir(pass.parkedFolder).filePath("Rorev.db")));
    }
    EXPECT_EQ(pt::test::queryStore(path, "PRAGMA journal_mode"), "delete");

    auto coordinator = StoreCoordinator::open(path, PTModel::current());
    ASSERT_TRUE(coordinator.ok()) << coordinator.error().toString().toStdString();
    StoreCoordinator& store = **coordinator;
    EXPECT_EQ(store.storeUuid(), fixture.storeUuid);
    EXPECT_EQ(valueOf(store, fixture.taggedUri, "tagsString").toString(), "west,Pointer");
    EXPECT_EQ(valueOf(store, fixture.taggedUri, "tagsStringNormalized").toString(), "west,pointer");
    EXPECT_EQ(valueOf(store, fixture.taggedUri, "nameNormalized").toString(), "arrow left");
    EXPECT_EQ(valueOf(store, fixture.taggedUri, "informativeTextNormalized").toString(), "fleche west");
    EXPECT_EQ(valueOf(store, fixture.untaggedUri, "tagsString").toString(), "home,icon");
    EXPECT_EQ(valueOf(store, fixture.setUri, "name").toString(), "Arrows");

    ObjectContext context(ObjectContext::Kind::Confinement, *coordinator);
    ManagedObject* item = context.existingObjectWithID(*store.objectIDForUri(fixture.taggedUri));
    ASSERT_NE(item, nullptr);
    ASSERT_NE(item->toOne("collection"), nullptr);
    EXPECT_EQ(item->toOne("collection")->objectID().uriString(), fixture.setUri);
    // Keys are never reused: a new item gets a key after the migrated ones.
    auto next = store.reservePrimaryKeys(*PTModel::current()->entity("PTItem"), 1);
    ASSERT_TRUE(next.ok());
    EXPECT_GT(*next, store.objectIDForUri(fixture.untaggedUri)->primaryKey());
}

TEST(StoreMigration, CommitsOnlyInTheLogAreKept)
{
    QTemporaryDir source;
    QTemporaryDir copy;
    std::shared_ptr<StoreCoordinator> open;
    const Fixture fixture = makeVersion6Store(source.filePath("Rorev.db"), &open);
    // The state a crash leaves: the file without the last commits, the log with them.
    for (const QString& name : {QStringLiteral("Rorev.db"), QStringLiteral("Rorev.db-wal")})
        ASSERT_TRUE(QFile::copy(source.filePath(name), copy.filePath(name)));
    open.reset();
    ASSERT_GT(QFileInfo(copy.filePath("Rorev.db-wal")).size(), 0);

    const QString path = copy.filePath("Rorev.db");
    auto passes = PTMigrationController::migrator().migrate(path, *PTModel::current());
    ASSERT_TRUE(passes.ok()) << passes.error().toString().toStdString();
    EXPECT_EQ(pt::test::queryStore(path, "SELECT count(*) FROM PTItem"), "2");
    auto coordinator = StoreCoordinator::open(path, PTModel::current());
    ASSERT_TRUE(coordinator.ok());
    EXPECT_EQ(valueOf(**coordinator, fixture.taggedUri, "tagsString").toString(), "west,Pointer");
}

TEST(StoreMigration, AFailingStepLeavesTheStoreOfTheLastWholeVersion)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Rorev.db");
    const Fixture fixture = makeVersion6Store(path);
    // Something that is not a store stands where the last step writes.
    ASSERT_TRUE(QDir().mkpath(dir.filePath("Rorev.Pictern8.db/in-the-way")));

    auto passes = PTMigrationController::migrator().migrate(path, *PTModel::current());
    ASSERT_FALSE(passes.ok());
    EXPECT_TRUE(QFileInfo(dir.filePath("Rorev.Pictern8.db/in-the-way")).isDir());
    auto coordinator = StoreCoordinator::open(path, PTModel::version7());
    ASSERT_TRUE(coordinator.ok()) << coordinator.error().toString().toStdString();
    EXPECT_EQ((*coordinator)->storeUuid(), fixture.storeUuid);
    EXPECT_EQ(pt::test::queryStore(path, "SELECT count(*) FROM PTTags"), "3");
    EXPECT_EQ(pt::test::queryStore(path, "SELECT count(*) FROM PTItem"), "2");
}

TEST(StoreMigration, TagsStringOfAnItem)
{
    const struct {
        QStringList tags;
        QString name;
        QString expected;
    } cases[] = {
        {{"b", "a", "b"}, "ignored name", "b,a"},
        {{}, "arrow_left-2", "arrow,left"},
        {{}, "", ""},
        {{}, "x 42", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PTMappingItemToItemV6_8::tagsStringForItem(c.tags, c.name), c.expected) << c.name.toStdString();
}

TEST(StoreMigration, ALaunchWithoutTheStoreRecoversTheOneAMigrationLeftAside)
{
    // What a killed migration can leave when the store itself is gone: a new version written beside it (whole,
    // or with the rollback journal of a write that never committed), and old versions parked.
    const struct {
        const char* name;
        const char* written;        // the version written beside the store, if any
        bool writtenUncommitted;
        QStringList parked;         // parked versions
        int expectedVersion;        // 0: a new, empty store
    } cases[] = {
        {"written", "Pictern8", false, {}, 8},
        {"parked", nullptr, false, {"Pictern6"}, 6},
        {"newest of both", "Pictern7", false, {"Pictern6"}, 7},
        {"uncommitted write", "Pictern8", true, {"Pictern7", "Pictern6"}, 7},
        {"nothing", nullptr, false, {}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString path = dir.filePath("Rorev.db");
        const Fixture fixture = makeVersion6Store(path);
        QHash<QString, QString> versions; // model name -> a whole store of that version
        {
            auto migrator = PTMigrationController::migrator();
            migrator.stageHandler = [&](pt::store::ProgressiveMigrator::Stage stage) {
                if (stage == pt::store::ProgressiveMigrator::Stage::Folded) {
                    const QString name = pt::store::StoreCoordinator::metadataForStore(path)->modelName;
                    versions.insert(name, dir.filePath(name + ".keep"));
                    QFile::copy(path, dir.filePath(name + ".keep"));
                }
            };
            ASSERT_TRUE(migrator.migrate(path, *PTModel::current()).ok());
            versions.insert("Pictern8", dir.filePath("Pictern8.keep"));
            ASSERT_TRUE(QFile::rename(path, dir.filePath("Pictern8.keep")));
            QDir(pt::store::ProgressiveMigrator::parkingFolder(path)).removeRecursively();
        }
        if (c.written) {
            const QString written = pt::store::ProgressiveMigrator::destinationPath(path, c.written);
            ASSERT_TRUE(QFile::copy(versions[c.written], written));
            if (c.writtenUncommitted)
                pt::test::writeFile(written + "-journal", QByteArray(512, '\0'));
        }
        for (const QString& version : c.parked) {
            const QString folder = QDir(pt::store::ProgressiveMigrator::parkingFolder(path)).filePath(version);
            ASSERT_TRUE(QDir().mkpath(folder));
            ASSERT_TRUE(QFile::copy(versions[version], QDir(folder).filePath("Rorev.db")));
        }

        auto host = std::make_shared<pt::test::StoreHost>(path);
        PTStoreStack::setHost(host);
        EXPECT_EQ(PTStoreStack::shared()->migrationIsNeeded(), c.expectedVersion != 0 && c.expectedVersion != 8);
        auto metadata = pt::store::StoreCoordinator::metadataForStore(path);
        if (c.expectedVersion == 0) {
            EXPECT_FALSE(metadata.ok());
        } else {
            ASSERT_TRUE(metadata.ok());
            EXPECT_EQ(metadata->version, c.expectedVersion);
            EXPECT_EQ(metadata->storeUuid, fixture.storeUuid);
        }
        if (c.expectedVersion == 8) {
            auto coordinator = PTStoreStack::shared()->persistentStoreCoordinator();
            ASSERT_NE(coordinator, nullptr);
            EXPECT_EQ(coordinator->storeUuid(), fixture.storeUuid);
            EXPECT_EQ(valueOf(*coordinator, fixture.taggedUri, "tagsString").toString(), "west,Pointer");
        }
        PTStoreStack::setHost(nullptr);
    }
}
