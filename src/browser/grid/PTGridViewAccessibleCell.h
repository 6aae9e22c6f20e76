#pragma once

#include <QAccessibleInterface>
#include <QPointer>

class PTGridView;

// One item of the grid as a table cell: its row and column, its name from the data source's tooltip, and
// whether it is selected.
class PTGridViewAccessibleCell : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    PTGridViewAccessibleCell(PTGridView* grid, qint64 gridIndex);

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text type) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    bool isSelected() const override;
    int columnExtent() const override { return 1; }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    int columnIndex() const override;
    int rowExtent() const override { return 1; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int rowIndex() const override;
    QAccessibleInterface* table() const override;

private:
    QPointer<PTGridView> grid_;
    qint64 gridIndex_;
};
