#include "browser/grid/GridSelection.h"

#include "browser/grid/GridGeometry.h"

#include <algorithm>

void GridSelection::reset(qint64 itemCount)
{
    selected_.assign(static_cast<size_t>(std::max<qint64>(itemCount, 0)), false);
    marqueBaseline.assign(selected_.size(), false);
    count_ = 0;
    anchor = kGridNotFound;
    cursor = kGridNotFound;
}

bool GridSelection::contains(qint64 gridIndex) const
{
    return gridIndex >= 0 && gridIndex < itemCount() && selected_[static_cast<size_t>(gridIndex)];
}

void GridSelection::select(qint64 gridIndex)
{
    if (gridIndex < 0 || gridIndex >= itemCount() || selected_[static_cast<size_t>(gridIndex)])
        return;
    selected_[static_cast<size_t>(gridIndex)] = true;
    ++count_;
}

void GridSelection::deselect(qint64 gridIndex)
{
    if (!contains(gridIndex))
        return;
    selected_[static_cast<size_t>(gridIndex)] = false;
    --count_;
}

void GridSelection::clear()
{
    std::fill(selected_.begin(), selected_.end(), false);
    count_ = 0;
}

void GridSelection::fill()
{
    std::fill(selected_.begin(), selected_.end(), true);
    count_ = itemCount();
}

std::vector<qint64> GridSelection::indexes() const
{
    std::vector<qint64> result;
    result.reserve(static_cast<size_t>(count_));
    for (qint64 i = 0; i < itemCount() && static_cast<qint64>(result.size()) < count_; ++i)
        if (selected_[static_cast<size_t>(i)])
            result.push_back(i);
    return result;
}

qint64 GridSelection::highest() const
{
    for (qint64 i = itemCount() - 1; i >= 0 && count_ > 0; --i)
        if (selected_[static_cast<size_t>(i)])
            return i;
    return kGridNotFound;
}

namespace {

// The global row after (step 1) or before (step -1) an item's row: in its own section when there is one,
// else the nearest row of the next or previous non-empty section; kGridNotFound at either end of the grid.
qint64 neighbourRow(const GridGeometry& geometry, qint64 gridIndex, int step)
{
    const qint64 section = geometry.sectionForItemAtIndex(gridIndex);
    const qint64 row = geometry.rowForItemAtIndex(gridIndex);
    const GridRange own = geometry.rangeOfIndexesInSection(section);
    const qint64 firstRow = geometry.rowForItemAtIndex(own.location);
    const qint64 lastRow = geometry.rowForItemAtIndex(own.end() - 1);
    if ((step > 0 && row < lastRow) || (step < 0 && row > firstRow))
        return row + step;
    for (qint64 s = section + step; s >= 0 && s < geometry.numberOfSections(); s += step) {
        const GridRange range = geometry.rangeOfIndexesInSection(s);
        if (range.length > 0)
            return geometry.rowForItemAtIndex(step > 0 ? range.location : range.end() - 1);
    }
    return kGridNotFound;
}

// The nearest non-empty section after (step 1) or before (step -1) the given one, kGridNotFound when none.
qint64 neighbourSection(const GridGeometry& geometry, qint64 section, int step)
{
    for (qint64 s = section + step; s >= 0 && s < geometry.numberOfSections(); s += step)
        if (geometry.numberOfItemsInSection(s) > 0)
            return s;
    return kGridNotFound;
}

} // namespace

qint64 GridSelection::target(const GridGeometry& geometry, qint64 start, GridDirection direction)
{
    const qint64 items = geometry.numberOfItems();
    if (start < 0 || start >= items)
        return kGridNotFound;
    switch (direction) {
    case GridDirection::Left:
        return start >= 1 ? start - 1 : kGridNotFound;
    case GridDirection::Right:
        return start < items - 1 ? start + 1 : kGridNotFound;
    case GridDirection::Up:
    case GridDirection::Down:
        break;
    }
    const int step = direction == GridDirection::Down ? 1 : -1;
    const qint64 column = geometry.columnForItemAtIndex(start);
    const qint64 section = geometry.sectionForItemAtIndex(start);
    const qint64 row = neighbourRow(geometry, start, step);
    if (const qint64 below = geometry.gridIndexAt(column, row); below != kGridNotFound)
        return below;
    const GridRange own = geometry.rangeOfIndexesInSection(section);
    const qint64 next = neighbourSection(geometry, section, step);
    if (step < 0)
        return next == kGridNotFound ? kGridNotFound : geometry.rangeOfIndexesInSection(next).end() - 1;
    if (start < own.end() - 1)
        return own.end() - 1;
    if (next == kGridNotFound)
        return kGridNotFound;
    const GridRange following = geometry.rangeOfIndexesInSection(next);
    return following.length < own.length ? following.end() - 1 : following.location;
}
