#include "ImportTestSupport.h"

#include "LoopbackHTTPServer.h"
#include "TestSupport.h"
#include "foundation/SSZipArchive.h"
#include "library/PTLibraryController.h"
#include "platform/runtime/Defaults.h"
#include "transfer/PTDownloadController.h"
#include "transfer/PTURLDownloader.h"
#include "transfer/import/PTFileOpenHandler.h"
#include "transfer/import/PTFileOpenIconHandlerOperation.h"
#include "transfer/import/PTFileOpenLibraryHandlerOperation.h"
#include "transfer/import/PTFileOpenTernHandlerOperation.h"
#include "transfer/import/PTFileOpenURLPreferencesHandlerOperation.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTcpSocket>

#include <gtest/gtest.h>

#include <optional>
#include <utime.h>

using namespace pt::test;

namespace {

// "<kind>:<file names or URLs>" for each operation, in order.
QStringList describe(const std::vector<std::unique_ptr<PTFileOpenHandlerOperation>>& operations)
{
    QStringList lines;
    for (const auto& operation : operations) {
        QString kind = dynamic_cast<PTFileOpenTernHandlerOperation*>(operation.get())             ? "bundle"
                       : dynamic_cast<PTFileOpenURLPreferencesHandlerOperation*>(operation.get()) ? "preferences"
                       : dynamic_cast<PTFileOpenIconHandlerOperation*>(operation.get())          ? "icons"
                       : dynamic_cast<PTFileOpenLibraryHandlerOperation*>(operation.get())       ? "library"
                                                                                                  : "other";
        QStringList urls;
        for (const QUrl& url : operation->urls())
            urls << (url.isLocalFile() ? QFileInfo(url.toLocalFile()).fileName() : url.toString());
        lines << kind + ":" + urls.join(',');
    }
    return lines;
}

// An operation that records when it starts and finishes when the test says so.
class RecordingOperation : public PTFileOpenHandlerOperation {
public:
    static inline QStringList log;
    static inline std::vector<Done> pending;
    static bool handlesURL(const QUrl& url) { return url.scheme() == "test"; }
    quint64 sort() const override { return urls().first().host() == "last" ? 500 : 1; }
    bool isMaxCapacity() const override { return !urls().isEmpty(); }

protected:
    void executeWithDone(const Done& done) override
    {
        log << urls().first().host();
        pending.push_back(done);
    }
};

} // namespace

class FileOpenHandler : public ImportTest {
protected:
    QList<QUrl> files(const QStringList& relatives)
    {
        QList<QUrl> urls;
        for (const QString& relative : relatives)
            urls << (relative.contains("://") ? QUrl(relative) : QUrl::fromLocalFile(sourcePath(relative)));
        return urls;
    }
    PTFileOpenHandler handler;
};

TEST_F(FileOpenHandler, Routing)
{
    PTFileOpenHandler::registerAll(handler);
    source("a.svg");
    source("b.svg");
    source("notes.txt", "text");
    source("set.pictern/META", "meta");
    source("empty.pictern/readme.txt", "no meta");
    source("One.ptlibrary/META", "x");
    source("Two.ptlibrary/META", "x");
    source("plain/c.svg");
    struct Case {
        const char* label;
        QStringList urls;
        QStringList operations;
    };
    const std::vector<Case> cases{
        {"icons with a bundle", {"a.svg", "set.pictern", "b.svg"}, {"bundle:set.pictern", "icons:a.svg,b.svg"}},
        {"two libraries", {"One.ptlibrary", "Two.ptlibrary"}, {"library:One.ptlibrary,Two.ptlibrary"}},
        {"a library after the sheet", {"One.ptlibrary", "a.svg", "plain"}, {"icons:a.svg,plain", "library:One.ptlibrary"}},
        {"bundle folder without META", {"empty.pictern"}, {}},
        {"a text file", {"notes.txt"}, {}},
        {"capital host", {"pictern://PREFERENCES?section=io"}, {"preferences:pictern://preferences?section=io"}},
        {"capital scheme", {"PICTERN://preferences?section=general"}, {"preferences:pictern://preferences?section=general"}},
        {"blank value", {"pictern://preferences?section=%20"}, {}},
        {"no query", {"pictern://preferences"}, {}},
        {"unknown host", {"pictern://nothing?section=io"}, {}},
        {"two requests",
         {"pictern://preferences?section=io", "pictern://preferences?section=licenses"},
         {"preferences:pictern://preferences?section=io", "preferences:pictern://preferences?section=licenses"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        // The order among operations of equal sort is not significant; a library switch comes last.
        QStringList operations = describe(handler.operationsForFileURLs(files(c.urls)));
        if (!operations.isEmpty() && operations.first().startsWith("library"))
            EXPECT_EQ(operations.size(), 1);
        operations.sort();
        EXPECT_EQ(operations, c.operations);
        EXPECT_EQ(handler.handlesURLs(files(c.urls)), !c.operations.isEmpty());
    }
    EXPECT_FALSE(handler.handlesURLs({}));
    // What nothing takes is named once.
    EXPECT_FALSE(handler.queueItems(files({"notes.txt", "pictern://nothing?x=1"})));
    EXPECT_EQ(shell->notices, QStringList{"Cannot Open | Pictern cannot open notes.txt, pictern://nothing?x=1."});
    EXPECT_EQ(handler.pendingCount(), 0);

    PTFileOpenHandler shared;
    PTFileOpenHandler::registerAll(shared);
    QStringList names;
    for (const auto& operationClass : shared.operationClasses())
        names << operationClass.name;
    EXPECT_EQ(names, (QStringList{"PTFileOpenTernHandlerOperation", "PTFileOpenURLPreferencesHandlerOperation",
                                  "PTFileOpenPresetHandlerOperation", "PTFileOpenIconHandlerOperation",
                                  "PTFileOpenLibraryHandlerOperation"}));
}

TEST_F(FileOpenHandler, OneAtATimeFromShortlyAfterLaunch)
{
    RecordingOperation::log.clear();
    RecordingOperation::pending.clear();
    handler.registerOperationClass<RecordingOperation>("RecordingOperation", PTFileOpenHandler::IconRank);
    ASSERT_TRUE(handler.queueItems({QUrl("test://last"), QUrl("test://sheet")}));
    runMainQueueFor(50);
    EXPECT_TRUE(RecordingOperation::log.isEmpty()) << "nothing runs before launch has finished";
    QElapsedTimer timer;
    timer.start();
    handler.applicationDidFinishLaunching();
    ASSERT_TRUE(runMainQueueUntil([] { return !RecordingOperation::log.isEmpty(); }));
    EXPECT_GE(timer.elapsed(), 90);
    // The sheet holds back the library switch until it is done.
    runMainQueueFor(20);
    EXPECT_EQ(RecordingOperation::log, QStringList{"sheet"});
    RecordingOperation::pending.front()();
    RecordingOperation::pending.front()(); // a second call changes nothing
    ASSERT_TRUE(runMainQueueUntil([] { return RecordingOperation::log.size() == 2; }));
    EXPECT_EQ(RecordingOperation::log, (QStringList{"sheet", "last"}));
    RecordingOperation::pending.back()();
    ASSERT_TRUE(runMainQueueUntil([this] { return handler.pendingCount() == 0; }));
}

TEST(FileOpenHandlerOperation, DoneOnceEvenWhenDestroyedEarly)
{
    int calls = 0;
    {
        RecordingOperation operation;
        operation.addURL(QUrl("test://x"));
        operation.execute([&] { ++calls; });
        EXPECT_EQ(calls, 0);
    }
    EXPECT_EQ(calls, 1);
}

// A library that arrives zipped: Open moves it out of the download cache, whose clean-up would take it along,
// into the user's data folder, and switches to it there.
TEST_F(FileOpenHandler, ADownloadedLibraryLeavesTheDownloadCacheBeforeTheSwitch)
{
    makeSet(QStringLiteral("Shared"));
    saveAndWait();
    ASSERT_TRUE(PTLibraryController::currentLibrary()->synchronizeMeta());
    const QString zipPath = sourcePath(QStringLiteral("shared.zip"));
    ASSERT_TRUE(SSZipArchive::createZipFileAtPath(zipPath, libraryPath(), true));
    QFile zip(zipPath);
    ASSERT_TRUE(zip.open(QIODevice::ReadOnly));
    const QByteArray zipped = zip.readAll();
    LoopbackHTTPServer server([&](const LoopbackHTTPServer::Request&, QTcpSocket* socket) {
        socket->write(LoopbackHTTPServer::response(200, zipped));
        socket->disconnectFromHost();
    });
    PTURLDownloader downloader(server.url(QStringLiteral("/shared.zip")));
    std::optional<QUrl> ready;
    bool completed = false;
    downloader.setFileReadyHandler([&](PTURLDownloader*, const QUrl& file) {
        ready = file;
        return pt::Error();
    });
    downloader.setCompleteHandler([&](PTURLDownloader*, const pt::Error&) { completed = true; });
    downloader.begin();
    ASSERT_TRUE(runMainQueueUntil([&] { return completed; }, 20000));
    ASSERT_TRUE(ready);
    const QString downloaded = ready->toLocalFile();
    ASSERT_EQ(QFileInfo(downloaded).fileName(), QStringLiteral("Test.ptlibrary"));

    // A library of that name already in the data folder stays as it is.
    const QDir base(PTLibraryController::defaultBaseDirectory());
    const QString existing = base.filePath(QStringLiteral("Test.ptlibrary/META"));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(existing).path()));
    QFile(existing).open(QIODevice::WriteOnly);

    PTFileOpenHandler::registerAll(handler);
    handler.applicationDidFinishLaunching();
    const QString before = pt::Defaults::standard().stringForKey(PTLibraryController::PathKey);
    ASSERT_TRUE(handler.queueItems({*ready}));
    ASSERT_TRUE(runMainQueueUntil(
        [&] { return pt::Defaults::standard().stringForKey(PTLibraryController::PathKey) != before; }, 10000));
    const QString stored = pt::Defaults::standard().stringForKey(PTLibraryController::PathKey);
    EXPECT_EQ(stored, base.filePath(QStringLiteral("Test 2.ptlibrary")));
    EXPECT_TRUE(QFileInfo(stored + QStringLiteral("/") + PTLibraryController::StoreFileName).isFile());
    EXPECT_EQ(QFileInfo(existing).size(), 0);
    EXPECT_FALSE(QFileInfo::exists(downloaded));
    QDir(stored).removeRecursively();
    QDir(QFileInfo(existing).path()).removeRecursively();
}

// However a library came to lie in the download cache, the clean-up at start-up never takes the current one.
TEST_F(FileOpenHandler, TheDownloadCleanUpKeepsTheCurrentLibrary)
{
    const QString holding = PTURLDownloader::temporaryFilePath();
    const QString package = holding + QStringLiteral("/shared/Shared.ptlibrary");
    const QString other = PTURLDownloader::temporaryFilePath();
    ASSERT_TRUE(QDir().mkpath(package));
    ASSERT_TRUE(QDir().mkpath(other));
    QFile(package + QStringLiteral("/META")).open(QIODevice::WriteOnly);
    const qint64 fourDaysAgo = QDateTime::currentDateTime().addDays(-4).toSecsSinceEpoch();
    for (const QString& folder : {holding, other}) {
        struct utimbuf times = {fourDaysAgo, fourDaysAgo};
        ASSERT_EQ(utime(QFile::encodeName(folder).constData(), &times), 0);
    }
    pt::Defaults::standard().set(PTLibraryController::PathKey, package);
    PTDownloadController::registerAll(handler);
    EXPECT_TRUE(QFileInfo(package + QStringLiteral("/META")).isFile());
    EXPECT_FALSE(QFileInfo::exists(other));
    QDir(holding).removeRecursively();
}
