#include "browser/grid/PTGridViewAccessibleCell.h"

#include "browser/grid/PTGridView.h"
#include "browser/grid/PTGridViewDataSource.h"

PTGridViewAccessibleCell::PTGridViewAccessibleCell(PTGridView* grid, qint64 gridIndex)
    : grid_(grid)
    , gridIndex_(gridIndex)
{
}

bool PTGridViewAccessibleCell::isValid() const
{
    return grid_ && gridIndex_ >= 0 && gridIndex_ < grid_->geometry().numberOfItems();
}

QAccessibleInterface* PTGridViewAccessibleCell::parent() const
{
    return table();
}

QAccessibleInterface* PTGridViewAccessibleCell::table() const
{
    return grid_ ? QAccessible::queryAccessibleInterface(grid_.data()) : nullptr;
}

QString PTGridViewAccessibleCell::text(QAccessible::Text type) const
{
    if (type != QAccessible::Name || !isValid() || !grid_->dataSource())
        return {};
    return grid_->dataSource()->tooltipForItemAtIndexPath(*grid_, grid_->geometry().indexPathForIndex(gridIndex_));
}

QRect PTGridViewAccessibleCell::rect() const
{
    if (!isValid())
        return {};
    const QRectF frame = grid_->geometry().rectForItemAtIndex(gridIndex_).translated(0, -grid_->visibleRect().y());
    return QRect(grid_->viewport()->mapToGlobal(frame.topLeft().toPoint()), frame.size().toSize());
}

QAccessible::State PTGridViewAccessibleCell::state() const
{
    QAccessible::State state;
    state.selectable = true;
    state.selected = isSelected();
    state.invalid = !isValid();
    return state;
}

void* PTGridViewAccessibleCell::interface_cast(QAccessible::InterfaceType type)
{
    return type == QAccessible::TableCellInterface ? static_cast<QAccessibleTableCellInterface*>(this) : nullptr;
}

bool PTGridViewAccessibleCell::isSelected() const
{
    return isValid() && grid_->selection().contains(gridIndex_);
}

int PTGridViewAccessibleCell::columnIndex() const
{
    return isValid() ? static_cast<int>(grid_->geometry().columnForItemAtIndex(gridIndex_)) : -1;
}

int PTGridViewAccessibleCell::rowIndex() const
{
    return isValid() ? static_cast<int>(grid_->geometry().rowForItemAtIndex(gridIndex_)) : -1;
}
