// Exchange bundles at full size: writing and reading 10,000 icons (100 sets of 100 papirus SVGs) in items per
// second, next to `cp -r` of the same files in the same run. Run with --benchmark_filter=Bundle.
#include "BenchLibraryItem.h"
#include "BenchStoreHost.h"
#include "BenchWait.h"
#include "PapirusFiles.h"
#include "library/ImportNaming.h"
#include "library/entities/PTCollection.h"
#include "library/entities/PTGroup.h"
#include "library/PTLibraryController.h"
#include "library/store/PTStoreFunctions.h"
#include "library/store/PTStoreStack.h"
#include "library/bundle/PTTernExporter.h"
#include "library/bundle/PTTernImporter.h"

#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int SetCount = 100;
constexpr int ItemsPerSet = 100;
constexpr int ItemCount = SetCount * ItemsPerSet;

QTemporaryDir& workFolder()
{
    static QTemporaryDir dir;
    return dir;
}

// A current library holding one group of SetCount sets of ItemsPerSet papirus icons, made once.
pt::store::ObjectID& exportedGroup()
{
    static pt::store::ObjectID id = [] {
        PTLibraryController::setCurrentLibrary(
            PTLibraryController::initWithCreatingLibraryAtPath(workFolder().filePath("Bench.ptlibrary")));
        PTStoreStack::setHost(std::make_shared<BenchStoreHost>(PTLibraryController::currentLibrary()->persistantStoreCoordinatorPath()));
        pt::store::ObjectContext& context = *PTMainManagedObjectContext();
        PTGroup* group = PTGroup::insert(context);
        group->setName(QStringLiteral("Bench"));
        for (int s = 0; s < SetCount; ++s) {
            PTCollection* set = PTCollection::insert(context);
            set->setName(QStringLiteral("Set %1").arg(s));
            PTSetNewObjectDefaults(set);
            set->setGroup(group);
            for (int i = 0; i < ItemsPerSet; ++i)
                makeBenchItem(set, s * ItemsPerSet + i);
        }
        bool done = false;
        PTSaveManagedObjectContextWithCompletion([&done](const pt::Error&) { done = true; });
        waitUntilDone(done);
        return group->objectID();
    }();
    return id;
}

QString exportBundle(const QString& name)
{
    const QString path = workFolder().filePath(name);
    auto exporter = PTTernExporter::create(PTMainManagedObjectContext()->existingObjectWithID(exportedGroup()), path);
    bool done = false;
    exporter->setCompletionHandler([&done] { done = true; });
    exporter->begin();
    waitUntilDone(done);
    return path;
}

// The yardstick: copying the same files with cp -r (first, while the library holds only those).
void BundleCopyWithCpR(benchmark::State& state)
{
    exportedGroup();
    copyWithCpR(state, PTLibraryController::currentLibrary()->path() + QStringLiteral("/Sets"),
                workFolder().filePath("cp-copy"), ItemCount);
}
BENCHMARK(BundleCopyWithCpR)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BundleExport(benchmark::State& state)
{
    exportedGroup();
    for (auto _ : state) {
        const QString path = exportBundle("Out.pictern");
        state.PauseTiming();
        QDir(path).removeRecursively();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * ItemCount);
}
BENCHMARK(BundleExport)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BundleImport(benchmark::State& state)
{
    exportedGroup();
    static const QString bundle = exportBundle("In.pictern");
    for (auto _ : state) {
        auto importer = PTTernImporter::create(bundle);
        bool done = false;
        importer->setCompletionHandler([&done](const QVector<pt::store::ObjectID>&) { done = true; });
        importer->begin();
        waitUntilDone(done);
        state.PauseTiming();
        PTTernImporter::purge();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * ItemCount);
}
BENCHMARK(BundleImport)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace
