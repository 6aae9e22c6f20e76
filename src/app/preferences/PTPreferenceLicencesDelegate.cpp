#include "app/preferences/PTPreferenceLicencesDelegate.h"

#include "app/preferences/PTPreferenceLicencesModel.h"

#include "ui/theme/PTStyles.h"

#include <QLineEdit>

PTPreferenceLicencesDelegate::PTPreferenceLicencesDelegate(PTPreferenceLicencesModel* model, QObject* parent)
    : QStyledItemDelegate(parent), model_(model)
{
}

QWidget* PTPreferenceLicencesDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                                    const QModelIndex& index) const
{
    auto* editor = new QLineEdit(parent);
    editor->setFrame(false);
    editor->setFont(PTStyles::systemFont(11));
    editor->setPlaceholderText(tr("Not Specified"));
    editor->setAccessibleName(model_->headerData(index.column(), Qt::Horizontal, Qt::DisplayRole).toString());
    editing_.insert(editor, model_->licenceIDAt(index.row()));
    return editor;
}

void PTPreferenceLicencesDelegate::setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const
{
    const auto* field = qobject_cast<QLineEdit*>(editor);
    if (!field || !editing_.contains(editor))
        return;
    lastEdited_ = editing_.value(editor);
    lastEditChanged_ = model_->setValue(lastEdited_, index.column(), field->text());
}

void PTPreferenceLicencesDelegate::destroyEditor(QWidget* editor, const QModelIndex& index) const
{
    editing_.remove(editor);
    QStyledItemDelegate::destroyEditor(editor, index);
}
