// The library's upkeep at full size: a backup of a library of 10,000 files (about 100 MB) next to `cp -a` of the
// same package in the same run, and the migration of a 100,000-item version-6 store (time and peak memory).
// Run with --benchmark_filter=Upkeep.
#include "library/upkeep/PTLibraryBackupController.h"
#include "library/PTLibraryController.h"
#include "library/upkeep/PTMigrationController.h"
#include "library/entities/PTModel.h"
#include "platform/store/SqliteDatabase.h"
#include "platform/store/StoreCoordinator.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <sys/resource.h>

using namespace pt::store;

namespace {

constexpr int FileCount = 10000;
constexpr int FileSize = 10 * 1024;
constexpr int ItemCount = 100000;
constexpr int TagCount = 500;

QTemporaryDir& workFolder()
{
    static QTemporaryDir dir;
    return dir;
}

// A package of 100 sets of 100 files, with a store of the current model.
const QString& package()
{
    static const QString path = [] {
        const QString root = workFolder().filePath("Bench.ptlibrary");
        const QByteArray content(FileSize, 'x');
        for (int i = 0; i < FileCount; ++i) {
            const QString folder = QStringLiteral("%1/Sets/SET-%2").arg(root).arg(i / 100);
            QDir().mkpath(folder);
            QFile file(QStringLiteral("%1/icon-%2.svg").arg(folder).arg(i));
            file.open(QIODevice::WriteOnly);
            file.write(content);
        }
        StoreCoordinator::open(root + "/Rorev.db", PTModel::current());
        return root;
    }();
    return path;
}

void removeCopy(const QString& path)
{
    QDir(path).removeRecursively();
}

void UpkeepBackupLibrary(benchmark::State& state)
{
    auto library = PTLibraryController::initWithLibraryPath(package());
    const QString destination = workFolder().filePath("backup.ptlibrary");
    for (auto _ : state) {
        PTLibraryBackupController backup(library.get());
        if (!backup.backupBlockingThreadWithDestination(destination))
            state.SkipWithError("backup failed");
        state.PauseTiming();
        removeCopy(destination);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * qint64(FileCount) * FileSize);
}
BENCHMARK(UpkeepBackupLibrary)->Unit(benchmark::kMillisecond)->UseRealTime();

void UpkeepCopyWithCpA(benchmark::State& state)
{
    const QString destination = workFolder().filePath("cp.ptlibrary");
    package();
    for (auto _ : state) {
        if (QProcess::execute("cp", {"-a", package(), destination}) != 0)
            state.SkipWithError("cp failed");
        state.PauseTiming();
        removeCopy(destination);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * qint64(FileCount) * FileSize);
}
BENCHMARK(UpkeepCopyWithCpA)->Unit(benchmark::kMillisecond)->UseRealTime();

// A version-6 store of 100,000 items in 100 sets; a third of the items carry two of 500 tags.
const QString& version6Store()
{
    static const QString path = [] {
        const QString store = workFolder().filePath("v6/Rorev.db");
        QDir().mkpath(QFileInfo(store).path());
        StoreCoordinator::open(store, PTModel::version6());
        auto db = SqliteDatabase::open(store, false);
        SqliteDatabase& out = **db;
        out.exec("BEGIN");
        for (int i = 1; i <= 100; ++i)
            out.exec(QStringLiteral("INSERT INTO PTCollection(pk, name, identifier) VALUES(%1, 'Set %1', 'SET-%1')").arg(i));
        for (int i = 1; i <= TagCount; ++i)
            out.exec(QStringLiteral("INSERT INTO PTTag(pk, name) VALUES(%1, 'Tag %1')").arg(i));
        for (qint64 i = 1; i <= ItemCount; ++i) {
            // Each use resets the cached statement when it ends.
            SqliteStatement insert = out.statement(
                "INSERT INTO PTItem(pk, name, informativeText, newFileName, collection) VALUES(?, ?, ?, ?, ?)");
            {
                insert.bind(1, i);
                insert.bind(2, QStringLiteral("Arrow_Left-%1 Ünïcode").arg(i));
                insert.bind(3, QStringLiteral("Described %1").arg(i));
                insert.bind(4, QStringLiteral("arrow-left-%1.svg").arg(i));
                insert.bind(5, i % 100 + 1);
                insert.step();
            }
        }
        {
            qint64 key = 0;
            for (qint64 i = 1; i <= ItemCount; i += 3)
                for (int t = 0; t < 2; ++t) {
                    SqliteStatement join = out.statement("INSERT INTO PTTags(pk, item, tag) VALUES(?, ?, ?)");
                    join.bind(1, ++key);
                    join.bind(2, i);
                    join.bind(3, (i + t) % TagCount + 1);
                    join.step();
                }
        }
        for (const char* entity : {"PTCollection", "PTItem", "PTTag", "PTTags"})
            out.exec(QStringLiteral("UPDATE pt_primarykey SET max = (SELECT max(pk) FROM %1) WHERE entity = '%1'").arg(entity));
        out.exec("COMMIT");
        return store;
    }();
    return path;
}

qint64 peakResidentKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void UpkeepMigrateVersion6Store(benchmark::State& state)
{
    const QString source = version6Store();
    const QString store = workFolder().filePath("migrating/Rorev.db");
    QDir().mkpath(QFileInfo(store).path());
    const qint64 peakBefore = peakResidentKilobytes();
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(store);
        QFile::copy(source, store);
        state.ResumeTiming();
        auto passes = PTMigrationController::migrator().migrate(store, *PTModel::current());
        if (!passes || passes->size() != 2)
            state.SkipWithError("migration failed");
        state.PauseTiming();
        for (const auto& pass : *passes)
            QDir(pass.parkedFolder).removeRecursively();
        state.ResumeTiming();
    }
    state.counters["peak_rss_MB"] = double(peakResidentKilobytes()) / 1024.0;
    state.counters["peak_rss_growth_MB"] = double(peakResidentKilobytes() - peakBefore) / 1024.0;
    state.SetItemsProcessed(state.iterations() * ItemCount);
}
BENCHMARK(UpkeepMigrateVersion6Store)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
