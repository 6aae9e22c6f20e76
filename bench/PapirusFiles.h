#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

namespace benchmark {
class State;
}

// The bytes of every SVG icon of papirus-icon-theme (symbolic links skipped), read once into memory so that no
// benchmark pays for the disk. Empty when the theme is not installed.
const std::vector<QByteArray>& papirusFiles();
// The same of the theme's symbolic icons only.
const std::vector<QByteArray>& papirusSymbolicFiles();
// Items (files) and bytes processed per iteration, and the file count.
void reportThroughput(benchmark::State& state, const std::vector<QByteArray>& files);
// The yardstick of the library benchmarks: times `cp -r` of the folder to the destination, which is removed
// again outside the timing, and reports `items` items per iteration.
void copyWithCpR(benchmark::State& state, const QString& folder, const QString& destination, qint64 items);
