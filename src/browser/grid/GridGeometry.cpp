#include "browser/grid/GridGeometry.h"

#include "foundation/Rounding.h"

#include <algorithm>
#include <cmath>

namespace {

// The first i in [lo, hi) for which a monotone predicate holds; hi when none does.
template <typename Predicate>
qint64 firstWhere(qint64 lo, qint64 hi, Predicate holds)
{
    while (lo < hi) {
        const qint64 mid = lo + (hi - lo) / 2;
        if (holds(mid))
            hi = mid;
        else
            lo = mid + 1;
    }
    return lo;
}

// Each value raised to the largest before it, so that a search over a section's far edge stays monotone where
// rounding leaves an empty section a little above the end of the one before.
void keepRising(std::vector<qreal>& values)
{
    for (size_t i = 1; i < values.size(); ++i)
        values[i] = std::max(values[i], values[i - 1]);
}

} // namespace

void GridGeometry::reload(const std::vector<qint64>& counts)
{
    itemsInSection_.clear();
    indexPathsForIndex_.clear();
    indexForIndexPath_.clear();
    numberOfItems_ = 0;
    for (qint64 count : counts) {
        itemsInSection_.push_back(std::max<qint64>(count, 0));
        numberOfItems_ += itemsInSection_.back();
    }
    indexPathsForIndex_.reserve(static_cast<size_t>(numberOfItems_));
    indexForIndexPath_.resize(itemsInSection_.size());
    qint64 gridIndex = 0;
    for (size_t section = 0; section < itemsInSection_.size(); ++section) {
        indexForIndexPath_[section].resize(static_cast<size_t>(itemsInSection_[section]));
        for (qint64 index = 0; index < itemsInSection_[section]; ++index) {
            indexPathsForIndex_.emplace_back(section, index);
            indexForIndexPath_[section][static_cast<size_t>(index)] = gridIndex++;
        }
    }
}

qint64 GridGeometry::numberOfItemsInSection(qint64 section) const
{
    return validSection(section) ? itemsInSection_[static_cast<size_t>(section)] : 0;
}

qint64 GridGeometry::columnsForWidth(qreal width, const Metrics& metrics)
{
    const qreal margin = metrics.itemMargin;
    const qreal itemWidth = metrics.itemSize.width();
    if (!(itemWidth >= 1))
        return 1;
    const float columns = std::floor(static_cast<float>((width - 2 * margin) / (margin + itemWidth)));
    return std::isfinite(columns) && columns >= 1 ? static_cast<qint64>(columns) : 1;
}

qint64 GridGeometry::numberOfRowsForItems(qint64 count) const
{
    const qint64 columns = std::max<qint64>(columns_, 1);
    return std::max<qint64>(1, (count + columns - 1) / columns);
}

qint64 GridGeometry::rowsInSection(qint64 section) const
{
    return numberOfRowsForItems(itemsInSection_[static_cast<size_t>(section)]);
}

void GridGeometry::updateFrames(const Metrics& metrics, const Placement& placement)
{
    metrics_ = metrics;
    cellFrames_.clear();
    sectionsIndex_.clear();
    numberIndexInSection_.clear();
    columnsIndex_.clear();
    rowIndex_.clear();
    sectionFrames_.clear();
    sectionRanges_.clear();
    gridIndexes_.clear();
    columnLeft_.clear();
    sectionRowsOrigin_.clear();
    sectionBottomMax_.clear();
    sectionItemsBottom_.clear();
    columns_ = 0;
    numberOfRows_ = 0;
    if (numberOfItems_ == 0) {
        proposedFrame_ = placement.visibleRect;
        return;
    }

    const qreal width = placement.frame.width();
    const qreal margin = metrics.itemMargin;
    const qreal w = metrics.itemSize.width();
    const qreal h = metrics.itemSize.height();
    columns_ = columnsForWidth(width, metrics);
    const qreal firstX = columns_ == 1 ? width / 2 - w / 2 : margin;
    qreal spacing = (width - 2 * margin - static_cast<qreal>(columns_) * w) / static_cast<qreal>(std::max<qint64>(columns_ - 1, 1));
    for (qint64 section = 0; section < numberOfSections(); ++section)
        numberOfRows_ += rowsInSection(section);
    if (numberOfRows_ == 1)
        spacing = margin; // one row is packed from the left
    for (qint64 column = 0; column < columns_; ++column)
        columnLeft_.push_back(std::round(firstX + static_cast<qreal>(column) * (w + spacing)));
    itemWidth_ = std::round(w);
    itemHeight_ = std::round(h);

    const auto items = static_cast<size_t>(numberOfItems_);
    cellFrames_.reserve(items);
    sectionsIndex_.reserve(items);
    numberIndexInSection_.reserve(items);
    columnsIndex_.reserve(items);
    rowIndex_.reserve(items);
    gridIndexes_.assign(static_cast<size_t>(columns_), std::vector<qint64>(static_cast<size_t>(numberOfRows_), kGridNotFound));

    qreal y = placement.topMargin;
    qint64 globalRow = 0;
    const qreal right = std::ceil(width);
    for (qint64 section = 0; section < numberOfSections(); ++section) {
        const qint64 count = itemsInSection_[static_cast<size_t>(section)];
        const qreal top = y;
        const qreal itemsTop = count > 0 && metrics.displaySectionHeaders ? y + metrics.sectionHeaderHeight : y;
        sectionRowsOrigin_.push_back(itemsTop + margin);
        sectionRanges_.push_back({static_cast<qint64>(cellFrames_.size()), count});
        for (qint64 index = 0; index < count; ++index) {
            const qint64 row = index / columns_;
            const qint64 column = index % columns_;
            gridIndexes_[static_cast<size_t>(column)][static_cast<size_t>(globalRow + row)] = static_cast<qint64>(cellFrames_.size());
            cellFrames_.push_back(PTRoundRect(QRectF(firstX + static_cast<qreal>(column) * (w + spacing),
                                                     itemsTop + margin + static_cast<qreal>(row) * (h + margin), w, h)));
            sectionsIndex_.push_back(section);
            numberIndexInSection_.push_back(index);
            columnsIndex_.push_back(column);
            rowIndex_.push_back(globalRow + row);
        }
        globalRow += rowsInSection(section);
        if (count > 0) {
            y = cellFrames_.back().bottom() + margin;
            sectionFrames_.emplace_back(0, std::floor(top), right, std::ceil(y) - std::floor(top));
            sectionItemsBottom_.push_back(cellFrames_.back().bottom());
        } else {
            sectionFrames_.emplace_back(0, std::floor(y), right, 0);
            sectionItemsBottom_.push_back(y);
        }
    }
    keepRising(sectionItemsBottom_);
    for (const QRectF& frame : sectionFrames_)
        sectionBottomMax_.push_back(frame.bottom());
    keepRising(sectionBottomMax_);

    proposedFrame_ = placement.frame;
    proposedFrame_.setHeight(cellFrames_.back().bottom() + margin + placement.bottomMargin);
}

QSizeF GridGeometry::documentSize(const QSizeF& viewport) const
{
    return {viewport.width(), std::max<qreal>(proposedFrame_.height(), static_cast<float>(viewport.height()))};
}

QRectF GridGeometry::rectForItemAtIndex(qint64 gridIndex) const
{
    return validIndex(gridIndex) && !cellFrames_.empty() ? cellFrames_[static_cast<size_t>(gridIndex)] : QRectF();
}

qint64 GridGeometry::sectionForItemAtIndex(qint64 gridIndex) const
{
    return validIndex(gridIndex) && !sectionsIndex_.empty() ? sectionsIndex_[static_cast<size_t>(gridIndex)] : kGridNotFound;
}

qint64 GridGeometry::sectionIndexForItemAtIndex(qint64 gridIndex) const
{
    return validIndex(gridIndex) && !numberIndexInSection_.empty() ? numberIndexInSection_[static_cast<size_t>(gridIndex)]
                                                                   : kGridNotFound;
}

qint64 GridGeometry::columnForItemAtIndex(qint64 gridIndex) const
{
    return validIndex(gridIndex) && !columnsIndex_.empty() ? columnsIndex_[static_cast<size_t>(gridIndex)] : kGridNotFound;
}

qint64 GridGeometry::rowForItemAtIndex(qint64 gridIndex) const
{
    return validIndex(gridIndex) && !rowIndex_.empty() ? rowIndex_[static_cast<size_t>(gridIndex)] : kGridNotFound;
}

qint64 GridGeometry::gridIndexAt(qint64 column, qint64 row) const
{
    if (column < 0 || column >= columns_ || row < 0 || row >= numberOfRows_)
        return kGridNotFound;
    return gridIndexes_[static_cast<size_t>(column)][static_cast<size_t>(row)];
}

GridIndexPath GridGeometry::indexPathForIndex(qint64 gridIndex) const
{
    if (!validIndex(gridIndex))
        return {};
    const auto& [section, index] = indexPathsForIndex_[static_cast<size_t>(gridIndex)];
    return {static_cast<qint64>(section), static_cast<qint64>(index)};
}

qint64 GridGeometry::indexForIndexPath(const GridIndexPath& path) const
{
    if (!validSection(path.section) || path.index < 0 || path.index >= numberOfItemsInSection(path.section))
        return kGridNotFound;
    return indexForIndexPath_[static_cast<size_t>(path.section)][static_cast<size_t>(path.index)];
}

QRectF GridGeometry::sectionFrame(qint64 section) const
{
    return section >= 0 && section < static_cast<qint64>(sectionFrames_.size()) ? sectionFrames_[static_cast<size_t>(section)]
                                                                                : QRectF();
}

QRectF GridGeometry::rectForSectionHeader(qint64 section) const
{
    const QRectF frame = sectionFrame(section);
    return {frame.x(), frame.y(), frame.width(), metrics_.sectionHeaderHeight};
}

GridRange GridGeometry::rangeOfIndexesInSection(qint64 section) const
{
    return section >= 0 && section < static_cast<qint64>(sectionRanges_.size()) ? sectionRanges_[static_cast<size_t>(section)]
                                                                                : GridRange();
}

bool GridGeometry::intersects(const QRectF& a, const QRectF& b)
{
    return a.left() < b.right() && b.left() < a.right() && a.top() < b.bottom() && b.top() < a.bottom();
}

bool GridGeometry::contains(const QRectF& rect, const QPointF& point)
{
    return point.x() >= rect.left() && point.x() < rect.right() && point.y() >= rect.top() && point.y() < rect.bottom();
}

qreal GridGeometry::rowTop(qint64 section, qint64 row) const
{
    const qreal h = metrics_.itemSize.height();
    return std::round(sectionRowsOrigin_[static_cast<size_t>(section)] + static_cast<qreal>(row) * (h + metrics_.itemMargin));
}

std::pair<qint64, qint64> GridGeometry::columnsBetween(qreal left, qreal right) const
{
    const qint64 first = firstWhere(0, columns_, [&](qint64 c) { return columnLeft_[static_cast<size_t>(c)] + itemWidth_ > left; });
    const qint64 end = firstWhere(first, columns_, [&](qint64 c) { return columnLeft_[static_cast<size_t>(c)] >= right; });
    return {first, end};
}

std::pair<qint64, qint64> GridGeometry::rowsBetween(qint64 section, qreal top, qreal bottom) const
{
    const qint64 rows = rowsInSection(section);
    const qint64 first = firstWhere(0, rows, [&](qint64 r) { return rowTop(section, r) + itemHeight_ > top; });
    const qint64 end = firstWhere(first, rows, [&](qint64 r) { return rowTop(section, r) >= bottom; });
    return {first, end};
}

GridRange GridGeometry::rangeOfSectionsInRect(const QRectF& rect) const
{
    const auto sections = static_cast<qint64>(sectionFrames_.size());
    if (sections == 0 || !(rect.left() < sectionFrames_[0].right() && 0 < rect.right()))
        return {};
    const auto frame = [&](qint64 s) -> const QRectF& { return sectionFrames_[static_cast<size_t>(s)]; };
    const qint64 first = firstWhere(0, sections, [&](qint64 s) { return sectionBottomMax_[static_cast<size_t>(s)] > rect.top(); });
    if (first == sections || !intersects(frame(first), rect))
        return {};
    qint64 last = firstWhere(first, sections, [&](qint64 s) { return frame(s).top() >= rect.bottom(); }) - 1;
    while (last > first && !intersects(frame(last), rect))
        --last;
    return {first, last - first + 1};
}

GridRange GridGeometry::rangeOfItemsInRect(const QRectF& rect) const
{
    const GridRange sections = rangeOfSectionsInRect(rect);
    const auto [firstColumn, endColumn] = columnsBetween(rect.left(), rect.right());
    if (sections.length == 0 || firstColumn == endColumn)
        return {};
    qint64 first = kGridNotFound;
    for (qint64 section = sections.location; section < sections.end() && first == kGridNotFound; ++section) {
        const GridRange items = sectionRanges_[static_cast<size_t>(section)];
        const auto [firstRow, endRow] = rowsBetween(section, rect.top(), rect.bottom());
        // Only a section's last row can be short; a row without an item in the first column goes on to the next.
        for (qint64 row = firstRow; row < endRow && items.length > 0; ++row) {
            if (row * columns_ + firstColumn < items.length) {
                first = items.location + row * columns_ + firstColumn;
                break;
            }
        }
    }
    if (first == kGridNotFound)
        return {};
    const qint64 end = sectionRanges_[static_cast<size_t>(sections.end() - 1)].end();
    qint64 last = first;
    while (last + 1 < end && intersects(cellFrames_[static_cast<size_t>(last + 1)], rect))
        ++last;
    return {first, last - first + 1};
}

std::vector<qint64> GridGeometry::indexesOfItemsInRect(const QRectF& rect) const
{
    std::vector<qint64> indexes;
    const GridRange sections = rangeOfSectionsInRect(rect);
    const auto [firstColumn, endColumn] = columnsBetween(rect.left(), rect.right());
    if (firstColumn == endColumn)
        return indexes;
    for (qint64 section = sections.location; section < sections.end(); ++section) {
        const GridRange items = sectionRanges_[static_cast<size_t>(section)];
        if (items.length == 0)
            continue;
        const auto [firstRow, endRow] = rowsBetween(section, rect.top(), rect.bottom());
        for (qint64 row = firstRow; row < endRow; ++row) {
            const qint64 inRow = std::min(columns_, items.length - row * columns_);
            for (qint64 column = firstColumn; column < std::min(endColumn, inRow); ++column)
                indexes.push_back(items.location + row * columns_ + column);
        }
    }
    return indexes;
}

GridIndexPath GridGeometry::indexPathForPoint(const QPointF& point) const
{
    const auto sections = static_cast<qint64>(sectionItemsBottom_.size());
    const qint64 section = firstWhere(0, sections, [&](qint64 s) { return sectionItemsBottom_[static_cast<size_t>(s)] > point.y(); });
    if (section == sections || numberOfItemsInSection(section) == 0)
        return {};
    const qint64 row = firstWhere(0, rowsInSection(section), [&](qint64 r) { return rowTop(section, r) + itemHeight_ > point.y(); });
    const qint64 column = firstWhere(0, columns_, [&](qint64 c) { return columnLeft_[static_cast<size_t>(c)] + itemWidth_ > point.x(); });
    const qint64 index = row * columns_ + column;
    if (row == rowsInSection(section) || column == columns_ || index >= numberOfItemsInSection(section))
        return {};
    const qint64 gridIndex = sectionRanges_[static_cast<size_t>(section)].location + index;
    return contains(cellFrames_[static_cast<size_t>(gridIndex)], point) ? GridIndexPath{section, index} : GridIndexPath();
}

qint64 GridGeometry::sectionForPoint(const QPointF& point) const
{
    const auto sections = static_cast<qint64>(sectionFrames_.size());
    const qint64 section = firstWhere(0, sections, [&](qint64 s) { return sectionBottomMax_[static_cast<size_t>(s)] > point.y(); });
    return section < sections && contains(sectionFrames_[static_cast<size_t>(section)], point) ? section : kGridNotFound;
}
