// Importing icon files into a fresh library: 10,000 papirus SVGs in one folder, the same in 100 folders made into
// sets (options 0x6), and 5,000 SVGs with 5,000 PNGs drawn from them; items per second next to `cp -r` of the same
// files in the same run, and the main thread's longest stall while an import runs (counter max_stall_ms). Each
// import also runs right after a `cp -r` of its sources, untimed: on a shared disk whose speed drifts, the ratio of
// those pairs (counter cp_ratio) is steadier than the ratio of the separate figures. Naming: 8,000 files of one
// name from as many folders into one set, and an ICO of 4,000 different pictures of one size expanded into its
// parts. Run with --benchmark_filter=Import.
#include "BenchStoreHost.h"
#include "BenchWait.h"
#include "MainThreadStalls.h"
#include "PapirusFiles.h"
#include "library/ImportNaming.h"
#include "library/PTLibraryController.h"
#include "library/controllers/PTCollectionController.h"
#include "library/controllers/PTGroupController.h"
#include "library/entities/PTCollection.h"
#include "library/entities/PTGroup.h"
#include "library/store/PTStoreFunctions.h"
#include "library/store/PTStoreStack.h"
#include "svg/PTSVG.h"
#include "transfer/import/PTImporter2.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int FileCount = 10000;
constexpr int FolderCount = 100;
constexpr int RenderedSide = 64;
constexpr int SameNameCount = 8000;
constexpr int IconPictureCount = 4000;

QTemporaryDir& workFolder()
{
    static QTemporaryDir dir;
    return dir;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

const QByteArray& papirus(int index)
{
    const std::vector<QByteArray>& files = papirusFiles();
    return files[size_t(index) % files.size()];
}

// SameNameCount folders holding one "icon.svg" each, and one ICO of IconPictureCount 16-pixel pictures of
// different colours, written once.
void writeNamingSources()
{
    const QDir root(workFolder().path());
    for (int i = 0; i < SameNameCount; ++i) {
        const QString folder = QStringLiteral("same/%1").arg(i);
        root.mkpath(folder);
        writeFile(root.filePath(folder + QStringLiteral("/icon.svg")), papirus(i));
    }
    root.mkpath("pictures");
    root.mkpath("ico");
    QStringList arguments{"-c", "-o", root.filePath("ico/tool.ico")};
    for (int i = 0; i < IconPictureCount; ++i) {
        QImage image(16, 16, QImage::Format_ARGB32);
        image.fill(QColor::fromRgb(QRgb(0xff000000u | quint32(i * 4099))));
        arguments << root.filePath(QStringLiteral("pictures/%1.png").arg(i));
        image.save(arguments.last());
    }
    if (QProcess::execute("icotool", arguments) != 0)
        qFatal("icotool (icoutils) could not make the ICO");
}

// The sources, written once: "flat", "folders" (FolderCount folders), "mixed" (SVGs and PNGs drawn from them),
// "same" and "ico".
QString sources(const QString& shape)
{
    static const bool written = [] {
        const QDir root(workFolder().path());
        root.mkpath("flat");
        for (int i = 0; i < FileCount; ++i)
            writeFile(root.filePath(QStringLiteral("flat/icon-%1.svg").arg(i)), papirus(i));
        for (int f = 0; f < FolderCount; ++f) {
            const QString folder = QStringLiteral("folders/folder-%1").arg(f);
            root.mkpath(folder);
            for (int i = 0; i < FileCount / FolderCount; ++i) {
                const int index = f * (FileCount / FolderCount) + i;
                writeFile(root.filePath(QStringLiteral("%1/icon-%2.svg").arg(folder).arg(index)), papirus(index));
            }
        }
        root.mkpath("mixed");
        for (int i = 0; i < FileCount / 2; ++i) {
            writeFile(root.filePath(QStringLiteral("mixed/icon-%1.svg").arg(i)), papirus(i));
            const PTSVG::Result svg = PTSVG::svgWithString(QString::fromUtf8(papirus(i)));
            QImage image = svg ? (*svg)->imageWithSize(QSize(RenderedSide, RenderedSide)) : QImage();
            if (image.isNull()) {
                image = QImage(RenderedSide, RenderedSide, QImage::Format_ARGB32);
                image.fill(Qt::gray);
            }
            image.save(root.filePath(QStringLiteral("mixed/icon-%1.png").arg(i)));
        }
        writeNamingSources();
        return true;
    }();
    Q_UNUSED(written);
    return workFolder().filePath(shape);
}

// A fresh library of its own for each import.
void openFreshLibrary(int number)
{
    PTCollectionController::sharedController().purge();
    PTGroupController::sharedController().purge();
    PTStoreStack::setHost(nullptr);
    PTLibraryController::setCurrentLibrary(PTLibraryController::initWithCreatingLibraryAtPath(
        workFolder().filePath(QStringLiteral("Bench-%1.ptlibrary").arg(number))));
    PTStoreStack::setHost(
        std::make_shared<BenchStoreHost>(PTLibraryController::currentLibrary()->persistantStoreCoordinatorPath()));
}

void importShape(benchmark::State& state, const QString& shape, PTImportOptions options, bool groupTarget)
{
    const QString folder = sources(shape);
    static int libraries = 0;
    qint64 items = 0;
    double longestStall = 0;
    qint64 importNs = 0;
    qint64 copyNs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QElapsedTimer copyClock;
        copyClock.start();
        const QString copy = workFolder().filePath("cp-paired");
        if (QProcess::execute("cp", {"-r", folder, copy}) != 0)
            state.SkipWithError("cp failed");
        copyNs += copyClock.nsecsElapsed();
        openFreshLibrary(++libraries);
        pt::store::ObjectContext& context = *PTMainManagedObjectContext();
        pt::store::ManagedObject* target = nullptr;
        if (groupTarget) {
            PTGroup* group = PTGroup::insert(context);
            group->setName(QStringLiteral("Target"));
            target = group;
        } else {
            PTCollection* set = PTCollection::insert(context);
            set->setName(QStringLiteral("Target"));
            PTSetNewObjectDefaults(set);
            target = set;
        }
        state.ResumeTiming();

        MainThreadStalls stalls;
        bool done = false;
        auto importer = PTImporter2::create(target, {folder}, options);
        importer->setCompletionHandler([&](const PTImporter2::Result& result) {
            // The finish runs in the same turn of the main queue as this completion.
            stalls.mark();
            items = result.items.size();
            done = true;
        });
        importer->begin();
        waitUntilDone(done);
        importNs += stalls.elapsedNs();
        longestStall = std::max(longestStall, stalls.longestMs());
        // Removed only now: the file system passes over the inodes of files it just deleted when it makes new
        // ones, which would slow the import and not the copy.
        state.PauseTiming();
        QDir(copy).removeRecursively();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * items);
    state.counters["items"] = double(items);
    state.counters["max_stall_ms"] = longestStall;
    state.counters["cp_ratio"] = copyNs > 0 ? double(importNs) / double(copyNs) : 0.0;
}

void ImportFlatCopyWithCpR(benchmark::State& state)
{
    copyWithCpR(state, sources("flat"), workFolder().filePath("cp-flat"), FileCount);
}
BENCHMARK(ImportFlatCopyWithCpR)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void ImportFlat(benchmark::State& state)
{
    importShape(state, "flat", PTDefaultImportOptions(), false);
}
BENCHMARK(ImportFlat)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void ImportFoldersCopyWithCpR(benchmark::State& state)
{
    copyWithCpR(state, sources("folders"), workFolder().filePath("cp-folders"), FileCount);
}
BENCHMARK(ImportFoldersCopyWithCpR)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void ImportFoldersAsSets(benchmark::State& state)
{
    importShape(state, "folders", PTDefaultImportOptions() | PTImportOption::FoldersBecomeGroupsAndSets, true);
}
BENCHMARK(ImportFoldersAsSets)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void ImportMixedCopyWithCpR(benchmark::State& state)
{
    copyWithCpR(state, sources("mixed"), workFolder().filePath("cp-mixed"), FileCount);
}
BENCHMARK(ImportMixedCopyWithCpR)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void ImportMixed(benchmark::State& state)
{
    importShape(state, "mixed", PTDefaultImportOptions(), false);
}
BENCHMARK(ImportMixed)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void ImportSameNames(benchmark::State& state)
{
    importShape(state, "same", PTDefaultImportOptions(), false);
}
BENCHMARK(ImportSameNames)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

void ImportExpandedICO(benchmark::State& state)
{
    importShape(state, "ico", PTDefaultImportOptions() | PTImportOption::ExpandICO, false);
}
BENCHMARK(ImportExpandedICO)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

} // namespace
