// Cost of the runtime's queues: what every background task of the program pays.
#include "platform/runtime/DispatchQueue.h"
#include "platform/runtime/NotificationCenter.h"
#include "platform/runtime/OperationQueue.h"

#include <benchmark/benchmark.h>

#include <atomic>

static void BM_SerialQueueAsync(benchmark::State& state)
{
    auto queue = pt::DispatchQueue::serial(QStringLiteral("bench.serial"));
    for (auto _ : state) {
        std::atomic<int> done{0};
        for (int i = 0; i < 1000; ++i)
            queue.async([&] { done.fetch_add(1); });
        queue.sync([] {});
        benchmark::DoNotOptimize(done.load());
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_SerialQueueAsync);

static void BM_OperationQueueBatch(benchmark::State& state)
{
    pt::OperationQueue queue;
    queue.setMaxConcurrentOperationCount(10);
    for (auto _ : state) {
        for (int i = 0; i < 1000; ++i)
            queue.addOperation([] {});
        queue.waitUntilAllOperationsAreFinished();
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_OperationQueueBatch);

static void BM_NotificationPost(benchmark::State& state)
{
    pt::NotificationCenter center;
    int calls = 0;
    std::vector<pt::ObserverToken> tokens;
    for (int i = 0; i < 50; ++i)
        tokens.push_back(center.addObserver(QStringLiteral("name%1").arg(i), nullptr, [&](const pt::Notification&) { ++calls; }));
    const QString name = QStringLiteral("name7");
    for (auto _ : state)
        center.post(name);
    benchmark::DoNotOptimize(calls);
}
BENCHMARK(BM_NotificationPost);
