#pragma once

#include "browser/controller/PTGridViewDataProvider.h"
#include "browser/controller/PTSearchController.h"
#include "browser/controller/PTSearchGridController.h"
#include "browser/grid/PTGridViewDataSource.h"
#include "browser/quicklook/PTQuickLookProtocol.h"
#include "platform/runtime/NotificationCenter.h"
#include "platform/ui/CommandHandler.h"
#include "ui/theme/PTAppearanceObserver.h"

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QVector>

#include <memory>
#include <vector>

class PTCollection;
class PTEmptyGridView;
class PTGridView;
class PTGridViewContextMenu;
class PTGridViewSearchDataProvider;
class PTSearchController;
class PTItem;
class QStackedLayout;

namespace pt::store {
class ManagedObject;
}

// The single controller of the icon grid: it turns the sets chosen in the source list, or a search's results,
// into the grid's sections through a data provider, applies the toolbar's type and licence filter, shows a
// placeholder when nothing passes, hands the selection to the inspector, follows the grid options in the
// defaults, and answers the grid's commands, context menu, copy, drag and drop.
class PTGridViewController : public QObject,
                             public PTGridViewDataSource,
                             public PTSearchGridController,
                             public PTQuickLookProtocol,
                             public pt::CommandHandler {
    Q_OBJECT
public:
    using Objects = QVector<pt::store::ManagedObject*>;

    static const QString DidClearItemsDataNotification; // "PTGridViewControllerDidClearItemsData"
    static const QString ReloadNotification;            // "PTGridViewControllerReload"
    static const QString ToolbarFilterDidChangeNotification;
    static const QString SizeSliderDidStartNotification;
    static const QString SizeSliderDidEndNotification;
    static const QString ToolbarColorDidChangeNotification;

    static const QString HoverLabelsKey;
    static const QString GroupSearchKey;

    // Commands the grid, the placeholders and the main menu send.
    static const QString ExportCommand;        // "export:"
    static const QString ReplaceCommand;       // "replace:"
    static const QString ToggleDarkModeCommand;
    static const QString ToggleHoverLabelsCommand;

    static constexpr qreal DefaultGridSize = 60;
    static constexpr int ReloadDelayMs = 70;
    static constexpr int ColorRedisplayDelayMs = 50;

    // The web page of free icon sets, fixed at build time; empty turns the command off.
    static QString freebiesAddress();

    static PTGridViewController* sharedController();
    void makeSharedController();

    explicit PTGridViewController(QObject* parent = nullptr);
    ~PTGridViewController() override;

    // What the window shows: the grid or one placeholder.
    QWidget* containerView() const { return container_; }
    PTGridView* view() const { return grid_; }
    // The placeholder shown, or null while the grid is.
    PTEmptyGridView* emptyView() const { return emptyView_; }

    // Shows the items of the sets (see the source file for the steps).
    void setCollections(const QVector<PTCollection*>& sets, const Objects& topLevelObjects, bool force);
    // Shows exactly these items (search results), scrolled to the top.
    void setDataFromItemsArray(const QVector<PTItem*>& items) override;
    void setDataFromItemsArray(const QVector<PTItem*>& items, bool scrollToTop, bool replaceCachedItems);
    // Refills from the cached items, scrolled to the top.
    void refreshData();
    // Refills from the cached items a moment later, keeping the scroll position; calls in between make one.
    void reloadData();
    // Shows the same sets again, forced, keeping the scroll position.
    void disableScrollAndReload();
    // The shown section headers take the current names of their sets and groups, and the grid repaints; nothing
    // is refilled. Renames call it.
    void redisplay();
    // Runs the block a turn of the main queue later, with refills keeping the scroll position.
    void disableScrollBlock(std::function<void()> block);
    QVector<PTCollection*> collections() const;
    PTGridViewDataProvider& dataProvider();
    QVector<PTItem*> itemsForIndexPaths(const QVector<GridIndexPath>& paths);
    PTItem* itemForIndexPath(const GridIndexPath& path);
    // The unfiltered items of the last selection or search.
    const QVector<PTItem*>& cachedItems() const { return itemArray_; }
    void deselectAll();
    void completelyClearSideBar();
    void clearSidebar();
    void reloadSidebar();

    PTSearchController* searchController() const { return searchController_; }
    void setSearchController(PTSearchController* controller) override;
    bool isSearching() const;

    // 0 dark or 1 light: the stored choice, else the theme's.
    qint64 gridViewAppearance() const;
    void toggleDarkMode();
    void toggleHoverLabels();
    // Files changed on disk: the shown items with those file names draw again.
    void processChangedItemURLs(const QList<QUrl>& urls);
    // Items whose files were replaced draw again from their new files.
    void purgeAndReloadReplacedItems(const pt::Notification& notification);

    // Commands of the items (see the context menu).
    void copyItems(const QVector<PTItem*>& items);
    void deleteItems(const QVector<PTItem*>& items);
    void showItemsInSet(const QVector<PTItem*>& items);
    void showItemsInFileManager(const QVector<PTItem*>& items);
    void moveItemsToCollection(const QVector<PTItem*>& items, PTCollection* set);
    void copyItemsToCollection(const QVector<PTItem*>& items, PTCollection* set);
    // A new set "Untitled" that the items move or are copied into; the source list then renames it.
    void moveItemsToNewCollection(const QVector<PTItem*>& items);
    void copyItemsToNewCollection(const QVector<PTItem*>& items);
    void replaceItems(const QVector<PTItem*>& items);
    void exportItems(const QVector<PTItem*>& items, int exportFormat = -1);

    // PTGridViewDataSource.
    quint32 capabilities() const override;
    qint64 numberOfSections(PTGridView& grid) override;
    qint64 numberOfItemsInSection(PTGridView& grid, qint64 section) override;
    pt::store::ObjectID itemForIndexPath(PTGridView& grid, const GridIndexPath& path) override;
    std::unique_ptr<PTGridViewCell> cellForItemAtIndexPath(PTGridView& grid, const GridIndexPath& path) override;
    std::unique_ptr<PTGridViewCell> cellForSection(PTGridView& grid, qint64 section) override;
    QString tooltipForItemAtIndexPath(PTGridView& grid, const GridIndexPath& path) override;
    QSizeF itemSizeWithProposedSize(PTGridView& grid, const QSizeF& proposed,
                                    const PTGridViewDrawingState& state) override;
    PTGridViewDrawingState wantsDrawingState(PTGridView& grid, const PTGridViewDrawingState& proposed) override;
    QVariantMap metaForIndexPath(PTGridView& grid, const GridIndexPath& path) override;
    void didChangeToScreen(PTGridView& grid, qreal devicePixelRatio) override;
    void didSelectItemsAtIndexPaths(PTGridView& grid, const QVector<GridIndexPath>& paths) override;
    QMenu* menuForItemsAtIndexPaths(PTGridView& grid, const QVector<GridIndexPath>& paths,
                                    const GridIndexPath& contextItem) override;
    bool validateCommand(const PTGridView& grid, const QString& command) override;
    void performCommand(PTGridView& grid, const QString& command) override;
    void wantsCopyToPasteboardForIndexPaths(PTGridView& grid, const QVector<GridIndexPath>& paths) override;
    void wantsDeleteForIndexPaths(PTGridView& grid, const QVector<GridIndexPath>& paths) override;
    void wantsRenameForIndexPaths(PTGridView& grid, const QVector<GridIndexPath>& paths) override;
    bool wantsDragForIndexPaths(PTGridView& grid, const QVector<GridIndexPath>& paths, QMouseEvent* event,
                                const QPointF& point) override;
    Qt::DropAction validateDrop(PTGridView& grid, const QDropEvent& drop, const GridIndexPath& path) override;
    bool acceptDrop(PTGridView& grid, const QDropEvent& drop, const GridIndexPath& path) override;
    void didDoubleClick(PTGridView& grid, QMouseEvent* event, const GridIndexPath& item) override;
    // Space shows the preview panel for the selection.
    void handleSpaceBarEvent(PTGridView& grid, QKeyEvent* event) override;

    // PTQuickLookProtocol: the first selected item; arrows move the grid's selection under the panel and Space
    // closes it (once, whatever the key repeat).
    PTItem* itemForQuickLook(PTQuickLook& quickLook) override;
    bool quickLookHandleEvent(PTQuickLook& quickLook, QKeyEvent* event) override;

    // pt::CommandHandler: the commands of the main menu and the placeholders.
    bool respondsTo(const QString& command) const override;
    bool validate(const QString& command, pt::CommandState& state) override;
    void perform(const QString& command) override;

private:
    void hideQuickLook();
    void observeNotifications();
    void observeDefaults();
    void prepareForSets();
    void showEmptyView();
    bool restoreGridView();
    void resetItemSize();
    void resetDarkMode();
    void resetShowHoverLabels();
    void toolbarColorDidChange();
    void prepForCollectionDeletion(const pt::Notification& notification);
    void actuallyReloadData();
    QVector<PTItem*> itemsOfCollections(const QVector<PTCollection*>& sets, PTGridViewDataProvider::KnownItems& known);
    // Filters the items into the provider (see the source file).
    void fill(const QVector<PTItem*>& items, PTGridViewDataProvider::KnownItems known, bool scrollToTop,
              bool replaceCachedItems);
    QMenu* groupMenuForSection(qint64 section, qint64 index, QAction** selectedItem);
    // The file URLs of the items, dropped files of the drop.
    static QList<QUrl> droppedFileURLs(const QDropEvent& drop);
    QVector<PTItem*> itemsWithout(const QVector<PTItem*>& removed) const;

    static inline PTGridViewController* shared_ = nullptr;

    QPointer<QWidget> container_;
    QStackedLayout* stack_ = nullptr;
    PTGridView* grid_ = nullptr;
    PTEmptyGridView* emptyView_ = nullptr;
    bool ignoreScroll_ = false;
    bool isDragging_ = false;
    bool shouldGroupSearch_ = false;
    QPointer<PTSearchController> searchController_;
    Objects topLevelSelection_;
    QVector<PTItem*> itemArray_;
    PTGridViewDataProvider::KnownItems knownItems_;
    std::unique_ptr<PTGridViewDataProvider> dataProvider_;
    std::unique_ptr<PTGridViewSearchDataProvider> searchDataProvider_;
    std::unique_ptr<PTGridViewContextMenu> contextMenu_;
    QVariantMap cellMeta_;
    QTimer reloadTimer_;
    QTimer colorTimer_;
    QString fileHandlerID_;
    std::vector<pt::ObserverToken> observers_;
    pt::ObserverToken searchObserver_;
    std::unique_ptr<QMenu> headerMenu_;
    PTAppearanceObserver appearanceObserver_;
};
