#pragma once

#include <QPersistentModelIndex>
#include <QTreeView>

#include <functional>

class PTSourceListItem;
class PTSourceListModel;
class QMenu;

// The outline of the source list: rows drawn as one rounded block per run of selected rows, three dots on the
// hovered group or set row that open its menu without selecting it, inline renaming on a double click, and the
// rules for what a Ctrl-click or Shift+arrow may add to the selection.
class PTSourceListView : public QTreeView {
    Q_OBJECT
public:
    // Asked for the menu of a row (null: empty space or a row without an object); allowDefault is false for the
    // dots, which then open nothing for rows without a menu of their own.
    using MenuProvider = std::function<QMenu*(PTSourceListItem* item, bool allowDefault)>;

    static constexpr int Indentation = 13;

    explicit PTSourceListView(QWidget* parent = nullptr);
    void setMenuProvider(MenuProvider provider) { menus_ = std::move(provider); }
    PTSourceListModel* listModel() const;
    PTSourceListItem* itemAt(const QModelIndex& index) const;

    // Whether a key press is being handled (a selection change from the keyboard waits longer to settle).
    bool handlingKey() const { return handlingKey_; }
    bool isEditingRow(const QModelIndex& index) const
    {
        return state() == QAbstractItemView::EditingState && currentIndex() == index;
    }
    // Ends a rename under way, keeping the typed text.
    void endEditing();
    // The row whose menu is open from its dots; the row shows the menu highlight meanwhile.
    QModelIndex menuRow() const { return menuRow_; }
    QModelIndex hoveredRow() const { return hovered_; }
    // The dots' rectangle in row coordinates (width w, height h): the click target that opens the row's menu.
    static QRect contextualMenuClickRect(int width, int height) { return QRect(width - 38, 5, 28, height - 10); }
    bool showsDots(const QModelIndex& index) const;
    // Opens the row's menu at its dots, as a click there does.
    void openMenuForRow(const QModelIndex& index);
    // The menu of a right click at the point, or null (none while a sheet is attached to the window).
    QMenu* menuAt(const QPoint& viewportPoint);

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event = nullptr) const override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const override;

private:
    bool isRowSelected(const QModelIndex& index) const;
    void setHovered(const QModelIndex& index);

    MenuProvider menus_;
    bool handlingKey_ = false;
    QPersistentModelIndex hovered_;
    QPersistentModelIndex menuRow_;
};
