// Exporting 1,000 papirus icons to PNG at 16 to 512 px on all cores, next to rsvg-convert on the same files run
// nproc-wide; and the bytes of our PNG files next to cairo's own PNG writer on the same pixels.
#include "library/entities/PTItem.h"
#include "transfer/export/PTExporter.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>
#include <cairo.h>

#include <algorithm>

namespace {

constexpr int kIcons = 1000;
const int kSides[] = {16, 32, 64, 128, 256, 512};

// kIcons SVG files spread evenly over the theme's sorted list, so that every size and context is in the sample.
const QStringList& sampleFiles()
{
    static const QStringList files = [] {
        QStringList all;
        QDirIterator it(QStringLiteral("/usr/share/icons/Papirus"), {QStringLiteral("*.svg")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo info = it.nextFileInfo();
            if (!info.isSymLink())
                all << info.filePath();
        }
        all.sort();
        QStringList sample;
        for (int i = 0; i < kIcons && !all.isEmpty(); ++i)
            sample << all.at(qsizetype(qint64(i) * all.size() / kIcons));
        return sample;
    }();
    return files;
}

double oursSeconds = 0;

cairo_status_t countBytes(void* closure, const unsigned char*, unsigned int length)
{
    *static_cast<qint64*>(closure) += length;
    return CAIRO_STATUS_SUCCESS;
}

// The bytes cairo's default PNG writer makes of the same pixels.
qint64 cairoPNGBytes(const QString& path)
{
    QImage image(path);
    image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        image.bits(), CAIRO_FORMAT_ARGB32, image.width(), image.height(), int(image.bytesPerLine()));
    qint64 bytes = 0;
    cairo_surface_write_to_png_stream(surface, countBytes, &bytes);
    cairo_surface_destroy(surface);
    return bytes;
}

void BM_ExportPapirusPNG(benchmark::State& state)
{
    const QStringList& files = sampleFiles();
    if (files.isEmpty()) {
        state.SkipWithError("papirus-icon-theme is not installed");
        return;
    }
    QList<PTExporter::Item> items;
    for (int i = 0; i < files.size(); ++i)
        items.append({files[i], QString::number(i), {}, PTItem::SVG});
    PTExportOutputOptionSet set;
    for (const int side : kSides) {
        PTExportOutputOption option;
        option.sizeFormat = QString::number(side) + QLatin1Char('s');
        option.suffix = QLatin1Char('-') + QString::number(side);
        set.addOutputOption(option);
    }
    qint64 ours = 0, cairo = 0, written = 0;
    for (auto _ : state) {
        QTemporaryDir out;
        PTExporter exporter(items, set, out.path());
        bool done = false;
        PTExporter::Result result;
        exporter.completionHandler = [&](const PTExporter::Result& r) {
            result = r;
            done = true;
        };
        QElapsedTimer timer;
        timer.start();
        exporter.begin();
        while (!done)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        oursSeconds = timer.elapsed() / 1000.0;
        state.PauseTiming();
        written = result.paths.size();
        ours = cairo = 0;
        for (const QString& path : result.paths) {
            ours += QFileInfo(path).size();
            cairo += cairoPNGBytes(path);
        }
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * written);
    state.counters["files_per_s"] = double(written) / oursSeconds;
    state.counters["png_bytes"] = double(ours);
    state.counters["cairo_png_bytes"] = double(cairo);
    state.counters["bytes_ratio"] = cairo ? double(ours) / double(cairo) : 0;
}
BENCHMARK(BM_ExportPapirusPNG)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

void BM_RsvgConvertPapirusPNG(benchmark::State& state)
{
    const QStringList& files = sampleFiles();
    if (files.isEmpty() || QStandardPaths::findExecutable(QStringLiteral("rsvg-convert")).isEmpty()) {
        state.SkipWithError("papirus-icon-theme or rsvg-convert (librsvg2-bin) is not installed");
        return;
    }
    double seconds = 0;
    qint64 jobs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir out;
        QByteArray lines;
        jobs = 0;
        for (int i = 0; i < files.size(); ++i)
            for (const int side : kSides) {
                const QString n = QString::number(side);
                lines += QStringLiteral("-a -w %1 -h %1 -o %2 %3\n")
                             .arg(n, QDir(out.path()).filePath(QStringLiteral("%1-%2.png").arg(i).arg(n)), files[i])
                             .toUtf8();
                ++jobs;
            }
        state.ResumeTiming();
        QElapsedTimer timer;
        timer.start();
        QProcess xargs;
        xargs.start(QStringLiteral("xargs"), {QStringLiteral("-P"), QString::number(QThread::idealThreadCount()),
                                              QStringLiteral("-L"), QStringLiteral("1"), QStringLiteral("rsvg-convert")});
        xargs.write(lines);
        xargs.closeWriteChannel();
        xargs.waitForFinished(-1);
        seconds = timer.elapsed() / 1000.0;
    }
    state.SetItemsProcessed(state.iterations() * jobs);
    state.counters["files_per_s"] = double(jobs) / seconds;
    // Above 1: the exporter is faster.
    state.counters["ours_vs_rsvg"] = oursSeconds > 0 ? seconds / oursSeconds : 0;
}
BENCHMARK(BM_RsvgConvertPapirusPNG)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

} // namespace
