// From setCollections to the first screenful of thumbnails for a set of 10,000 papirus SVGs: with the thumbnail
// cache purged before the refill (as a purge on every refill would have it, and as on a first visit) and on a
// return to the set, whose thumbnails are kept. Run with --benchmark_filter=GridController.
#include "BenchLibraryItem.h"
#include "DemoLibrary.h"

#include "browser/cache/PTImageCache.h"
#include "browser/controller/PTGridViewController.h"
#include "browser/grid/PTGridView.h"
#include "browser/grid/PTGridViewImageCell.h"
#include "library/entities/PTCollection.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QWidget>

#include <benchmark/benchmark.h>

namespace {

constexpr int ItemCount = 10000;

struct Browser {
    DemoLibrary library;
    PTCollection* big = nullptr;
    PTCollection* other = nullptr;
    std::unique_ptr<PTGridViewController> controller;
};

Browser& browser()
{
    static Browser* made = [] {
        auto* b = new Browser;
        b->big = b->library.addSet(QStringLiteral("Big"));
        b->other = b->library.addSet(QStringLiteral("Other"));
        for (int n = 0; n < ItemCount; ++n)
            makeBenchItem(b->big, n);
        for (int n = ItemCount; n < ItemCount + 100; ++n)
            makeBenchItem(b->other, n);
        b->library.save();
        b->controller = std::make_unique<PTGridViewController>();
        b->controller->containerView()->resize(1200, 800);
        b->controller->containerView()->show();
        return b;
    }();
    return *made;
}

// Every item cell on screen has its thumbnail (or knows it has none).
bool screenfulShown(PTGridView& grid)
{
    const QVector<PTGridViewCell*> cells = grid.visibleCells();
    int items = 0;
    for (PTGridViewCell* cell : cells) {
        auto* image = dynamic_cast<PTGridViewImageCell*>(cell);
        if (!image)
            continue;
        ++items;
        if (image->image().isNull() && !image->invalid())
            return false;
    }
    return items > 0;
}

// Shows the set and runs the event loop until its first screenful is drawn; answers the seconds it took.
double showSet(PTCollection* set)
{
    Browser& b = browser();
    QElapsedTimer clock;
    clock.start();
    b.controller->setCollections({set}, {set}, false);
    const QDeadlineTimer deadline(30000);
    while (!screenfulShown(*b.controller->view()) && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
    return static_cast<double>(clock.nsecsElapsed()) / 1e9;
}

void run(benchmark::State& state, bool purge)
{
    Browser& b = browser();
    for (auto _ : state) {
        showSet(b.other);
        // The big set's thumbnails were made on the visit before (or by the warm-up round).
        if (purge)
            PTImageCache::sharedCache().purge();
        state.SetIterationTime(showSet(b.big));
    }
    state.counters["cells"] = static_cast<double>(b.controller->view()->visibleCells().size());
}

void GridControllerFirstScreenfulPurged(benchmark::State& state)
{
    run(state, true);
}
BENCHMARK(GridControllerFirstScreenfulPurged)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);

void GridControllerFirstScreenfulOnReturn(benchmark::State& state)
{
    showSet(browser().big);
    run(state, false);
}
BENCHMARK(GridControllerFirstScreenfulOnReturn)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);

} // namespace
