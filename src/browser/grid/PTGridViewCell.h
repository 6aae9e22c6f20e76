#pragma once

#include "browser/grid/PTGridViewDrawingState.h"
#include "platform/store/ObjectID.h"

#include <QImage>
#include <QRectF>
#include <QString>
#include <QVariantMap>
#include <QVector>

class QMenu;
class QMouseEvent;
class QPainter;
class QWidget;

// One item or section header of the grid: not a widget but a retained drawing the grid positions, pools, paints
// in z order and tells about what happens to it. Every hook does nothing or the least by default, so a subclass
// overrides only what it needs. Drawing is y down in the cell's own space and cached in a backing image at the
// grid's pixel ratio until setNeedsDisplay.
class PTGridViewCell {
public:
    explicit PTGridViewCell(QString reuseIdentifier);
    virtual ~PTGridViewCell();
    PTGridViewCell(const PTGridViewCell&) = delete;
    PTGridViewCell& operator=(const PTGridViewCell&) = delete;

    // Identity, set by the grid.
    QWidget* controller() const { return controller_; }
    void setController(QWidget* controller) { controller_ = controller; }
    const QString& reuseIdentifier() const { return reuseIdentifier_; }
    qint64 gridIndex() const { return gridIndex_; }
    void setGridIndex(qint64 gridIndex) { gridIndex_ = gridIndex; }
    qint64 section() const { return section_; }
    void setSection(qint64 section) { section_ = section; }
    qint64 index() const { return index_; }
    void setIndex(qint64 index) { index_ = index; }
    const pt::store::ObjectID& underlyingObject() const { return underlyingObject_; }
    void setUnderlyingObject(const pt::store::ObjectID& object) { underlyingObject_ = object; }
    const QVariantMap& meta() const { return meta_; }
    void setMeta(const QVariantMap& meta);

    // State; a change of highlighted or sticky redraws, the same value does nothing.
    bool highlighted() const { return highlighted_; }
    void setHighlighted(bool highlighted);
    bool sticky() const { return sticky_; }
    void setSticky(bool sticky);
    bool dragging() const { return dragging_; }
    virtual void setDragging(bool dragging) { dragging_ = dragging; }
    bool wantsUpdate() const { return wantsUpdate_; }
    virtual void setWantsUpdate(bool wantsUpdate) { wantsUpdate_ = wantsUpdate; }
    bool liveResize() const { return liveResize_; }
    // A header's: the number of items in its section.
    qint64 itemCount() const { return itemCount_; }
    void setItemCount(qint64 count) { itemCount_ = count; }
    void setLiveResize(bool liveResize) { liveResize_ = liveResize; }
    bool animates() const { return animates_; }
    void setAnimates(bool animates) { animates_ = animates; }
    bool respondsToFirstResponderRedraw() const { return respondsToFirstResponderRedraw_; }
    bool isEnqueued() const { return isEnqueued_; }
    void setEnqueued(bool enqueued) { isEnqueued_ = enqueued; }
    bool wasEnqueued() const { return wasEnqueued_; }
    void setWasEnqueued(bool wasEnqueued) { wasEnqueued_ = wasEnqueued; }
    const PTGridViewDrawingState& drawState() const { return drawState_; }
    // An equal record changes nothing.
    void setDrawState(const PTGridViewDrawingState& state);

    // Geometry in grid coordinates and the model values the animations start from.
    const QRectF& frame() const { return frame_; }
    void setFrame(const QRectF& frame);
    // The frame's centre as the glides move it: half sizes floored in single precision.
    QPointF position() const;
    static QPointF positionForFrame(const QRectF& frame);
    qreal zPosition() const { return zPosition_; }
    void setZPosition(qreal z) { zPosition_ = z; }
    qreal scale() const { return scale_; }
    void setScale(qreal scale) { scale_ = scale; }
    qreal opacity() const { return opacity_; }
    void setOpacity(qreal opacity) { opacity_ = opacity; }
    // Whether the grid shows the cell (it is in the grid's layer tree, pooled cells included).
    bool isAttached() const { return attached_; }
    void attach() { attached_ = true; }
    // Ends a display: didEndDisplayCell, then out of the grid. The grid stops the cell's animations first.
    void removeFromGrid();
    // A point in grid coordinates in the cell's space; a rect of the cell's space in grid coordinates (the null
    // rect for a cell the grid does not show).
    QPointF localisePoint(const QPointF& point) const { return point - frame_.topLeft(); }
    QRectF delocaliseRect(const QRectF& rect) const;

    // The drawing, redrawn after setNeedsDisplay at the current pixel ratio.
    void setNeedsDisplay() { needsDisplay_ = true; }
    bool needsDisplay() const { return needsDisplay_; }
    qreal devicePixelRatio() const { return devicePixelRatio_; }
    void setDevicePixelRatio(qreal ratio);
    const QImage& backingImage();
    // Paints the cell's drawing at (0, 0) of the painter, whatever the pixel ratio.
    void render(QPainter& painter);

    // Hooks.
    virtual void clear();
    virtual void metaDidUpdate() {}
    virtual void controllerWillAnimateCell(qint64 /*kind*/) {}
    virtual void controllerDidAnimateCell(qint64 /*kind*/) {}
    virtual void didEnterLiveGridScroll() {}
    virtual void didExitLiveGridScroll() {}
    virtual void didEndDisplayCell() {}
    virtual void drawCellInRect(QPainter& /*painter*/, const QRectF& /*rect*/) {}
    virtual void prepareSticky(bool /*sticky*/) {}
    virtual void didEnterLiveGridResize() {}
    virtual void didExitLiveGridResize() {}
    virtual void didEnqueue();
    virtual void prepareForReuse();
    // Takes the pixel ratio of the grid's window.
    virtual void willDisplayCell(bool reused);
    virtual void purgeCache() {}
    virtual void drawStateDidUpdate() {}
    virtual void prepareForScreenChange(qreal devicePixelRatio);
    virtual void responderDidChange() {}
    // The event is null for a context menu asked from the keyboard or a test.
    virtual QMenu* menuForEvent(QMouseEvent* /*event*/, const QPointF& /*point*/) { return nullptr; }
    virtual QString tooltipForPoint(const QPointF& /*point*/) { return {}; }
    virtual QVector<QRectF> tooltipRects() { return {}; }
    // True lets the grid go on with its own handling; false means the cell took the event. Points are in grid
    // coordinates.
    virtual bool mouseDown(QMouseEvent* /*event*/, const QPointF& /*point*/) { return true; }
    virtual bool mouseUp(QMouseEvent* /*event*/, const QPointF& /*point*/) { return true; }
    // Hover; the event is null when the grid rechecks the pointer after a scroll or clears the hover itself.
    virtual void mouseEntered(QMouseEvent* /*event*/, const QPointF& /*point*/) {}
    virtual void mouseMoved(QMouseEvent* /*event*/, const QPointF& /*point*/) {}
    virtual void mouseExited(QMouseEvent* /*event*/, const QPointF& /*point*/) {}
    // A cell drawn over a blurred copy of what lies beneath it answers true: before each paint on screen the grid
    // paints the cells under it, its frame grown by GridBackdrop::Margin, at GridBackdrop::Scale of the device
    // pixels, and hands that image to setBackdrop.
    virtual bool wantsBackdrop() const { return false; }
    virtual void setBackdrop(const QImage& /*content*/) {}

protected:
    void setRespondsToFirstResponderRedraw(bool responds) { respondsToFirstResponderRedraw_ = responds; }

private:
    QWidget* controller_ = nullptr;
    QString reuseIdentifier_;
    qint64 gridIndex_ = 0;
    qint64 section_ = 0;
    qint64 index_ = 0;
    pt::store::ObjectID underlyingObject_;
    QVariantMap meta_;
    bool highlighted_ = false;
    bool sticky_ = false;
    bool dragging_ = false;
    bool wantsUpdate_ = false;
    bool liveResize_ = false;
    qint64 itemCount_ = 0;
    bool animates_ = true;
    bool respondsToFirstResponderRedraw_ = false;
    bool isEnqueued_ = false;
    bool wasEnqueued_ = false;
    bool attached_ = false;
    PTGridViewDrawingState drawState_;

    QRectF frame_;
    qreal zPosition_ = 0;
    qreal scale_ = 1;
    qreal opacity_ = 1;

    bool needsDisplay_ = true;
    qreal devicePixelRatio_ = 1;
    QImage backing_;
};
