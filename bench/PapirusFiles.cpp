#include "PapirusFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <benchmark/benchmark.h>

namespace {

std::vector<QByteArray> readSVGFiles(const QString& folder)
{
    std::vector<QByteArray> contents;
    QDirIterator it(folder, {QStringLiteral("*.svg")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info = it.nextFileInfo();
        if (info.isSymLink())
            continue;
        QFile file(info.filePath());
        if (file.open(QIODevice::ReadOnly))
            contents.push_back(file.readAll());
    }
    return contents;
}

} // namespace

const std::vector<QByteArray>& papirusFiles()
{
    static const std::vector<QByteArray> files = readSVGFiles(QStringLiteral("/usr/share/icons/Papirus"));
    return files;
}

const std::vector<QByteArray>& papirusSymbolicFiles()
{
    static const std::vector<QByteArray> files = readSVGFiles(QStringLiteral("/usr/share/icons/Papirus/symbolic"));
    return files;
}

void reportThroughput(benchmark::State& state, const std::vector<QByteArray>& files)
{
    qint64 bytes = 0;
    for (const auto& file : files)
        bytes += file.size();
    state.SetItemsProcessed(state.iterations() * qint64(files.size()));
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["files"] = double(files.size());
}

void copyWithCpR(benchmark::State& state, const QString& folder, const QString& destination, qint64 items)
{
    for (auto _ : state) {
        if (QProcess::execute("cp", {"-r", folder, destination}) != 0)
            state.SkipWithError("cp failed");
        state.PauseTiming();
        QDir(destination).removeRecursively();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * items);
}
