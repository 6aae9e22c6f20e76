// Parsing every icon of papirus-icon-theme, next to a bare QXmlStreamReader pass over the same bytes (the floor
// any XML-based parser stands on). Files are read into memory first, so neither side pays for the disk.
#include "svg/PTSVGParser.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

#include <benchmark/benchmark.h>

namespace {

const std::vector<QByteArray>& papirusFiles()
{
    static const std::vector<QByteArray> files = [] {
        std::vector<QByteArray> contents;
        QDirIterator it(QStringLiteral("/usr/share/icons/Papirus"), {QStringLiteral("*.svg")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo info = it.nextFileInfo();
            if (info.isSymLink())
                continue;
            QFile file(info.filePath());
            if (file.open(QIODevice::ReadOnly))
                contents.push_back(file.readAll());
        }
        return contents;
    }();
    return files;
}

void reportThroughput(benchmark::State& state, const std::vector<QByteArray>& files)
{
    qint64 bytes = 0;
    for (const auto& file : files)
        bytes += file.size();
    state.SetItemsProcessed(state.iterations() * qint64(files.size()));
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["files"] = double(files.size());
}

} // namespace

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
