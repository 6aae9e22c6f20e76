#include "browser/grid/PTGridViewAccessible.h"

#include "browser/grid/PTGridView.h"
#include "browser/grid/PTGridViewAccessibleCell.h"

namespace {

QAccessibleInterface* gridFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("PTGridView") && object && object->isWidgetType())
        return new PTGridViewAccessible(static_cast<PTGridView*>(object));
    return nullptr;
}

} // namespace

PTGridViewAccessible::PTGridViewAccessible(PTGridView* grid)
    : QAccessibleWidget(grid, QAccessible::Table)
{
}

PTGridViewAccessible::~PTGridViewAccessible()
{
    dropCells();
}

void PTGridViewAccessible::installFactory()
{
    static const bool installed = [] {
        QAccessible::installFactory(gridFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

PTGridView* PTGridViewAccessible::grid() const
{
    return static_cast<PTGridView*>(widget());
}

void* PTGridViewAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

int PTGridViewAccessible::childCount() const
{
    return static_cast<int>(grid()->geometry().numberOfItems());
}

QAccessibleInterface* PTGridViewAccessible::child(int index) const
{
    return index >= 0 && index < childCount() ? cellForIndex(index) : nullptr;
}

int PTGridViewAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    const QAccessible::Id id = QAccessible::uniqueId(const_cast<QAccessibleInterface*>(child));
    const qint64 index = cells_.key(id, -1);
    return static_cast<int>(index);
}

QAccessibleInterface* PTGridViewAccessible::childAt(int x, int y) const
{
    const QPoint local = grid()->viewport()->mapFromGlobal(QPoint(x, y));
    const qint64 index = grid()->geometry().indexForIndexPath(
        grid()->geometry().indexPathForPoint(QPointF(local) + QPointF(0, grid()->visibleRect().y())));
    return index == kGridNotFound ? nullptr : cellForIndex(index);
}

QAccessibleInterface* PTGridViewAccessible::cellAt(int row, int column) const
{
    const qint64 index = grid()->geometry().gridIndexAt(column, row);
    return index == kGridNotFound ? nullptr : cellForIndex(index);
}

int PTGridViewAccessible::selectedCellCount() const
{
    return static_cast<int>(grid()->selection().count());
}

QList<QAccessibleInterface*> PTGridViewAccessible::selectedCells() const
{
    QList<QAccessibleInterface*> cells;
    for (qint64 index : grid()->selection().indexes())
        cells.push_back(cellForIndex(index));
    return cells;
}

int PTGridViewAccessible::columnCount() const
{
    return static_cast<int>(grid()->geometry().numberOfColumns());
}

int PTGridViewAccessible::rowCount() const
{
    return static_cast<int>(grid()->geometry().numberOfRows());
}

void PTGridViewAccessible::modelChange(QAccessibleTableModelChangeEvent*)
{
    dropCells();
}

QAccessibleInterface* PTGridViewAccessible::cellForIndex(qint64 gridIndex) const
{
    if (const auto id = cells_.constFind(gridIndex); id != cells_.constEnd())
        return QAccessible::accessibleInterface(*id);
    auto* cell = new PTGridViewAccessibleCell(grid(), gridIndex);
    cells_.insert(gridIndex, QAccessible::registerAccessibleInterface(cell));
    return cell;
}

void PTGridViewAccessible::dropCells()
{
    for (const QAccessible::Id id : std::as_const(cells_))
        QAccessible::deleteAccessibleInterface(id);
    cells_.clear();
}
