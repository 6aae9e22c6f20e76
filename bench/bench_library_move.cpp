// Moving library files between sets at full size: 10,000 items (papirus SVGs) moved from one set to another, and
// 100 sets of 100 items merged into one, each timed until the save that stores it has run, next to `cp -r` of the
// same files in the same run. Run with --benchmark_filter=Move.
#include "BenchLibraryItem.h"
#include "BenchStoreHost.h"
#include "BenchWait.h"
#include "PapirusFiles.h"
#include "library/entities/PTCollection.h"
#include "library/controllers/PTCollectionController.h"
#include "library/controllers/PTGroupController.h"
#include "library/entities/PTItem.h"
#include "library/PTLibraryController.h"
#include "library/store/PTStoreFunctions.h"
#include "library/store/PTStoreStack.h"

#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int ItemCount = 10000;
// The merge gathers the items from this many sets.
constexpr int MergedSets = 100;
constexpr int ItemsPerSet = ItemCount / MergedSets;

QTemporaryDir& workFolder()
{
    static QTemporaryDir dir;
    return dir;
}

void saveAndWait()
{
    bool done = false;
    PTSaveManagedObjectContextWithCompletion([&done](const pt::Error&) { done = true; });
    waitUntilDone(done);
}

// A current library of its own, made once.
pt::store::ObjectContext& library()
{
    static pt::store::ObjectContext& context = []() -> pt::store::ObjectContext& {
        PTLibraryController::setCurrentLibrary(
            PTLibraryController::initWithCreatingLibraryAtPath(workFolder().filePath("Move.ptlibrary")));
        PTStoreStack::setHost(std::make_shared<BenchStoreHost>(PTLibraryController::currentLibrary()->persistantStoreCoordinatorPath()));
        return *PTMainManagedObjectContext();
    }();
    return context;
}

PTCollection* makeSet(const QString& name)
{
    return PTCollectionController::sharedController().createCollectionWithName(name, &library());
}

// Adds `count` items with their files to the set, numbered from `first`.
void fill(PTCollection* set, int first, int count)
{
    for (int n = first; n < first + count; ++n)
        makeBenchItem(set, n);
}

// Two sets, the first holding all the items, made once; the items go back and forth between them.
std::pair<PTCollection*, PTCollection*>& movingSets()
{
    static std::pair<PTCollection*, PTCollection*> sets = [] {
        std::pair<PTCollection*, PTCollection*> made{makeSet(QStringLiteral("From")), makeSet(QStringLiteral("To"))};
        fill(made.first, 0, ItemCount);
        saveAndWait();
        return made;
    }();
    return sets;
}

// The yardstick: copying the same files with cp -r.
void MoveCopyWithCpR(benchmark::State& state)
{
    copyWithCpR(state, movingSets().first->formattedDirectory(), workFolder().filePath("cp-copy"), ItemCount);
}
BENCHMARK(MoveCopyWithCpR)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void MoveItemsBetweenSets(benchmark::State& state)
{
    auto& [from, to] = movingSets();
    for (auto _ : state) {
        if (!PTCollectionController::sharedController().moveItems(from->items(), to).isEmpty())
            state.SkipWithError("items not moved");
        saveAndWait();
        std::swap(from, to);
    }
    state.SetItemsProcessed(state.iterations() * ItemCount);
}
BENCHMARK(MoveItemsBetweenSets)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void MoveByMergingSets(benchmark::State& state)
{
    PTCollectionController& controller = PTCollectionController::sharedController();
    for (auto _ : state) {
        state.PauseTiming();
        QVector<PTCollection*> sets{makeSet(QStringLiteral("Target"))};
        for (int s = 0; s < MergedSets; ++s) {
            sets.append(makeSet(QStringLiteral("Set %1").arg(s)));
            fill(sets.last(), s * ItemsPerSet, ItemsPerSet);
        }
        saveAndWait();
        state.ResumeTiming();
        if (!controller.mergeCollections(sets).isEmpty())
            state.SkipWithError("sets kept");
        saveAndWait();
        state.PauseTiming();
        PTCollection* target = sets.first();
        for (PTItem* item : target->items())
            library().deleteObject(item);
        QDir(target->formattedDirectory()).removeRecursively();
        controller.removeCollection(target);
        PTGroupController::sharedController().removeCollection(target);
        library().deleteObject(target);
        saveAndWait();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * ItemCount);
}
BENCHMARK(MoveByMergingSets)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace
