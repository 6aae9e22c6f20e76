#include "browser/grid/PTGridView.h"

#include "browser/grid/GridBackdrop.h"
#include "browser/grid/GridMarqueeCell.h"
#include "browser/grid/PTGridViewAccessible.h"
#include "browser/grid/PTGridViewCell.h"
#include "foundation/Rounding.h"
#include "platform/ui/SheetHost.h"
#include "browser/grid/PTGridViewDataSource.h"
#include "ui/theme/PTStyles.h"
#include "ui/theme/PTThemeController.h"
#include "ui/views/PTStackLayout.h"

#include <QAccessible>
#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QWindow>
#include <QDropEvent>
#include <QMenu>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QToolTip>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cmath>
#include <functional>
#include <unordered_set>
#include <utility>

namespace {

// Where pooled cells wait, far outside any grid.
constexpr qreal kParkedPosition = -10000000;
// Changes of the selection closer together than this make one report.
constexpr double kSelectionReportDelay = 0.005;
constexpr double kMarqueeSelectionReportDelay = 0.07;
// A marquee fades out over this long after the mouse is released.
constexpr double kMarqueeFade = 0.3;
// Tooltips come back this long after the last layout pass.
constexpr double kScrollQuietTime = 0.1;
// A resize burst ends this long after its last resize.
constexpr double kResizeBurstEnd = 0.15;
// The hover cell is looked for again this long after tooltips come back.
constexpr double kHoverCheckDelay = 0.2;
// Autoscroll steps this often, by the distance of the pointer into the band along the edge or past it.
constexpr double kAutoscrollInterval = 0.03;
constexpr qreal kAutoscrollBand = 16;

QRectF integral(const QRectF& rect)
{
    return QRectF(PTStackLayout::integral(rect));
}

} // namespace

const QString PTGridView::CopyCommand = QStringLiteral("copy:");
const QString PTGridView::DeleteCommand = QStringLiteral("delete:");
const QString PTGridView::RenameCommand = QStringLiteral("rename:");
const QString PTGridView::SelectAllCommand = QStringLiteral("selectAll:");

PTGridView::PTGridView(QWidget* parent, GridClock& clock)
    : PTScrollView(parent)
    , clock_(clock)
    , animator_(clock, [this] { viewport()->update(); })
{
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::StrongFocus);
    PTGridViewAccessible::installFactory();
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    viewport()->setAcceptDrops(true);
    viewport()->setMouseTracking(true);
    connect(verticalScrollBar(), &QScrollBar::sliderPressed, this, [this] { setLiveScrolling(true); });
    connect(verticalScrollBar(), &QScrollBar::sliderReleased, this, [this] { setLiveScrolling(false); });
}

PTGridView::~PTGridView()
{
    clock_.cancel(resizeEnd_);
    clock_.cancel(selectionReport_);
    clock_.cancel(scrollQuiet_);
    clock_.cancel(hoverCheck_);
    clock_.cancel(autoscroll_);
    clock_.cancel(responderRedraw_);
}

void PTGridView::setDataSource(PTGridViewDataSource* dataSource)
{
    dataSource_ = dataSource;
    respondsTo_ = dataSource ? dataSource->capabilities() : 0;
    reloadData();
}

PTGridViewDrawingState PTGridView::drawingState()
{
    PTGridViewDrawingState proposed;
    proposed.appearance = PTThemeController::defaultController().appearance();
    if (dataSource_ && (respondsTo_ & PTGridViewDataSource::RedrawState))
        return dataSource_->wantsDrawingState(*this, proposed);
    return proposed;
}

void PTGridView::setItemSize(const QSizeF& size)
{
    if (liveGridResize_) {
        metrics_.itemSize = size;
        updateItemSize();
        return;
    }
    setLiveGridResize(true);
    metrics_.itemSize = size;
    updateItemSize();
    setLiveGridResize(false);
}

void PTGridView::updateItemSize()
{
    const auto outwards = [](const QSizeF& size) { return integral(QRectF(QPointF(0, 0), size)).size(); };
    QSizeF proposed = outwards(metrics_.itemSize);
    if (dataSource_ && (respondsTo_ & PTGridViewDataSource::ProposedItemSize))
        proposed = dataSource_->itemSizeWithProposedSize(*this, proposed, drawingState());
    metrics_.itemSize = outwards(proposed);
    // Another size moves every item: what the user was looking at stays where it was, not the pixel offset.
    const std::optional<ViewAnchor> anchor = viewAnchor();
    updateFrames(false);
    checkResize();
    if (anchor)
        restoreViewAnchor(*anchor);
    layout();
}

QRectF PTGridView::unobscuredRect() const
{
    const qreal header = metrics_.displaySectionHeaders ? metrics_.sectionHeaderHeight : 0;
    return visibleRect().adjusted(0, marginForEdge(1) + header, 0, -marginForEdge(0));
}

std::optional<PTGridView::ViewAnchor> PTGridView::viewAnchor() const
{
    const QRectF view = unobscuredRect();
    const GridRange range = geometry_.rangeOfItemsInRect(view);
    if (range.length <= 0)
        return std::nullopt;
    const auto shown = [&](qint64 index) {
        return index >= range.location && index < range.end()
               && GridGeometry::intersects(geometry_.rectForItemAtIndex(index), view);
    };
    qint64 held = kGridNotFound;
    for (const qint64 index : {selection_.cursor, selection_.anchor})
        if (held == kGridNotFound && selection_.contains(index) && shown(index))
            held = index;
    for (qint64 index = range.location; held == kGridNotFound && index < range.end(); ++index)
        if (selection_.contains(index) && shown(index))
            held = index;
    // Else the first item whose top is in view: the top row, unless it is cut off.
    for (qint64 index = range.location; held == kGridNotFound && index < range.end(); ++index)
        if (geometry_.rectForItemAtIndex(index).top() >= view.top() && shown(index))
            held = index;
    if (held == kGridNotFound)
        held = range.location;
    return ViewAnchor{held, geometry_.rectForItemAtIndex(held).top() - visibleRect().top()};
}

void PTGridView::restoreViewAnchor(const ViewAnchor& anchor)
{
    const QRectF frame = geometry_.rectForItemAtIndex(anchor.gridIndex);
    if (frame.isNull())
        return;
    // The item keeps its distance from the top of the view, moved up as far as it must to show whole.
    const QRectF view = unobscuredRect();
    const qreal lowest = view.bottom() - visibleRect().top() - frame.height();
    const qreal highest = view.top() - visibleRect().top();
    const qreal offset = std::max(std::min(anchor.offset, lowest), highest);
    verticalScrollBar()->setValue(static_cast<int>(std::lround(frame.top() - offset)));
}

void PTGridView::setLiveGridResize(bool live)
{
    liveGridResize_ = live;
    if (live)
        killHoverCell();
    else
        checkMouseHover();
    if (dataSource_ && (respondsTo_ & PTGridViewDataSource::LiveResize))
        dataSource_->liveResizeDidChange(*this, live);
    for (PTGridViewCell* cell : std::as_const(cacheCells_)) {
        if (live)
            cell->didEnterLiveGridResize();
        else
            cell->didExitLiveGridResize();
    }
}

QRectF PTGridView::visibleRect() const
{
    return QRectF(0, verticalScrollBar()->value(), viewport()->width(), viewport()->height());
}

void PTGridView::scrollToTop()
{
    verticalScrollBar()->setValue(0);
}

void PTGridView::updateFrames(bool resetSections)
{
    const QRectF visible = visibleRect();
    GridGeometry::Placement placement;
    placement.frame = QRectF(0, 0, visible.width(), geometry_.proposedFrameRect().height());
    placement.visibleRect = visible;
    placement.topMargin = marginForEdge(1);
    placement.bottomMargin = marginForEdge(0);
    geometry_.updateFrames(metrics_, placement);
    const auto sections = static_cast<size_t>(geometry_.numberOfSections());
    if (geometry_.numberOfItems() == 0)
        idCells_.clear();
    shownSections_.assign(sections, false);
    if (resetSections || sectionsOnScreen_.size() != sections)
        sectionsOnScreen_.assign(sections, false);
}

void PTGridView::setMaxYAccessoryView(QWidget* view)
{
    if (view == accessoryView_)
        return;
    delete accessoryView_.data();
    accessoryView_ = view;
    if (view) {
        view->setParent(viewport());
        view->show();
    }
    checkResize();
    layout();
}

qreal PTGridView::accessoryHeight() const
{
    return accessoryView_ ? std::max(0, accessoryView_->sizeHint().height()) : 0;
}

void PTGridView::placeAccessoryView()
{
    if (!accessoryView_)
        return;
    const qreal top = geometry_.documentSize(viewport()->size()).height() - visibleRect().y();
    accessoryView_->setGeometry(QRectF(0, top, viewport()->width(), accessoryHeight()).toAlignedRect());
}

void PTGridView::checkResize()
{
    ignoreFrameCheck_ = true;
    const QSizeF size = geometry_.documentSize(viewport()->size());
    QScrollBar* bar = verticalScrollBar();
    bar->setPageStep(viewport()->height());
    bar->setSingleStep(static_cast<int>(metrics_.itemSize.height() + metrics_.itemMargin));
    bar->setRange(0, std::max(0, static_cast<int>(std::ceil(size.height() + accessoryHeight())) - viewport()->height()));
    ignoreFrameCheck_ = false;
    placeAccessoryView();
}

PTGridViewCell* PTGridView::adopt(std::unique_ptr<PTGridViewCell> cell)
{
    PTGridViewCell* raw = cell.get();
    if (!raw)
        return nullptr;
    if (cells_.emplace(raw, std::move(cell)).second)
        paintOrder_.push_back(raw);
    return raw;
}

void PTGridView::removeCell(PTGridViewCell* cell)
{
    animator_.removeAll(cell);
    cell->removeFromGrid();
}

void PTGridView::destroyCell(PTGridViewCell* cell)
{
    if (cell == hoverCell_)
        killHoverCell();
    if (cell == mouseDownCell_)
        mouseDownCell_ = nullptr;
    removeCell(cell);
    cell->clear();
    std::erase(paintOrder_, cell);
    cells_.erase(cell);
}

void PTGridView::enqueueCell(PTGridViewCell* cell)
{
    if (cell == hoverCell_)
        killHoverCell();
    const auto owned = cells_.find(cell);
    if (owned == cells_.end())
        return;
    std::unique_ptr<PTGridViewCell> taken = std::move(owned->second);
    cells_.erase(owned);
    std::erase(paintOrder_, cell);
    enqueueReusableCell(std::move(taken));
}

void PTGridView::enqueueReusableCell(std::unique_ptr<PTGridViewCell> cell)
{
    if (!cell)
        return;
    if (cell->reuseIdentifier().isEmpty()) {
        qWarning("A grid cell without a reuse identifier cannot be pooled; it is dropped");
        removeCell(cell.get());
        return;
    }
    cell->didEnqueue();
    cell->setFrame(QRectF(QPointF(kParkedPosition, kParkedPosition), cell->frame().size()));
    cell->setEnqueued(true);
    cell->setWasEnqueued(true);
    reusableCells_[cell->reuseIdentifier()].push_back(std::move(cell));
}

std::unique_ptr<PTGridViewCell> PTGridView::dequeueReusableCellWithIdentifier(const QString& identifier)
{
    const auto pool = reusableCells_.find(identifier);
    if (pool == reusableCells_.end() || pool->second.empty())
        return nullptr;
    std::unique_ptr<PTGridViewCell> cell = std::move(pool->second.front());
    pool->second.erase(pool->second.begin());
    cell->setEnqueued(false);
    cell->prepareForReuse();
    animator_.removeAll(cell.get());
    return cell;
}

qsizetype PTGridView::pooledCellCount(const QString& identifier) const
{
    const auto pool = reusableCells_.find(identifier);
    return pool == reusableCells_.end() ? 0 : static_cast<qsizetype>(pool->second.size());
}

QVector<PTGridViewCell*> PTGridView::visibleCells() const
{
    return QVector<PTGridViewCell*>(cacheCells_.cbegin(), cacheCells_.cend());
}

QVector<GridIndexPath> PTGridView::visibleIndexPaths() const
{
    QVector<GridIndexPath> paths;
    for (const PTGridViewCell* cell : cacheCells_)
        paths.push_back({cell->section(), cell->index()});
    return paths;
}

PTGridViewCell* PTGridView::cellForIndexPath(const GridIndexPath& path) const
{
    return cacheCells_.value(path);
}

PTGridViewCell* PTGridView::headerCellForSection(qint64 section) const
{
    return sectionCells_.value(section);
}

void PTGridView::reloadData(bool scrollToTop)
{
    mouseDownCell_ = nullptr;
    killHoverCell();
    cancelSelection();
    std::vector<qint64> counts;
    const qint64 sections = dataSource_ ? std::max<qint64>(dataSource_->numberOfSections(*this), 0) : 0;
    for (qint64 section = 0; section < sections; ++section)
        counts.push_back(dataSource_->numberOfItemsInSection(*this, section));
    geometry_.reload(counts);
    selection_.reset(geometry_.numberOfItems());
    if (QAccessible::isActive()) {
        QAccessibleTableModelChangeEvent reset(this, QAccessibleTableModelChangeEvent::ModelReset);
        QAccessible::updateAccessibility(&reset);
    }
    lastCurrentRange_ = {};

    for (auto& [identifier, pool] : reusableCells_)
        for (auto& cell : pool)
            removeCell(cell.get());
    reusableCells_.clear();
    for (PTGridViewCell* header : std::as_const(sectionCells_))
        destroyCell(header);
    sectionCells_.clear();

    const QVector<PTGridViewCell*> oldCells = visibleCells();
    updateFrames(true);
    const QRectF visible = visibleRect();
    QRectF target = visible;
    if (scrollToTop)
        target.moveTop(0);
    cacheCells_.clear();

    // Leaving cells shrink away and go when the whole transition ends.
    auto leaving = std::make_shared<std::vector<PTGridViewCell*>>();
    animator_.begin(CellAnimator::animationTime(), [this, leaving] {
        for (PTGridViewCell* cell : *leaving)
            destroyCell(cell);
    });
    const std::vector<pt::store::ObjectID> ids = idsForItemsInRect(target);
    const std::unordered_set<pt::store::ObjectID> staying(ids.begin(), ids.end());
    // Staying cells start their glide where they showed on screen; without a scroll that is where they are.
    const qreal offset = visible.y() - target.y();
    for (PTGridViewCell* cell : oldCells) {
        if (staying.contains(cell->underlyingObject())) {
            resetFramePosition(cell, offset);
            continue;
        }
        cell->setZPosition(LeavingZPosition);
        resetFramePosition(cell, offset);
        animator_.applyScale(cell, true);
        leaving->push_back(cell);
        if (idCells_.value(cell->underlyingObject()) == cell)
            idCells_.remove(cell->underlyingObject());
    }
    animator_.commit();
    checkResize();
    if (scrollToTop) {
        ignoreFrameCheck_ = true;
        this->scrollToTop();
        ignoreFrameCheck_ = false;
    }
    shouldAnimateLoadIn_ = true;
    reloadDataWasCalled_ = true;
    layout();
    reloadDataWasCalled_ = false;
    shouldAnimateLoadIn_ = false;
}

void PTGridView::clearCellCache()
{
    idCells_.clear();
    reloadData();
}

void PTGridView::reloadItemsAtIndexPaths(const QVector<GridIndexPath>& paths)
{
    for (const GridIndexPath& path : paths)
        if (PTGridViewCell* cell = cacheCells_.value(path))
            cell->setWantsUpdate(true);
    layoutInRect(visibleRect(), true);
}

void PTGridView::visuallyReloadAllItems()
{
    for (PTGridViewCell* cell : std::as_const(cacheCells_))
        cell->setWantsUpdate(true);
    for (PTGridViewCell* header : std::as_const(sectionCells_))
        destroyCell(header);
    sectionCells_.clear();
    layoutInRect(visibleRect(), true);
}

void PTGridView::visuallyReloadSelectedItems()
{
    for (const GridIndexPath& path : selectionIndexPaths())
        if (PTGridViewCell* cell = cacheCells_.value(path))
            cell->setWantsUpdate(true);
    layoutInRect(visibleRect(), true);
}

void PTGridView::updateAppearance()
{
    visuallyReloadAllItems();
    if (marquee_)
        marquee_->setDrawState(drawingState());
    viewport()->update();
}

void PTGridView::updateDevicePixelRatio(qreal ratio)
{
    if (ratio == screenScale_)
        return;
    screenScale_ = ratio;
    if (dataSource_ && (respondsTo_ & PTGridViewDataSource::ScreenChanged))
        dataSource_->didChangeToScreen(*this, ratio);
    for (auto& [identifier, pool] : reusableCells_)
        for (auto& cell : pool)
            cell->prepareForScreenChange(ratio);
    for (PTGridViewCell* header : std::as_const(sectionCells_))
        header->prepareForScreenChange(ratio);
    for (PTGridViewCell* cell : std::as_const(cacheCells_))
        cell->prepareForScreenChange(ratio);
    viewport()->update();
}

void PTGridView::watchScreen()
{
    QWindow* window = this->window()->windowHandle();
    if (window && window != watchedWindow_) {
        if (watchedWindow_)
            disconnect(watchedWindow_, &QWindow::screenChanged, this, nullptr);
        watchedWindow_ = window;
        connect(window, &QWindow::screenChanged, this, [this] { updateDevicePixelRatio(devicePixelRatioF()); });
    }
    updateDevicePixelRatio(devicePixelRatioF());
}

void PTGridView::scheduleResponderRedraw()
{
    clock_.cancel(responderRedraw_);
    responderRedraw_ = clock_.callAfter(0, [this] {
        responderRedraw_ = 0;
        for (PTGridViewCell* cell : std::as_const(cacheCells_))
            if (cell->respondsToFirstResponderRedraw())
                cell->responderDidChange();
        viewport()->update();
    });
}

void PTGridView::focusInEvent(QFocusEvent* event)
{
    PTScrollView::focusInEvent(event);
    scheduleResponderRedraw();
}

void PTGridView::focusOutEvent(QFocusEvent* event)
{
    PTScrollView::focusOutEvent(event);
    scheduleResponderRedraw();
}

void PTGridView::changeEvent(QEvent* event)
{
    PTScrollView::changeEvent(event);
    if (event->type() == QEvent::ActivationChange)
        scheduleResponderRedraw();
}

void PTGridView::relayout()
{
    layoutInRect(visibleRect(), true);
}

void PTGridView::resetFramePosition(PTGridViewCell* cell, qreal offset)
{
    cell->setFrame(integral(cell->frame().translated(0, -offset)));
}

std::vector<pt::store::ObjectID> PTGridView::idsForItemsInRect(const QRectF& rect)
{
    std::vector<pt::store::ObjectID> ids;
    const GridRange range = geometry_.rangeOfItemsInRect(rect);
    for (qint64 i = range.location; i < range.end(); ++i)
        ids.push_back(dataSource_->itemForIndexPath(*this, geometry_.indexPathForIndex(i)));
    return ids;
}

void PTGridView::layout()
{
    if (!ignoreFrameCheck_)
        layoutInRect(visibleRect(), false);
}

void PTGridView::layoutInRect(const QRectF& rect, bool force)
{
    if (!dataSource_)
        return;
    noteLayoutBurst();
    const qreal top = marginForEdge(1);
    currentRange_ = geometry_.rangeOfItemsInRect(rect);
    const GridRange sections = geometry_.rangeOfSectionsInRect(visibleRect().translated(0, top));
    const PTGridViewDrawingState state = drawingState();
    const bool live = inNativeLiveResize_ || liveGridResize_;

    animator_.begin(CellAnimator::animationTime());
    const QHash<qint64, PTGridViewCell*> oldHeaders = sectionCells_;
    if (live || force || currentRange_ != lastCurrentRange_) {
        lastCurrentRange_ = currentRange_;
        for (PTGridViewCell* cell : std::as_const(cacheCells_)) {
            if (cell->gridIndex() >= currentRange_.location && cell->gridIndex() < currentRange_.end())
                continue;
            if (idCells_.value(cell->underlyingObject()) == cell)
                idCells_.remove(cell->underlyingObject());
            enqueueCell(cell);
        }
        cacheCells_.clear();
        const auto inView = [&](qint64 section) { return section >= sections.location && section < sections.end(); };
        for (auto header = oldHeaders.cbegin(); header != oldHeaders.cend(); ++header)
            if (!inView(header.key()) || geometry_.numberOfItemsInSection(header.key()) == 0)
                enqueueCell(header.value());
        // Every section that left is announced, empty ones (which have no header) included.
        for (qint64 section = sectionsInView_.location; section < sectionsInView_.end(); ++section) {
            if (inView(section) || section >= static_cast<qint64>(sectionsOnScreen_.size())
                || !sectionsOnScreen_[static_cast<size_t>(section)])
                continue;
            if (respondsTo_ & PTGridViewDataSource::WillHideSection)
                dataSource_->willHideSection(*this, section);
            sectionsOnScreen_[static_cast<size_t>(section)] = false;
        }
        sectionsInView_ = sections;
        sectionCells_.clear();
        for (qint64 section = sections.location; section < sections.end(); ++section) {
            if (sectionsOnScreen_[static_cast<size_t>(section)])
                continue;
            if (respondsTo_ & PTGridViewDataSource::WillShowSection)
                dataSource_->willShowSection(*this, section, shownSections_[static_cast<size_t>(section)]);
            sectionsOnScreen_[static_cast<size_t>(section)] = true;
            shownSections_[static_cast<size_t>(section)] = true;
        }
        layoutItems(state, live, force);
    }
    layoutHeaders(oldHeaders, sections, state, live);
    animator_.commit();
    viewport()->update();
}

void PTGridView::setIdentity(PTGridViewCell* cell, qint64 gridIndex, const GridIndexPath& path,
                             const PTGridViewDrawingState& state)
{
    cell->setController(this);
    cell->setGridIndex(gridIndex);
    cell->setIndex(path.index);
    cell->setSection(path.section);
    cell->setDrawState(state);
}

void PTGridView::layoutItems(const PTGridViewDrawingState& state, bool live, bool force)
{
    for (qint64 i = currentRange_.location; i < currentRange_.end(); ++i) {
        const GridIndexPath path = geometry_.indexPathForIndex(i);
        const pt::store::ObjectID item = dataSource_->itemForIndexPath(*this, path);
        PTGridViewCell* cell = idCells_.value(item);
        const bool reused = cell != nullptr;
        if (!cell) {
            cell = adopt(dataSource_->cellForItemAtIndexPath(*this, path));
            if (!cell)
                continue;
            idCells_.insert(item, cell);
        }
        cell->setUnderlyingObject(item);
        setIdentity(cell, i, path, state);
        const QRectF frame = geometry_.rectForItemAtIndex(i);
        bool changed = false;
        cell->setLiveResize(live);
        if (!live && reused && reloadDataWasCalled_) {
            animator_.applyPosition(cell, frame.topLeft());
            changed = true;
        } else {
            changed = live;
        }
        if (changed && cell->frame() != frame)
            cell->setFrame(frame);
        if (!cell->isAttached() || cell->wasEnqueued() || force) {
            cell->setZPosition(0);
            cell->setWasEnqueued(false);
            cell->setHighlighted(selection_.contains(i));
            if (!changed && cell->frame() != frame)
                cell->setFrame(frame);
            if (respondsTo_ & PTGridViewDataSource::CustomMeta)
                cell->setMeta(dataSource_->metaForIndexPath(*this, path));
            if (!force)
                cell->willDisplayCell(reused);
            else if (cell->wantsUpdate())
                cell->willDisplayCell(false);
            if (shouldAnimateLoadIn_)
                animator_.applyScale(cell, false);
            changed = true;
        }
        if (cell->wantsUpdate() || liveGridResize_) {
            cell->setWantsUpdate(false);
            changed = true;
        }
        cell->attach();
        if (changed)
            cell->setNeedsDisplay();
        cacheCells_.insert(path, cell);
    }
}

void PTGridView::layoutHeaders(const QHash<qint64, PTGridViewCell*>& oldHeaders, const GridRange& sections,
                               const PTGridViewDrawingState& state, bool live)
{
    if (!metrics_.displaySectionHeaders)
        return;
    const qreal top = visibleRect().y() + marginForEdge(1);
    for (qint64 section = sections.location; section < sections.end(); ++section) {
        if (geometry_.numberOfItemsInSection(section) == 0)
            continue;
        PTGridViewCell* cell = oldHeaders.value(section);
        if (!cell || !cells_.contains(cell))
            cell = adopt(dataSource_->cellForSection(*this, section));
        if (!cell)
            continue;
        sectionCells_.insert(section, cell);
        cell->setController(this);
        cell->setSection(section);
        cell->setItemCount(geometry_.numberOfItemsInSection(section));
        cell->setDrawState(state);
        cell->setLiveResize(live);

        QRectF header = geometry_.rectForSectionHeader(section);
        // The first header already sticks when the top edge reaches it, the others once it has passed.
        const bool sticky = top > header.y() || (section == 0 && top >= header.y());
        if (sticky)
            header.moveTop(top - 1);
        cell->setSticky(sticky);
        if (section != geometry_.numberOfSections() - 1 && section != sections.end() - 1) {
            // The next header pushes this one up; they overlap by one point.
            const QRectF next = integral(geometry_.rectForSectionHeader(section + 1));
            if (header.y() + header.height() - 1 > next.y())
                header.moveTop(next.y() - header.height() + 1);
        }
        header = integral(header);
        if (cell->frame() != header)
            cell->setFrame(header);
        const bool attaching = cell->wasEnqueued() || !cell->isAttached();
        if (attaching) {
            cell->setZPosition(HeaderZPosition);
            cell->setWasEnqueued(false);
            cell->willDisplayCell(false);
        }
        cell->attach();
        if (live || attaching)
            cell->setNeedsDisplay();
    }
}

QPixmap PTGridView::imageOfDragItemAtIndexPath(const GridIndexPath& path, QRectF* frame)
{
    const qint64 gridIndex = geometry_.indexForIndexPath(path);
    if (gridIndex == kGridNotFound || !dataSource_)
        return {};
    PTGridViewCell* cell = cacheCells_.value(path);
    std::unique_ptr<PTGridViewCell> fresh;
    if (!cell) {
        fresh = dataSource_->cellForItemAtIndexPath(*this, path);
        if (!fresh)
            return {};
        cell = fresh.get();
        cell->setFrame(geometry_.rectForItemAtIndex(gridIndex));
        setIdentity(cell, gridIndex, path, drawingState());
        cell->setWantsUpdate(true);
        cell->willDisplayCell(true);
        cell->setWantsUpdate(false);
    }
    if (frame)
        *frame = cell->frame();
    cell->setDragging(true);
    const bool highlighted = cell->highlighted();
    cell->setHighlighted(false);
    const qreal ratio = devicePixelRatioF();
    QPixmap image((metrics_.itemSize * ratio).toSize());
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        cell->drawCellInRect(painter, QRectF(QPointF(0, 0), cell->frame().size()));
    }
    cell->setDragging(false);
    cell->setHighlighted(highlighted);
    return image;
}

void PTGridView::paintEvent(QPaintEvent* event)
{
    watchScreen();
    QPainter painter(viewport());
    painter.fillRect(event->rect(), PTStyles::gridBackgroundColorForAppearance(static_cast<int>(drawingState().appearance)));
    const QRectF visible = visibleRect();
    const QRectF exposed = QRectF(event->rect()).translated(0, visible.y());
    std::vector<PTGridViewCell*> order;
    order.reserve(paintOrder_.size());
    for (PTGridViewCell* cell : paintOrder_)
        if (cell->isAttached())
            order.push_back(cell);
    if (marquee_ && marquee_->isAttached())
        order.push_back(marquee_.get());
    std::stable_sort(order.begin(), order.end(),
                     [](const PTGridViewCell* a, const PTGridViewCell* b) { return a->zPosition() < b->zPosition(); });
    painter.translate(0, -visible.y());
    // Cells draw at the pixel ratio of what is painted on: the window's screen, or an image of any ratio.
    const qreal ratio = painter.device()->devicePixelRatioF();
    // Where each cell shows now, glides included; a cell that shows nothing answers the null rect.
    const auto presented = [this](PTGridViewCell* cell, qreal* scale, qreal* opacity) {
        QRectF frame = cell->frame();
        *scale = cell->scale();
        *opacity = cell->opacity();
        if (animator_.isAnimating(cell)) {
            if (const auto position = animator_.presentation(cell, CellAnimator::Position))
                frame.translate(*position - cell->position());
            *scale = animator_.presentation(cell, CellAnimator::Scale).value_or(QPointF(*scale, 0)).x();
            *opacity = animator_.presentation(cell, CellAnimator::Opacity).value_or(QPointF(*opacity, 0)).x();
        }
        return *scale <= 0 || *opacity <= 0 ? QRectF() : frame;
    };
    // A cell that wants a backdrop draws it, before its own drawing on screen, from the cells under it painted
    // small.
    std::function<QImage(size_t, const QRectF&)> backdropUnder;
    const auto paintCells = [&](QPainter& target, size_t end, const QRectF& area, bool backdrops) {
        for (size_t i = 0; i < end; ++i) {
            PTGridViewCell* cell = order[i];
            qreal scale = 1;
            qreal opacity = 1;
            const QRectF frame = presented(cell, &scale, &opacity);
            if (frame.isNull() || !frame.intersects(area))
                continue;
            cell->setDevicePixelRatio(ratio);
            target.save();
            target.setOpacity(opacity);
            target.translate(frame.center());
            target.scale(scale, scale);
            target.translate(-frame.width() / 2, -frame.height() / 2);
            if (backdrops && cell->wantsBackdrop())
                cell->drawBackdrop(target, QRectF(QPointF(0, 0), frame.size()), backdropUnder(i, frame));
            cell->render(target);
            target.restore();
        }
    };
    backdropUnder = [&](size_t below, const QRectF& frame) {
        const qreal margin = GridBackdrop::Margin;
        const QRectF area = frame.adjusted(-margin, -margin, margin, margin);
        const qreal scale = ratio * GridBackdrop::Scale;
        QImage content(QSize(int(std::ceil(area.width() * scale)), int(std::ceil(area.height() * scale))),
                       QImage::Format_ARGB32_Premultiplied);
        content.fill(PTStyles::gridBackgroundColorForAppearance(static_cast<int>(drawingState().appearance)));
        // Sampled without smoothing: the blur that follows evens it out.
        QPainter small(&content);
        small.scale(scale, scale);
        small.translate(-area.topLeft());
        paintCells(small, below, area, false);
        return content;
    };
    paintCells(painter, order.size(), exposed, true);
}

bool PTGridView::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const auto [text, rect] = toolTipAt(help->pos());
        if (text.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), text, viewport(), rect);
        }
        return true;
    }
    if (dropEvent(event))
        return true;
    if (event->type() == QEvent::Leave)
        killHoverCell();
    if (event->type() == QEvent::Resize) {
        const bool handled = PTScrollView::viewportEvent(event);
        resizeBurst();
        resizeGrid();
        return handled;
    }
    return PTScrollView::viewportEvent(event);
}

void PTGridView::scrollContentsBy(int /*dx*/, int /*dy*/)
{
    viewport()->update();
    placeAccessoryView();
    layout();
}

void PTGridView::resizeBurst()
{
    inNativeLiveResize_ = true;
    clock_.cancel(resizeEnd_);
    resizeEnd_ = clock_.callAfter(kResizeBurstEnd, [this] {
        resizeEnd_ = 0;
        inNativeLiveResize_ = false;
        layout();
    });
}

void PTGridView::resizeGrid()
{
    setLiveGridResize(true);
    updateFrames(false);
    checkResize();
    layout();
    setLiveGridResize(false);
}

void PTGridView::refreshHighlights()
{
    for (PTGridViewCell* cell : std::as_const(cacheCells_))
        cell->setHighlighted(selection_.contains(cell->gridIndex()));
    viewport()->update();
}

void PTGridView::selectIndexPaths(const QVector<GridIndexPath>& paths, bool extend)
{
    if (!extend)
        selection_.clear();
    for (const GridIndexPath& path : paths)
        selection_.select(geometry_.indexForIndexPath(path));
    refreshHighlights();
    observeChangesForSelection();
}

void PTGridView::deselectIndexPaths(const QVector<GridIndexPath>& paths)
{
    for (const GridIndexPath& path : paths)
        selection_.deselect(geometry_.indexForIndexPath(path));
    refreshHighlights();
    observeChangesForSelection();
}

void PTGridView::deselectAll()
{
    selection_.clear();
    selection_.anchor = kGridNotFound;
    selection_.cursor = kGridNotFound;
    refreshHighlights();
    observeChangesForSelection();
}

void PTGridView::selectAll()
{
    selection_.fill();
    std::fill(selection_.marqueBaseline.begin(), selection_.marqueBaseline.end(), true);
    refreshHighlights();
    observeChangesForSelection();
}

void PTGridView::selectIndexesFrom(const GridIndexPath& from, const GridIndexPath& to, bool keepCurrentSelection)
{
    const qint64 a = geometry_.indexForIndexPath(from);
    const qint64 b = geometry_.indexForIndexPath(to);
    if (!keepCurrentSelection)
        selection_.clear();
    if (a != kGridNotFound && b != kGridNotFound)
        for (qint64 i = std::min(a, b); i <= std::max(a, b); ++i)
            selection_.select(i);
    refreshHighlights();
    observeChangesForSelection();
}

bool PTGridView::indexPathIsSelected(const GridIndexPath& path) const
{
    return selection_.contains(geometry_.indexForIndexPath(path));
}

QVector<GridIndexPath> PTGridView::selectionIndexPaths() const
{
    QVector<GridIndexPath> paths;
    for (qint64 i : selection_.indexes())
        paths.push_back(geometry_.indexPathForIndex(i));
    return paths;
}

void PTGridView::observeChangesForSelection()
{
    clock_.cancel(selectionReport_);
    selectionReport_ = clock_.callAfter(marquee_ ? kMarqueeSelectionReportDelay : kSelectionReportDelay, [this] {
        selectionReport_ = 0;
        notifyDelegateAboutChanges();
    });
}

void PTGridView::notifyDelegateAboutChanges()
{
    if (dataSource_)
        dataSource_->didSelectItemsAtIndexPaths(*this, selectionIndexPaths());
}

void PTGridView::cancelSelection()
{
    deselectAll();
    std::fill(selection_.marqueBaseline.begin(), selection_.marqueBaseline.end(), false);
}

void PTGridView::selectWithDirection(GridDirection direction, Qt::KeyboardModifiers modifiers, bool fromEvent)
{
    const qint64 items = geometry_.numberOfItems();
    qint64 start = selection_.cursor != kGridNotFound ? selection_.cursor : selection_.anchor;
    if (start == kGridNotFound) {
        if (items == 0) {
            QApplication::beep();
            return;
        }
        if (selection_.count() == 0) {
            const qint64 first = direction == GridDirection::Up || direction == GridDirection::Left ? items - 1 : 0;
            scrollIndexToVisible(first);
            selectIndexPaths({geometry_.indexPathForIndex(first)});
            return;
        }
        start = selection_.highest();
    }
    const qint64 target = GridSelection::target(geometry_, start, direction);
    if (target == kGridNotFound) {
        if (fromEvent)
            QApplication::beep();
        return;
    }
    const GridIndexPath path = geometry_.indexPathForIndex(target);
    const bool shift = modifiers & Qt::ShiftModifier;
    const bool command = modifiers & Qt::ControlModifier;
    selection_.cursor = target;
    scrollIndexToVisible(target);
    if (!shift && !command) {
        deselectAll();
        selection_.anchor = target;
        selection_.cursor = target;
        selectIndexPaths({path});
    } else if (command && !shift) {
        selectIndexPaths({path}, true);
    } else if (shift && !command && selection_.anchor != kGridNotFound) {
        selectIndexesFrom(geometry_.indexPathForIndex(selection_.anchor), path, true);
    } else {
        if (!command)
            selection_.anchor = target;
        selectIndexPaths({path});
    }
}

void PTGridView::scrollIndexToVisible(qint64 gridIndex)
{
    QRectF frame = geometry_.rectForItemAtIndex(gridIndex);
    if (frame.isNull())
        return;
    const qreal above = metrics_.sectionHeaderHeight + metrics_.itemMargin + marginForEdge(1);
    const qreal below = marginForEdge(0) + metrics_.itemMargin;
    if (metrics_.displaySectionHeaders)
        frame.moveTop(frame.top() - above);
    frame.setHeight(frame.height() + above + below);
    const QRectF visible = visibleRect();
    QScrollBar* bar = verticalScrollBar();
    if (frame.top() < visible.top())
        bar->setValue(static_cast<int>(std::floor(frame.top())));
    else if (frame.bottom() > visible.bottom())
        bar->setValue(static_cast<int>(std::ceil(frame.bottom() - visible.height())));
}

void PTGridView::scrollToBottom()
{
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void PTGridView::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Home:
        verticalScrollBar()->setValue(0);
        break;
    case Qt::Key_End:
        scrollToBottom();
        break;
    case Qt::Key_PageUp:
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepSub);
        break;
    case Qt::Key_PageDown:
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
        break;
    case Qt::Key_Left:
        selectWithDirection(GridDirection::Left, event->modifiers(), true);
        break;
    case Qt::Key_Right:
        selectWithDirection(GridDirection::Right, event->modifiers(), true);
        break;
    case Qt::Key_Down:
        selectWithDirection(GridDirection::Down, event->modifiers(), true);
        break;
    case Qt::Key_Up:
        selectWithDirection(GridDirection::Up, event->modifiers(), true);
        break;
    case Qt::Key_Escape:
        cancelSelection();
        break;
    case Qt::Key_Space:
        if (!event->isAutoRepeat() && dataSource_)
            dataSource_->handleSpaceBarEvent(*this, event);
        break;
    default:
        break; // taken, so that no parent acts on keys meant for the grid
    }
    event->accept();
}

GridIndexPath PTGridView::indexPathForDropAt(const QPointF& viewportPoint) const
{
    const QPointF point = viewportPoint + QPointF(0, visibleRect().y());
    const GridIndexPath path = geometry_.indexPathForPoint(point);
    if (path.isValid())
        return path;
    const qint64 section = geometry_.sectionForPoint(point);
    return section == kGridNotFound ? GridIndexPath{} : GridIndexPath::header(section);
}

bool PTGridView::dropEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (event->type() == QEvent::DragEnter && dataSource_ && (respondsTo_ & PTGridViewDataSource::DragEntered))
            dataSource_->dragEntered(*this, true);
        Qt::DropAction action = Qt::IgnoreAction;
        if (dataSource_ && (respondsTo_ & PTGridViewDataSource::ValidateDrop))
            action = dataSource_->validateDrop(*this, *drag, indexPathForDropAt(drag->position()));
        drag->setDropAction(action);
        autoscrollTo(drag->position(), false);
        // Entering is always taken, so that later moves may find a place to drop and the exit is heard.
        drag->setAccepted(action != Qt::IgnoreAction || event->type() == QEvent::DragEnter);
        return true;
    }
    case QEvent::DragLeave:
        stopAutoscroll();
        if (dataSource_ && (respondsTo_ & PTGridViewDataSource::DragEntered))
            dataSource_->dragEntered(*this, false);
        return true;
    case QEvent::Drop: {
        stopAutoscroll();
        auto* drop = static_cast<QDropEvent*>(event);
        const bool accepted = dataSource_ && (respondsTo_ & PTGridViewDataSource::AcceptDrop)
            && dataSource_->acceptDrop(*this, *drop, indexPathForDropAt(drop->position()));
        drop->setAccepted(accepted);
        if (!accepted)
            drop->setDropAction(Qt::IgnoreAction);
        return true;
    }
    default:
        return false;
    }
}

QMenu* PTGridView::menuAt(const QPoint& viewportPoint)
{
    if (pt::SheetHost::attachedSheet(window()))
        return nullptr;
    const QPointF point = QPointF(viewportPoint) + QPointF(0, visibleRect().y());
    if (PTGridViewCell* cell = cellAt(point)) {
        if (QMenu* menu = cell->menuForEvent(nullptr, point))
            return menu;
        if (sectionCells_.value(cell->section()) == cell)
            return nullptr;
    }
    if (!dataSource_)
        return nullptr;
    const QVector<GridIndexPath> selected = selectionIndexPaths();
    if (!selected.isEmpty())
        return dataSource_->menuForItemsAtIndexPaths(*this, selected, selected.first());
    return dataSource_->menuForItemsAtIndexPaths(*this, {}, geometry_.indexPathForPoint(point));
}

void PTGridView::contextMenuEvent(QContextMenuEvent* event)
{
    if (QMenu* menu = menuAt(event->pos()))
        menu->popup(event->globalPos());
    event->accept();
}

PTGridViewCell* PTGridView::cellAt(const QPointF& point) const
{
    for (PTGridViewCell* header : sectionCells_)
        if (header->isAttached() && GridGeometry::contains(header->frame(), point))
            return header;
    return cacheCells_.value(geometry_.indexPathForPoint(point));
}

void PTGridView::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    const QPointF point = event->position() + QPointF(0, visibleRect().y());
    mouseDownPoint_ = point;
    mouseDownModifiers_ = event->modifiers();
    mouseEventsDisabled_ = false;
    dragging_ = false;
    clickCount_ = 1;
    if (event->button() != Qt::LeftButton)
        return;
    if (PTGridViewCell* cell = cellAt(point)) {
        mouseDownCell_ = cell;
        // A header covers the items scrolling under it: a click there never reaches them.
        if (!cell->mouseDown(event, point) || sectionCells_.value(cell->section()) == cell) {
            mouseEventsDisabled_ = true;
            return;
        }
    }
    clickSelect(point, event->modifiers());
}

void PTGridView::mouseDoubleClickEvent(QMouseEvent* event)
{
    mousePressEvent(event);
    clickCount_ = 2;
}

void PTGridView::clickSelect(const QPointF& point, Qt::KeyboardModifiers modifiers)
{
    const GridIndexPath path = geometry_.indexPathForPoint(point);
    const qint64 index = geometry_.indexForIndexPath(path);
    const bool shift = modifiers & Qt::ShiftModifier;
    const bool command = modifiers & Qt::ControlModifier;
    auto& baseline = selection_.marqueBaseline;
    if (index == kGridNotFound) {
        if (!shift && !command) {
            std::fill(baseline.begin(), baseline.end(), false);
            deselectAll();
        }
        return;
    }
    if (!((shift || command) && allowsMultiSelection_)) {
        if (!selection_.contains(index)) {
            std::fill(baseline.begin(), baseline.end(), false);
            deselectAll();
        }
        if (!shift && !command && selection_.contains(index))
            return; // a plain click on a selected item keeps the selection, to drag it
    }
    if (!shift) {
        selection_.anchor = index;
        if (!command) {
            baseline[static_cast<size_t>(index)] = true;
            selectIndexPaths({path});
            return;
        }
    } else if (!command) {
        if (selection_.anchor != kGridNotFound) {
            selectIndexesFrom(geometry_.indexPathForIndex(selection_.anchor), path, true);
        } else {
            selection_.anchor = index;
            selectIndexPaths({path});
        }
        return;
    }
    if (selection_.contains(index)) {
        baseline[static_cast<size_t>(index)] = false;
        deselectIndexPaths({path});
    } else {
        baseline[static_cast<size_t>(index)] = true;
        selectIndexPaths({path}, true);
    }
}

void PTGridView::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF point = event->position() + QPointF(0, visibleRect().y());
    if (event->buttons() == Qt::NoButton) {
        if (!scrolling_ && !liveGridResize_)
            hoverAt(point, event);
        return;
    }
    if (mouseEventsDisabled_ || !(event->buttons() & Qt::LeftButton))
        return;
    if (!dragging_) {
        // A jitter of a pixel or two stays a click.
        if ((point - mouseDownPoint_).manhattanLength() < QApplication::startDragDistance())
            return;
        dragging_ = true;
        if (!dataSource_ || !(respondsTo_ & PTGridViewDataSource::WantsDrag))
            return;
        const qint64 index = geometry_.indexForIndexPath(geometry_.indexPathForPoint(mouseDownPoint_));
        if (index != kGridNotFound && selection_.contains(index)) {
            dataSource_->wantsDragForIndexPaths(*this, selectedIndexPathsByPrioritisingInViewPaths(), event, point);
            return;
        }
        if (marquee_)
            removeCell(marquee_.get());
        marquee_ = std::make_unique<GridMarqueeCell>();
        marquee_->setController(this);
        marqueeFading_ = false;
    }
    if (marquee_ && !marqueeFading_) {
        updateMarquee(point);
        autoscrollTo(event->position(), true);
    }
}

void PTGridView::autoscrollTo(const QPointF& viewportPoint, bool marquee)
{
    autoscrollPoint_ = viewportPoint;
    autoscrollMarquee_ = marquee;
    if (autoscroll_)
        return;
    const auto step = [this] {
        const qreal y = autoscrollPoint_.y();
        const qreal bottom = viewport()->height() - kAutoscrollBand;
        const qreal delta = y < kAutoscrollBand ? y - kAutoscrollBand : (y > bottom ? y - bottom : 0);
        return static_cast<int>(delta < 0 ? std::floor(delta) : std::ceil(delta));
    };
    if (step() == 0)
        return;
    autoscroll_ = clock_.callAfter(kAutoscrollInterval, [this, step] {
        autoscroll_ = 0;
        const bool marqueeHeld = autoscrollMarquee_ && marquee_ && !marqueeFading_;
        if (autoscrollMarquee_ && !marqueeHeld)
            return;
        QScrollBar* bar = verticalScrollBar();
        const int before = bar->value();
        bar->setValue(before + step());
        if (bar->value() == before)
            return;
        if (marqueeHeld)
            updateMarquee(autoscrollPoint_ + QPointF(0, visibleRect().y()));
        autoscrollTo(autoscrollPoint_, autoscrollMarquee_);
    });
}

void PTGridView::stopAutoscroll()
{
    clock_.cancel(autoscroll_);
    autoscroll_ = 0;
}

void PTGridView::hoverAt(const QPointF& point, QMouseEvent* event)
{
    clock_.cancel(hoverCheck_);
    hoverCheck_ = 0;
    hoverPoint_ = point;
    PTGridViewCell* cell = cellAt(point);
    if (cell && cell == hoverCell_) {
        cell->mouseMoved(event, point);
        return;
    }
    killHoverCell();
    hoverCell_ = cell;
    if (cell)
        cell->mouseEntered(event, point);
}

void PTGridView::killHoverCell()
{
    if (PTGridViewCell* cell = std::exchange(hoverCell_, nullptr))
        cell->mouseExited(nullptr, hoverPoint_);
}

void PTGridView::checkMouseHover()
{
    clock_.cancel(hoverCheck_);
    hoverCheck_ = clock_.callAfter(kHoverCheckDelay, [this] {
        hoverCheck_ = 0;
        const QPoint pointer = viewport()->mapFromGlobal(QCursor::pos());
        if (viewport()->rect().contains(pointer) && !(QApplication::mouseButtons() & Qt::LeftButton))
            hoverAt(QPointF(pointer) + QPointF(0, visibleRect().y()), nullptr);
    });
}

void PTGridView::updateMarquee(const QPointF& point)
{
    const QPointF down = mouseDownPoint_;
    const QSizeF document = geometry_.documentSize(viewport()->size());
    qreal width = point.x() - down.x();
    qreal height = point.y() - down.y();
    if (down.y() + height > document.height())
        height = document.height() - down.y();
    if (down.x() + width > document.width())
        width = document.width() - down.x();
    if (marginForEdge(1) > down.y() + height)
        height = marginForEdge(1) - down.y();
    if (down.x() + width < 0)
        width = -down.x();
    const QRectF rect = QRectF(QRectF(down, QSizeF(width, height)).normalized()).toRect();
    marquee_->setDrawState(drawingState());
    marquee_->setFrame(PTRoundRect(rect));
    marquee_->attach();

    const std::vector<qint64> hits = geometry_.indexesOfItemsInRect(marquee_->frame());
    auto& baseline = selection_.marqueBaseline;
    selection_.clear();
    if (!(mouseDownModifiers_ & (Qt::ShiftModifier | Qt::ControlModifier))) {
        tempMarqueSet_.reset();
        std::fill(baseline.begin(), baseline.end(), false);
        for (qint64 i : hits) {
            baseline[static_cast<size_t>(i)] = true;
            selection_.select(i);
        }
    } else {
        // The items hit toggle against the baseline.
        std::vector<bool> outcome = baseline;
        for (qint64 i : hits)
            outcome[static_cast<size_t>(i)] = !outcome[static_cast<size_t>(i)];
        for (size_t i = 0; i < outcome.size(); ++i)
            if (outcome[i])
                selection_.select(static_cast<qint64>(i));
        tempMarqueSet_ = std::move(outcome);
    }
    selection_.anchor = selection_.highest();
    refreshHighlights();
    observeChangesForSelection();
}

void PTGridView::mouseReleaseEvent(QMouseEvent* event)
{
    const QPointF point = event->position() + QPointF(0, visibleRect().y());
    PTGridViewCell* cell = cellAt(point);
    if (mouseDownCell_ && mouseDownCell_ != cell)
        mouseDownCell_->mouseUp(event, point);
    mouseDownCell_ = nullptr;
    dragging_ = false;
    stopAutoscroll();
    if (cell && !cell->mouseUp(event, point))
        return;
    endMarquee();
    mouseDownModifiers_ = {};
    if (clickCount_ == 2 && !mouseEventsDisabled_ && dataSource_ && (respondsTo_ & PTGridViewDataSource::DoubleClick))
        dataSource_->didDoubleClick(*this, event, geometry_.indexPathForPoint(point));
}

void PTGridView::endMarquee()
{
    if (tempMarqueSet_) {
        selection_.marqueBaseline = std::move(*tempMarqueSet_);
        tempMarqueSet_.reset();
    }
    if (!marquee_ || marqueeFading_)
        return;
    marqueeFading_ = true;
    PTGridViewCell* fading = marquee_.get();
    animator_.begin(kMarqueeFade, [this, fading] {
        if (marquee_.get() == fading) {
            animator_.removeAll(fading);
            marquee_.reset();
            marqueeFading_ = false;
            viewport()->update();
        }
    });
    CellAnimator::Animation fade;
    fade.property = CellAnimator::Opacity;
    fade.from = QPointF(1, 0);
    fade.to = QPointF(0, 0);
    fade.removedOnCompletion = false;
    animator_.add(fading, std::move(fade));
    animator_.commit();
}

QVector<GridIndexPath> PTGridView::selectedIndexPathsByPrioritisingInViewPaths() const
{
    QVector<GridIndexPath> paths;
    std::vector<bool> taken(static_cast<size_t>(selection_.itemCount()), false);
    for (qint64 i = currentRange_.location; i < currentRange_.end(); ++i) {
        if (selection_.contains(i)) {
            paths.push_back(geometry_.indexPathForIndex(i));
            taken[static_cast<size_t>(i)] = true;
        }
    }
    for (qint64 i : selection_.indexes())
        if (!taken[static_cast<size_t>(i)])
            paths.push_back(geometry_.indexPathForIndex(i));
    return paths;
}

void PTGridView::noteLayoutBurst()
{
    if (!scrolling_) {
        scrolling_ = true;
        QToolTip::hideText();
        killHoverCell();
    }
    clock_.cancel(scrollQuiet_);
    scrollQuiet_ = clock_.callAfter(kScrollQuietTime, [this] {
        scrollQuiet_ = 0;
        scrolling_ = false;
        checkMouseHover();
    });
}

std::pair<QString, QRect> PTGridView::toolTipAt(const QPoint& viewportPoint)
{
    if (scrolling_ || inNativeLiveResize_ || !dataSource_)
        return {};
    const qreal scroll = visibleRect().y();
    const QPointF point = QPointF(viewportPoint) + QPointF(0, scroll);
    const auto onScreen = [&](const QRectF& rect) { return rect.translated(0, -scroll).toAlignedRect(); };
    if (PTGridViewCell* cell = cellAt(point)) {
        const QPointF local = cell->localisePoint(point);
        for (const QRectF& rect : cell->tooltipRects()) {
            if (!GridGeometry::contains(rect, local))
                continue;
            if (const QString text = cell->tooltipForPoint(local); !text.isEmpty())
                return {text, onScreen(cell->delocaliseRect(rect))};
        }
    }
    const GridIndexPath path = geometry_.indexPathForPoint(point);
    if (!path.isValid())
        return {};
    return {dataSource_->tooltipForItemAtIndexPath(*this, path), onScreen(geometry_.rectForItemAtIndex(geometry_.indexForIndexPath(path)))};
}

void PTGridView::setLiveScrolling(bool live)
{
    isLiveScrolling_ = live;
    for (PTGridViewCell* cell : std::as_const(cacheCells_)) {
        if (live)
            cell->didEnterLiveGridScroll();
        else
            cell->didExitLiveGridScroll();
    }
}

bool PTGridView::respondsTo(const QString& command) const
{
    if (command == CopyCommand || command == DeleteCommand || command == RenameCommand || command == SelectAllCommand)
        return true;
    return dataSource_ && (respondsTo_ & PTGridViewDataSource::ValidatesMenuItem)
        && dataSource_->validateCommand(*this, command);
}

bool PTGridView::validate(const QString& command, pt::CommandState& state)
{
    if (command == CopyCommand || command == DeleteCommand || command == RenameCommand)
        state.enabled = selection_.count() > 0;
    else if (command == SelectAllCommand)
        state.enabled = geometry_.numberOfItems() > 0;
    else
        state.enabled = dataSource_ && (respondsTo_ & PTGridViewDataSource::ValidatesMenuItem)
            && dataSource_->validateCommand(*this, command);
    return state.enabled;
}

void PTGridView::perform(const QString& command)
{
    if (command == SelectAllCommand) {
        selectAll();
        return;
    }
    const bool edit = command == CopyCommand || command == DeleteCommand || command == RenameCommand;
    if (!dataSource_ || (edit && selection_.count() == 0))
        return;
    const QVector<GridIndexPath> paths = edit ? selectionIndexPaths() : QVector<GridIndexPath>();
    if (command == CopyCommand && (respondsTo_ & PTGridViewDataSource::WantsCopy))
        dataSource_->wantsCopyToPasteboardForIndexPaths(*this, paths);
    else if (command == DeleteCommand && (respondsTo_ & PTGridViewDataSource::WantsDelete))
        dataSource_->wantsDeleteForIndexPaths(*this, paths);
    else if (command == RenameCommand && (respondsTo_ & PTGridViewDataSource::WantsRename))
        dataSource_->wantsRenameForIndexPaths(*this, paths);
    else if (!edit && (respondsTo_ & PTGridViewDataSource::ValidatesMenuItem) && dataSource_->validateCommand(*this, command))
        dataSource_->performCommand(*this, command);
}
