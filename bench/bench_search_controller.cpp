// A search through the search controller over 100,000 items, from the end of the typing pause to the found
// items handed to the grid controller: the fetch on the search queue, the IDs back on the main queue, the items
// of the main context. One to three terms, and a narrowing step. Compare with BM_Search_SqliteLike of
// pictern_bench for the plain LIKE scan of the same table.
#include "BenchSearchStore.h"
#include "BenchStoreHost.h"
#include "BenchWait.h"

#include "browser/controller/PTSearchController.h"
#include "browser/controller/PTSearchGridController.h"
#include "browser/views/PTToolbarSearchField.h"
#include "library/store/PTStoreStack.h"

#include <benchmark/benchmark.h>

namespace {

class BenchGrid : public PTSearchGridController {
public:
    void setSearchController(PTSearchController*) override {}
    void setDataFromItemsArray(const QVector<PTItem*>& items) override
    {
        shown = items.size();
        done = true;
    }
    qsizetype shown = 0;
    bool done = false;
};

// The store stack over the benchmark store, with a search field and controller.
struct SearchSetup {
    SearchSetup()
    {
        PTStoreStack::setHost(std::make_shared<BenchStoreHost>(BenchSearchStore::shared().path));
        controller = std::make_unique<PTSearchController>(&field, &grid);
    }
    void search(const QString& text)
    {
        grid.done = false;
        controller->performSearchWithTermString(text);
        waitUntilDone(grid.done);
    }

    PTToolbarSearchField field;
    BenchGrid grid;
    std::unique_ptr<PTSearchController> controller;
};

SearchSetup& setup()
{
    static SearchSetup shared;
    return shared;
}

void BM_SearchController_PauseToItems(benchmark::State& state)
{
    SearchSetup& search = setup();
    const QString text = benchSearchTerms()[state.range(0) - 1].join(u' ');
    for (auto _ : state) {
        state.PauseTiming();
        search.controller->cancelSearchByResigningFirstResponse(false);
        state.ResumeTiming();
        search.search(text);
    }
    state.counters["found"] = double(search.grid.shown);
}
BENCHMARK(BM_SearchController_PauseToItems)->DenseRange(1, 3)->Unit(benchmark::kMillisecond);

// "arrow" found, then "arrow left" within its results.
void BM_SearchController_Narrowing(benchmark::State& state)
{
    SearchSetup& search = setup();
    for (auto _ : state) {
        state.PauseTiming();
        search.controller->cancelSearchByResigningFirstResponse(false);
        search.search(QStringLiteral("arrow"));
        state.ResumeTiming();
        search.search(QStringLiteral("arrow left"));
    }
    state.counters["found"] = double(search.grid.shown);
}
BENCHMARK(BM_SearchController_Narrowing)->Unit(benchmark::kMillisecond);

} // namespace
