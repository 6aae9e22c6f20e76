#include "library/PTLibraryController.h"

#include "platform/plist/PropertyList.h"
#include "platform/runtime/Defaults.h"

#include "TestSupport.h"
#include "UpkeepTestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

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
