// Removing a set of 10,000 items (1 KB files) from a library on disk: the total time until the removal has been
// saved, and the longest stretch the main thread was busy without returning to its event loop (counter
// "longest_stall_ms"; the interface stays fluid below about 50 ms), next to `rm -r` of a folder of the same files
// in the same run. Run with --benchmark_filter=Removal.
#include "BenchWait.h"
#include "library/entities/PTCollection.h"
#include "library/controllers/PTIconRemover.h"
#include "library/controllers/PTIconRemover2.h"
#include "library/entities/PTItem.h"
#include "library/PTLibraryController.h"
#include "library/store/PTStoreFunctions.h"
#include "library/store/PTStoreStack.h"
#include "platform/runtime/Defaults.h"
#include "platform/runtime/DispatchQueue.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

constexpr int ItemCount = 10000;
const QByteArray FileContent(1024, 'x');

QTemporaryDir& workFolder()
{
    static QTemporaryDir dir;
    return dir;
}

class Host : public PTStoreStackHost {
public:
    QString storePath() const override { return PTLibraryController::currentLibrary()->persistantStoreCoordinatorPath(); }
    void presentError(const pt::Error& error) override { qFatal("%s", qPrintable(error.toString())); }
    void saveFailed(const pt::Error& error) override { qFatal("%s", qPrintable(error.toString())); }
};

// Runs once in every turn of the main queue (also in turns the removal itself takes) and keeps the longest time
// between two turns.
class StallMeter {
public:
    StallMeter() : state_(std::make_shared<State>())
    {
        state_->clock.start();
        post(state_);
    }
    ~StallMeter() { state_->running = false; }
    double longestMs() const { return state_->longest / 1e6; }

private:
    struct State {
        QElapsedTimer clock;
        qint64 last = 0;
        qint64 longest = 0;
        bool running = true;
    };
    static void post(const std::shared_ptr<State>& state)
    {
        pt::DispatchQueue::main().async([state] {
            if (!state->running)
                return;
            const qint64 now = state->clock.nsecsElapsed();
            state->longest = std::max(state->longest, now - state->last);
            state->last = now;
            post(state);
        });
    }
    std::shared_ptr<State> state_;
};

void saveAndWait()
{
    bool done = false;
    PTSaveManagedObjectContextWithCompletion([&](const pt::Error&) { done = true; });
    waitUntilDone(done);
}

// The current library, made once, with its store stack.
void openLibrary()
{
    static const bool opened = [] {
        pt::Defaults::useStorageFile(workFolder().filePath("settings.ini"));
        PTLibraryController::setCurrentLibrary(
            PTLibraryController::initWithCreatingLibraryAtPath(workFolder().filePath("Bench.ptlibrary")));
        PTStoreStack::setHost(std::make_shared<Host>());
        return true;
    }();
    Q_UNUSED(opened);
}

// A saved set of ItemCount items whose files exist.
PTCollection* makeFullSet()
{
    openLibrary();
    pt::store::ObjectContext& context = *PTMainManagedObjectContext();
    PTCollection* set = PTCollection::insert(context);
    set->setName("Bench");
    const QString folder = set->formattedDirectory();
    for (int i = 0; i < ItemCount; ++i) {
        PTItem* item = PTItem::insert(context);
        const QString fileName = QStringLiteral("icon-%1.svg").arg(i);
        item->setName(fileName);
        item->setNewFileName(fileName);
        item->setCollection(set);
        QFile file(folder + QLatin1Char('/') + fileName);
        file.open(QIODevice::WriteOnly);
        file.write(FileContent);
    }
    saveAndWait();
    return set;
}

// A set's removal, timed from its start on the main thread until its save has ended.
template <class Start>
void removeSet(benchmark::State& state, Start start)
{
    double longestStall = 0;
    for (auto _ : state) {
        state.PauseTiming();
        PTCollection* set = makeFullSet();
        const QString folder = set->formattedDirectory();
        state.ResumeTiming();
        bool done = false;
        {
            StallMeter meter;
            start(set, done);
            waitUntilDone(done);
            longestStall = std::max(longestStall, meter.longestMs());
        }
        if (QFileInfo::exists(folder) || PTMainManagedObjectContext()->hasChanges())
            state.SkipWithError("the removal left something behind");
    }
    state.counters["longest_stall_ms"] = longestStall;
    state.SetItemsProcessed(state.iterations() * ItemCount);
}

// The set controller's way: batches of 100 on workers, objects deleted on the main queue.
void RemovalSetInBatches(benchmark::State& state)
{
    removeSet(state, [](PTCollection* set, bool& done) {
        PTIconRemover::create()->removeCollection(set, {}, [&done] { done = true; });
    });
}
BENCHMARK(RemovalSetInBatches)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// A selection holding the set: everything on the main thread, with a turn of the event loop after each item.
void RemovalSetAsSelection(benchmark::State& state)
{
    removeSet(state, [](PTCollection* set, bool& done) {
        std::shared_ptr<PTIconRemover2> remover = PTIconRemover2::create({set});
        remover->setCompletionHandler([&done] { done = true; });
        remover->process();
    });
}
BENCHMARK(RemovalSetAsSelection)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The same files with `rm -r`.
void RemovalFolderWithRmR(benchmark::State& state)
{
    const QString folder = workFolder().filePath("rm-folder");
    for (auto _ : state) {
        state.PauseTiming();
        QDir().mkpath(folder);
        for (int i = 0; i < ItemCount; ++i) {
            QFile file(QStringLiteral("%1/icon-%2.svg").arg(folder).arg(i));
            file.open(QIODevice::WriteOnly);
            file.write(FileContent);
        }
        state.ResumeTiming();
        if (QProcess::execute("rm", {"-r", folder}) != 0)
            state.SkipWithError("rm failed");
    }
    state.SetItemsProcessed(state.iterations() * ItemCount);
}
BENCHMARK(RemovalFolderWithRmR)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace
