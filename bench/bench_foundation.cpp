// Foundation work measured against the tools users know: unzipping a downloaded icon set against `unzip -q`,
// gzip of exchange metadata against `gzip -6`, and the search normal form over real icon names and over long
// descriptions.
#include "foundation/DataAdditions.h"
#include "foundation/SSZipArchive.h"
#include "foundation/StringAdditions.h"
#include "platform/store/TextFold.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

const QString Papirus = QStringLiteral("/usr/share/icons/Papirus");

// About 50 MB of zipped SVG icons (two Papirus sizes, links stored as the files they name), made once and
// kept in /tmp.
QString makeIconZip()
{
    const QString path = QDir::temp().filePath(QStringLiteral("pictern-bench-icons.zip"));
    if (QFileInfo::exists(path))
        return path;
    QProcess zip;
    zip.setWorkingDirectory(Papirus);
    zip.start(QStringLiteral("zip"), {"-q", "-r", path + ".part", "64x64", "48x48"});
    zip.waitForFinished(-1);
    QFile::rename(path + ".part", path);
    return path;
}

// Ten thousand item records shaped like the exchange bundle's metadata.
QByteArray recordsJson()
{
    QJsonArray items;
    for (int i = 0; i < 10000; ++i) {
        items.append(QJsonObject{{"name", QStringLiteral("icon-%1-arrow-left").arg(i)},
                                 {"fileName", QStringLiteral("icon-%1-arrow-left.svg").arg(i)},
                                 {"tags", QStringLiteral("arrow,left,navigation,set%1").arg(i % 37)},
                                 {"type", i % 7},
                                 {"width", 24 + i % 5 * 8},
                                 {"height", 24 + i % 5 * 8},
                                 {"date", QStringLiteral("2024-03-%1 10:%2:00").arg(1 + i % 28, 2, 10, QChar('0')).arg(i % 60, 2, 10, QChar('0'))},
                                 {"licence", QStringLiteral("licence-%1").arg(i % 12)}});
    }
    return QJsonDocument(QJsonObject{{"items", items}}).toJson(QJsonDocument::Compact);
}

qint64 runTool(const QString& program, const QStringList& arguments, const QByteArray& input, QByteArray* output)
{
    QElapsedTimer clock;
    clock.start();
    QProcess process;
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(-1);
    if (output)
        *output = process.readAllStandardOutput();
    return clock.nsecsElapsed();
}

} // namespace

static void BM_UnzipIconSetVsUnzipTool(benchmark::State& state)
{
    const QString archive = makeIconZip();
    qint64 ours = 0;
    qint64 tool = 0;
    bool oursFirst = true;
    for (auto _ : state) {
        QTemporaryDir ourDir;
        QTemporaryDir toolDir;
        // Creating tens of thousands of files is mostly the file system's work, and it slows down after mass
        // deletions; taking turns at going first keeps that from favouring one side.
        auto runTheTool = [&] {
            tool += runTool(QStringLiteral("unzip"), {"-q", archive, "-d", toolDir.filePath("out")}, {}, nullptr);
        };
        if (!oursFirst)
            runTheTool();
        QElapsedTimer clock;
        clock.start();
        const bool ok = SSZipArchive::unzipFileAtPath(archive, ourDir.filePath("out"));
        ours += clock.nsecsElapsed();
        if (oursFirst)
            runTheTool();
        oursFirst = !oursFirst;
        if (!ok)
            state.SkipWithError("unzip failed");
    }
    state.counters["archive_MB"] = double(QFileInfo(archive).size()) / 1e6;
    state.counters["ours_ms"] = double(ours) / 1e6 / double(state.iterations());
    state.counters["unzip_ms"] = double(tool) / 1e6 / double(state.iterations());
    state.counters["time_ratio"] = double(ours) / double(tool);
}
BENCHMARK(BM_UnzipIconSetVsUnzipTool)->Iterations(4)->Unit(benchmark::kMillisecond);

static void BM_GzipRecordsVsGzipTool(benchmark::State& state)
{
    const QByteArray json = recordsJson();
    qint64 ours = 0;
    qint64 tool = 0;
    qint64 ourSize = 0;
    QByteArray toolOutput;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        const auto packed = dataAdditions::gzippedData(json);
        ours += clock.nsecsElapsed();
        ourSize = packed->size();
        tool += runTool(QStringLiteral("gzip"), {"-6", "-c"}, json, &toolOutput);
    }
    state.counters["json_MB"] = double(json.size()) / 1e6;
    state.counters["ours_ms"] = double(ours) / 1e6 / double(state.iterations());
    state.counters["gzip_ms"] = double(tool) / 1e6 / double(state.iterations());
    state.counters["time_ratio"] = double(ours) / double(tool);
    state.counters["size_ratio"] = double(ourSize) / double(toolOutput.size());
}
BENCHMARK(BM_GzipRecordsVsGzipTool)->Iterations(10)->Unit(benchmark::kMillisecond);

static void BM_GunzipRecords(benchmark::State& state)
{
    const QByteArray packed = dataAdditions::gzippedData(recordsJson()).value();
    for (auto _ : state)
        benchmark::DoNotOptimize(dataAdditions::gunzippedData(packed));
    state.SetBytesProcessed(state.iterations() * packed.size());
}
BENCHMARK(BM_GunzipRecords)->Unit(benchmark::kMillisecond);

static void BM_NormalizedStringIconNames(benchmark::State& state)
{
    QStringList names;
    QDirIterator it(Papirus + "/64x64", QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        names.append(QFileInfo(it.next()).completeBaseName());
    names.append({u"Café Ｉｃｏｎ"_qs, u"Ærøskøbing Ångström"_qs, u"ﾊﾞｯｸ"_qs});
    for (auto _ : state) {
        for (const QString& name : names)
            benchmark::DoNotOptimize(stringAdditions::normalizedString(name));
    }
    state.SetItemsProcessed(state.iterations() * names.size());
}
BENCHMARK(BM_NormalizedStringIconNames)->Unit(benchmark::kMillisecond);

namespace {

// 256 K characters that all decompose: precomposed Latin letters, Hangul syllables, or one letter carrying a
// run of combining marks out of canonical order.
QString longDecomposableText(int64_t kind)
{
    constexpr int Length = 256 * 1024;
    QString text;
    text.reserve(Length + 1);
    if (kind == 2)
        text += u'a';
    for (int i = 0; i < Length; ++i) {
        if (kind == 0)
            text += QChar(u'\u00E9');
        else if (kind == 1)
            text += QChar(char16_t(0xAC00 + i % 11172));
        else
            text += QChar(i % 2 ? u'\u0301' : u'\u0327');
    }
    return text;
}

const char* const TextKinds[] = {"e-acute", "hangul", "mark-run"};

} // namespace

// One call on a long description, as the store migration and the search columns make.
static void BM_NormalizedStringLongText(benchmark::State& state)
{
    const QString text = longDecomposableText(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(stringAdditions::normalizedString(text));
    state.SetLabel(TextKinds[state.range(0)]);
    state.SetItemsProcessed(state.iterations() * text.size());
}
BENCHMARK(BM_NormalizedStringLongText)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

static void BM_FoldCaseAndDiacriticsLongText(benchmark::State& state)
{
    const QString text = longDecomposableText(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(pt::store::foldCaseAndDiacritics(text));
    state.SetLabel(TextKinds[state.range(0)]);
    state.SetItemsProcessed(state.iterations() * text.size());
}
BENCHMARK(BM_FoldCaseAndDiacriticsLongText)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
