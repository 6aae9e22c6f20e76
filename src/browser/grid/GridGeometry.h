#pragma once

#include "browser/grid/GridIndexPath.h"

#include <QPointF>
#include <QRectF>

#include <utility>
#include <vector>

// Where everything of the grid is, apart from any widget: items numbered in section order (the grid index),
// laid out in rows under optional section headers, y down, section 0 at the top. The count tables come from a
// reload, the frame tables from a frame update; queries are answered by arithmetic on them (binary searches by
// y, then row and column), so their cost follows what they return, not the number of items.
class GridGeometry {
public:
    struct Metrics {
        QSizeF itemSize{50, 50};
        // Outer left and right margin, gap between rows, after a header and after a section's last row.
        qreal itemMargin = 15;
        qreal sectionHeaderHeight = 30;
        bool displaySectionHeaders = true;
    };
    struct Placement {
        // The grid's current frame; its width decides the columns.
        QRectF frame;
        // What the scroll view shows; the proposed frame when there are no items.
        QRectF visibleRect;
        qreal topMargin = 0;
        qreal bottomMargin = 0;
    };

    // Count tables. A negative count is taken as 0.
    void reload(const std::vector<qint64>& counts);
    qint64 numberOfSections() const { return static_cast<qint64>(itemsInSection_.size()); }
    qint64 numberOfItemsInSection(qint64 section) const;
    qint64 numberOfItems() const { return numberOfItems_; }

    // Frame tables for the current counts.
    void updateFrames(const Metrics& metrics, const Placement& placement);
    const Metrics& metrics() const { return metrics_; }

    // Columns that fit a width: floor((width - 2 margins) / (margin + item width)) in single precision, at least 1.
    static qint64 columnsForWidth(qreal width, const Metrics& metrics);
    qint64 numberOfColumns() const { return columns_; }
    // Rows that n items take: at least 1.
    qint64 numberOfRowsForItems(qint64 count) const;
    qint64 numberOfRows() const { return numberOfRows_; }
    // The frame the grid wants, and the size it takes in a viewport: never shorter than the viewport, as wide.
    QRectF proposedFrameRect() const { return proposedFrame_; }
    QSizeF documentSize(const QSizeF& viewport) const;

    // Per grid index; QRectF() / kGridNotFound outside the data.
    QRectF rectForItemAtIndex(qint64 gridIndex) const;
    qint64 sectionForItemAtIndex(qint64 gridIndex) const;
    qint64 sectionIndexForItemAtIndex(qint64 gridIndex) const;
    qint64 columnForItemAtIndex(qint64 gridIndex) const;
    qint64 rowForItemAtIndex(qint64 gridIndex) const;
    // Grid index at a column and global row; kGridNotFound for a slot without an item.
    qint64 gridIndexAt(qint64 column, qint64 row) const;

    GridIndexPath indexPathForIndex(qint64 gridIndex) const;
    qint64 indexForIndexPath(const GridIndexPath& path) const;

    // Per section; QRectF() / an empty range outside the data.
    QRectF sectionFrame(qint64 section) const;
    QRectF rectForSectionHeader(qint64 section) const;
    GridRange rangeOfIndexesInSection(qint64 section) const;

    // Sections whose frames meet the rect.
    GridRange rangeOfSectionsInRect(const QRectF& rect) const;
    // The first unbroken run, in grid order, of items whose frames meet the rect.
    GridRange rangeOfItemsInRect(const QRectF& rect) const;
    // Every item whose frame meets the rect, in grid order.
    std::vector<qint64> indexesOfItemsInRect(const QRectF& rect) const;
    // The item whose frame holds the point; an invalid path in margins and headers.
    GridIndexPath indexPathForPoint(const QPointF& point) const;
    // The section whose frame holds the point, kGridNotFound outside every section.
    qint64 sectionForPoint(const QPointF& point) const;

    // Whether two rectangles overlap: sharing an edge is not enough; a rect without extent meets what it lies
    // strictly inside.
    static bool intersects(const QRectF& a, const QRectF& b);
    // Half-open: the far edges are outside.
    static bool contains(const QRectF& rect, const QPointF& point);

private:
    qint64 rowsInSection(qint64 section) const;
    // The y of a section's row, as its items' frames have it.
    qreal rowTop(qint64 section, qint64 row) const;
    // Columns whose item frames overlap [left, right), as a half-open pair; empty when none.
    std::pair<qint64, qint64> columnsBetween(qreal left, qreal right) const;
    // Rows of a section whose item frames overlap [top, bottom), as a half-open pair.
    std::pair<qint64, qint64> rowsBetween(qint64 section, qreal top, qreal bottom) const;
    bool validIndex(qint64 gridIndex) const { return gridIndex >= 0 && gridIndex < numberOfItems_; }
    bool validSection(qint64 section) const { return section >= 0 && section < numberOfSections(); }

    // Count tables.
    std::vector<qint64> itemsInSection_;
    qint64 numberOfItems_ = 0;
    std::vector<std::pair<quint64, quint64>> indexPathsForIndex_;
    std::vector<std::vector<qint64>> indexForIndexPath_;

    // Frame tables.
    Metrics metrics_;
    std::vector<QRectF> cellFrames_;
    std::vector<qint64> sectionsIndex_;
    std::vector<qint64> numberIndexInSection_;
    std::vector<qint64> columnsIndex_;
    std::vector<qint64> rowIndex_;
    std::vector<QRectF> sectionFrames_;
    std::vector<GridRange> sectionRanges_;
    std::vector<std::vector<qint64>> gridIndexes_; // [column][global row]
    qint64 columns_ = 0;
    qint64 numberOfRows_ = 0;
    QRectF proposedFrame_;

    // What the arithmetic needs: each column's left edge, each section's first row y (before rounding), and per
    // section the largest far edge so far of the items' frames and of the section frames. Rounding can leave an
    // empty section (zero height at its y) a pixel above the end of the one before; the running maximum keeps
    // the binary searches monotone.
    std::vector<qreal> columnLeft_;
    std::vector<qreal> sectionRowsOrigin_;
    std::vector<qreal> sectionItemsBottom_;
    std::vector<qreal> sectionBottomMax_;
    qreal itemWidth_ = 0;
    qreal itemHeight_ = 0;
};
