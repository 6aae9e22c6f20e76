#pragma once

#include <QImage>
#include <QStyledItemDelegate>

class PTSourceListItem;

// Draws a row's icon and title in the header, row or selected style, and edits a name in a frameless field.
// Escape ends a rename as Return does, keeping the typed text.
class PTSourceListDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit PTSourceListDelegate(QObject* parent = nullptr);

    // Recolours the row icons for the current theme: a tinted and a white (selected) variant each.
    void redisplay();
    QImage imageFor(const PTSourceListItem* item, bool selected) const;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // The field starts with the whole name selected, so typing replaces it.
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    enum Icon { All, Group, Set, Miscellaneous, IconCount };
    QImage images_[IconCount][2];
};
