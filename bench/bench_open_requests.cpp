// What reaches Pictern from other programs, in bulk: a pictern://download request of 10,000 header fields (about
// 120 KB) parsed alone and taken through the file-open handler up to the download's verdict, and one
// org.freedesktop.Application Open of 50,000 file URIs (every tenth a repeat) through the single instance into
// the coalescer that batches opened files.
#include "app/PTOpenedItemsCoalescer.h"
#include "app/PTSingleInstance.h"
#include "foundation/URLComponentsAdditions.h"
#include "transfer/PTDownloadController.h"
#include "transfer/import/PTFileOpenHandler.h"

#include <QDBusConnection>

#include <benchmark/benchmark.h>

namespace {

constexpr int HeaderFields = 10000;
constexpr int OpenedURIs = 50000;

// The address is not http, so the download is refused before any sheet or network: only the request's reading
// is measured.
QUrl crowdedRequest()
{
    QString url = QStringLiteral("pictern://download?url=ftp%3A%2F%2Fexample.org%2Fset.zip");
    for (int i = 0; i < HeaderFields; ++i)
        url += QStringLiteral("&headers[]=v");
    return QUrl(url);
}

void BM_QueryOfTenThousandHeaderFields(benchmark::State& state)
{
    const QUrl url = crowdedRequest();
    for (auto _ : state)
        benchmark::DoNotOptimize(urlComponentsAdditions::queryStringComponents(url));
    state.counters["url_bytes"] = double(url.toEncoded().size());
}
BENCHMARK(BM_QueryOfTenThousandHeaderFields)->Unit(benchmark::kMillisecond);

void BM_DownloadRequestOfTenThousandHeaderFields(benchmark::State& state)
{
    const QUrl url = crowdedRequest();
    PTFileOpenHandler handler;
    PTFileOpenHandler::registerAll(handler);
    PTDownloadController::registerAll(handler);
    for (auto _ : state) {
        int done = 0;
        auto operations = handler.operationsForFileURLs({url});
        for (auto& operation : operations)
            operation->execute([&done] { ++done; });
        if (done != int(operations.size()))
            state.SkipWithError("an operation did not finish at once");
    }
}
BENCHMARK(BM_DownloadRequestOfTenThousandHeaderFields)->Unit(benchmark::kMillisecond);

void BM_OpenOfFiftyThousandURIs(benchmark::State& state)
{
    QStringList uris;
    for (int i = 0; i < OpenedURIs; ++i)
        uris << QStringLiteral("file:///home/user/icons/icon-%1.svg").arg(i % 10 == 9 ? i - 9 : i);
    PTSingleInstance instance{QDBusConnection(QStringLiteral("pictern-bench-no-bus"))};
    for (auto _ : state) {
        qsizetype delivered = 0;
        PTOpenedItemsCoalescer coalescer([&delivered](const QList<QUrl>& urls) { delivered += urls.size(); });
        const auto connection = QObject::connect(&instance, &PTSingleInstance::openRequested, &coalescer,
                                                 &PTOpenedItemsCoalescer::open);
        instance.handleOpen(uris, {});
        QObject::disconnect(connection);
        benchmark::DoNotOptimize(delivered);
    }
}
BENCHMARK(BM_OpenOfFiftyThousandURIs)->Unit(benchmark::kMillisecond);

} // namespace
