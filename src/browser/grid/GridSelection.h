#pragma once

#include "browser/grid/GridIndexPath.h"

#include <vector>

class GridGeometry;

// Arrow-key directions.
enum class GridDirection { Up, Down, Left, Right };

// The grid's selection as bits over grid indexes (select-all is a fill), with the anchor Shift ranges run from,
// the keyboard cursor, and the baseline a modifier marquee toggles against.
class GridSelection {
public:
    // Empties everything for a grid of the given size.
    void reset(qint64 itemCount);
    qint64 itemCount() const { return static_cast<qint64>(selected_.size()); }

    bool contains(qint64 gridIndex) const;
    // Indexes outside the grid are ignored.
    void select(qint64 gridIndex);
    void deselect(qint64 gridIndex);
    void clear();
    void fill();
    qint64 count() const { return count_; }
    // Ascending.
    std::vector<qint64> indexes() const;
    // The highest selected index, kGridNotFound when none is.
    qint64 highest() const;

    qint64 anchor = kGridNotFound;
    qint64 cursor = kGridNotFound;
    std::vector<bool> marqueBaseline;

    // Where an arrow key goes from an item; kGridNotFound where it cannot. Up and Down keep the column across
    // rows and sections; empty sections are passed over.
    static qint64 target(const GridGeometry& geometry, qint64 start, GridDirection direction);

private:
    std::vector<bool> selected_;
    qint64 count_ = 0;
};
