#pragma once

#include "platform/store/ObjectID.h"

#include <QHash>
#include <QStyledItemDelegate>

class PTPreferenceLicencesModel;

// Edits licence cells in a field that shows "Not Specified" when empty. An edit is written to the licence it
// started on, however the rows have moved since.
class PTPreferenceLicencesDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit PTPreferenceLicencesDelegate(PTPreferenceLicencesModel* model, QObject* parent = nullptr);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;
    // The licence of the last edit written, and whether it changed anything.
    pt::store::ObjectID lastEditedLicence() const { return lastEdited_; }
    bool lastEditChanged() const { return lastEditChanged_; }

private:
    PTPreferenceLicencesModel* model_;
    mutable QHash<const QWidget*, pt::store::ObjectID> editing_;
    mutable pt::store::ObjectID lastEdited_;
    mutable bool lastEditChanged_ = false;
};
