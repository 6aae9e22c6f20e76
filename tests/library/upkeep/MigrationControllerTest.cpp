#include "library/upkeep/PTLibraryBackupController.h"
#include "library/upkeep/PTMigrationController.h"
#include "library/entities/PTModel.h"
#include "platform/store/ObjectContext.h"

#include "StoreTestSupport.h"
#include "TestSupport.h"
#include "UpkeepTestSupport.h"

#include <QDir>
#include <QFile>

using pt::store::ObjectContext;
using pt::store::StoreCoordinator;

namespace {

class MigrationSequence : public pt::test::UpkeepTest {
protected:
    // The current library with a version-6 store of two items.
    QString makeVersion6Library()
    {
        PTLibraryController* library = makeCurrentLibrary(0);
        const QString store = library->persistantStoreCoordinatorPath();
        QFile::remove(store);
        auto coordinator = StoreCoordinator::open(store, PTModel::version6());
        EXPECT_TRUE(coordinator.ok());
        ObjectContext context(ObjectContext::Kind::Confinement, *coordinator);
        pt::test::makeObject(context, "PTItem", "Arrow Left");
        pt::test::makeObject(context, "PTItem", "Arrow Right");
        EXPECT_TRUE(context.save().ok());
        return store;
    }
    // Runs a migration to its end: the load handler, then (on success) the restart.
    void run(PTMigrationController& controller, bool expectRestart)
    {
        controller.loadHandler = [this] { ++loads; };
        controller.completeHandler = [this] { ++restarts; };
        controller.beginMigration();
        ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return loads == 1; }, 15000));
        if (expectRestart)
            ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return restarts == 1; }, 5000));
        else
            pt::test::runMainQueueFor(2500);
    }
    int loads = 0;
    int restarts = 0;
};

} // namespace

TEST_F(MigrationSequence, BacksUpMigratesAndRestarts)
{
    const QString store = makeVersion6Library();
    PTMigrationController controller(store, PTModel::current());
    run(controller, true);

    EXPECT_TRUE(controller.error().isNull());
    EXPECT_TRUE(PTMigrationController::migrationWasPerformed());
    EXPECT_TRUE(StoreCoordinator::open(store, PTModel::current()).ok());
    // The old versions are not kept in the package: the backup holds them.
    EXPECT_FALSE(QFileInfo::exists(pt::store::ProgressiveMigrator::parkingFolder(store)));
    ASSERT_EQ(backups().size(), 1);
    // The backup holds the library as it was before the upgrade.
    const QString copy = QDir(PTLibraryBackupController::defaultBackupLocation()).filePath(backups().first());
    EXPECT_FALSE(StoreCoordinator::open(QDir(copy).filePath("Rorev.db"), PTModel::current()).ok());
    EXPECT_TRUE(StoreCoordinator::open(QDir(copy).filePath("Rorev.db"), PTModel::version6()).ok());
    ASSERT_EQ(shell->sheets.size(), 1);
    EXPECT_EQ(shell->sheets[0]->titles, (QStringList{"Upgrading your Library...", "Upgrade Complete"}));
    EXPECT_EQ(shell->sheets[0]->subTitles,
              (QStringList{"Backing up Library...", "Upgrading Database...", "Relaunching..."}));
    EXPECT_TRUE(shell->sheets[0]->shown);
    EXPECT_TRUE(shell->errors.isEmpty());
}

TEST_F(MigrationSequence, AFailedMigrationIsReportedAndNotRetried)
{
    const QString store = makeVersion6Library();
    ASSERT_TRUE(QDir().mkpath(QFileInfo(store).path() + "/Rorev.Pictern7.db/in-the-way"));
    {
        PTMigrationController controller(store, PTModel::current());
        run(controller, false);
        EXPECT_FALSE(controller.error().isNull());
    }
    EXPECT_EQ(restarts, 0);
    EXPECT_EQ(shell->errors.size(), 1);
    EXPECT_EQ(backups().size(), 1);
    EXPECT_EQ(pt::test::queryStore(store, "SELECT count(*) FROM PTItem"), "2");

    // The next launch reports the same failure without a new backup, a new attempt or a restart.
    loads = 0;
    PTMigrationController again(store, PTModel::current());
    run(again, false);
    EXPECT_FALSE(again.error().isNull());
    EXPECT_EQ(restarts, 0);
    EXPECT_EQ(shell->errors.size(), 2);
    EXPECT_EQ(backups().size(), 1);
    EXPECT_EQ(shell->sheets.size(), 1);
}
