#include "library/PTLibraryController.h"

#include "library/store/PTStoreStack.h"
#include "platform/plist/PropertyList.h"
#include "platform/runtime/Defaults.h"
#include "platform/runtime/DispatchQueue.h"

#include "TestSupport.h"
#include "UpkeepTestSupport.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

using pt::test::FakeProgressPanel;
using pt::test::writeFile;

// A clean profile: the data folder under a temporary XDG_DATA_HOME and no stored library path.
class LibraryPackageTest : public pt::test::UpkeepTest {};

} // namespace

TEST_F(LibraryPackageTest, FirstLaunchCreatesTheDefaultPackageAndMovesStrayEntriesIn)
{
    const QString base = home.filePath("Pictern");
    EXPECT_EQ(PTLibraryController::defaultBaseDirectory(), base);
    writeFile(base + "/Backups/old.ptlibrary/META");
    writeFile(base + "/SearchIndex.db");
    writeFile(base + "/.hidden");
    writeFile(base + "/Other.ptlibrary/META");

    EXPECT_EQ(PTLibraryController::currentLibrary(), nullptr);
    bool exists = true, didExist = true;
    const QString location = PTLibraryController::locationByCheckingExistance(true, &exists, &didExist);
    EXPECT_EQ(location, base + "/Pictern.ptlibrary");
    EXPECT_FALSE(exists);
    EXPECT_FALSE(didExist);

    auto library = PTLibraryController::initWithCreatingLibraryAtPath(location);
    library->checkItegrity();
    PTLibraryController::setCurrentLibrary(std::move(library));

    EXPECT_EQ(pt::Defaults::standard().stringForKey(PTLibraryController::PathKey), location);
    for (const char* moved : {"Backups/old.ptlibrary/META", "SearchIndex.db", ".hidden"}) {
        EXPECT_TRUE(QFileInfo::exists(location + "/" + moved)) << moved;
        EXPECT_FALSE(QFileInfo::exists(base + "/" + moved)) << moved;
    }
    EXPECT_TRUE(QFileInfo::exists(base + "/Other.ptlibrary/META")) << "other libraries stay";
    EXPECT_TRUE(QFileInfo::exists(location + "/META"));
    EXPECT_EQ(PTLibraryController::location(), location);
}

TEST_F(LibraryPackageTest, IntegrityMoveNeverOverwritesWhatThePackageHolds)
{
    const QString base = PTLibraryController::defaultBaseDirectory();
    const QString location = base + "/Pictern.ptlibrary";
    writeFile(location + "/notes.txt", "inside");
    writeFile(base + "/notes.txt", "outside");
    auto library = PTLibraryController::initWithCreatingLibraryAtPath(location);
    library->checkItegrity();
    QFile inside(location + "/notes.txt"), outside(base + "/notes.txt");
    ASSERT_TRUE(inside.open(QIODevice::ReadOnly));
    ASSERT_TRUE(outside.open(QIODevice::ReadOnly));
    EXPECT_EQ(inside.readAll(), "inside");
    EXPECT_EQ(outside.readAll(), "outside");
}

TEST_F(LibraryPackageTest, MetaRoundTripAndReadByAnotherTool)
{
    const QString location = home.filePath("Lib.ptlibrary");
    auto created = PTLibraryController::initWithCreatingLibraryAtPath(location);
    EXPECT_DOUBLE_EQ(created->versionNumber(), 0.3);
    EXPECT_FALSE(created->lastBackupDate().isValid());
    EXPECT_FALSE(QFileInfo::exists(created->metaLocation())) << "nothing is written before a synchronisation";
    const QDateTime built = created->buildDate();
    created->setVersionNumber(0.5);

    QCoreApplication::setApplicationVersion("2.5");
    auto reopened = PTLibraryController::initWithLibraryPath(location);
    ASSERT_NE(reopened, nullptr);
    EXPECT_DOUBLE_EQ(reopened->versionNumber(), 0.5);
    EXPECT_EQ(reopened->buildVersion(), "2.4.1");
    EXPECT_EQ(reopened->buildDate().toSecsSinceEpoch(), built.toSecsSinceEpoch());
    reopened->synchronizeMeta();
    EXPECT_EQ(reopened->buildVersion(), "2.5");

    // Another reader: to binary and back to XML through plistutil.
    const QString binary = home.filePath("META.bin");
    ASSERT_EQ(QProcess::execute("plistutil", {"-i", reopened->metaLocation(), "-o", binary, "-f", "bin"}), 0);
    QProcess plistutil;
    plistutil.start("plistutil", {"-i", binary, "-f", "xml"});
    ASSERT_TRUE(plistutil.waitForFinished());
    const QByteArray xml = plistutil.readAllStandardOutput();
    for (const char* key : {"<key>version</key>", "<key>builddate</key>", "<key>buildversion</key>", "<string>2.5</string>"})
        EXPECT_TRUE(xml.contains(key)) << key;

    EXPECT_EQ(PTLibraryController::initWithLibraryPath(home.filePath("missing.ptlibrary")), nullptr);
}

TEST_F(LibraryPackageTest, UnreadableMetaStartsFresh)
{
    const QString location = home.filePath("Broken.ptlibrary");
    writeFile(location + "/META", "<plist><dict><key>version");
    auto library = PTLibraryController::initWithLibraryPath(location);
    ASSERT_NE(library, nullptr);
    EXPECT_DOUBLE_EQ(library->versionNumber(), 0.3);
    EXPECT_TRUE(library->synchronizeMeta());
    EXPECT_TRUE(pt::PropertyList::fromFile(library->metaLocation()).ok());
}

TEST_F(LibraryPackageTest, LocationsAndNames)
{
    const std::vector<std::pair<QString, QString>> computed{
        {"/a/Lib.ptlibrary", "/a/Lib.ptlibrary"},
        {"/a/Lib.PTLIBRARY", "/a/Lib.PTLIBRARY"},
        {"/a/Lib.zip", "/a/Lib.ptlibrary"},
        {"/a/Lib", "/a/Lib.ptlibrary"},
        {"/a/my.lib.v2", "/a/my.lib.ptlibrary"},
    };
    for (const auto& [in, out] : computed)
        EXPECT_EQ(PTLibraryController::computeLocation(in), out) << in.toStdString();

    auto library = PTLibraryController::initWithCreatingLibraryAtPath(home.filePath("My Icons.ptlibrary"));
    EXPECT_EQ(library->persistantStoreCoordinatorPath(), home.filePath("My Icons.ptlibrary/Rorev.db"));
    EXPECT_FALSE(library->persistantStoreCoordinatorExists());
    const QString sets = library->locationByAppendingPath("Sets/ABC", true);
    EXPECT_TRUE(QFileInfo(sets).isDir());
    EXPECT_EQ(library->locationByAppendingPath({}, false), library->path());
    EXPECT_TRUE(library->nameWithTimestamp().contains(QRegularExpression(
        R"(^My Icons-backup-\d\d-\d\d-\d{4}@\d\d-\d\d-\d\d\.ptlibrary$)")));
    EXPECT_TRUE(PTLibraryController::dateStringFromDate(QDateTime(QDate(2026, 3, 7), QTime(1, 2))) == "03-07-2026");
    EXPECT_EQ(pt::Defaults::standard().integerForKey(PTLibraryController::BackupFrequencyKey), 3);
}

TEST_F(LibraryPackageTest, VersionComparisonIsNumeric)
{
    auto library = PTLibraryController::initWithCreatingLibraryAtPath(home.filePath("V.ptlibrary"));
    ASSERT_EQ(library->buildVersion(), "2.4.1");
    const std::vector<std::pair<QString, int>> cases{
        {"2.4.1", 0}, {"2.4.10", 1}, {"2.10", 1}, {"2.4", -1}, {"2.3.9", -1}, {"10.0", 1}, {"02.4.1", 0},
    };
    for (const auto& [version, expected] : cases)
        EXPECT_EQ(library->compareVersionWithString(version), expected) << version.toStdString();
}

TEST_F(LibraryPackageTest, ApplicationFilesDirectoryIsMadeUnderTheDataHome)
{
    // The data home itself need not exist yet.
    const QString dataHome = home.filePath("profile/share");
    qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome));
    const auto folder = PTStoreStack::applicationFilesDirectory();
    ASSERT_TRUE(folder.ok()) << folder.error().toString().toStdString();
    EXPECT_EQ(*folder, dataHome + "/Pictern");
    EXPECT_TRUE(QFileInfo(*folder).isDir());
    writeFile(*folder + "/notes.txt", "kept");

    // The library's base folder is that folder, not one of its own.
    EXPECT_EQ(PTLibraryController::defaultBaseDirectory(), *folder);
    EXPECT_EQ(PTLibraryController::location(), *folder + "/Pictern.ptlibrary");
    ASSERT_TRUE(PTStoreStack::applicationFilesDirectory().ok());
    EXPECT_TRUE(QFileInfo::exists(*folder + "/notes.txt"));
}

TEST_F(LibraryPackageTest, AFileWhereTheApplicationFilesDirectoryBelongsIsAClearError)
{
    // A file in the folder's own place, and one in the place of the data home above it.
    const std::vector<std::pair<QString, QString>> cases{{"one/share", "one/share/Pictern"}, {"two/share", "two/share"}};
    for (const auto& [relativeDataHome, blocker] : cases) {
        SCOPED_TRACE(blocker.toStdString());
        const QString dataHome = home.filePath(relativeDataHome);
        qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome));
        writeFile(home.filePath(blocker), "not a folder");

        const auto folder = PTStoreStack::applicationFilesDirectory();
        ASSERT_FALSE(folder.ok());
        const pt::Error& error = folder.error();
        EXPECT_EQ(error.userInfo.value(pt::Error::FilePathKey).toString(), dataHome + "/Pictern");
        EXPECT_EQ(error.localizedDescription(), "Pictern could not create its data folder.");
        EXPECT_TRUE(error.localizedFailureReason().contains(dataHome + "/Pictern")) << error.localizedFailureReason().toStdString();
        EXPECT_TRUE(error.localizedFailureReason().contains("A file stands where")) << error.localizedFailureReason().toStdString();
        EXPECT_TRUE(QFileInfo(home.filePath(blocker)).isFile()) << "the file in the way is left alone";

        // The default location still names the folder, so nothing is made anywhere else.
        EXPECT_EQ(PTLibraryController::location(), dataHome + "/Pictern/Pictern.ptlibrary");
    }
}

TEST_F(LibraryPackageTest, ProgressPanelRunsTheBlockOnAWorkerWhileTheMainQueueRuns)
{
    auto library = PTLibraryController::initWithCreatingLibraryAtPath(home.filePath("Panel.ptlibrary"));
    library->setProgressTitle("Rebuilding");
    ASSERT_EQ(shell->progressPanels.size(), 1);
    FakeProgressPanel* panel = shell->progressPanels.front();
    EXPECT_FALSE(panel->shown) << "made hidden";

    std::thread::id blockThread;
    bool shownDuringBlock = false;
    bool mainQueueRan = false;
    library->runModalProgressPanelWithBlock([&] {
        blockThread = std::this_thread::get_id();
        shownDuringBlock = panel->shown;
        library->setProgressDescription("Item 1 of 2");
        // A task on the main queue runs while the block waits for it: the window is not frozen.
        auto ran = std::make_shared<std::atomic<bool>>(false);
        pt::DispatchQueue::main().async([ran] { *ran = true; });
        QDeadlineTimer deadline(5000);
        while (!*ran && !deadline.hasExpired())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        mainQueueRan = *ran;
        // The block may take the panel away before it ends; the run still waits for it.
        library->hideModalProgressPanel();
        library->setProgressDescription("Item 2 of 2");
    });
    EXPECT_NE(blockThread, std::this_thread::get_id());
    EXPECT_TRUE(shownDuringBlock);
    EXPECT_TRUE(mainQueueRan);
    EXPECT_FALSE(panel->shown);
    EXPECT_EQ(panel->recorded(panel->titles), QStringList{"Rebuilding"});
    EXPECT_EQ(panel->recorded(panel->descriptions), (QStringList{"Item 1 of 2", "Item 2 of 2"}));

    // A second run reuses the panel.
    bool shownAgain = false;
    library->runModalProgressPanelWithBlock([&] { shownAgain = panel->shown; });
    EXPECT_TRUE(shownAgain);
    EXPECT_EQ(panel->shows, 2);
    EXPECT_EQ(shell->progressPanels.size(), 1);
    EXPECT_FALSE(panel->shown);
}

TEST_F(LibraryPackageTest, WithoutAShellTheBlockStillRunsOffTheMainThread)
{
    PTLibraryShell::install(nullptr);
    auto library = PTLibraryController::initWithCreatingLibraryAtPath(home.filePath("Bare.ptlibrary"));
    library->setProgressTitle("Rebuilding");
    std::thread::id blockThread;
    library->runModalProgressPanelWithBlock([&] { blockThread = std::this_thread::get_id(); });
    EXPECT_NE(blockThread, std::thread::id());
    EXPECT_NE(blockThread, std::this_thread::get_id());
}
