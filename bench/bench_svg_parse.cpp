// Parsing every icon of papirus-icon-theme, next to a bare QXmlStreamReader pass over the same bytes (the floor
// any XML-based parser stands on). Files are read into memory first, so neither side pays for the disk.
#include "PapirusFiles.h"
#include "svg/parse/PTSVGParser.h"

#include <QXmlStreamReader>

#include <benchmark/benchmark.h>

static void BM_SvgParsePapirus(benchmark::State& state)
{
    const auto& files = papirusFiles();
    if (files.empty()) {
        state.SkipWithError("papirus-icon-theme is not installed");
        return;
    }
    int failures = 0;
    for (auto _ : state) {
        for (const auto& data : files) {
            const auto result = PTSVGParser::groupForSVGData(data);
            failures += result.ok() ? 0 : 1;
            benchmark::DoNotOptimize(result.ok());
        }
    }
    state.counters["failures"] = failures;
    reportThroughput(state, files);
}
BENCHMARK(BM_SvgParsePapirus)->Unit(benchmark::kMillisecond)->Iterations(3);

static void BM_XmlStreamReaderFloorPapirus(benchmark::State& state)
{
    const auto& files = papirusFiles();
    if (files.empty()) {
        state.SkipWithError("papirus-icon-theme is not installed");
        return;
    }
    for (auto _ : state) {
        for (const auto& data : files) {
            QXmlStreamReader reader(data);
            reader.setNamespaceProcessing(false);
            qint64 tokens = 0;
            while (!reader.atEnd()) {
                reader.readNext();
                ++tokens;
            }
            benchmark::DoNotOptimize(tokens);
        }
    }
    reportThroughput(state, files);
}
BENCHMARK(BM_XmlStreamReaderFloorPapirus)->Unit(benchmark::kMillisecond)->Iterations(3);
