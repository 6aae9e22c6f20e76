// Durability with real crashes: a child process saves in a loop and is killed with SIGKILL at random moments.
// Every reopen must find an intact file holding exactly a committed state. A child that migrates the store is
// killed at each point the migration reaches; the next launch must find a whole store with the same identity.
#include "StoreTestSupport.h"

#include "library/upkeep/PTMigrationController.h"
#include "library/store/PTStoreStack.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace pt::store;
using pt::test::queryStore;

namespace {

ManagedObject* named(ObjectContext& context, const QString& entity, const QString& name)
{
    FetchRequest request;
    request.entityName = entity;
    request.predicate = *Predicate::parse("name=%@", {name});
    auto found = context.fetch(request);
    return found && !found->isEmpty() ? found->front() : nullptr;
}

// Each save inserts item n, renames item n-1 and records n in the state set, all in one transaction; after the
// commit it reports n through the pipe.
[[noreturn]] void runWriter(const QString& path, int reportFd)
{
    auto coordinator = StoreCoordinator::open(path, PTModel::current());
    if (!coordinator)
        _exit(2);
    ObjectContext context(ObjectContext::Kind::Confinement, *coordinator);
    ManagedObject* state = named(context, "PTCollection", "state");
    if (!state)
        state = pt::test::makeObject(context, "PTCollection", "state");
    ManagedObject* previous = named(context, "PTItem", QStringLiteral("item %1").arg(state->value("sort").toLongLong()));
    for (;;) {
        const qint64 n = state->value("sort").toLongLong() + 1;
        ManagedObject* item = pt::test::makeObject(context, "PTItem", QStringLiteral("item %1").arg(n));
        item->setToOne("collection", state);
        if (previous)
            previous->setValue("name", QStringLiteral("renamed %1").arg(n - 1));
        state->setValue("sort", n);
        if (!context.save())
            _exit(3);
        if (write(reportFd, &n, sizeof n) != sizeof n)
            _exit(4);
        previous = item;
    }
}

} // namespace

TEST(CrashTest, KilledWritersLeaveTheLastCommittedState)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Rorev.db");
    // The schema exists before the first writer, which may be killed before it opens anything.
    ASSERT_TRUE(StoreCoordinator::open(path, PTModel::current()).ok());
    qint64 committed = 0;
    for (int round = 0; round < 30; ++round) {
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            close(fds[0]);
            runWriter(path, fds[1]);
        }
        close(fds[1]);
        qint64 reported = committed;
        qint64 value = 0;
        // On a busy machine a writer may not get as far as one save before its kill: from the last rounds on, a
        // store still empty waits for one, so that the kills also fall between saves.
        if (committed == 0 && round >= 20 && read(fds[0], &value, sizeof value) == sizeof value)
            reported = value;
        usleep(useconds_t(QRandomGenerator::global()->bounded(5000, 60000)));
        kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "writer exited with " << WEXITSTATUS(status);
        while (read(fds[0], &value, sizeof value) == sizeof value)
            reported = value;
        close(fds[0]);

        ASSERT_EQ(queryStore(path, "PRAGMA integrity_check"), "ok");
        const qint64 state = queryStore(path, "SELECT coalesce(max(sort), 0) FROM PTCollection").toLongLong();
        // The last reported save is there; a save that committed just before the kill may be there too.
        EXPECT_TRUE(state == reported || state == reported + 1) << "state " << state << " reported " << reported;
        EXPECT_EQ(queryStore(path, "SELECT count(*) FROM PTItem").toLongLong(), state);
        if (state > 0) {
            EXPECT_EQ(queryStore(path, "SELECT name FROM PTItem ORDER BY pk DESC LIMIT 1"), QStringLiteral("item %1").arg(state));
            EXPECT_EQ(queryStore(path, "SELECT count(*) FROM PTItem WHERE name LIKE 'renamed %'").toLongLong(), state - 1);
        }
        EXPECT_EQ(queryStore(path, "SELECT count(*) FROM PTCollection"), state > 0 ? "1" : "0");
        committed = state;
    }
    EXPECT_GT(committed, 0);
}

TEST(CrashTest, AMigrationKilledAtAnyStageLeavesAWholeStoreWithItsURIs)
{
    // Two passes (6 to 7, 7 to 8) of four stages each.
    for (int killAt = 1; killAt <= 8; ++killAt) {
        SCOPED_TRACE(killAt);
        QTemporaryDir dir;
        const QString path = dir.filePath("Rorev.db");
        QString storeUuid;
        QString uri;
        {
            auto coordinator = StoreCoordinator::open(path, PTModel::version6());
            ASSERT_TRUE(coordinator);
            ObjectContext context(ObjectContext::Kind::Confinement, *coordinator);
            ManagedObject* item = pt::test::makeObject(context, "PTItem", "Arrow Left");
            ASSERT_TRUE(context.save());
            storeUuid = (*coordinator)->storeUuid();
            uri = item->objectID().uriString();
        }
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ProgressiveMigrator migrator = PTMigrationController::migrator();
            int reached = 0;
            migrator.stageHandler = [&](ProgressiveMigrator::Stage) {
                if (++reached == killAt)
                    kill(getpid(), SIGKILL);
            };
            migrator.migrate(path, *PTModel::current());
            _exit(0);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the migration ended before stage " << killAt;

        // The next launch: the stack finds the store, migrates what is left to migrate, and opens it.
        PTStoreStack::setHost(std::make_shared<pt::test::StoreHost>(path));
        const bool needed = PTStoreStack::shared()->migrationIsNeeded();
        auto metadata = StoreCoordinator::metadataForStore(path);
        ASSERT_TRUE(metadata) << metadata.error().toString().toStdString();
        EXPECT_EQ(metadata->storeUuid, storeUuid);
        EXPECT_EQ(needed, metadata->modelHash != PTModel::current()->hash());
        if (needed)
            ASSERT_TRUE(PTMigrationController::migrator().migrate(path, *PTModel::current()));
        auto coordinator = PTStoreStack::shared()->persistentStoreCoordinator();
        ASSERT_NE(coordinator, nullptr);
        EXPECT_EQ(coordinator->storeUuid(), storeUuid);
        ObjectContext context(ObjectContext::Kind::Confinement, coordinator);
        const auto id = coordinator->objectIDForUri(uri);
        ASSERT_TRUE(id);
        ManagedObject* item = context.existingObjectWithID(*id);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->value("name").toString(), "Arrow Left");
        PTStoreStack::setHost(nullptr);
    }
}
