#include "sidebar/PTSourceListView.h"

#include "browser/PTBrowserTransfer.h"
#include "foundation/ColorPrivate.h"
#include "foundation/MCAdditions.h"
#include "platform/ui/SheetHost.h"
#include "sidebar/PTSourceListModel.h"
#include "ui/theme/PTStyles.h"
#include "ui/theme/PTThemeController.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

#include <memory>

PTSourceListView::PTSourceListView(QWidget* parent)
    : QTreeView(parent)
{
    header()->hide();
    setIndentation(Indentation);
    setRootIsDecorated(true);
    setUniformRowHeights(false);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    setFrameShape(QFrame::NoFrame);
    setMouseTracking(true);
    setExpandsOnDoubleClick(false);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
    setAccessibleName(tr("Sets and groups"));
    // Rows draw their own selection shape; the style's highlight stays out of the way.
    QPalette colours = palette();
    colours.setColor(QPalette::Highlight, Qt::transparent);
    colours.setColor(QPalette::HighlightedText, Qt::white);
    setPalette(colours);
}

PTSourceListModel* PTSourceListView::listModel() const
{
    return static_cast<PTSourceListModel*>(model());
}

PTSourceListItem* PTSourceListView::itemAt(const QModelIndex& index) const
{
    return model() ? listModel()->itemForIndex(index) : nullptr;
}

bool PTSourceListView::showsDots(const QModelIndex& index) const
{
    const PTSourceListItem* item = itemAt(index);
    return item && item->isObject();
}

QItemSelectionModel::SelectionFlags PTSourceListView::selectionCommand(const QModelIndex& index,
                                                                         const QEvent* event) const
{
    const PTSourceListItem* item = itemAt(index);
    if (!item || !item->isSelectable())
        return QItemSelectionModel::NoUpdate;
    bool extending = false;
    bool click = false;
    if (event && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease)) {
        click = true;
        extending = static_cast<const QMouseEvent*>(event)->modifiers() & Qt::ControlModifier;
    } else if (event && (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        extending = static_cast<const QKeyEvent*>(event)->modifiers() & Qt::ShiftModifier;
    }
    if (extending) {
        // Only groups and ordinary sets join a selection; "All" and Miscellaneous stand alone.
        if (!item->isObject() || item->isMiscellaneous())
            return QItemSelectionModel::NoUpdate;
        // A Ctrl-click never takes away the last selected row.
        if (click && selectionModel()->isSelected(index) && selectionModel()->selectedRows().size() == 1)
            return QItemSelectionModel::NoUpdate;
    }
    return QTreeView::selectionCommand(index, event);
}

void PTSourceListView::keyPressEvent(QKeyEvent* event)
{
    handlingKey_ = true;
    QTreeView::keyPressEvent(event);
    handlingKey_ = false;
}

void PTSourceListView::mousePressEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    const QModelIndex index = indexAt(point);
    // A click on empty space keeps the selection.
    if (!index.isValid())
        return;
    if (event->button() == Qt::LeftButton && showsDots(index)) {
        const QRect row = visualRect(index);
        if (contextualMenuClickRect(viewport()->width(), row.height()).translated(0, row.top()).contains(point)) {
            openMenuForRow(index);
            return;
        }
    }
    QTreeView::mousePressEvent(event);
}

void PTSourceListView::endEditing()
{
    if (state() != QAbstractItemView::EditingState)
        return;
    // The open editor is the focus widget inside the viewport.
    QWidget* editor = QApplication::focusWidget();
    if (editor && viewport()->isAncestorOf(editor)) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void PTSourceListView::openMenuForRow(const QModelIndex& index)
{
    if (!menus_ || pt::SheetHost::attachedSheet(window()))
        return;
    std::unique_ptr<QMenu> menu(menus_(itemAt(index), false));
    if (!menu)
        return;
    menuRow_ = index;
    viewport()->update();
    const QRect row = visualRect(index);
    menu->exec(viewport()->mapToGlobal(QPoint(viewport()->width() - 38, row.bottom())));
    menuRow_ = QPersistentModelIndex();
    viewport()->update();
}

QMenu* PTSourceListView::menuAt(const QPoint& viewportPoint)
{
    if (!menus_ || pt::SheetHost::attachedSheet(window()))
        return nullptr;
    return menus_(itemAt(indexAt(viewportPoint)), true);
}

void PTSourceListView::contextMenuEvent(QContextMenuEvent* event)
{
    std::unique_ptr<QMenu> menu(menuAt(viewport()->mapFromGlobal(event->globalPos())));
    if (menu)
        menu->exec(event->globalPos());
}

namespace {

// Grid drags offer copy only, so the drop decides: Alt copies, anything else moves.
void chooseDropAction(QDropEvent* event)
{
    const Qt::DropAction action = event->modifiers() & Qt::AltModifier ? Qt::CopyAction : Qt::MoveAction;
    event->setDropAction(action);
}

} // namespace

void PTSourceListView::dragEnterEvent(QDragEnterEvent* event)
{
    if (PTBrowserTransfer::isDragOutOnly(event->source())) {
        event->ignore();
        return;
    }
    QTreeView::dragEnterEvent(event);
}

void PTSourceListView::dragMoveEvent(QDragMoveEvent* event)
{
    if (PTBrowserTransfer::isDragOutOnly(event->source())) {
        event->ignore();
        return;
    }
    QTreeView::dragMoveEvent(event);
    if (event->isAccepted())
        chooseDropAction(event);
}

void PTSourceListView::dropEvent(QDropEvent* event)
{
    if (PTBrowserTransfer::isDragOutOnly(event->source())) {
        event->ignore();
        return;
    }
    chooseDropAction(event);
    QTreeView::dropEvent(event);
}

void PTSourceListView::mouseMoveEvent(QMouseEvent* event)
{
    setHovered(indexAt(event->position().toPoint()));
    QTreeView::mouseMoveEvent(event);
}

void PTSourceListView::leaveEvent(QEvent* event)
{
    setHovered({});
    QTreeView::leaveEvent(event);
}

void PTSourceListView::setHovered(const QModelIndex& index)
{
    if (index == hovered_)
        return;
    hovered_ = index;
    viewport()->update();
}

bool PTSourceListView::isRowSelected(const QModelIndex& index) const
{
    return index.isValid() && selectionModel() && selectionModel()->isSelected(index);
}

void PTSourceListView::drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QRectF row(0, option.rect.y(), viewport()->width(), option.rect.height());
    const QRectF inset = row.adjusted(5, 0, -5, 0);
    const bool dark = PTThemeIsAppearance(0);
    const bool selected = isRowSelected(index);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    if (selected) {
        // Runs of selected rows join into one shape: no rounding toward a selected neighbour.
        const qreal top = isRowSelected(indexAbove(index)) ? 0 : 3;
        const qreal bottom = isRowSelected(indexBelow(index)) ? 0 : 3;
        const bool focused = isActiveWindow() && hasFocus();
        painter->fillPath(MCAdditions::bezierPathWithRoundRect(inset, top, top, bottom, bottom),
                          focused ? PTStyles::defaultBlue() : colorPrivate::colorFromHEX(0x888888, 1));
    } else if (index == menuRow_) {
        painter->fillPath(MCAdditions::bezierPathWithRoundRect(inset, 3),
                          colorPrivate::colorFromHEX(dark ? 0x3B393A : 0xE3E9F4, 1));
    }
    painter->restore();
    QTreeView::drawRow(painter, option, index);
    if (index == hovered_ && showsDots(index)) {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        painter->setBrush(selected || dark ? QColor(Qt::white) : colorPrivate::colorFromHEX(0x555555, 1));
        const qreal y = row.y() + row.height() / 2 - 2;
        for (int i = 0; i < 3; ++i)
            painter->drawEllipse(QRectF(row.width() - 33 + 6 * i, y, 4, 4));
        painter->restore();
    }
}

void PTSourceListView::drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const
{
    const PTSourceListItem* item = itemAt(index);
    if (!item || !item->isGroupObject())
        return;
    // A small chevron in the last indentation step: right when closed, down when open.
    // Kept clear of the rounded selection shape that starts 5 points into the row.
    const QPointF centre(rect.right() - 1.5, rect.center().y() + 0.5);
    QPainterPath arrow;
    if (isExpanded(index)) {
        arrow.moveTo(centre + QPointF(-3.5, -1.5));
        arrow.lineTo(centre + QPointF(0, 2));
        arrow.lineTo(centre + QPointF(3.5, -1.5));
    } else {
        arrow.moveTo(centre + QPointF(-1.5, -3.5));
        arrow.lineTo(centre + QPointF(2, 0));
        arrow.lineTo(centre + QPointF(-1.5, 3.5));
    }
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    const QColor colour = isRowSelected(index) ? QColor(Qt::white)
                                                : colorPrivate::colorFromHEX(PTThemeIsAppearance(0) ? 0xAEB0B1 : 0x7A7A7A, 1);
    painter->setPen(QPen(colour, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter->drawPath(arrow);
    painter->restore();
}
