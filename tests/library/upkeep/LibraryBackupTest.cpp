#include "library/upkeep/PTLibraryBackupController.h"
#include "library/entities/PTModel.h"
#include "platform/plist/PropertyList.h"
#include "platform/runtime/Defaults.h"
#include "platform/store/ObjectContext.h"

#include "StoreTestSupport.h"
#include "TestSupport.h"
#include "UpkeepTestSupport.h"

#include <QDir>
#include <QFile>
#include <QThread>

#include <atomic>
#include <thread>

using pt::store::ObjectContext;
using pt::store::StoreCoordinator;

namespace {

class LibraryBackup : public pt::test::UpkeepTest {
protected:
    static bool hasMarker(const QString& copy) { return QFileInfo::exists(QDir(copy).filePath(".backup")); }
};

} // namespace

TEST_F(LibraryBackup, CopyMadeWhileAWriterKeepsSavingIsWholeAndOpens)
{
    PTLibraryController* library = makeCurrentLibrary();
    std::atomic<bool> stop{false};
    std::atomic<int> saves{0};
    std::thread writer([&] {
        auto coordinator = StoreCoordinator::open(library->persistantStoreCoordinatorPath(), PTModel::current());
        ASSERT_TRUE(coordinator.ok());
        ObjectContext context(ObjectContext::Kind::Confinement, *coordinator);
        while (!stop) {
            for (int i = 0; i < 50; ++i)
                pt::test::makeObject(context, "PTItem", QStringLiteral("written %1").arg(i))
                    ->setValue("informativeText", QString(2000, u'x'));
            ASSERT_TRUE(context.save().ok());
            ++saves;
        }
    });
    while (saves < 5)
        QThread::msleep(5);
    PTLibraryBackupController backup(library);
    const QString destination = QDir(home.path()).filePath("copy.ptlibrary");
    const bool done = backup.backupBlockingThreadWithDestination(destination);
    stop = true;
    writer.join();

    ASSERT_TRUE(done);
    EXPECT_TRUE(hasMarker(destination));
    EXPECT_TRUE(QFileInfo::exists(QDir(destination).filePath("Sets/SET-1/item-0.svg")));
    const QString store = QDir(destination).filePath("Rorev.db");
    EXPECT_FALSE(QFileInfo::exists(store + "-wal"));
    EXPECT_EQ(pt::test::queryStore(store, "PRAGMA integrity_check"), "ok");
    EXPECT_GE(pt::test::queryStore(store, "SELECT count(*) FROM PTItem").toInt(), 3 + 5 * 50);
    auto opened = StoreCoordinator::open(store, PTModel::current());
    EXPECT_TRUE(opened.ok());
}

TEST_F(LibraryBackup, FailingCopyAnswersNoAndLeavesNoMarkerNorBackupDate)
{
    PTLibraryController* library = makeCurrentLibrary();
    // The backup folder would have to be made inside a file.
    pt::test::writeFile(home.filePath("a-file"));
    pt::Defaults::standard().set(PTLibraryBackupController::BackupPathKey, home.filePath("a-file/Backups"));

    EXPECT_FALSE(library->backupLibraryWithMode(PTLibraryBackupController::DefaultLocation,
                                                PTLibraryBackupController::NoSheet, true));
    EXPECT_FALSE(library->lastBackupDate().isValid());
    EXPECT_TRUE(shell->revealed.isEmpty());
    EXPECT_FALSE(library->backupLibraryWithMode(PTLibraryBackupController::DefaultLocation,
                                                PTLibraryBackupController::SelfClosingSheet, false));
    EXPECT_FALSE(library->lastBackupDate().isValid());
}

TEST_F(LibraryBackup, RefusesADestinationThatHoldsOrIsInsideTheLibrary)
{
    PTLibraryController* library = makeCurrentLibrary();
    pt::test::writeFile(home.filePath("Pictern/notes.txt"), "the user's own");
    const auto listing = [](const QString& folder) {
        return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    };
    const QStringList homeBefore = listing(home.path());
    const QStringList baseBefore = listing(baseFolder());
    const QStringList libraryBefore = listing(library->path());
    for (const QString& destination : {baseFolder(), home.path(), library->path(),
                                       QDir(library->path()).filePath("Backups/copy.ptlibrary")}) {
        PTLibraryBackupController backup(library);
        EXPECT_FALSE(backup.backupBlockingThreadWithDestination(destination)) << destination.toStdString();
        EXPECT_EQ(listing(home.path()), homeBefore);
        EXPECT_EQ(listing(baseFolder()), baseBefore);
        EXPECT_EQ(listing(library->path()), libraryBefore) << "nothing is made before the refusal";
    }
    EXPECT_TRUE(QFileInfo::exists(library->locationByAppendingPath("Sets/SET-1/item-0.svg", false)));
    EXPECT_EQ(pt::test::queryStore(library->persistantStoreCoordinatorPath(), "SELECT count(*) FROM PTItem"), "3");
}

TEST_F(LibraryBackup, SheetBackupToAChosenNameGetsTheLibraryExtension)
{
    PTLibraryController* library = makeCurrentLibrary();
    shell->panelAnswer = home.filePath("My Backup");

    ASSERT_TRUE(library->backupLibraryWithMode(PTLibraryBackupController::ChosenInPanel,
                                               PTLibraryBackupController::SelfClosingSheet, true));
    const QString copy = home.filePath("My Backup.ptlibrary");
    EXPECT_TRUE(hasMarker(copy));
    const auto marker = pt::PropertyList::fromFile(QDir(copy).filePath(".backup"));
    ASSERT_TRUE(marker.ok());
    EXPECT_TRUE(marker->toMap().value("date").toDateTime().isValid());
    EXPECT_TRUE(library->lastBackupDate().isValid());
    EXPECT_EQ(shell->revealed, QStringList{copy});
    EXPECT_EQ(shell->panels, QStringList{"Backup Library"});
    ASSERT_EQ(shell->sheets.size(), 1);
    EXPECT_EQ(shell->sheets[0]->titles, QStringList{"Backing up Library"});
    EXPECT_EQ(shell->sheets[0]->messages.first(), "Calculating...");
    EXPECT_EQ(shell->sheets[0]->messages.last(), "Backup Complete");
    EXPECT_EQ(shell->sheets[0]->code, 1);
    EXPECT_TRUE(shell->sheets[0]->hidden);
}

TEST_F(LibraryBackup, CancelledBackupSaysUserAbortedAndIsNoBackup)
{
    PTLibraryController* library = makeCurrentLibrary();
    shell->cancelSheets = true;
    PTLibraryBackupController backup(library);
    EXPECT_FALSE(backup.backupByPresentingModalForMode(PTLibraryBackupController::DefaultLocation,
                                                       PTLibraryBackupController::ButtonSheet));
    ASSERT_EQ(shell->sheets.size(), 1);
    EXPECT_EQ(shell->sheets[0]->messages.last(), "User Aborted");
    EXPECT_EQ(shell->sheets[0]->interactiveMode, 0);
    pt::test::runMainQueueFor(200);
    EXPECT_FALSE(hasMarker(backup.destinationPath));
}

TEST(LibraryBackupProgress, MessageRoundsHalvesUp)
{
    const struct {
        qint64 done, total;
        const char* expected;
    } cases[] = {
        {3, 7, "43% - Backing up File 3 of 7"},
        {0, 0, "0% - Backing up File 0 of 0"},
        {1, 8, "13% - Backing up File 1 of 8"},
        {7, 7, "100% - Backing up File 7 of 7"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PTLibraryBackupController::progressMessage(c.done, c.total), c.expected);
}
