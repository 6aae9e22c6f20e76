#pragma once

#include <QByteArray>

#include <vector>

namespace benchmark {
class State;
}

// The bytes of every SVG icon of papirus-icon-theme (symbolic links skipped), read once into memory so that no
// benchmark pays for the disk. Empty when the theme is not installed.
const std::vector<QByteArray>& papirusFiles();
// Items (files) and bytes processed per iteration, and the file count.
void reportThroughput(benchmark::State& state, const std::vector<QByteArray>& files);
