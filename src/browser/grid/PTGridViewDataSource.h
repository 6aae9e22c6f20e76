#pragma once

#include "browser/grid/GridIndexPath.h"
#include "browser/grid/PTGridViewDrawingState.h"
#include "platform/store/ObjectID.h"

#include <QSizeF>
#include <QString>
#include <QVariantMap>
#include <QVector>

#include <memory>

class PTGridView;
class QDropEvent;
class QKeyEvent;
class QMenu;
class QMouseEvent;
class PTGridViewCell;

// What a grid asks of its one data source. The four item operations are required; the others have defaults,
// and those whose answer the grid caches are announced by capabilities().
class PTGridViewDataSource {
public:
    // Bits of capabilities(): the optional operations the grid may send.
    enum Capability : quint32 {
        WillShowSection = 1U << 0,
        WillHideSection = 1U << 1,
        LiveResize = 1U << 2,
        Magnification = 1U << 3,
        RedrawState = 1U << 4,
        ValidateDrop = 1U << 5,
        AcceptDrop = 1U << 6,
        DragEntered = 1U << 7,
        ScreenChanged = 1U << 8,
        ProposedItemSize = 1U << 9,
        PrefetchItems = 1U << 10,
        MouseEnteredPath = 1U << 11,
        MouseExitedPath = 1U << 12,
        WantsDrag = 1U << 13,
        DoubleClick = 1U << 14,
        ValidatesMenuItem = 1U << 15,
        WantsRename = 1U << 16,
        WantsDelete = 1U << 17,
        WantsCopy = 1U << 18,
        PressureChange = 1U << 19,
        CustomMeta = 1U << 20,
    };

    virtual ~PTGridViewDataSource() = default;

    // Cells come from the grid's pool (dequeueReusableCellWithIdentifier) or are new; the grid owns them.
    virtual std::unique_ptr<PTGridViewCell> cellForSection(PTGridView& grid, qint64 section) = 0;
    virtual qint64 numberOfItemsInSection(PTGridView& grid, qint64 section) = 0;
    virtual std::unique_ptr<PTGridViewCell> cellForItemAtIndexPath(PTGridView& grid, const GridIndexPath& path) = 0;
    // The item a cell shows: the same item keeps its cell across layouts and reloads.
    virtual pt::store::ObjectID itemForIndexPath(PTGridView& grid, const GridIndexPath& path) = 0;

    virtual quint32 capabilities() const { return 0; }
    virtual qint64 numberOfSections(PTGridView& /*grid*/) { return 1; }
    virtual QString tooltipForItemAtIndexPath(PTGridView& /*grid*/, const GridIndexPath& /*path*/) { return {}; }
    // The selection after a burst of changes, in grid order.
    virtual void didSelectItemsAtIndexPaths(PTGridView& /*grid*/, const QVector<GridIndexPath>& /*paths*/) {}
    // Space pressed (not repeats).
    virtual void handleSpaceBarEvent(PTGridView& /*grid*/, QKeyEvent* /*event*/) {}

    // Sent only with the matching capability.
    virtual PTGridViewDrawingState wantsDrawingState(PTGridView& /*grid*/, const PTGridViewDrawingState& proposed)
    {
        return proposed;
    }
    virtual void didChangeToScreen(PTGridView& /*grid*/, qreal /*devicePixelRatio*/) {}
    virtual void liveResizeDidChange(PTGridView& /*grid*/, bool /*live*/) {}
    virtual void willShowSection(PTGridView& /*grid*/, qint64 /*section*/, bool /*shownBefore*/) {}
    virtual void willHideSection(PTGridView& /*grid*/, qint64 /*section*/) {}
    virtual QSizeF itemSizeWithProposedSize(PTGridView& /*grid*/, const QSizeF& proposed,
                                            const PTGridViewDrawingState& /*state*/)
    {
        return proposed;
    }
    // A drag of the items starts; true when it did.
    virtual bool wantsDragForIndexPaths(PTGridView& /*grid*/, const QVector<GridIndexPath>& /*paths*/,
                                        QMouseEvent* /*event*/, const QPointF& /*point*/)
    {
        return false;
    }
    // The item under the pointer, or an invalid path.
    virtual void didDoubleClick(PTGridView& /*grid*/, QMouseEvent* /*event*/, const GridIndexPath& /*item*/) {}
    // The edit commands, with the selection.
    virtual void wantsCopyToPasteboardForIndexPaths(PTGridView& /*grid*/, const QVector<GridIndexPath>& /*paths*/) {}
    virtual void wantsDeleteForIndexPaths(PTGridView& /*grid*/, const QVector<GridIndexPath>& /*paths*/) {}
    virtual void wantsRenameForIndexPaths(PTGridView& /*grid*/, const QVector<GridIndexPath>& /*paths*/) {}
    // Any other command reaches the data source through the grid: enabled when it says so, then performed by it.
    virtual bool validateCommand(const PTGridView& /*grid*/, const QString& /*command*/) { return false; }
    virtual void performCommand(PTGridView& /*grid*/, const QString& /*command*/) {}
    // The context menu for the selection and its first path, or with no selection for the path under the
    // pointer alone (invalid on empty space); asked every time. The menu stays the data source's.
    virtual QMenu* menuForItemsAtIndexPaths(PTGridView& /*grid*/, const QVector<GridIndexPath>& /*paths*/,
                                            const GridIndexPath& /*contextItem*/)
    {
        return nullptr;
    }
    // Drops: the path is an item, a section (index kGridNotFound) or invalid outside every section.
    virtual Qt::DropAction validateDrop(PTGridView& /*grid*/, const QDropEvent& /*drop*/, const GridIndexPath& /*path*/)
    {
        return Qt::IgnoreAction;
    }
    virtual bool acceptDrop(PTGridView& /*grid*/, const QDropEvent& /*drop*/, const GridIndexPath& /*path*/)
    {
        return false;
    }
    virtual void dragEntered(PTGridView& /*grid*/, bool /*entered*/) {}
    virtual QVariantMap metaForIndexPath(PTGridView& /*grid*/, const GridIndexPath& /*path*/) { return {}; }
};
