// Drawing every icon of papirus-icon-theme at 64 x 64 and at 256 x 256 on one thread, from the bytes in memory
// to a finished image (parsing included), with our engine and, for comparison, with librsvg through its C API.
// peak_rss_mb is the process's peak resident memory when the benchmark ends: run one engine per process
// (--benchmark_filter) to read it for that engine alone. BM_SvgDrawPapirusDirect draws through the document's
// direct renderer (rendering engine 0) instead of the layer tree.
#include "LibrsvgDraw.h"
#include "PapirusFiles.h"
#include "svg/PTSVG.h"
#include "svg/parse/PTSVGParser.h"

#include <benchmark/benchmark.h>
#include <librsvg/rsvg.h>
#include <sys/resource.h>

namespace {

double peakResidentMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

template <int RenderingEngine>
bool drawWithEngine(const QByteArray& data, int size)
{
    auto tree = PTSVGParser::groupForSVGData(data);
    if (!tree)
        return false;
    pt::Error error;
    const auto svg = PTSVG::svgWithParsedTree(tree.value());
    svg->setRenderingEngine(RenderingEngine);
    const QImage image = svg->imageWithSize({size, size}, false, &error);
    return !image.isNull() && error.isNull();
}

bool drawWithLibrsvg(const QByteArray& data, int size)
{
    GError* error = nullptr;
    RsvgHandle* handle = rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(data.constData()),
                                                   gsize(data.size()), &error);
    g_clear_error(&error);
    return drawLibrsvgHandle(handle, size);
}

template <bool (*Draw)(const QByteArray&, int)>
void drawPapirus(benchmark::State& state)
{
    const auto& files = papirusFiles();
    if (files.empty()) {
        state.SkipWithError("papirus-icon-theme is not installed");
        return;
    }
    const int size = int(state.range(0));
    int failures = 0;
    for (auto _ : state) {
        for (const auto& data : files)
            failures += Draw(data, size) ? 0 : 1;
    }
    state.counters["failures"] = failures;
    state.counters["peak_rss_mb"] = peakResidentMegabytes();
    reportThroughput(state, files);
}

} // namespace

static void BM_SvgDrawPapirus(benchmark::State& state)
{
    drawPapirus<drawWithEngine<1>>(state);
}
BENCHMARK(BM_SvgDrawPapirus)->Arg(64)->Arg(256)->Unit(benchmark::kMillisecond)->Iterations(1);

static void BM_SvgDrawPapirusDirect(benchmark::State& state)
{
    drawPapirus<drawWithEngine<0>>(state);
}
BENCHMARK(BM_SvgDrawPapirusDirect)->Arg(64)->Arg(256)->Unit(benchmark::kMillisecond)->Iterations(1);

static void BM_LibrsvgDrawPapirus(benchmark::State& state)
{
    drawPapirus<drawWithLibrsvg>(state);
}
BENCHMARK(BM_LibrsvgDrawPapirus)->Arg(64)->Arg(256)->Unit(benchmark::kMillisecond)->Iterations(1);
