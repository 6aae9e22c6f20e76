// Writing every icon of papirus-icon-theme with the export options: files per second and the total bytes
// written next to the bytes read. Parsing and building the layer tree happen outside the timing.
#include "PapirusFiles.h"
#include "svg/PTSVG.h"
#include "svg/write/PTSVGExportOptions.h"

#include <benchmark/benchmark.h>

static void BM_SvgExportPapirus(benchmark::State& state)
{
    const auto& files = papirusFiles();
    if (files.empty()) {
        state.SkipWithError("papirus-icon-theme is not installed");
        return;
    }
    qint64 written = 0, read = 0;
    for (auto _ : state) {
        written = 0;
        read = 0;
        for (const auto& data : files) {
            state.PauseTiming();
            auto svg = PTSVG::svgWithString(QString::fromUtf8(data));
            if (svg)
                (*svg)->layer();
            state.ResumeTiming();
            if (!svg)
                continue;
            written += (*svg)->SVGStringWithOptions(PTSVGExport::ExportOptions).toUtf8().size();
            read += data.size();
        }
    }
    state.counters["bytes_in"] = double(read);
    state.counters["bytes_out"] = double(written);
    reportThroughput(state, files);
}
BENCHMARK(BM_SvgExportPapirus)->Unit(benchmark::kMillisecond)->Iterations(1);
