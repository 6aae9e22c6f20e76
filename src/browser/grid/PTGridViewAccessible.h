#pragma once

#include <QAccessibleWidget>
#include <QHash>

class PTGridView;

// The grid to assistive technology: a table of global rows and columns whose cells are the items, made when
// asked, named by the data source's tooltip and selected with the grid's selection.
class PTGridViewAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit PTGridViewAccessible(PTGridView* grid);
    ~PTGridViewAccessible() override;
    // Makes grids accessible; once, whenever a grid is made.
    static void installFactory();

    void* interface_cast(QAccessible::InterfaceType type) override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override;
    QList<QAccessibleInterface*> selectedCells() const override;
    QString columnDescription(int) const override { return {}; }
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override;
    int rowCount() const override;
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    // A reload: the cells made so far are gone.
    void modelChange(QAccessibleTableModelChangeEvent* event) override;

    PTGridView* grid() const;

private:
    QAccessibleInterface* cellForIndex(qint64 gridIndex) const;
    void dropCells();

    mutable QHash<qint64, QAccessible::Id> cells_;
};
