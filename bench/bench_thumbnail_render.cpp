// Thumbnails of papirus-icon-theme drawn from their files through the thumbnail cache's renderer, with one worker
// per core, next to librsvg's C API on as many threads: first the 64x64/apps icons, then every papirus SVG, each
// at 64 and 256 pixels. items_per_second is icons per second.
#include "LibrsvgDraw.h"
#include "browser/cache/PTImageCacheRenderer.h"
#include "library/entities/PTItem.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <benchmark/benchmark.h>
#include <librsvg/rsvg.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <thread>
#include <vector>

namespace {

const QString PapirusFolder = QStringLiteral("/usr/share/icons/Papirus");

// The SVG files below the folder, links skipped; each read once, so that neither side pays for a cold disk.
const std::vector<QString>& svgFiles(const QString& folder)
{
    static std::map<QString, std::vector<QString>> lists;
    auto [it, made] = lists.try_emplace(folder);
    if (made) {
        QDirIterator files(folder, {QStringLiteral("*.svg")}, QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QFileInfo info = files.nextFileInfo();
            QFile file(info.filePath());
            if (!info.isSymLink() && file.open(QIODevice::ReadOnly)) {
                benchmark::DoNotOptimize(file.readAll().size());
                it->second.push_back(info.filePath());
            }
        }
    }
    return it->second;
}

bool drawWithRenderer(const QString& path, int size)
{
    PTImageCacheOptions options;
    options.size = QSizeF(size, size);
    const PTImageCacheRendering rendering = PTImageCacheRenderer::render(PTImageCacheJob::forFile(path, PTItem::SVG, options));
    benchmark::DoNotOptimize(rendering.image.constBits());
    return !rendering.invalid;
}

bool drawWithLibrsvg(const QString& path, int size)
{
    GError* error = nullptr;
    RsvgHandle* handle = rsvg_handle_new_from_file(QFile::encodeName(path).constData(), &error);
    g_clear_error(&error);
    return drawLibrsvgHandle(handle, size);
}

template <bool (*Draw)(const QString&, int)>
void drawOnEveryCore(benchmark::State& state, const QString& folder)
{
    const std::vector<QString>& paths = svgFiles(folder);
    if (paths.empty()) {
        state.SkipWithError("papirus-icon-theme is not installed");
        return;
    }
    const int size = static_cast<int>(state.range(0));
    const unsigned threads = std::max(1U, std::thread::hardware_concurrency());
    std::atomic<int> failures{0};
    for (auto _ : state) {
        std::atomic<size_t> next{0};
        std::vector<std::thread> pool;
        for (unsigned t = 0; t < threads; ++t)
            pool.emplace_back([&] {
                for (size_t i = next++; i < paths.size(); i = next++)
                    if (!Draw(paths[i], size))
                        ++failures;
            });
        for (std::thread& thread : pool)
            thread.join();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(paths.size()));
    state.counters["files"] = static_cast<double>(paths.size());
    state.counters["threads"] = threads;
    state.counters["failures"] = failures.load();
}

} // namespace

static void BM_ThumbnailRendererApps(benchmark::State& state)
{
    drawOnEveryCore<drawWithRenderer>(state, PapirusFolder + QStringLiteral("/64x64/apps"));
}
static void BM_LibrsvgApps(benchmark::State& state)
{
    drawOnEveryCore<drawWithLibrsvg>(state, PapirusFolder + QStringLiteral("/64x64/apps"));
}
static void BM_ThumbnailRendererAll(benchmark::State& state)
{
    drawOnEveryCore<drawWithRenderer>(state, PapirusFolder);
}
static void BM_LibrsvgAll(benchmark::State& state)
{
    drawOnEveryCore<drawWithLibrsvg>(state, PapirusFolder);
}
BENCHMARK(BM_ThumbnailRendererApps)->Arg(64)->Arg(256)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_LibrsvgApps)->Arg(64)->Arg(256)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_ThumbnailRendererAll)->Arg(64)->Arg(256)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_LibrsvgAll)->Arg(64)->Arg(256)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
