#pragma once

#include "platform/store/ObjectID.h"

#include <QAbstractTableModel>
#include <QVector>

class PTLicence;

// The licences of the main context as a table of name, web address and text, sorted by name or address. Rows
// are keyed by licence: a reload that keeps the same licences moves rows (and an open editor) with their
// licence instead of resetting the table.
class PTPreferenceLicencesModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { NameColumn = 0, URLColumn = 1, TextColumn = 2, ColumnCount = 3 };

    explicit PTPreferenceLicencesModel(QObject* parent = nullptr);

    // Fetches the licences again and sorts them.
    void reload();
    PTLicence* licenceAt(int row) const;
    pt::store::ObjectID licenceIDAt(int row) const;
    int rowOf(const pt::store::ObjectID& id) const;
    // Stores trimmed text in the column's attribute of that licence, wherever its row is now; answers whether
    // the value changed.
    bool setValue(const pt::store::ObjectID& id, int column, const QString& text);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // Only the name and address columns sort; another column keeps the order.
    void sort(int column, Qt::SortOrder order) override;

private:
    QVector<pt::store::ObjectID> sortedIDs() const;

    QVector<pt::store::ObjectID> ids_;
    int sortColumn_ = NameColumn;
    Qt::SortOrder order_ = Qt::AscendingOrder;
};
