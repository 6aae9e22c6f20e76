#pragma once

#include "browser/grid/CellAnimator.h"
#include "browser/grid/GridClock.h"
#include "browser/grid/GridGeometry.h"
#include "browser/grid/GridSelection.h"
#include "browser/grid/PTGridViewDrawingState.h"
#include "platform/store/ObjectID.h"
#include "platform/ui/CommandHandler.h"
#include "ui/theme/PTAppearanceObserver.h"
#include "ui/views/PTScrollView.h"

#include <QHash>
#include <QPixmap>
#include <QPointer>

#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

class PTGridViewCell;
class PTGridViewDataSource;
class QWindow;

// The icon grid: the items of one data source in sections under sticky headers, drawn as retained cells that
// the viewport paints in z order. Only the visible items have cells; cells that scroll away go to a pool by
// reuse identifier, and an item keeps its cell while it stays in view, so a reload glides staying cells to their
// new places, grows new ones in and shrinks leaving ones away.
class PTGridView : public PTScrollView, public pt::CommandHandler {
    Q_OBJECT
public:
    // The edit commands the grid answers itself.
    static const QString CopyCommand;      // "copy:"
    static const QString DeleteCommand;    // "delete:"
    static const QString RenameCommand;    // "rename:"
    static const QString SelectAllCommand; // "selectAll:"

    // Header cells stay above items; cells leaving after a reload below them.
    static constexpr qreal HeaderZPosition = 2147483645;
    static constexpr qreal LeavingZPosition = -1;

    explicit PTGridView(QWidget* parent = nullptr, GridClock& clock = GridClock::system());
    ~PTGridView() override;

    // Not owned. Reloads.
    void setDataSource(PTGridViewDataSource* dataSource);
    PTGridViewDataSource* dataSource() const { return dataSource_; }
    const GridGeometry& geometry() const { return geometry_; }
    CellAnimator& animator() { return animator_; }
    GridClock& clock() const { return clock_; }

    QSizeF itemSize() const { return metrics_.itemSize; }
    // Made integral outwards, then offered to the data source; a live grid resize around the change.
    void setItemSize(const QSizeF& size);
    void updateItemSize();
    qreal itemMargin() const { return metrics_.itemMargin; }
    void setItemMargin(qreal margin) { metrics_.itemMargin = margin; }
    qreal sectionHeaderHeight() const { return metrics_.sectionHeaderHeight; }
    void setSectionHeaderHeight(qreal height) { metrics_.sectionHeaderHeight = height; }
    bool displaySectionHeaders() const { return metrics_.displaySectionHeaders; }
    void setDisplaySectionHeaders(bool display) { metrics_.displaySectionHeaders = display; }
    bool shouldAnimateLoadIn() const { return shouldAnimateLoadIn_; }
    void setShouldAnimateLoadIn(bool animate) { shouldAnimateLoadIn_ = animate; }

    // A continuous change of size: cells and the data source hear of its start and end once each.
    bool liveGridResize() const { return liveGridResize_; }
    void setLiveGridResize(bool live);
    // Between the first resize of a burst and 150 ms after its last.
    bool inNativeLiveResize() const { return inNativeLiveResize_; }

    // A widget under the last section, scrolling with the items; the grid owns it and deletes the one it
    // replaces. Null removes it.
    void setMaxYAccessoryView(QWidget* view);
    QWidget* maxYAccessoryView() const { return accessoryView_; }

    void reloadData(bool scrollToTop = false);
    // Forgets which cell showed which item, then reloads.
    void clearCellCache();
    // Redraws the displayed cells of the paths.
    void reloadItemsAtIndexPaths(const QVector<GridIndexPath>& paths);
    void visuallyReloadAllItems();
    // Redraws the displayed cells of the selected items.
    void visuallyReloadSelectedItems();
    // The theme changed: cells and the rubber band take the new drawing state.
    void updateAppearance();
    // The pixel ratio the grid is shown at; a change reaches the data source and every cell, pooled ones too.
    // Followed from the window's screen and checked when painting.
    qreal devicePixelRatioShown() const { return screenScale_; }
    void updateDevicePixelRatio(qreal ratio);
    void relayout();
    PTGridViewDrawingState drawingState();

    // The pool: the data source takes cells back with dequeue; a cell without a reuse identifier cannot be
    // pooled and is dropped.
    void enqueueReusableCell(std::unique_ptr<PTGridViewCell> cell);
    std::unique_ptr<PTGridViewCell> dequeueReusableCellWithIdentifier(const QString& identifier);
    qsizetype pooledCellCount(const QString& identifier) const;

    QVector<PTGridViewCell*> visibleCells() const;
    QVector<GridIndexPath> visibleIndexPaths() const;
    PTGridViewCell* cellForIndexPath(const GridIndexPath& path) const;
    PTGridViewCell* headerCellForSection(qint64 section) const;
    // The item's cell painted alone, from a fresh cell when it is not displayed.
    QPixmap imageOfDragItemAtIndexPath(const GridIndexPath& path, QRectF* frame = nullptr);

    // Selection. Paths outside the data are ignored; a replacing call unhighlights what leaves at once. Every
    // change is reported to the data source once its burst is over.
    void selectIndexPaths(const QVector<GridIndexPath>& paths, bool extend = false);
    void deselectIndexPaths(const QVector<GridIndexPath>& paths);
    void deselectAll();
    void selectAll();
    // Every item from one path to the other, both included, across sections.
    void selectIndexesFrom(const GridIndexPath& from, const GridIndexPath& to, bool keepCurrentSelection);
    bool indexPathIsSelected(const GridIndexPath& path) const;
    // In grid order.
    QVector<GridIndexPath> selectionIndexPaths() const;
    const GridSelection& selection() const { return selection_; }
    // Moves the keyboard cursor; Shift extends from the anchor, Ctrl adds, both replace. From a key (event)
    // a move that cannot be made beeps.
    void selectWithDirection(GridDirection direction, Qt::KeyboardModifiers modifiers, bool fromEvent);
    // Escape: nothing selected and no marquee baseline.
    void cancelSelection();
    // The rubber band while it shows, fading out included; null without one.
    const PTGridViewCell* marquee() const { return marquee_.get(); }
    bool allowsMultiSelection() const { return allowsMultiSelection_; }
    void setAllowsMultiSelection(bool allows) { allowsMultiSelection_ = allows; }
    // The selected paths that are displayed, in displayed order, then the others: what a drag carries.
    QVector<GridIndexPath> selectedIndexPathsByPrioritisingInViewPaths() const;
    void scrollIndexToVisible(qint64 gridIndex);
    void scrollToBottom();

    // The tooltip at a point of the viewport and the viewport rect it holds for: a cell's own, else the data
    // source's for the item there. None while a layout burst or a resize burst is under way.
    std::pair<QString, QRect> toolTipAt(const QPoint& viewportPoint);
    // The cell under the pointer, told when the pointer enters, moves over and leaves it; none while a layout
    // burst is under way, looked for again a moment after it.
    PTGridViewCell* hoverCell() const { return hoverCell_; }
    // Scrolling on its own while a marquee or a drag over the grid is held near or past the top or bottom edge.
    bool isAutoscrolling() const { return autoscroll_ != 0; }
    // Between a press and a release of the scroll bar's slider.
    bool isLiveScrolling() const { return isLiveScrolling_; }

    // Commands: copy, delete and rename need a selection, select-all an item; any other command is the data
    // source's when it validates it.
    bool respondsTo(const QString& command) const override;
    bool validate(const QString& command, pt::CommandState& state) override;
    void perform(const QString& command) override;

    // Where a drop at a viewport point lands: the item there, else the section there (index kGridNotFound),
    // else an invalid path.
    GridIndexPath indexPathForDropAt(const QPointF& viewportPoint) const;
    // The context menu at a viewport point: a cell's own, none on a header, else the data source's; none while
    // the window has a sheet attached.
    QMenu* menuAt(const QPoint& viewportPoint);

    // Grid coordinates of what the viewport shows.
    QRectF visibleRect() const;
    void scrollToTop();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The item the user is looking at while the item size changes: the selected item in view, else the first
    // item whose top is in view; with the distance of its top from the top of the view.
    struct ViewAnchor {
        qint64 gridIndex;
        qreal offset;
    };
    std::optional<ViewAnchor> viewAnchor() const;
    // Scrolls the item back to its distance from the top, or as near as shows it whole.
    void restoreViewAnchor(const ViewAnchor& anchor);
    // The part of the visible rect that neither the margins nor a sticky header cover.
    QRectF unobscuredRect() const;
    void updateFrames(bool resetSections);
    void checkResize();
    void layout();
    void layoutInRect(const QRectF& rect, bool force);
    void setIdentity(PTGridViewCell* cell, qint64 gridIndex, const GridIndexPath& path, const PTGridViewDrawingState& state);
    void layoutItems(const PTGridViewDrawingState& state, bool live, bool force);
    void layoutHeaders(const QHash<qint64, PTGridViewCell*>& oldHeaders, const GridRange& sections, const PTGridViewDrawingState& state, bool live);
    std::vector<pt::store::ObjectID> idsForItemsInRect(const QRectF& rect);
    void enqueueCell(PTGridViewCell* cell);
    PTGridViewCell* adopt(std::unique_ptr<PTGridViewCell> cell);
    // Stops the cell's animations and ends its display.
    void removeCell(PTGridViewCell* cell);
    void destroyCell(PTGridViewCell* cell);
    void resetFramePosition(PTGridViewCell* cell, qreal offset);
    PTGridViewCell* cellAt(const QPointF& point) const;
    void clickSelect(const QPointF& point, Qt::KeyboardModifiers modifiers);
    void updateMarquee(const QPointF& point);
    void endMarquee();
    bool dropEvent(QEvent* event);
    void placeAccessoryView();
    qreal accessoryHeight() const;
    void watchScreen();
    // Focus or window activation changed: cells that draw it redraw, a turn of the event loop later.
    void scheduleResponderRedraw();
    void hoverAt(const QPointF& point, QMouseEvent* event);
    void killHoverCell();
    void checkMouseHover();
    void autoscrollTo(const QPointF& viewportPoint, bool marquee);
    void stopAutoscroll();
    void noteLayoutBurst();
    void setLiveScrolling(bool live);
    void observeChangesForSelection();
    void notifyDelegateAboutChanges();
    void refreshHighlights();
    void resizeBurst();
    void resizeGrid();

    PTGridViewDataSource* dataSource_ = nullptr;
    quint32 respondsTo_ = 0;
    GridClock& clock_;
    GridGeometry geometry_;
    GridGeometry::Metrics metrics_;
    CellAnimator animator_;

    // Every cell outside the pool, in the order it joined the grid (the paint order within one z).
    std::unordered_map<PTGridViewCell*, std::unique_ptr<PTGridViewCell>> cells_;
    std::vector<PTGridViewCell*> paintOrder_;
    std::unordered_map<QString, std::vector<std::unique_ptr<PTGridViewCell>>> reusableCells_;
    QHash<GridIndexPath, PTGridViewCell*> cacheCells_;
    QHash<qint64, PTGridViewCell*> sectionCells_;
    QHash<pt::store::ObjectID, PTGridViewCell*> idCells_;
    std::vector<bool> sectionsOnScreen_;
    std::vector<bool> shownSections_;
    GridRange currentRange_;
    GridRange lastCurrentRange_;
    // The sections the last full pass found in view.
    GridRange sectionsInView_;

    bool reloadDataWasCalled_ = false;
    bool ignoreFrameCheck_ = false;
    bool shouldAnimateLoadIn_ = false;
    bool liveGridResize_ = false;
    bool inNativeLiveResize_ = false;
    GridClock::Token resizeEnd_ = 0;
    GridSelection selection_;
    // The mouse from press to release.
    QPointF mouseDownPoint_;
    bool mouseEventsDisabled_ = false;
    bool dragging_ = false;
    int clickCount_ = 0;
    PTGridViewCell* mouseDownCell_ = nullptr;
    Qt::KeyboardModifiers mouseDownModifiers_;
    std::unique_ptr<PTGridViewCell> marquee_;
    bool marqueeFading_ = false;
    std::optional<std::vector<bool>> tempMarqueSet_;
    bool allowsMultiSelection_ = true;
    // Layout passes closer together than the scroll quiet time make one burst.
    bool scrolling_ = false;
    GridClock::Token scrollQuiet_ = 0;
    bool isLiveScrolling_ = false;
    PTGridViewCell* hoverCell_ = nullptr;
    QPointF hoverPoint_;
    GridClock::Token hoverCheck_ = 0;
    // Where the pointer holding a marquee or a drag is, in viewport coordinates.
    QPointF autoscrollPoint_;
    bool autoscrollMarquee_ = false;
    GridClock::Token autoscroll_ = 0;
    QPointer<QWidget> accessoryView_;
    qreal screenScale_ = 1;
    QPointer<QWindow> watchedWindow_;
    GridClock::Token responderRedraw_ = 0;
    PTAppearanceObserver appearanceObserver_{this, &PTGridView::updateAppearance};
    GridClock::Token selectionReport_ = 0;
};
