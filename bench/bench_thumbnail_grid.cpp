// The grid with real thumbnails: 100,000 items of one set whose files are the papirus 64x64/apps icons, drawn by
// icon cells through a thumbnail cache of their own.
// - ScrollFrames: frame times (p50, p95) of a scroll through everything while thumbnails stream in from two
//   workers, next to a QListView in icon mode fed the same renders by the same cache.
// - ScrollMemory/<points>/<ratio>/<budget>: every screen of the 100,000 items shown until its thumbnails have
//   arrived (the cache eight workers wide), then the cache's bytes and count and the process's resident memory.
//   budget 1 keeps the byte budget (256 MiB), 0 only the 5,000-entry cap. Run one case per process
//   (--benchmark_filter) to read peak_rss_mb for that case alone; ratio 2 runs with QT_SCALE_FACTOR=2.
#include "BenchStoreHost.h"
#include "ScrollFrames.h"
#include "browser/cache/PTImageCache.h"
#include "browser/grid/PTGridView.h"
#include "browser/grid/PTGridViewDataSource.h"
#include "browser/grid/PTGridViewImageCell.h"
#include "library/PTLibraryController.h"
#include "library/controllers/PTCollectionController.h"
#include "library/entities/PTCollection.h"
#include "library/entities/PTItem.h"
#include "library/store/PTStoreFunctions.h"
#include "library/store/PTStoreStack.h"
#include "platform/ui/AnimationTiming.h"

#include <QAbstractListModel>
#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QListView>
#include <QScrollBar>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <limits>
#include <unistd.h>

namespace {

constexpr int Items = 100000;
const QSize WindowSize(1200, 800);
constexpr int ScrollStep = 240;

double peakResidentMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

double residentMegabytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * double(sysconf(_SC_PAGESIZE)) / (1 << 20) : 0;
}

// One set of Items items in a library of its own, made once; the papirus app icons are copied into the set's
// folder and the items take them in turn.
const std::vector<PTItem*>& libraryItems()
{
    static QTemporaryDir dir;
    static const std::vector<PTItem*> items = [] {
        PTLibraryController::setCurrentLibrary(
            PTLibraryController::initWithCreatingLibraryAtPath(dir.filePath(QStringLiteral("Thumbs.ptlibrary"))));
        PTStoreStack::setHost(
            std::make_shared<BenchStoreHost>(PTLibraryController::currentLibrary()->persistantStoreCoordinatorPath()));
        PTCollection* set = PTCollectionController::sharedController().createCollectionWithName(
            QStringLiteral("Apps"), PTMainManagedObjectContext());
        const QDir folder(set->formattedDirectory());
        QStringList names;
        QDirIterator icons(QStringLiteral("/usr/share/icons/Papirus/64x64/apps"), {QStringLiteral("*.svg")},
                           QDir::Files);
        while (icons.hasNext()) {
            const QFileInfo info = icons.nextFileInfo();
            if (!info.isSymLink() && QFile::copy(info.filePath(), folder.filePath(info.fileName())))
                names << info.fileName();
        }
        std::vector<PTItem*> made;
        made.reserve(Items);
        for (int n = 0; n < Items && !names.isEmpty(); ++n) {
            PTItem* item = PTItem::insert(*PTMainManagedObjectContext());
            item->setName(QStringLiteral("Icon %1").arg(n));
            item->setNewFileName(names[n % names.size()]);
            item->setType(PTItem::SVG);
            item->setCollection(set);
            made.push_back(item);
        }
        return made;
    }();
    return items;
}

class ThumbnailSource : public PTGridViewDataSource {
public:
    ThumbnailSource(PTImageCache& cache, bool labels) : cache_(cache) { state_.showLabels = labels; }
    quint32 capabilities() const override { return RedrawState; }
    std::unique_ptr<PTGridViewCell> cellForSection(PTGridView&, qint64) override { return nullptr; }
    qint64 numberOfItemsInSection(PTGridView&, qint64) override { return Items; }
    std::unique_ptr<PTGridViewCell> cellForItemAtIndexPath(PTGridView& grid, const GridIndexPath& path) override
    {
        std::unique_ptr<PTGridViewCell> cell = grid.dequeueReusableCellWithIdentifier(PTGridViewImageCell::ReuseIdentifier);
        if (!cell)
            cell = std::make_unique<PTGridViewImageCell>(cache_);
        static_cast<PTGridViewImageCell&>(*cell).setItem(libraryItems()[size_t(path.index)]);
        return cell;
    }
    pt::store::ObjectID itemForIndexPath(PTGridView&, const GridIndexPath& path) override
    {
        return libraryItems()[size_t(path.index)]->objectID();
    }
    PTGridViewDrawingState wantsDrawingState(PTGridView&, const PTGridViewDrawingState&) override { return state_; }
    const PTGridViewDrawingState& state() const { return state_; }

private:
    PTImageCache& cache_;
    PTGridViewDrawingState state_;
};

// A grid of icon cells over the items, shown at the window size.
struct ThumbnailGrid {
    ThumbnailGrid(PTImageCache& cache, qreal points, bool labels)
        : source(cache, labels)
    {
        pt::AnimationTiming::setScale(0);
        grid.setItemMargin(10);
        grid.setItemSize(PTGridViewImageCell::sizeFromProposedSize(QSizeF(points, points), source.state()));
        grid.resize(WindowSize);
        grid.show();
        grid.setDataSource(&source);
        QCoreApplication::processEvents();
    }
    bool visibleLoaded() const
    {
        for (PTGridViewCell* cell : grid.visibleCells())
            if (static_cast<PTGridViewImageCell*>(cell)->image().isNull())
                return false;
        return true;
    }

    ThumbnailSource source;
    PTGridView grid;
};

// The same items for a QListView: each row asks the cache once when first drawn and shows the render when it
// arrives.
class ThumbnailListModel : public QAbstractListModel {
public:
    explicit ThumbnailListModel(PTImageCache& cache, qreal points) : cache_(cache)
    {
        options_.size = QSizeF(points, points);
    }
    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : Items; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        PTItem* item = libraryItems()[size_t(index.row())];
        if (role == Qt::DisplayRole)
            return item->name();
        if (role != Qt::DecorationRole)
            return {};
        if (const auto found = pixmaps_.constFind(index.row()); found != pixmaps_.cend())
            return found.value();
        if (!asked_.contains(index.row())) {
            asked_.insert(index.row());
            auto* self = const_cast<ThumbnailListModel*>(this);
            const int row = index.row();
            cache_.imageForItem(item, options_, [self, row](const QImage& image, PTImageCache::RequestID, bool) {
                self->pixmaps_.insert(row, QPixmap::fromImage(image));
                Q_EMIT self->dataChanged(self->index(row), self->index(row), {Qt::DecorationRole});
            });
        }
        return {};
    }

private:
    PTImageCache& cache_;
    PTImageCacheOptions options_;
    mutable QHash<int, QPixmap> pixmaps_;
    mutable QSet<int> asked_;
};

void ScrollFramesGrid(benchmark::State& state)
{
    if (libraryItems().empty())
        return state.SkipWithError("papirus-icon-theme is not installed");
    PTImageCache cache;
    ThumbnailGrid view(cache, 60, true);
    scrollFrames(state, view.grid, ScrollStep, 1, [] {});
}

void ScrollFramesListView(benchmark::State& state)
{
    if (libraryItems().empty())
        return state.SkipWithError("papirus-icon-theme is not installed");
    PTImageCache cache;
    ThumbnailListModel model(cache, 60);
    QListView view;
    view.setViewMode(QListView::IconMode);
    view.setUniformItemSizes(true);
    view.setMovement(QListView::Static);
    view.setResizeMode(QListView::Adjust);
    view.setIconSize(QSize(60, 60));
    view.setGridSize(PTGridViewImageCell::sizeFromProposedSize(QSizeF(60, 60), PTGridViewDrawingState{1, true})
                         .toSize());
    view.setModel(&model);
    view.resize(WindowSize);
    view.show();
    settleEvents();
    scrollFrames(state, view, ScrollStep, 1, [] {});
}

void ScrollMemory(benchmark::State& state)
{
    if (libraryItems().empty())
        return state.SkipWithError("papirus-icon-theme is not installed");
    const qreal points = static_cast<qreal>(state.range(0));
    const qreal ratio = static_cast<qreal>(state.range(1));
    const bool budget = state.range(2) != 0;
    if (qApp->devicePixelRatio() != ratio)
        return state.SkipWithError("the screen's pixel ratio differs: set QT_SCALE_FACTOR");
    PTImageCache cache(8);
    cache.setLimits(PTImageCache::CountLimit,
                    budget ? qint64(PTImageCache::DefaultByteBudgetMiB) << 20 : std::numeric_limits<qint64>::max());
    for (auto _ : state) {
        ThumbnailGrid view(cache, points, false);
        QScrollBar* bar = view.grid.verticalScrollBar();
        const int step = view.grid.viewport()->height();
        for (int y = 0;; y = std::min(y + step, bar->maximum())) {
            bar->setValue(y);
            settleEvents();
            while (!view.visibleLoaded())
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            if (y == bar->maximum())
                break;
        }
    }
    state.counters["cache_mb"] = static_cast<double>(cache.totalBytes()) / (1 << 20);
    state.counters["cache_count"] = cache.count();
    state.counters["rss_mb"] = residentMegabytes();
    state.counters["peak_rss_mb"] = peakResidentMegabytes();
}

} // namespace

BENCHMARK(ScrollFramesGrid)->Name("ScrollFrames/grid")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(ScrollFramesListView)->Name("ScrollFrames/listview")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(ScrollMemory)
    ->Args({60, 1, 1})
    ->Args({60, 1, 0})
    ->Args({60, 2, 1})
    ->Args({60, 2, 0})
    ->Args({256, 1, 1})
    ->Args({256, 2, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();
