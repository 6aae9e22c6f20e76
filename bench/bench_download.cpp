// Downloading a 50 MB zip of papirus SVGs from a loopback server on a thread of its own: from the request to the
// unpacked folder being ready, next to `curl` plus `unzip` of the same archive in the same run, and the main
// thread's longest stall while the download and the unpacking run (counter max_stall_ms, the first run apart in
// first_run_max_stall_ms). Run with --benchmark_filter=Download.
#include "BenchWait.h"
#include "MainThreadStalls.h"
#include "LoopbackHTTPServer.h"
#include "PapirusFiles.h"
#include "foundation/SSZipArchive.h"
#include "transfer/PTURLDownloader.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>

#include <future>

namespace {

constexpr qint64 ArchiveBytes = 50LL * 1024 * 1024;

QTemporaryDir& workFolder()
{
    static QTemporaryDir dir;
    return dir;
}

// The archive, written once: papirus SVGs under numbered names until it holds ArchiveBytes.
const QString& archive()
{
    static const QString path = [] {
        const QString zip = workFolder().filePath(QStringLiteral("papirus.zip"));
        const std::vector<QByteArray>& files = papirusFiles();
        SSZipArchive writer(zip);
        if (files.empty() || !writer.open())
            return QString();
        for (size_t i = 0; i % 1000 != 0 || QFileInfo(zip).size() < ArchiveBytes; ++i)
            writer.writeData(files[i % files.size()], QStringLiteral("icon-%1.svg").arg(i));
        writer.close();
        return zip;
    }();
    return path;
}

// Serves the archive on its own thread, so that sending it costs the main thread nothing.
class ServerThread : public QThread {
public:
    ServerThread()
    {
        start();
        url_ = ready_.get_future().get();
    }
    ~ServerThread() override
    {
        quit();
        wait();
    }
    QUrl url() const { return url_; }

protected:
    void run() override
    {
        QFile file(archive());
        file.open(QIODevice::ReadOnly);
        const QByteArray body = file.readAll();
        LoopbackHTTPServer server([&body](const LoopbackHTTPServer::Request&, QTcpSocket* socket) {
            socket->write(LoopbackHTTPServer::response(200, body, {"Content-Type: application/zip"}));
            socket->disconnectFromHost();
        });
        ready_.set_value(server.url(QStringLiteral("/papirus.zip")));
        exec();
    }

private:
    std::promise<QUrl> ready_;
    QUrl url_;
};

ServerThread& server()
{
    static ServerThread thread;
    return thread;
}

void DownloadCurlAndUnzip(benchmark::State& state)
{
    const QString url = server().url().toString();
    const QString folder = workFolder().filePath(QStringLiteral("curl"));
    for (auto _ : state) {
        state.PauseTiming();
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        state.ResumeTiming();
        // Asynchronous: the main queue keeps running while the tools work.
        QProcess process;
        bool done = false;
        QObject::connect(&process, &QProcess::finished, [&done] { done = true; });
        process.start(QStringLiteral("sh"), {QStringLiteral("-c"),
                                             QStringLiteral("curl -sf -o \"$1/a.zip\" \"$2\" && unzip -q \"$1/a.zip\" "
                                                            "-d \"$1/out\""),
                                             QStringLiteral("sh"), folder, url});
        waitUntilDone(done);
        if (process.exitCode() != 0)
            state.SkipWithError("curl or unzip failed");
    }
    state.SetBytesProcessed(state.iterations() * QFileInfo(archive()).size());
}
BENCHMARK(DownloadCurlAndUnzip)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void DownloadToFileReady(benchmark::State& state)
{
    const QUrl url = server().url();
    // The first run pays for first uses (the network stack, the MIME database, a cold page cache) that a running
    // application has mostly paid already; the later runs are reported apart.
    double firstStall = 0;
    double laterStall = 0;
    int run = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QDir(PTURLDownloader::downloadsFolder()).removeRecursively();
        state.ResumeTiming();
        MainThreadStalls stalls;
        bool done = false;
        bool ready = false;
        PTURLDownloader downloader(url);
        downloader.setFileReadyHandler([&](PTURLDownloader*, const QUrl&) {
            ready = true;
            return pt::Error();
        });
        downloader.setCompleteHandler([&](PTURLDownloader*, const pt::Error&) { done = true; });
        downloader.begin();
        waitUntilDone(done);
        if (!ready)
            state.SkipWithError("the download did not complete");
        double& stall = run++ == 0 ? firstStall : laterStall;
        stall = std::max(stall, stalls.longestMs());
    }
    state.SetBytesProcessed(state.iterations() * QFileInfo(archive()).size());
    state.counters["first_run_max_stall_ms"] = firstStall;
    state.counters["max_stall_ms"] = laterStall;
}
BENCHMARK(DownloadToFileReady)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace
