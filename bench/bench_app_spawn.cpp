// From spawning the process to its first painted grid: pictern on its library against a bare Qt window with
// three columns, alternating in each iteration so that both see the same machine load. Two libraries: an empty
// one, and one whose first shown set holds 100,000 items.
#include "BenchStoreHost.h"

#include "library/PTLibraryController.h"
#include "library/controllers/PTCollectionController.h"
#include "library/entities/PTCollection.h"
#include "library/entities/PTItem.h"
#include "library/store/PTStoreFunctions.h"
#include "library/store/PTStoreStack.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace {

// A home of its own: settings, data (the library) and runtime folders.
struct Profile {
    QTemporaryDir home;
    QString data() const { return home.filePath(QStringLiteral("data")); }
    QProcessEnvironment environment() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("PICTERN_REPORT_FIRST_PAINT"), QStringLiteral("1"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), data());
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.filePath(QStringLiteral("runtime")));
        // No session bus: every spawn is the first instance.
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("disabled:"));
        return environment;
    }
};

// Puts `count` items into the set the main window shows first (Miscellaneous).
void fillLibrary(const Profile& profile, int count)
{
    QDir(profile.home.path()).mkpath(QStringLiteral("runtime"));
    QFile::setPermissions(profile.home.filePath(QStringLiteral("runtime")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString path = profile.data() + QStringLiteral("/Pictern/") + PTLibraryController::defaultName();
    auto library = PTLibraryController::initWithCreatingLibraryAtPath(path);
    library->synchronizeMeta();
    if (count == 0)
        return;
    PTStoreStack::setHost(std::make_shared<BenchStoreHost>(library->persistantStoreCoordinatorPath()));
    pt::store::ObjectContext* context = PTMainManagedObjectContext();
    PTCollection* misc = PTCollectionController::sharedController().miscCollection();
    for (int n = 0; n < count; ++n) {
        PTItem* item = PTItem::insert(*context);
        item->setName(QStringLiteral("Icon %1").arg(n));
        item->setCollection(misc);
    }
    bool saved = false;
    PTSaveManagedObjectContextWithCompletion([&saved](const pt::Error&) { saved = true; });
    while (!saved)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    (void)PTStoreStack::shared()->closeStore();
}

// Milliseconds from start to the "first-paint" line; negative when it never came.
double spawnToFirstPaint(const QString& program, const Profile& profile)
{
    QProcess process;
    process.setProcessEnvironment(profile.environment());
    QElapsedTimer clock;
    clock.start();
    process.start(program, {});
    double at = -1;
    while (process.waitForReadyRead(30000)) {
        if (process.readAllStandardOutput().contains("first-paint")) {
            at = double(clock.nsecsElapsed()) / 1e6;
            break;
        }
    }
    process.waitForFinished(30000);
    return at;
}

void spawnAgainstBaseline(benchmark::State& state)
{
    static std::map<int, std::unique_ptr<Profile>> profiles;
    const int items = int(state.range(0));
    std::unique_ptr<Profile>& profile = profiles[items];
    if (!profile) {
        profile = std::make_unique<Profile>();
        fillLibrary(*profile, items);
        // The first launch seeds licences and settings; measure the ones after it.
        spawnToFirstPaint(QStringLiteral(PICTERN_APP_BINARY), *profile);
    }
    double pictern = 0, baseline = 0;
    for (auto _ : state) {
        const double ours = spawnToFirstPaint(QStringLiteral(PICTERN_APP_BINARY), *profile);
        const double theirs = spawnToFirstPaint(QStringLiteral(APP_SPAWN_BASELINE), *profile);
        if (ours < 0 || theirs < 0) {
            state.SkipWithError("a process never painted");
            return;
        }
        pictern += ours;
        baseline += theirs;
        state.SetIterationTime(ours / 1000);
    }
    const double n = double(state.iterations());
    state.counters["pictern_ms"] = pictern / n;
    state.counters["baseline_ms"] = baseline / n;
    state.counters["ratio"] = pictern / baseline;
}

BENCHMARK(spawnAgainstBaseline)->Arg(0)->Arg(100000)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
