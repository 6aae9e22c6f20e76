#pragma once

#include <QByteArray>

#include <vector>

class PTCollection;
class PTItem;

// Item number n of a benchmark library, in the set's context: "Icon <n>" with its file "icon-<n>.svg" in the
// set's folder, holding one of the papirus icons (or 4 KB when the theme is missing).
PTItem* makeBenchItem(PTCollection* set, int n);
// The same with file n of the given contents, taken round (4 KB when there are none).
PTItem* makeBenchItem(PTCollection* set, int n, const std::vector<QByteArray>& files);
