// The stack and its save path, with a fake host standing in for the application shell.
#include "StoreTestSupport.h"

#include "TestSupport.h"
#include "library/store/ContextAdditions.h"
#include "library/store/PTCDAdditions.h"
#include "library/store/PTStoreFunctions.h"
#include "library/store/PTStoreStack.h"
#include "platform/store/StoreError.h"

#include <QCoreApplication>
#include <QThread>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

using namespace pt::store;
using pt::test::makeObject;
using pt::test::queryStore;

namespace {

class FakeHost : public PTStoreStackHost {
public:
    explicit FakeHost(QString path) : path_(std::move(path)) {}
    QString storePath() const override { return path_; }
    void presentError(const pt::Error& error) override { presented.append(error); }
    void saveFailed(const pt::Error& error) override { saveErrors.append(error); }

    QVector<pt::Error> presented;
    QVector<pt::Error> saveErrors;

private:
    QString path_;
};

class SavePathTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        host = std::make_shared<FakeHost>(dir.filePath("Rorev.db"));
        PTStoreStack::setHost(host);
    }
    void TearDown() override
    {
        PTStoreStack::setHost(nullptr);
    }
    // Runs the save path and waits for its completion; answers the error it was given.
    pt::Error saveAndWait()
    {
        bool done = false;
        pt::Error result;
        EXPECT_TRUE(PTSaveManagedObjectContextWithCompletion([&](const pt::Error& error) {
            EXPECT_TRUE(QThread::currentThread() == qApp->thread());
            result = error;
            done = true;
        }));
        EXPECT_TRUE(pt::test::runMainQueueUntil([&] { return done; }));
        return result;
    }
    QString path() const { return dir.filePath("Rorev.db"); }

    QTemporaryDir dir;
    std::shared_ptr<FakeHost> host;
};

} // namespace

TEST_F(SavePathTest, BuildsTheStackLazilyAndSavesThroughBothContexts)
{
    EXPECT_FALSE(PTHasManagedObjectContext());
    EXPECT_EQ(PTPrivateManagedObjectContext(), nullptr);
    ObjectContext* main = PTMainManagedObjectContext();
    ASSERT_TRUE(main);
    EXPECT_TRUE(PTHasManagedObjectContext());
    EXPECT_EQ(main, PTMainManagedObjectContext());
    EXPECT_EQ(main->parent(), PTPrivateManagedObjectContext());
    EXPECT_EQ(main->coordinator()->journalMode(), "wal");

    ManagedObject* set = makeObject(*main, "PTCollection", "Set");
    ManagedObject* item = makeObject(*main, "PTItem", "Item");
    item->setToOne("collection", set);
    bool done = false;
    EXPECT_TRUE(PTSaveManagedObjectContextWithCompletion([&](const pt::Error& error) {
        EXPECT_TRUE(error.isNull());
        done = true;
    }));
    // Nothing happens inside the call.
    EXPECT_TRUE(item->objectID().isTemporary());
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return done; }));
    EXPECT_FALSE(item->objectID().isTemporary());
    EXPECT_FALSE(set->objectID().isTemporary());
    EXPECT_FALSE(main->hasChanges());
    EXPECT_FALSE(PTPrivateManagedObjectContext()->hasChanges());
    EXPECT_EQ(queryStore(path(), "SELECT count(*) FROM PTItem WHERE collection IS NOT NULL"), "1");

    // Saved URIs resolve in any context.
    auto other = std::make_shared<ObjectContext>(ObjectContext::Kind::Confinement, main->sharedCoordinator());
    const QString uri = PTCDAdditions::persistentURLString(item);
    ManagedObject* resolved = other->existingObjectWithID(*other->coordinator()->objectIDForUri(uri));
    ASSERT_TRUE(resolved);
    EXPECT_EQ(resolved->toOne("collection")->value("name").toString(), "Set");

    // A path without inserted objects still saves both contexts.
    item->setValue("name", "Renamed");
    EXPECT_TRUE(saveAndWait().isNull());
    EXPECT_EQ(queryStore(path(), "SELECT name FROM PTItem"), "Renamed");
    EXPECT_TRUE(host->presented.isEmpty());
    EXPECT_TRUE(host->saveErrors.isEmpty());
}

TEST_F(SavePathTest, SavePathsCompleteInTheOrderStarted)
{
    ObjectContext* main = PTMainManagedObjectContext();
    QStringList order;
    makeObject(*main, "PTGroup", "one");
    PTSaveManagedObjectContextWithCompletion([&](const pt::Error&) { order << "first"; });
    makeObject(*main, "PTGroup", "two");
    PTSaveManagedObjectContextWithCompletion([&](const pt::Error&) { order << "second"; });
    EXPECT_TRUE(PTSaveManagedObjectContext());
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return order.size() == 2; }));
    EXPECT_EQ(order, (QStringList{"first", "second"}));
    pt::test::runMainQueueFor(50);
    EXPECT_EQ(queryStore(path(), "SELECT count(*) FROM PTGroup"), "2");
}

TEST_F(SavePathTest, PersistentUrlStringsOfUnsavedObjectsResolveAfterTheSave)
{
    ObjectContext* main = PTMainManagedObjectContext();
    ManagedObject* licence = makeObject(*main, "PTLicence", "MIT");
    const QString uri = PTCDAdditions::persistentURLString(licence);
    EXPECT_FALSE(licence->objectID().isTemporary());
    EXPECT_EQ(PTCDAdditions::persistentURLString(licence), uri);
    EXPECT_TRUE(uri.startsWith("x-ptstore://" + main->coordinator()->storeUuid() + "/PTLicence/p"));
    EXPECT_TRUE(saveAndWait().isNull());
    EXPECT_TRUE(main->coordinator()->exists(*main->coordinator()->objectIDForUri(uri)));
}

TEST_F(SavePathTest, ValidatedUrisKeepOnlyDistinctObjectsOfThisStore)
{
    ObjectContext* main = PTMainManagedObjectContext();
    EXPECT_TRUE(contextAdditions::validatedObjectURIsWithStrings(*main, {}).isEmpty());
    ManagedObject* kept = makeObject(*main, "PTGroup", "kept");
    ManagedObject* gone = makeObject(*main, "PTGroup", "gone");
    EXPECT_TRUE(saveAndWait().isNull());
    const QString keptUri = PTCDAdditions::persistentURLString(kept);
    const QString goneUri = PTCDAdditions::persistentURLString(gone);
    main->deleteObject(gone);
    EXPECT_TRUE(saveAndWait().isNull());

    pt::test::TestStore otherStore;
    auto other = otherStore.worker();
    ManagedObject* foreign = makeObject(*other, "PTGroup", "foreign");
    ASSERT_TRUE(other->save());

    const QStringList uris{"garbage", keptUri, goneUri, foreign->objectID().uriString(), keptUri,
                           keptUri.left(keptUri.lastIndexOf('p')) + "p9999"};
    EXPECT_EQ(contextAdditions::validatedObjectURIsWithStrings(*main, uris), QStringList{keptUri});
    EXPECT_EQ(contextAdditions::validatedObjectsWithURIStrings(*main, uris), QVector<ManagedObject*>{kept});
}

TEST_F(SavePathTest, AFailedMainSaveStillRunsTheCompletionWithItsError)
{
    ObjectContext* main = PTMainManagedObjectContext();
    queryStore(path(), "DELETE FROM pt_primarykey WHERE entity = 'PTItem'");
    ManagedObject* item = makeObject(*main, "PTItem", "waiting");
    const pt::Error error = saveAndWait();
    EXPECT_FALSE(error.isNull());
    ASSERT_FALSE(host->saveErrors.isEmpty());
    EXPECT_TRUE(item->isInserted());
    EXPECT_EQ(queryStore(path(), "SELECT count(*) FROM PTItem"), "0");

    queryStore(path(), "INSERT INTO pt_primarykey(entity, max) VALUES('PTItem', 100)");
    EXPECT_TRUE(saveAndWait().isNull());
    EXPECT_EQ(queryStore(path(), "SELECT name FROM PTItem"), "waiting");
}

TEST_F(SavePathTest, AFailedPrivateSaveKeepsItsChangesForTheNextSave)
{
    ObjectContext* main = PTMainManagedObjectContext();
    ManagedObject* licence = makeObject(*main, "PTLicence", "MIT");
    EXPECT_TRUE(saveAndWait().isNull());

    queryStore(path(), "CREATE TRIGGER refuse BEFORE UPDATE ON PTLicence BEGIN SELECT RAISE(ABORT, 'refused'); END");
    licence->setValue("name", "Apache");
    EXPECT_FALSE(saveAndWait().isNull());
    EXPECT_EQ(host->saveErrors.size(), 1);
    EXPECT_TRUE(PTPrivateManagedObjectContext()->hasChanges());
    EXPECT_EQ(queryStore(path(), "SELECT name FROM PTLicence"), "MIT");
    // The main context sees its change through the parent meanwhile.
    auto fetched = pt::test::fetchNames(*main, "PTLicence", "TRUEPREDICATE");
    EXPECT_EQ(fetched, QStringList{"Apache"});

    queryStore(path(), "DROP TRIGGER refuse");
    EXPECT_TRUE(saveAndWait().isNull());
    EXPECT_EQ(queryStore(path(), "SELECT name FROM PTLicence"), "Apache");
}

TEST_F(SavePathTest, AStoreOfAnotherModelOpensInDeleteModeAndIsReported)
{
    {
        auto old = StoreCoordinator::open(path(), PTModel::version6());
        ASSERT_TRUE(old);
        EXPECT_EQ((*old)->journalMode(), "wal");
    }
    EXPECT_TRUE(PTStoreStack::shared()->migrationIsNeeded());
    EXPECT_EQ(PTMainManagedObjectContext(), nullptr);
    EXPECT_FALSE(PTHasManagedObjectContext());
    ASSERT_EQ(host->presented.size(), 2);
    EXPECT_EQ(host->presented[0].code, StoreIncompatible);
    EXPECT_EQ(host->presented[1].domain, "YOUR_ERROR_DOMAIN");
    EXPECT_EQ(host->presented[1].code, 9999);
    EXPECT_EQ(host->presented[1].localizedDescription(), "Failed to initialize the store");
    EXPECT_EQ(host->presented[1].localizedFailureReason(), "There was an error building up the data file.");
    EXPECT_EQ(queryStore(path(), "PRAGMA journal_mode"), "delete");
    // The save path without a stack still ends.
    EXPECT_FALSE(saveAndWait().isNull());
}

TEST_F(SavePathTest, AStoreOnAReadOnlyMediumOpensForReadingAndTheUserIsTold)
{
    {
        auto store = StoreCoordinator::open(path(), PTModel::current());
        ASSERT_TRUE(store);
        ObjectContext context(ObjectContext::Kind::Confinement, *store);
        makeObject(context, "PTItem", "kept");
        ASSERT_TRUE(context.save());
    }
    ASSERT_EQ(chmod(QFile::encodeName(path()).constData(), 0444), 0);
    ASSERT_EQ(chmod(QFile::encodeName(dir.path()).constData(), 0555), 0);
    // A child without the rights to write there stands in for the read-only medium (root writes anything).
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(10);
        ObjectContext* main = PTMainManagedObjectContext();
        if (!main)
            _exit(1);
        if (host->presented.size() != 1 || host->presented[0].code != StoreReadOnly)
            _exit(2);
        if (pt::test::fetchNames(*main, "PTItem", "TRUEPREDICATE") != QStringList{"kept"})
            _exit(3);
        makeObject(*main, "PTItem", "refused");
        if (saveAndWait().isNull())
            _exit(4);
        _exit(0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    chmod(QFile::encodeName(dir.path()).constData(), 0755);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(queryStore(path(), "SELECT group_concat(name) FROM PTItem"), "kept");
}
