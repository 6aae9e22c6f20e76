#include "foundation/AsyncCopy.h"
#include "foundation/FolderSize.h"

#include "TestSupport.h"
#include "FileFixtures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QCoreApplication>
#include <QThread>

#include <gtest/gtest.h>

using namespace asyncCopy;
using fixtures::run;
using fixtures::treeOf;
using fixtures::writeFile;

namespace {

const QString PapirusActions = QStringLiteral("/usr/share/icons/Papirus/16x16/actions");

struct CopyRecorder {
    std::vector<CopyStatus> reports;
    bool complete() const { return !reports.empty() && reports.back().stage == Stage::Complete; }
    StatusHandler handler()
    {
        return [this](const CopyStatus& status) {
            EXPECT_EQ(QThread::currentThread(), qApp->thread());
            reports.push_back(status);
        };
    }
};

} // namespace

TEST(FolderSize, SumsContentWithoutFollowingLinks)
{
    QTemporaryDir temp;
    writeFile(temp.filePath("top/a.bin"), QByteArray(10, 'a'));
    writeFile(temp.filePath("top/sub/b.bin"), QByteArray(5, 'b'));
    ASSERT_TRUE(QFile::link("..", temp.filePath("top/sub/loop"))); // a cycle if followed
    const quint64 linkSize = 2;                                      // the text ".."

    EXPECT_EQ(folderSize::sizeOfFileWithURL(QUrl::fromLocalFile(temp.filePath("top"))), 15 + linkSize);
    EXPECT_EQ(folderSize::sizeOfFileWithURL(QUrl::fromLocalFile(temp.filePath("top/a.bin"))), 10u);
    EXPECT_EQ(folderSize::sizeOfFileWithURL(QUrl::fromLocalFile(temp.filePath("missing"))), 0u);
    EXPECT_EQ(folderSize::sizeOfFolderAtPath(temp.filePath("top")), 15 + linkSize);
    EXPECT_EQ(folderSize::sizeOfFolderAtPath(temp.filePath("top/a.bin")), 0u) << "not a folder";
    EXPECT_EQ(folderSize::sizeOfFoldersAtPaths({temp.filePath("top"), temp.filePath("top/sub")}), 15 + linkSize + 5 + linkSize);

    std::vector<quint64> answers;
    folderSize::sizeOfFilesWithURLs({}, [&](quint64 size) { answers.push_back(size); });
    folderSize::sizeOfFilesWithURLs({QUrl::fromLocalFile(temp.filePath("top/a.bin")),
                                     QUrl::fromLocalFile(temp.filePath("top/sub"))},
                                    [&](quint64 size) { answers.push_back(size); });
    folderSize::sizeOfFoldersAtPaths({}, [&](quint64 size) { answers.push_back(size); });
    folderSize::sizeOfFoldersAtPaths({temp.filePath("top"), temp.filePath("top/sub"), temp.filePath("none")},
                                     [&](quint64 size) { answers.push_back(size); });
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return answers.size() == 4; }));
    std::sort(answers.begin(), answers.end());
    EXPECT_EQ(answers, (std::vector<quint64>{0, 0, 10 + 5 + linkSize, 15 + linkSize + 5 + linkSize}));
}

TEST(AsyncCopy, CopiesARealIconTreeWithItsLinks)
{
    QTemporaryDir temp;
    const QString destination = temp.filePath("copy");
    CopyRecorder recorder;
    const auto started = asynchronousCopyFileAtPath(PapirusActions, destination, recorder.handler());
    ASSERT_TRUE(started.ok()) << started.error().toString().toStdString();
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return recorder.complete(); }, 60000));

    const CopyStatus& last = recorder.reports.back();
    EXPECT_EQ(last.outcome, Outcome::Done);
    EXPECT_EQ(last.objectsCompleted, last.totalObjects);
    EXPECT_GT(last.totalObjects, 100);
    EXPECT_EQ(recorder.reports.front().stage, Stage::Preflighting);
    EXPECT_EQ(std::count_if(recorder.reports.begin(), recorder.reports.end(),
                            [](const CopyStatus& s) { return s.stage == Stage::Complete; }),
              1);
    run(temp.path(), {"diff", "-r", "--no-dereference", PapirusActions, destination});
    EXPECT_EQ(QDir(temp.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{"copy"})
        << "nothing staged is left beside the copy";
    const size_t reports = recorder.reports.size();
    (*started)(); // cancelling after the end does nothing
    pt::test::runMainQueueFor(50);
    EXPECT_EQ(recorder.reports.size(), reports);
}

TEST(AsyncCopy, ReplacesAnExistingItemOnlyWhenWhole)
{
    QTemporaryDir temp;
    writeFile(temp.filePath("source/new.txt"), "new");
    writeFile(temp.filePath("dest/old.txt"), "old");
    CopyRecorder recorder;
    ASSERT_TRUE(asynchronousCopyFileAtPath(temp.filePath("source"), temp.filePath("dest"), recorder.handler()).ok());
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return recorder.complete(); }));
    EXPECT_EQ(recorder.reports.back().outcome, Outcome::Done);
    EXPECT_EQ(treeOf(temp.filePath("dest")), QStringList{"new.txt"});

    // A single file and a link copy too.
    ASSERT_TRUE(QFile::link("source/new.txt", temp.filePath("link")));
    CopyRecorder second;
    ASSERT_TRUE(asynchronousCopyFileAtPath(temp.filePath("link"), temp.filePath("link-copy"), second.handler()).ok());
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return second.complete(); }));
    EXPECT_EQ(QFileInfo(temp.filePath("link-copy")).symLinkTarget(), QFileInfo(temp.filePath("link")).symLinkTarget());
}

TEST(AsyncCopy, CancelledMidwayLeavesTheOldDestination)
{
    QTemporaryDir temp;
    writeFile(temp.filePath("dest/keep.txt"), "keep");
    CopyRecorder recorder;
    const auto started = asynchronousCopyFileAtPath("/usr/share/icons/Papirus", temp.filePath("dest"), recorder.handler());
    ASSERT_TRUE(started.ok());
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return !recorder.reports.empty(); }));
    pt::test::runMainQueueFor(100);
    (*started)();
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return recorder.complete(); }, 60000));
    EXPECT_EQ(recorder.reports.back().outcome, Outcome::Cancelled);
    EXPECT_LT(recorder.reports.back().objectsCompleted, recorder.reports.back().totalObjects);
    EXPECT_EQ(treeOf(temp.filePath("dest")), QStringList{"keep.txt"});
    EXPECT_EQ(QDir(temp.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{"dest"});
}

TEST(AsyncCopy, ACopyThatCannotStartSaysSoAtOnce)
{
    QTemporaryDir temp;
    writeFile(temp.filePath("source/a.txt"), "a");
    writeFile(temp.filePath("source/sub/b.txt"), "b");
    CopyRecorder recorder;
    const struct {
        QString source;
        QString destination;
    } cases[] = {
        {temp.filePath("source"), temp.filePath("no/such/parent/copy")},
        {temp.filePath("missing"), temp.filePath("copy")},
        {temp.filePath("source"), temp.filePath("source/inside")},
        {temp.filePath("source"), temp.filePath("source")},
        // Replacing a folder that holds the source would delete the source with it.
        {temp.filePath("source/sub"), temp.filePath("source")},
        {temp.filePath("source/a.txt"), temp.filePath("source")},
        {temp.filePath("source/sub/b.txt"), temp.filePath("source/../source")},
    };
    for (const auto& c : cases) {
        const auto started = asynchronousCopyFileAtPath(c.source, c.destination, recorder.handler());
        ASSERT_FALSE(started.ok()) << c.destination.toStdString();
        EXPECT_EQ(started.error().domain, ErrorDomain);
    }
    pt::test::runMainQueueFor(100);
    EXPECT_TRUE(recorder.reports.empty()) << "no report follows a copy that did not start";
    EXPECT_EQ(treeOf(temp.filePath("source")), (QStringList{"a.txt", "sub", "sub/b.txt"}));
}

TEST(AsyncCopy, PathsOverlapByWholePartsThroughLinks)
{
    QTemporaryDir temp;
    writeFile(temp.filePath("lib/a.txt"), "a");
    ASSERT_TRUE(QFile::link(temp.filePath("lib"), temp.filePath("alias")));
    const struct {
        QString first;
        QString second;
        bool overlap;
    } cases[] = {
        {"lib", "lib", true},
        {"lib", "lib/new/copy", true},
        {"lib/a.txt", "lib/", true},
        {"alias/a.txt", "lib", true},
        {"lib", "alias/backup", true},
        {"lib", "libcopy", false},
        {"libcopy", "lib", false},
        {"lib/a.txt", "other/lib", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(pathsOverlap(temp.filePath(c.first), temp.filePath(c.second)), c.overlap)
            << c.first.toStdString() << " " << c.second.toStdString();
    }
}
