#include "transfer/PTURLDownloader.h"

#include "DownloadTestSupport.h"
#include "LoopbackHTTPServer.h"
#include "TestSupport.h"

#include "foundation/SSZipArchive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <optional>
#include <sys/stat.h>
#include <utime.h>

using pt::test::downloadFolders;
using pt::test::zipOf;

namespace {

const QByteArray kSVG = "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 8 8\"><path d=\"M0 0h8v8z\"/></svg>";

// What a download reported, in order.
struct DownloadReport {
    QString initialName;
    QList<float> progress;
    bool willDecompress = false;
    QList<float> decompressProgress;
    std::optional<QUrl> ready;
    std::optional<pt::Error> completed;
    int completions = 0;
};

void watch(PTURLDownloader& downloader, DownloadReport& run)
{
    downloader.setInitialResponseHandler([&run](PTURLDownloader*, const QString& name) { run.initialName = name; });
    downloader.setProgressHandler([&run](PTURLDownloader*, float p) { run.progress.append(p); });
    downloader.setWillDecompressHandler([&run](PTURLDownloader*) { run.willDecompress = true; });
    downloader.setDecompressProgressHandler([&run](PTURLDownloader*, float p) { run.decompressProgress.append(p); });
    downloader.setFileReadyHandler([&run](PTURLDownloader*, const QUrl& url) {
        run.ready = url;
        return pt::Error();
    });
    downloader.setCompleteHandler([&run](PTURLDownloader*, const pt::Error& error) {
        run.completed = error;
        ++run.completions;
    });
}

struct URLDownloaderTest : ::testing::Test {
    void SetUp() override { QDir(PTURLDownloader::downloadsFolder()).removeRecursively(); }

    DownloadReport download(LoopbackHTTPServer& server, const QString& path, const PTURLDownloader::Headers& headers = {},
                 qint64 maximumBytes = 0)
    {
        DownloadReport run;
        PTURLDownloader downloader(server.url(path));
        downloader.setHeaders(headers);
        if (maximumBytes > 0)
            downloader.setMaximumBytes(maximumBytes);
        watch(downloader, run);
        downloader.begin();
        EXPECT_TRUE(pt::test::runMainQueueUntil([&] { return run.completions > 0; }, 20000)) << path.toStdString();
        return run;
    }
};

} // namespace

// Each answer of the server against what the download makes of it: where the file lands, what is reported, and
// that a failure leaves no folder behind.
TEST_F(URLDownloaderTest, ServerAnswersTable)
{
    const QByteArray bundleZip = zipOf({{"Set.pictern/META", "meta"},
                                        {"Set.pictern/icons/a.svg", kSVG},
                                        {"__MACOSX/Set.pictern/._META", "junk"}});
    const QByteArray iconsZip = zipOf({{"a.svg", kSVG}, {"b.svg", kSVG}});
    LoopbackHTTPServer server([&](const LoopbackHTTPServer::Request& request, QTcpSocket* socket) {
        const QByteArray path = request.path;
        if (path == "/named")
            socket->write(LoopbackHTTPServer::response(
                200, kSVG, {"Content-Disposition: attachment; filename=\"star icon.svg\""}));
        else if (path == "/chunked/arrow.svg")
            socket->write(LoopbackHTTPServer::chunkedResponse(kSVG, 16));
        else if (path == "/bundle.zip")
            socket->write(LoopbackHTTPServer::response(200, bundleZip));
        else if (path == "/icons.zip")
            socket->write(LoopbackHTTPServer::response(200, iconsZip));
        else if (path == "/climb")
            socket->write(LoopbackHTTPServer::response(
                200, kSVG, {"Content-Disposition: attachment; filename=\"../../x.svg\""}));
        else if (path == "/checked")
            socket->write(request.headers.value("x-token") == "secret"
                              ? LoopbackHTTPServer::response(200, kSVG)
                              : LoopbackHTTPServer::response(404, "no token"));
        else
            socket->write(LoopbackHTTPServer::response(404, "<html>gone</html>"));
        socket->disconnectFromHost();
    });

    struct Case {
        const char* path;
        PTURLDownloader::Headers headers;
        QString readyName; // empty: the download fails
        qint64 errorCode;
    };
    const Case cases[] = {
        {"/named", {}, QStringLiteral("star icon.svg"), 0},
        {"/chunked/arrow.svg", {}, QStringLiteral("arrow.svg"), 0},
        {"/bundle.zip", {}, QStringLiteral("bundle/Set.pictern"), 0},
        {"/icons.zip", {}, QStringLiteral("icons"), 0},
        {"/climb", {}, QStringLiteral("x.svg"), 0},
        {"/checked", {{QStringLiteral("X-Token"), QStringLiteral("secret")}}, QStringLiteral("checked"), 0},
        {"/missing.svg", {}, {}, PTURLDownloader::HTTPStatusError},
    };
    for (const Case& c : cases) {
        const DownloadReport run = download(server, QString::fromLatin1(c.path), c.headers);
        ASSERT_TRUE(run.completed) << c.path;
        if (c.readyName.isEmpty()) {
            EXPECT_EQ(run.completed->code, c.errorCode) << c.path;
            EXPECT_FALSE(run.ready) << c.path;
            EXPECT_TRUE(downloadFolders().isEmpty()) << c.path;
            continue;
        }
        EXPECT_TRUE(run.completed->isNull()) << c.path << " " << run.completed->toString().toStdString();
        ASSERT_TRUE(run.ready) << c.path;
        const QString ready = run.ready->toLocalFile();
        EXPECT_TRUE(ready.endsWith(QLatin1Char('/') + c.readyName)) << c.path << " " << ready.toStdString();
        // Every download has a folder of its own right under the downloads folder.
        EXPECT_TRUE(ready.startsWith(PTURLDownloader::downloadsFolder() + QLatin1Char('/'))) << c.path;
        EXPECT_EQ(downloadFolders().size(), 1) << c.path;
        QDir(PTURLDownloader::downloadsFolder()).removeRecursively();
    }
}

// Names a server suggests with blanks of other scripts around dots: none may come out hidden, and a name that
// still ends in ".zip" is unpacked.
TEST_F(URLDownloaderTest, SuggestedNamesNeverComeOutHidden)
{
    const QByteArray iconsZip = zipOf({{"a.svg", kSVG}, {"b.svg", kSVG}});
    struct Case {
        QByteArray field;
        QString saved;
        QString ready;
    };
    const QList<Case> cases = {
        {"attachment; filename*=UTF-8''%C2%A0.zip", QStringLiteral("zip"), QStringLiteral("zip")},
        {"attachment; filename*=UTF-8''%E3%80%80.icons.zip", QStringLiteral("icons.zip"), QStringLiteral("icons")},
        {"attachment; filename*=UTF-8''%E2%80%A8%20.%C2%A0.icons.zip", QStringLiteral("icons.zip"),
         QStringLiteral("icons")},
        {"attachment; filename=\" .\u3000. icons.zip\"", QStringLiteral("icons.zip"), QStringLiteral("icons")},
    };
    LoopbackHTTPServer server([&](const LoopbackHTTPServer::Request& request, QTcpSocket* socket) {
        const Case& c = cases.at(request.path.mid(1).toInt());
        socket->write(LoopbackHTTPServer::response(200, iconsZip, {"Content-Disposition: " + c.field}));
        socket->disconnectFromHost();
    });
    for (qsizetype i = 0; i < cases.size(); ++i) {
        const Case& c = cases.at(i);
        const DownloadReport run = download(server, QStringLiteral("/%1").arg(i));
        EXPECT_EQ(run.initialName, c.saved) << c.field.constData();
        ASSERT_TRUE(run.ready) << c.field.constData();
        EXPECT_EQ(QFileInfo(run.ready->toLocalFile()).fileName(), c.ready) << c.field.constData();
        QDir(PTURLDownloader::downloadsFolder()).removeRecursively();
    }
}

TEST_F(URLDownloaderTest, ProgressWithAndWithoutALength)
{
    const QByteArray body(200000, 'x');
    LoopbackHTTPServer server([&](const LoopbackHTTPServer::Request& request, QTcpSocket* socket) {
        socket->write(request.path == "/sized.bin" ? LoopbackHTTPServer::response(200, body)
                                                   : LoopbackHTTPServer::chunkedResponse(body, 4096));
        socket->disconnectFromHost();
    });
    DownloadReport sized = download(server, QStringLiteral("/sized.bin"));
    ASSERT_FALSE(sized.progress.isEmpty());
    EXPECT_FLOAT_EQ(sized.progress.last(), 1.0f);
    EXPECT_TRUE(std::is_sorted(sized.progress.begin(), sized.progress.end()));

    DownloadReport unsized = download(server, QStringLiteral("/unsized.bin"));
    ASSERT_FALSE(unsized.progress.isEmpty());
    for (float p : unsized.progress)
        EXPECT_LT(p, 0);
    ASSERT_TRUE(unsized.ready);
    EXPECT_EQ(QFileInfo(unsized.ready->toLocalFile()).size(), body.size());
}

TEST_F(URLDownloaderTest, ArchivesReportTheirUnpackingAndUnsafeOnesFail)
{
    const QByteArray slip = zipOf({{"fine.svg", kSVG}, {"../escaped.svg", kSVG}});
    const QByteArray icons = zipOf({{"a.svg", kSVG}, {"b.svg", kSVG}, {"c.svg", kSVG}});
    LoopbackHTTPServer server([&](const LoopbackHTTPServer::Request& request, QTcpSocket* socket) {
        socket->write(LoopbackHTTPServer::response(200, request.path == "/slip.zip" ? slip : icons));
        socket->disconnectFromHost();
    });
    const DownloadReport ok = download(server, QStringLiteral("/three.zip"));
    EXPECT_TRUE(ok.willDecompress);
    ASSERT_FALSE(ok.decompressProgress.isEmpty());
    EXPECT_FLOAT_EQ(ok.decompressProgress.last(), 1.0f);
    ASSERT_TRUE(ok.ready);
    EXPECT_EQ(QDir(ok.ready->toLocalFile()).entryList(QDir::Files).size(), 3);
    QDir(PTURLDownloader::downloadsFolder()).removeRecursively();

    const DownloadReport bad = download(server, QStringLiteral("/slip.zip"));
    ASSERT_TRUE(bad.completed);
    EXPECT_EQ(bad.completed->domain, SSZipArchive::ErrorDomain);
    EXPECT_FALSE(bad.ready);
    EXPECT_TRUE(downloadFolders().isEmpty());
    EXPECT_FALSE(QFile::exists(PTURLDownloader::downloadsFolder() + QStringLiteral("/escaped.svg")));
}

TEST_F(URLDownloaderTest, BodiesOverTheCapFailWithOrWithoutALength)
{
    const QByteArray body(5000, 'x');
    constexpr int Piece = 250;
    LoopbackHTTPServer server([&](const LoopbackHTTPServer::Request& request, QTcpSocket* socket) {
        if (request.path == "/trickled.bin") {
            // No length, and each read well under the cap: only the running total tells it is too large.
            socket->write("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n");
            auto* timer = new QTimer(socket);
            QObject::connect(timer, &QTimer::timeout, socket, [socket, timer, sent = qsizetype(0), &body]() mutable {
                socket->write(body.mid(sent, Piece));
                socket->flush();
                sent += Piece;
                if (sent >= body.size()) {
                    timer->stop();
                    socket->disconnectFromHost();
                }
            });
            timer->start(5);
            return;
        }
        socket->write(request.path == "/sized.bin" ? LoopbackHTTPServer::response(200, body)
                                                   : LoopbackHTTPServer::chunkedResponse(body, 1000));
        socket->disconnectFromHost();
    });
    for (const char* path : {"/sized.bin", "/unsized.bin", "/trickled.bin"}) {
        const DownloadReport run = download(server, QString::fromLatin1(path), {}, 3000);
        ASSERT_TRUE(run.completed) << path;
        EXPECT_EQ(run.completed->code, PTURLDownloader::TooLargeError) << path;
        EXPECT_FALSE(run.ready) << path;
        EXPECT_TRUE(downloadFolders().isEmpty()) << path;
        if (QByteArrayView(path) == "/trickled.bin") {
            EXPECT_GT(run.progress.size(), 1) << "the body arrived in one read";
        }
    }
}

TEST_F(URLDownloaderTest, CancellingMidBodyEndsOnceAndLeavesNothing)
{
    LoopbackHTTPServer server([](const LoopbackHTTPServer::Request&, QTcpSocket* socket) {
        // Half the promised body, then silence.
        const QByteArray response = LoopbackHTTPServer::response(200, QByteArray(100000, 'x'));
        socket->write(response.left(response.size() / 2));
    });
    DownloadReport run;
    PTURLDownloader downloader(server.url(QStringLiteral("/slow.bin")));
    watch(downloader, run);
    downloader.begin();
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return !run.progress.isEmpty(); }));
    downloader.cancel();
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return run.completions > 0; }));
    pt::test::runMainQueueFor(50);
    EXPECT_EQ(run.completions, 1);
    EXPECT_EQ(run.completed->code, PTURLDownloader::CancelledError);
    EXPECT_TRUE(downloadFolders().isEmpty());
}

// Requests that must never reach a server: each completes with a refusal and no connection is made.
TEST_F(URLDownloaderTest, RefusedRequestsReachNoServer)
{
    LoopbackHTTPServer server([](const LoopbackHTTPServer::Request&, QTcpSocket* socket) {
        socket->write(LoopbackHTTPServer::response(200, kSVG));
        socket->disconnectFromHost();
    });
    const QString local = server.url(QStringLiteral("/a.svg")).toString();
    struct Case {
        QString url;
        PTURLDownloader::Headers headers;
    };
    const Case cases[] = {
        {QStringLiteral("file:///etc/passwd"), {}},
        {QStringLiteral("ftp://127.0.0.1/a.svg"), {}},
        {QStringLiteral("a.svg"), {}},
        {QStringLiteral("http:///a.svg"), {}},
        {QStringLiteral("[%1]").arg(local), {}},
        {local, {{QStringLiteral("X-Token"), QStringLiteral("a\r\nX-Evil: 1")}}},
        {local, {{QStringLiteral("Bad Name"), QStringLiteral("1")}}},
        {local, {{QStringLiteral("X-Nul"), QStringLiteral("a") + QChar(0)}}},
    };
    for (const Case& c : cases) {
        DownloadReport run;
        PTURLDownloader downloader{QUrl(c.url)};
        downloader.setHeaders(c.headers);
        watch(downloader, run);
        downloader.begin();
        EXPECT_EQ(run.completions, 0) << "reported later, not from begin()";
        ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return run.completions > 0; })) << c.url.toStdString();
        EXPECT_EQ(run.completed->code, PTURLDownloader::RefusedRequestError) << c.url.toStdString();
    }
    EXPECT_EQ(server.connections(), 0);
}

TEST(URLDownloaderNames, ServerNamesStayInTheirFolder)
{
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("icons.zip"), QStringLiteral("icons.zip")},
        {QStringLiteral("../../x.svg"), QStringLiteral("x.svg")},
        {QStringLiteral("/etc/passwd"), QStringLiteral("etcpasswd")},
        {QStringLiteral(".hidden"), QStringLiteral("hidden")},
        {QStringLiteral("a\nb\tc.svg"), QStringLiteral("abc.svg")},
        {QStringLiteral(".."), QStringLiteral("download")},
        {QString(), QStringLiteral("download")},
        {QString(300, QChar(0x00E9)), QString(100, QChar(0x00E9))},
    };
    for (const auto& [given, safe] : cases)
        EXPECT_EQ(PTURLDownloader::safeFileName(given), safe) << given.toStdString();

    const std::pair<QByteArray, QString> fields[] = {
        {"attachment; filename=\"a b.svg\"", QStringLiteral("a b.svg")},
        {"attachment; filename=plain.svg", QStringLiteral("plain.svg")},
        {"attachment; filename=\"fallback.svg\"; filename*=UTF-8''%C3%A9toile.svg", QStringLiteral("\u00e9toile.svg")},
        {"inline", QString()},
    };
    for (const auto& [field, name] : fields)
        EXPECT_EQ(PTURLDownloader::fileNameFromContentDisposition(field), name) << field.constData();
}

TEST_F(URLDownloaderTest, OldDownloadFoldersGoAndOthersStay)
{
    const QDir downloads(PTURLDownloader::downloadsFolder());
    const QString old = PTURLDownloader::temporaryFilePath();
    const QString fresh = PTURLDownloader::temporaryFilePath();
    const QString foreign = downloads.filePath(QStringLiteral("keep-me"));
    for (const QString& folder : {old, fresh, foreign})
        ASSERT_TRUE(QDir().mkpath(folder));
    QFile(old + QStringLiteral("/a.svg")).open(QIODevice::WriteOnly);
    const QDateTime fourDaysAgo = QDateTime::currentDateTime().addDays(-4);
    for (const QString& folder : {old, foreign}) {
        struct utimbuf times = {fourDaysAgo.toSecsSinceEpoch(), fourDaysAgo.toSecsSinceEpoch()};
        ASSERT_EQ(utime(QFile::encodeName(folder).constData(), &times), 0);
    }
    PTURLDownloader::removeDownloadsOlderThan(QDateTime::currentDateTime().addDays(-3));
    EXPECT_FALSE(QFileInfo::exists(old));
    EXPECT_TRUE(QFileInfo::exists(fresh));
    EXPECT_TRUE(QFileInfo::exists(foreign));
}
