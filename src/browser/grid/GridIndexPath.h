#pragma once

#include <QHashFunctions>
#include <QtGlobal>

#include <limits>

// "No such index" of the grid's tables and answers.
inline constexpr qint64 kGridNotFound = std::numeric_limits<qint64>::max();

// An item of the grid: its section and its index inside the section. A section header is keyed by the section
// alone, with index kGridNotFound.
struct GridIndexPath {
    qint64 section = kGridNotFound;
    qint64 index = kGridNotFound;

    static GridIndexPath header(qint64 section) { return {section, kGridNotFound}; }
    bool isHeader() const { return index == kGridNotFound; }
    bool isValid() const { return section != kGridNotFound; }
    friend bool operator==(const GridIndexPath&, const GridIndexPath&) = default;
};

inline size_t qHash(const GridIndexPath& path, size_t seed = 0)
{
    return qHashMulti(seed, path.section, path.index);
}

// A run of grid indexes or sections; location kGridNotFound with length 0 when empty.
struct GridRange {
    qint64 location = kGridNotFound;
    qint64 length = 0;

    qint64 end() const { return location + length; }
    friend bool operator==(const GridRange&, const GridRange&) = default;
};
