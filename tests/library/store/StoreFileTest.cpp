// The store file: identity, URIs, keys, metadata, journal modes and files that are not stores.
#include "StoreTestSupport.h"

#include "platform/store/StoreError.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

using namespace pt::store;
using pt::test::makeObject;
using pt::test::TestStore;

TEST(StoreFileTest, UrisStayStableAcrossReopenAndKeysAreNeverReused)
{
    TestStore store;
    QString uri;
    QString deletedUri;
    {
        auto context = store.worker();
        auto* kept = makeObject(*context, "PTItem", "kept");
        auto* dropped = makeObject(*context, "PTItem", "dropped");
        ASSERT_TRUE(context->save());
        uri = kept->objectID().uriString();
        deletedUri = dropped->objectID().uriString();
        EXPECT_TRUE(uri.startsWith("x-ptstore://" + store.coordinator()->storeUuid() + "/PTItem/p"));
        context->deleteObject(dropped);
        ASSERT_TRUE(context->save());
    }
    const QString storeUuid = store.coordinator()->storeUuid();
    store.reopen();
    EXPECT_EQ(store.coordinator()->storeUuid(), storeUuid);
    auto context = store.worker();
    const auto id = store.coordinator()->objectIDForUri(uri);
    ASSERT_TRUE(id);
    ASSERT_TRUE(context->existingObjectWithID(*id));
    EXPECT_EQ(context->existingObjectWithID(*id)->value("name").toString(), "kept");
    EXPECT_EQ(context->objectWithID(*id), context->objectWithID(*id));

    // The deleted object's key was the highest; a new object must not take it.
    const auto deletedId = store.coordinator()->objectIDForUri(deletedUri);
    ASSERT_TRUE(deletedId);
    EXPECT_EQ(context->existingObjectWithID(*deletedId), nullptr);
    auto* fresh = makeObject(*context, "PTItem", "fresh");
    ASSERT_TRUE(context->save());
    EXPECT_GT(fresh->objectID().primaryKey(), deletedId->primaryKey());
    EXPECT_NE(fresh->objectID().uriString(), deletedUri);
}

TEST(StoreFileTest, UrisOfOtherStoresAndMalformedUrisDoNotResolve)
{
    TestStore store;
    TestStore other;
    auto context = other.worker();
    auto* foreign = makeObject(*context, "PTItem", "foreign");
    ASSERT_TRUE(context->save());
    const QString uuid = store.coordinator()->storeUuid();
    const QStringList bad{
        foreign->objectID().uriString(),
        "",
        "not a uri",
        "x-ptstore:///PTItem/tA1B2",
        "x-ptstore://" + uuid + "/PTNothing/p1",
        "x-ptstore://" + uuid + "/PTItem/p0",
        "x-ptstore://" + uuid + "/PTItem/p-4",
        "x-ptstore://" + uuid + "/PTItem/p1x",
        "x-ptstore://" + uuid + "/PTItem/p99999999999999999999999",
        "x-ptstore://" + uuid + "/PTItem/p1/extra",
        "http://" + uuid + "/PTItem/p1",
    };
    for (const QString& uri : bad)
        EXPECT_FALSE(store.coordinator()->objectIDForUri(uri)) << uri.toStdString();
    // The store UUID compares without regard to case.
    const auto good = store.coordinator()->objectIDForUri("x-ptstore://" + uuid.toLower() + "/PTItem/p7");
    ASSERT_TRUE(good);
    EXPECT_EQ(good->primaryKey(), 7);
    EXPECT_EQ(good->uriPath(), "/PTItem/p7");
    // A foreign ID is never resolved into an object, even when a row with its key exists here.
    auto local = store.worker();
    EXPECT_EQ(local->objectWithID(foreign->objectID()), nullptr);
}

TEST(StoreFileTest, MetadataReadsWithoutOpeningAndDecidesCompatibility)
{
    TestStore store;
    auto metadata = StoreCoordinator::metadataForStore(store.path());
    ASSERT_TRUE(metadata) << metadata.error().toString().toStdString();
    EXPECT_EQ(metadata->storeUuid, store.coordinator()->storeUuid());
    EXPECT_EQ(metadata->modelName, "Pictern8");
    EXPECT_EQ(metadata->version, 8);
    EXPECT_TRUE(StoreCoordinator::isCompatible(*metadata, *PTModel::current()));
    EXPECT_FALSE(StoreCoordinator::isCompatible(*metadata, *PTModel::version6()));
    EXPECT_EQ(store.coordinator()->journalMode(), "wal");

    QTemporaryDir dir;
    const QString oldPath = dir.filePath("old.db");
    {
        auto old = StoreCoordinator::open(oldPath, PTModel::version6());
        ASSERT_TRUE(old);
    }
    auto refused = StoreCoordinator::open(oldPath, PTModel::current());
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().code, StoreIncompatible);
    EXPECT_EQ(StoreCoordinator::metadataForStore(oldPath)->modelName, "Pictern6");
    EXPECT_FALSE(StoreCoordinator::metadataForStore(dir.filePath("missing.db")));
}

TEST(StoreFileTest, FilesThatAreNotStoresAreRefusedUntouched)
{
    QTemporaryDir dir;
    // Short files too: SQLite would take one shorter than its header for a new database and write over it.
    for (const QByteArray& content : {QByteArray(4096, 'x'), QByteArray("x"), QByteArray(99, '\0')}) {
        const QString garbage = dir.filePath(QStringLiteral("garbage-%1.db").arg(content.size()));
        {
            QFile file(garbage);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        EXPECT_FALSE(StoreCoordinator::open(garbage, PTModel::current())) << content.size();
        EXPECT_FALSE(StoreCoordinator::metadataForStore(garbage));
        QFile file(garbage);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), content);
        EXPECT_FALSE(QFileInfo::exists(garbage + "-wal"));
    }

    const QString foreign = dir.filePath("foreign.db");
    pt::test::queryStore(foreign, "CREATE TABLE t(x INTEGER)");
    auto refused = StoreCoordinator::open(foreign, PTModel::current());
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().code, StoreNotAStore);
}

TEST(StoreFileTest, ProcessesCreatingOneStoreAtOnceAllOpenTheSameStore)
{
    QTemporaryDir dir;
    const int stores = 100;
    const auto pathOf = [&](int n) { return dir.filePath(QStringLiteral("Rorev-%1.db").arg(n)); };
    // The children wait on the pipe, so that they all start when it closes; then each creates the same stores
    // in the same order, racing the others at every one.
    int gate[2];
    ASSERT_EQ(pipe(gate), 0);
    std::vector<pid_t> children;
    for (int i = 0; i < 4; ++i) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            close(gate[1]);
            char byte;
            (void)!read(gate[0], &byte, 1);
            for (int n = 0; n < stores; ++n) {
                auto coordinator = StoreCoordinator::open(pathOf(n), PTModel::current());
                if (!coordinator) {
                    fprintf(stderr, "%s\n", qPrintable(coordinator.error().toString()));
                    _exit(1);
                }
            }
            _exit(0);
        }
        children.push_back(pid);
    }
    close(gate[0]);
    close(gate[1]);
    for (const pid_t pid : children) {
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    for (int n = 0; n < stores; ++n) {
        auto opened = StoreCoordinator::open(pathOf(n), PTModel::current());
        ASSERT_TRUE(opened) << opened.error().toString().toStdString();
    }
}
