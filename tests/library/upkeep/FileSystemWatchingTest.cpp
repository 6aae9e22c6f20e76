#include "library/upkeep/PTFSEventHandlerController.h"
#include "library/upkeep/PTFSObserver.h"
#include "library/upkeep/PTImportValidation.h"

#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using pt::test::runMainQueueFor;
using pt::test::runMainQueueUntil;

namespace {

// Stands in for the importer's validation: SVG and PNG files only.
class IconFilesOnly : public PTImportValidation {
public:
    QStringList validateURLStrings(const QStringList& paths, quint64) const override
    {
        QStringList accepted;
        for (const QString& path : paths) {
            const QString suffix = QFileInfo(path).suffix().toLower();
            if (suffix == "svg" || suffix == "png")
                accepted.append(path);
        }
        return accepted;
    }
};

void writeFile(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<svg/>");
}

class FileSystemWatchingTest : public ::testing::Test {
protected:
    void SetUp() override { PTImportValidation::install(std::make_shared<IconFilesOnly>()); }
    void TearDown() override
    {
        for (const QString& id : ids)
            controller().removeEventHandlerWithID(id);
        controller().endObservation();
        PTImportValidation::install(nullptr);
    }
    PTFSEventHandlerController& controller() { return PTFSEventHandlerController::sharedController(); }
    QString listen(quint64 mask, std::vector<QList<QUrl>>& calls)
    {
        ids.append(controller().registerEventHandler([&calls](const QList<QUrl>& urls) { calls.push_back(urls); }, mask));
        return ids.last();
    }
    QTemporaryDir dir;
    QStringList ids;
};

} // namespace

TEST_F(FileSystemWatchingTest, ModifiedIconFilesReachMatchingHandlersAsOneArray)
{
    QDir().mkpath(dir.filePath("folder.svg"));
    for (const char* name : {"a.svg", "b.png", "c.svg", "notes.txt"})
        writeFile(dir.filePath(name));
    std::vector<QList<QUrl>> changed, otherMask;
    listen(1, changed);
    listen(2, otherMask);

    const quint32 modified = PTFSEvent::ItemModified | PTFSEvent::ItemIsFile;
    // The first path of this batch was created, not modified: the modified ones still count.
    controller().handleFSEvent({{dir.filePath("new.svg"), dir.filePath("a.svg")},
                                {PTFSEvent::ItemCreated | PTFSEvent::ItemIsFile, modified}});
    runMainQueueFor(100);
    controller().handleFSEvent({{dir.filePath("b.png"), dir.filePath("notes.txt"), dir.filePath("folder.svg")},
                                {modified, modified, modified | PTFSEvent::ItemIsDir}});
    runMainQueueFor(100);
    controller().handleFSEvent({{dir.filePath("c.svg"), dir.filePath("a.svg")}, {modified, modified}});

    ASSERT_TRUE(runMainQueueUntil([&] { return !changed.empty(); }));
    runMainQueueFor(400);
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0], (QList<QUrl>{QUrl::fromLocalFile(dir.filePath("a.svg")),
                                       QUrl::fromLocalFile(dir.filePath("b.png")),
                                       QUrl::fromLocalFile(dir.filePath("c.svg"))}));
    EXPECT_TRUE(otherMask.empty());
}

TEST_F(FileSystemWatchingTest, EndObservationDropsWhatWasCollected)
{
    writeFile(dir.filePath("a.svg"));
    std::vector<QList<QUrl>> changed;
    listen(1, changed);
    controller().handleFSEvent({{dir.filePath("a.svg")}, {PTFSEvent::ItemModified}});
    runMainQueueFor(50);
    controller().endObservation();
    runMainQueueFor(500);
    EXPECT_TRUE(changed.empty());
}

TEST_F(FileSystemWatchingTest, RealChangesInATreeArriveInOneBatch)
{
    QDir().mkpath(dir.filePath("set/sub"));
    std::vector<PTFSEvent> events;
    auto observer = PTFSObserver::observePath(dir.path(), [&](const PTFSEvent& e) { events.push_back(e); });
    ASSERT_NE(observer, nullptr);
    writeFile(dir.filePath("before.svg")); // before start: not reported
    ASSERT_TRUE(observer->start());
    writeFile(dir.filePath("set/one.svg"));
    writeFile(dir.filePath("set/sub/two.svg"));
    QDir().mkpath(dir.filePath("later"));
    runMainQueueFor(50);
    writeFile(dir.filePath("later/three.svg")); // a folder made while watching is followed

    ASSERT_TRUE(runMainQueueUntil([&] { return !events.empty(); }, 5000));
    runMainQueueFor(200);
    ASSERT_EQ(events.size(), 1u);
    QStringList modified;
    for (int i = 0; i < events[0].count(); ++i) {
        if (events[0].flags[i] & PTFSEvent::ItemModified)
            modified.append(QDir(dir.path()).relativeFilePath(events[0].paths[i]));
    }
    modified.sort();
    EXPECT_EQ(modified, (QStringList{"later/three.svg", "set/one.svg", "set/sub/two.svg"}));

    // The batch goes on to the controller, as a connected watcher would hand it.
    std::vector<QList<QUrl>> changed;
    listen(1, changed);
    controller().handleFSEvent(events[0]);
    ASSERT_TRUE(runMainQueueUntil([&] { return !changed.empty(); }));
    EXPECT_EQ(changed[0].size(), 3);

    observer->stop();
    writeFile(dir.filePath("set/after-stop.svg"));
    runMainQueueFor(1300);
    EXPECT_EQ(events.size(), 1u);
}
