// The source list's child requests: a cached child list against the same list built again from the store, and
// the whole source-list order of the sets. Run with --benchmark_filter=Tree.
#include "BenchStoreHost.h"
#include "library/entities/PTCollection.h"
#include "library/controllers/PTCollectionController.h"
#include "library/entities/PTGroup.h"
#include "library/controllers/PTGroupController.h"
#include "library/store/PTStoreFunctions.h"
#include "library/store/PTStoreStack.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int GroupCount = 20;
constexpr int SetsPerGroup = 25;
constexpr int TopLevelSets = 200;

// A library tree in a temporary store, made once for all tree benchmarks.
QVector<PTGroup*>& tree()
{
    static QTemporaryDir dir;
    static QVector<PTGroup*> groups = [] {
        PTStoreStack::setHost(std::make_shared<BenchStoreHost>(dir.filePath(QStringLiteral("Rorev.db"))));
        pt::store::ObjectContext& context = *PTMainManagedObjectContext();
        QVector<PTGroup*> made;
        qint64 sort = 0;
        for (int g = 0; g < GroupCount; ++g) {
            PTGroup* group = PTGroup::insert(context);
            group->setName(QStringLiteral("Group %1").arg(g));
            group->setSort(sort++);
            for (int s = 0; s < SetsPerGroup; ++s) {
                PTCollection* set = PTCollection::insert(context);
                set->setName(QStringLiteral("Set %1").arg(s));
                set->setSort(s);
                set->setGroup(group);
            }
            made.append(group);
        }
        for (int s = 0; s < TopLevelSets; ++s) {
            PTCollection* set = PTCollection::insert(context);
            set->setName(QStringLiteral("Loose %1").arg(s));
            set->setSort(sort++);
        }
        if (!context.save())
            qFatal("the benchmark tree could not be saved");
        return made;
    }();
    return groups;
}

void TreeCachedChildLists(benchmark::State& state)
{
    const QVector<PTGroup*>& groups = tree();
    PTGroupController& controller = PTGroupController::sharedController();
    for (auto _ : state) {
        benchmark::DoNotOptimize(controller.objectsForGroup(nullptr).size());
        for (PTGroup* group : groups)
            benchmark::DoNotOptimize(controller.objectsForGroup(group).size());
    }
    state.SetItemsProcessed(state.iterations() * (groups.size() + 1));
}
BENCHMARK(TreeCachedChildLists);

void TreeRebuiltChildLists(benchmark::State& state)
{
    const QVector<PTGroup*>& groups = tree();
    PTGroupController& controller = PTGroupController::sharedController();
    for (auto _ : state) {
        benchmark::DoNotOptimize(controller.objectsForGroup(nullptr, true).size());
        for (PTGroup* group : groups)
            benchmark::DoNotOptimize(controller.objectsForGroup(group, true).size());
    }
    state.SetItemsProcessed(state.iterations() * (groups.size() + 1));
}
BENCHMARK(TreeRebuiltChildLists);

void TreeSourceListOrder(benchmark::State& state)
{
    tree();
    PTCollectionController& sets = PTCollectionController::sharedController();
    for (auto _ : state)
        benchmark::DoNotOptimize(sets.collectionsSortedByGroup().size());
}
BENCHMARK(TreeSourceListOrder);

} // namespace
