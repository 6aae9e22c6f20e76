#include "PapirusFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <benchmark/benchmark.h>

const std::vector<QByteArray>& papirusFiles()
{
    static const std::vector<QByteArray> files = [] {
        std::vector<QByteArray> contents;
        QDirIterator it(QStringLiteral("/usr/share/icons/Papirus"), {QStringLiteral("*.svg")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo info = it.nextFileInfo();
            if (info.isSymLink())
                continue;
            QFile file(info.filePath());
            if (file.open(QIODevice::ReadOnly))
                contents.push_back(file.readAll());
        }
        return contents;
    }();
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
