#include "browser/controller/PTGridViewController.h"

#include "browser/PTBrowserShell.h"
#include "browser/PTBrowserSidebar.h"
#include "browser/PTBrowserTransfer.h"
#include "browser/cache/PTImageCache.h"
#include "browser/controller/ItemFilter.h"
#include "browser/controller/PTGridViewContextMenu.h"
#include "browser/controller/PTGridViewDataProvider.h"
#include "browser/controller/PTGridViewOptionsController.h"
#include "browser/controller/PTGridViewSearchDataProvider.h"
#include "browser/controller/PTQMenuBuilder.h"
#include "browser/controller/PTSearchController.h"
#include "browser/grid/PTGridView.h"
#include "browser/grid/PTGridViewImageCell.h"
#include "browser/grid/PTGridViewSectionPathCell.h"
#include "browser/quicklook/PTQuickLook.h"
#include "browser/views/PTEmptyGridView.h"
#include "library/controllers/PTCollectionController.h"
#include "library/controllers/PTGroupController.h"
#include "library/controllers/PTIconRemover2.h"
#include "library/entities/PTCollection.h"
#include "library/entities/PTItem.h"
#include "library/store/ContextAdditions.h"
#include "library/store/PTStoreFunctions.h"
#include "library/upkeep/PTFSEventHandlerController.h"
#include "library/upkeep/PTLibraryShell.h"
#include "platform/runtime/Defaults.h"
#include "platform/runtime/DispatchQueue.h"
#include "platform/runtime/Logging.h"
#include "ui/PTPreferenceKeys.h"
#include "ui/theme/PTChevron.h"
#include "ui/theme/PTThemeController.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDrag>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QSet>
#include <QStackedLayout>
#include <QToolTip>
#include <QWidget>

#include <algorithm>

const QString PTGridViewController::DidClearItemsDataNotification = QStringLiteral("PTGridViewControllerDidClearItemsData");
const QString PTGridViewController::ReloadNotification = QStringLiteral("PTGridViewControllerReload");
const QString PTGridViewController::ToolbarFilterDidChangeNotification = QStringLiteral("PT_TOOLBAR_FILTER_DID_CHANGE");
const QString PTGridViewController::SizeSliderDidStartNotification = QStringLiteral("PTToolbarSizeSliderDidStart");
const QString PTGridViewController::SizeSliderDidEndNotification = QStringLiteral("PTToolbarSizeSliderDidEnd");
const QString PTGridViewController::ToolbarColorDidChangeNotification = QStringLiteral("PTToolbarColorDidChange");
const QString PTGridViewController::HoverLabelsKey = QStringLiteral("PTGridViewOptionsControllerEnableHoverLabels");
const QString PTGridViewController::GroupSearchKey = QStringLiteral("PTGridViewOptionsControllerGroupSearchItems");
const QString PTGridViewController::ExportCommand = QStringLiteral("export:");
const QString PTGridViewController::ReplaceCommand = QStringLiteral("replace:");
const QString PTGridViewController::ToggleDarkModeCommand = QStringLiteral("toggleDarkMode:");
const QString PTGridViewController::ToggleHoverLabelsCommand = QStringLiteral("toggleHoverLabels:");

namespace {

pt::Defaults& defaults()
{
    return pt::Defaults::standard();
}

QVector<pt::store::ManagedObject*> asObjects(const QVector<PTItem*>& items)
{
    return {items.begin(), items.end()};
}

PTBrowserTransfer::Rendering draggingRendering()
{
    PTBrowserTransfer::Rendering rendering;
    rendering.internalRenderer = defaults().boolForKey(PTPreferenceKeys::DraggingUseInternalRenderer);
    if (defaults().boolForKey(PTPreferenceKeys::DraggingUseColor)) {
        if (const auto shell = PTBrowserShell::installed())
            rendering.color = shell->iconColor();
    }
    const double size = defaults().doubleForKey(PTGridViewOptionsController::GridViewSizeKey);
    if (defaults().boolForKey(PTPreferenceKeys::DraggingUseSize) && size != 0)
        rendering.size = QSizeF(size, size);
    return rendering;
}

void postCopyNotice(qsizetype clones)
{
    const auto shell = PTLibraryShell::installed();
    if (!shell || clones == 0)
        return;
    if (clones == 1)
        shell->postNotice(QObject::tr("Icon Copied"), QObject::tr("Your icon was successfully copied."));
    else
        shell->postNotice(QObject::tr("Icons Copied"), QObject::tr("Your icons were successfully copied."));
}

// Up to three item pictures stacked with a small offset: one picture for the whole drag.
QPixmap stackedDragPixmap(PTGridView& grid, const QVector<GridIndexPath>& paths)
{
    constexpr int Shown = 3;
    constexpr qreal Offset = 6;
    QVector<QPixmap> pictures;
    QSizeF size;
    for (const GridIndexPath& path : paths) {
        if (pictures.size() == Shown)
            break;
        QPixmap picture = grid.imageOfDragItemAtIndexPath(path);
        if (picture.isNull())
            continue;
        size = size.expandedTo(picture.deviceIndependentSize());
        pictures.append(picture);
    }
    if (pictures.isEmpty())
        return {};
    const qreal ratio = pictures.first().devicePixelRatio();
    const qreal extra = Offset * static_cast<qreal>(pictures.size() - 1);
    QPixmap stacked((QSizeF(size.width() + extra, size.height() + extra) * ratio).toSize());
    stacked.setDevicePixelRatio(ratio);
    stacked.fill(Qt::transparent);
    QPainter painter(&stacked);
    for (qsizetype i = pictures.size() - 1; i >= 0; --i)
        painter.drawPixmap(QPointF(Offset * static_cast<qreal>(i), Offset * static_cast<qreal>(i)), pictures[i]);
    return stacked;
}

} // namespace

QString PTGridViewController::freebiesAddress()
{
    return QStringLiteral(PICTERN_FREEBIES_URL);
}

PTGridViewController* PTGridViewController::sharedController()
{
    return shared_;
}

void PTGridViewController::makeSharedController()
{
    shared_ = this;
}

PTGridViewController::PTGridViewController(QObject* parent)
    : QObject(parent),
      container_(new QWidget),
      appearanceObserver_([this](int) {
          // The grid follows the theme again.
          defaults().remove(PTGridViewOptionsController::DarkModeEnabledKey);
          resetDarkMode();
      })
{
    container_->setAccessibleName(tr("Icons"));
    stack_ = new QStackedLayout(container_);
    grid_ = new PTGridView(container_);
    grid_->setAccessibleName(tr("Icon grid"));
    grid_->setItemMargin(10);
    grid_->setSectionHeaderHeight(35);
    grid_->setMargin(0, 1);
    stack_->addWidget(grid_);
    // Before any size is applied: the cell adds its margins to the stored size only when it can be asked.
    grid_->setDataSource(this);
    contextMenu_ = std::make_unique<PTGridViewContextMenu>(*this);

    reloadTimer_.setSingleShot(true);
    reloadTimer_.setInterval(ReloadDelayMs);
    connect(&reloadTimer_, &QTimer::timeout, this, &PTGridViewController::actuallyReloadData);
    colorTimer_.setSingleShot(true);
    colorTimer_.setInterval(ColorRedisplayDelayMs);
    connect(&colorTimer_, &QTimer::timeout, grid_, &PTGridView::visuallyReloadAllItems);

    observeNotifications();
    observeDefaults();
    resetItemSize();
    fileHandlerID_ = PTFSEventHandlerController::sharedController().registerEventHandler(
        [guard = QPointer(this)](const QList<QUrl>& urls) {
            if (guard)
                guard->processChangedItemURLs(urls);
        },
        PTFSEventHandlerController::ChangedFilesMask);
    if (const auto shell = PTBrowserShell::installed()) {
        if (QAction* dark = shell->darkModeMenuItem())
            connect(dark, &QAction::triggered, this, &PTGridViewController::toggleDarkMode);
        if (QAction* hover = shell->gridViewHoverLabelsMenuItem()) {
            hover->setCheckable(true);
            connect(hover, &QAction::triggered, this, &PTGridViewController::toggleHoverLabels);
        }
    }
    resetDarkMode();
    resetShowHoverLabels();
    shouldGroupSearch_ = defaults().boolForKey(GroupSearchKey);
}

PTGridViewController::~PTGridViewController()
{
    PTFSEventHandlerController::sharedController().removeEventHandlerWithID(fileHandlerID_);
    if (PTQuickLook::sharedController().delegate() == this)
        PTQuickLook::sharedController().setDelegate(nullptr);
    if (shared_ == this)
        shared_ = nullptr;
    // A window that took the container may have deleted it, and the grid with it, already.
    if (container_) {
        grid_->setDataSource(nullptr);
        delete container_;
    }
}

void PTGridViewController::observeNotifications()
{
    auto& center = pt::NotificationCenter::defaultCenter();
    const auto on = [&](const QString& name, const void* object, std::function<void(const pt::Notification&)> action) {
        observers_.push_back(center.addObserver(name, object, [guard = QPointer(this), action](const pt::Notification& n) {
            if (guard)
                action(n);
        }));
    };
    on(ToolbarFilterDidChangeNotification, nullptr, [this](const auto&) { refreshData(); });
    on(SizeSliderDidStartNotification, nullptr, [this](const auto&) { grid_->setLiveGridResize(true); });
    on(SizeSliderDidEndNotification, nullptr, [this](const auto&) { grid_->setLiveGridResize(false); });
    on(ReloadNotification, nullptr, [this](const auto&) { grid_->visuallyReloadSelectedItems(); });
    on(ToolbarColorDidChangeNotification, nullptr, [this](const auto&) { toolbarColorDidChange(); });
    on(PTBrowserTransfer::ItemsWereReplacedNotification, nullptr,
       [this](const pt::Notification& n) { purgeAndReloadReplacedItems(n); });
    on(PTCollectionController::WillDeleteCollectionNotification, &PTCollectionController::sharedController(),
       [this](const pt::Notification& n) { prepForCollectionDeletion(n); });
    // The inspector's renames come this way.
    on(PTCollectionController::CollectionsDidUpdateNotification, &PTCollectionController::sharedController(),
       [this](const auto&) { redisplay(); });
}

void PTGridViewController::observeDefaults()
{
    connect(&defaults(), &pt::Defaults::changed, this, [this](const QString& key) {
        if (key == PTGridViewOptionsController::GridViewSizeKey) {
            resetItemSize();
        } else if (key == PTGridViewOptionsController::DarkModeEnabledKey
                   || key == PTPreferenceKeys::DarkModeAutoColorIcons) {
            resetDarkMode();
        } else if (key == PTGridViewOptionsController::ShowLabelsKey || key == PTGridViewOptionsController::ShowGridKey || key == HoverLabelsKey) {
            resetItemSize();
            resetShowHoverLabels();
        } else if (key == GroupSearchKey) {
            shouldGroupSearch_ = defaults().boolForKey(GroupSearchKey);
            if (isSearching())
                reloadData();
        }
    });
}

void PTGridViewController::setSearchController(PTSearchController* controller)
{
    searchController_ = controller;
    searchObserver_.reset();
    if (!controller)
        return;
    searchObserver_ = pt::NotificationCenter::defaultCenter().addObserver(
        PTSearchController::DidClearNotification, controller, [guard = QPointer(this)](const pt::Notification&) {
            if (guard)
                guard->reloadData();
        });
}

bool PTGridViewController::isSearching() const
{
    return searchController_ && searchController_->isSearching();
}

// Step by step: a selection change ends a running search when the user asked for that (the search's end makes the
// source list hand its selection on again); the inspector always hears of the sets; the same sets again with none
// marked for a refresh reload nothing; otherwise every item of the sets, in the sets' order, refills the grid.
void PTGridViewController::setCollections(const QVector<PTCollection*>& sets, const Objects& topLevelObjects,
                                          bool force)
{
    const QString& clearKey = PTPreferenceKeys::ClearSearchOnSelectionChange;
    // True when unset.
    const bool clear = !defaults().objectForKey(clearKey).isValid() || defaults().boolForKey(clearKey);
    if (clear && isSearching()) {
        searchController_->cancelSearchByResigningFirstResponse(true, this);
        return;
    }
    topLevelSelection_ = topLevelObjects;
    if (const auto sidebar = PTBrowserSidebar::installed())
        sidebar->setInspectedCollections(sets, topLevelObjects);
    if (!clear && isSearching()) {
        searchController_->reperformSearch();
        return;
    }
    if (!force && !sets.isEmpty()) {
        const QVector<PTCollection*> current = dataProvider().collections();
        if (QSet<PTCollection*>(current.begin(), current.end()) == QSet<PTCollection*>(sets.begin(), sets.end())) {
            bool refresh = false;
            for (PTCollection* set : sets) {
                refresh = refresh || set->requiresVisualRefresh();
                set->setRequiresVisualRefresh(false);
            }
            if (!refresh)
                return;
        }
    }
    pt::NotificationCenter::defaultCenter().post(DidClearItemsDataNotification, this);
    PTGridViewDataProvider::KnownItems known;
    const QVector<PTItem*> items = itemsOfCollections(sets, known);
    fill(items, std::move(known), !ignoreScroll_, true);
}

// One query for the items of every set with what grouping and sorting need; the objects stay faults until the
// grid shows them, so a set of 100,000 items costs little more than an empty one.
QVector<PTItem*> PTGridViewController::itemsOfCollections(const QVector<PTCollection*>& sets,
                                                          PTGridViewDataProvider::KnownItems& known)
{
    pt::store::ObjectContext* context = PTMainManagedObjectContext();
    if (!context || sets.isEmpty())
        return {};
    QVector<pt::store::ObjectID> ids;
    QHash<const pt::store::ManagedObject*, qsizetype> order;
    for (PTCollection* set : sets) {
        ids.append(set->objectID());
        order.insert(set, order.size());
    }
    pt::store::FetchRequest request;
    request.entityName = PTItem::EntityName;
    request.predicate = pt::store::Predicate::in(QStringLiteral("collection"), ids);
    auto fetched = context->fetchValues(request, {QStringLiteral("name")}, {QStringLiteral("collection")});
    if (!fetched) {
        qCWarning(lcBrowser) << "cannot read the items of the sets:" << fetched.error().toString();
        return {};
    }
    // In the sets' order, each set's items in the order of their keys, as the sets list them.
    std::vector<QVector<PTItem*>> perSet(static_cast<size_t>(sets.size()));
    known.reserve(fetched->size());
    for (const auto& values : std::as_const(*fetched)) {
        auto* item = static_cast<PTItem*>(values.object);
        auto* set = static_cast<PTCollection*>(values.targets.front());
        perSet[static_cast<size_t>(order.value(set))].append(item);
        known.insert(item, {set, values.attributes.front().toString()});
    }
    QVector<PTItem*> items;
    items.reserve(fetched->size());
    for (QVector<PTItem*>& members : perSet) {
        std::sort(members.begin(), members.end(), [](const PTItem* a, const PTItem* b) { return a->compare(*b) < 0; });
        items += members;
    }
    return items;
}

void PTGridViewController::setDataFromItemsArray(const QVector<PTItem*>& items)
{
    setDataFromItemsArray(items, true, true);
}

void PTGridViewController::setDataFromItemsArray(const QVector<PTItem*>& items, bool scrollToTop,
                                                 bool replaceCachedItems)
{
    // What the last refill knew of the cached items still holds for those that are faults.
    fill(items, replaceCachedItems ? PTGridViewDataProvider::KnownItems() : knownItems_, scrollToTop,
         replaceCachedItems);
}

void PTGridViewController::fill(const QVector<PTItem*>& items, PTGridViewDataProvider::KnownItems known,
                                bool scrollToTop, bool replaceCachedItems)
{
    prepareForSets();
    if (replaceCachedItems) {
        itemArray_ = items;
        knownItems_ = known;
    }
    const auto shell = PTBrowserShell::installed();
    const qint64 type = shell ? shell->selectedType() : itemFilter::AllTypes;
    PTLicence* licence = shell ? shell->selectedLicence() : nullptr;
    const bool filtering = itemFilter::readsItems(type, licence);
    // Without a filter the items stay faults: the provider groups and sorts them by what is known of them.
    if (pt::store::ObjectContext* context = PTMainManagedObjectContext(); context && (filtering || known.isEmpty())) {
        contextAdditions::unfault(*context, asObjects(items), PTItem::EntityName);
        known.clear();
        if (licence) {
            contextAdditions::unfaultRelationships(*context, {QStringLiteral("licence"), QStringLiteral("collection.licence")},
                                                   asObjects(itemArray_), PTItem::EntityName);
        }
    }
    QVector<PTItem*> kept;
    kept.reserve(items.size());
    for (PTItem* item : items) {
        if (!item->isDeleted() && itemFilter::itemIsViewableInCurrentFilter(*item, type, licence))
            kept.append(item);
    }
    dataProvider().setItems(kept, std::move(known));
    if (kept.isEmpty())
        showEmptyView();
    else
        restoreGridView();
    grid_->reloadData(scrollToTop);
}

// Thumbnails stay cached across refills, so a revisited set draws at once; they are purged when files are
// replaced or the screen changes.
void PTGridViewController::prepareForSets()
{
    if (const auto sidebar = PTBrowserSidebar::installed())
        sidebar->setInspectedItems({}, true);
}

PTGridViewDataProvider& PTGridViewController::dataProvider()
{
    if (isSearching() && !shouldGroupSearch_) {
        if (!searchDataProvider_) {
            searchDataProvider_ = std::make_unique<PTGridViewSearchDataProvider>(
                [this] { return searchController_ ? searchController_->term() : QString(); });
        }
        return *searchDataProvider_;
    }
    searchDataProvider_.reset();
    if (!dataProvider_)
        dataProvider_ = std::make_unique<PTGridViewDataProvider>();
    return *dataProvider_;
}

QVector<PTCollection*> PTGridViewController::collections() const
{
    return const_cast<PTGridViewController*>(this)->dataProvider().collections();
}

QVector<PTItem*> PTGridViewController::itemsForIndexPaths(const QVector<GridIndexPath>& paths)
{
    return dataProvider().itemsForIndexPaths(paths);
}

PTItem* PTGridViewController::itemForIndexPath(const GridIndexPath& path)
{
    return dataProvider().itemForIndexPath(path);
}

void PTGridViewController::showEmptyView()
{
    const auto shell = PTBrowserShell::installed();
    const qint64 type = shell ? shell->selectedType() : itemFilter::AllTypes;
    const PTEmptyGridView::Kind kind = isSearching()               ? PTEmptyGridView::Kind::Search
                                       : type == itemFilter::AllTypes ? PTEmptyGridView::Kind::Collection
                                                                      : PTEmptyGridView::Kind::Filter;
    if (emptyView_ && emptyView_->kind() == kind) {
        stack_->setCurrentWidget(emptyView_);
        return;
    }
    delete emptyView_;
    emptyView_ = new PTEmptyGridView(kind, this, container_);
    stack_->addWidget(emptyView_);
    stack_->setCurrentWidget(emptyView_);
}

bool PTGridViewController::restoreGridView()
{
    if (!emptyView_)
        return false;
    stack_->setCurrentWidget(grid_);
    emptyView_->deleteLater();
    emptyView_ = nullptr;
    return true;
}

void PTGridViewController::refreshData()
{
    hideQuickLook();
    setDataFromItemsArray(itemArray_, true, false);
}

void PTGridViewController::hideQuickLook()
{
    PTQuickLook& quickLook = PTQuickLook::sharedController();
    if (quickLook.isVisible())
        quickLook.hide();
}

void PTGridViewController::handleSpaceBarEvent(PTGridView& grid, QKeyEvent* /*event*/)
{
    if (grid.selectionIndexPaths().isEmpty())
        return;
    PTQuickLook& quickLook = PTQuickLook::sharedController();
    quickLook.setDelegate(this);
    quickLook.show();
}

PTItem* PTGridViewController::itemForQuickLook(PTQuickLook& /*quickLook*/)
{
    const QVector<GridIndexPath> selected = grid_->selectionIndexPaths();
    return selected.isEmpty() ? nullptr : itemForIndexPath(selected.first());
}

bool PTGridViewController::quickLookHandleEvent(PTQuickLook& quickLook, QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down: {
        QKeyEvent copy(event->type(), event->key(), event->modifiers(), event->text(), event->isAutoRepeat());
        QApplication::sendEvent(grid_, &copy);
        return true;
    }
    case Qt::Key_Space:
        if (!event->isAutoRepeat())
            quickLook.hide();
        return true;
    default:
        return false;
    }
}

void PTGridViewController::reloadData()
{
    reloadTimer_.start();
}

void PTGridViewController::actuallyReloadData()
{
    disableScrollBlock([this] { setDataFromItemsArray(itemArray_, false, false); });
}

void PTGridViewController::disableScrollBlock(std::function<void()> block)
{
    pt::DispatchQueue::main().async([guard = QPointer(this), block = std::move(block)] {
        if (!guard)
            return;
        guard->ignoreScroll_ = true;
        block();
        guard->ignoreScroll_ = false;
    });
}

void PTGridViewController::disableScrollAndReload()
{
    disableScrollBlock([this] {
        const Objects topLevel = topLevelSelection_;
        setCollections(collections(), topLevel, true);
    });
}

void PTGridViewController::deselectAll()
{
    grid_->deselectAll();
}

void PTGridViewController::completelyClearSideBar()
{
    if (const auto sidebar = PTBrowserSidebar::installed()) {
        sidebar->setInspectedCollections({}, {});
        sidebar->setInspectedItems({}, true);
    }
}

void PTGridViewController::clearSidebar()
{
    if (const auto sidebar = PTBrowserSidebar::installed())
        sidebar->setInspectedItems({}, true);
}

void PTGridViewController::reloadSidebar()
{
    if (const auto sidebar = PTBrowserSidebar::installed())
        sidebar->reloadInspector();
}

void PTGridViewController::processChangedItemURLs(const QList<QUrl>& urls)
{
    QSet<QString> names;
    for (const QUrl& url : urls)
        names.insert(url.fileName());
    QVector<GridIndexPath> changed;
    for (const GridIndexPath& path : grid_->visibleIndexPaths()) {
        PTItem* item = itemForIndexPath(path);
        if (item && !item->isDeleted() && names.contains(item->newFileName())) {
            PTImageCache::sharedCache().purgeImageForObjectID(item->objectID());
            changed.append(path);
        }
    }
    grid_->reloadItemsAtIndexPaths(changed);
}

void PTGridViewController::purgeAndReloadReplacedItems(const pt::Notification& notification)
{
    // The replaced items this grid shows; the selection when the poster named none.
    const QVariant listed = notification.userInfo.value(PTBrowserTransfer::ReplacedItemsKey);
    QVector<GridIndexPath> paths = grid_->selectionIndexPaths();
    if (listed.isValid()) {
        QVector<PTItem*> items;
        for (const QVariant& object : listed.toList()) {
            if (PTItem* item = PTItem::from(object.value<pt::store::ManagedObject*>()))
                items << item;
        }
        paths = dataProvider().indexPathsForItems(items);
    }
    PTImageCache::sharedCache().purge();
    grid_->reloadItemsAtIndexPaths(paths);
    reloadSidebar();
}

void PTGridViewController::prepForCollectionDeletion(const pt::Notification& notification)
{
    auto* set = PTCollection::from(notification.userInfo.value(PTCollectionController::CollectionKey)
                                       .value<pt::store::ManagedObject*>());
    if (set && collections().contains(set))
        grid_->deselectAll();
}

void PTGridViewController::resetItemSize()
{
    double size = defaults().doubleForKey(PTGridViewOptionsController::GridViewSizeKey);
    if (size == 0) {
        size = DefaultGridSize;
        PTGridViewOptionsController::setDefaultSize(static_cast<float>(size));
    }
    if (const auto shell = PTBrowserShell::installed())
        shell->recalculateGridViewOptionsWidth();
    grid_->setItemSize(QSizeF(size, size));
}

qint64 PTGridViewController::gridViewAppearance() const
{
    if (!defaults().objectForKey(PTGridViewOptionsController::DarkModeEnabledKey).isValid())
        return PTThemeController::defaultController().appearance();
    return defaults().boolForKey(PTGridViewOptionsController::DarkModeEnabledKey) ? PTAppearanceDark : PTAppearanceAqua;
}

void PTGridViewController::toggleDarkMode()
{
    defaults().set(PTGridViewOptionsController::DarkModeEnabledKey, gridViewAppearance() != PTAppearanceDark);
    resetDarkMode();
}

void PTGridViewController::resetDarkMode()
{
    grid_->updateAppearance();
    if (const auto shell = PTBrowserShell::installed()) {
        if (QAction* dark = shell->darkModeMenuItem())
            dark->setText(grid_->drawingState().appearance == PTAppearanceDark ? tr("Disable Dark Grid")
                                                                                : tr("Enable Dark Grid"));
    }
}

void PTGridViewController::resetShowHoverLabels()
{
    if (!defaults().objectForKey(HoverLabelsKey).isValid())
        defaults().set(HoverLabelsKey, true);
    if (const auto shell = PTBrowserShell::installed()) {
        if (QAction* hover = shell->gridViewHoverLabelsMenuItem())
            hover->setChecked(defaults().boolForKey(HoverLabelsKey));
    }
}

void PTGridViewController::toggleHoverLabels()
{
    defaults().set(HoverLabelsKey, !defaults().boolForKey(HoverLabelsKey));
    resetShowHoverLabels();
}

void PTGridViewController::toolbarColorDidChange()
{
    colorTimer_.stop();
    const auto shell = PTBrowserShell::installed();
    const QColor color = shell ? shell->iconColor() : QColor();
    cellMeta_ = color.isValid() ? QVariantMap{{QStringLiteral("color"), color}} : QVariantMap();
    colorTimer_.start();
}

quint32 PTGridViewController::capabilities() const
{
    return RedrawState | ScreenChanged | ProposedItemSize | CustomMeta | ValidateDrop | AcceptDrop | WantsDrag |
           DoubleClick | ValidatesMenuItem | WantsRename | WantsDelete | WantsCopy;
}

qint64 PTGridViewController::numberOfSections(PTGridView& /*grid*/)
{
    return dataProvider().numberOfSections();
}

qint64 PTGridViewController::numberOfItemsInSection(PTGridView& /*grid*/, qint64 section)
{
    return dataProvider().numberOfItemsInSection(section);
}

pt::store::ObjectID PTGridViewController::itemForIndexPath(PTGridView& /*grid*/, const GridIndexPath& path)
{
    return dataProvider().representedObjectForIndexPath(path);
}

std::unique_ptr<PTGridViewCell> PTGridViewController::cellForItemAtIndexPath(PTGridView& grid,
                                                                             const GridIndexPath& path)
{
    std::unique_ptr<PTGridViewCell> cell = grid.dequeueReusableCellWithIdentifier(PTGridViewImageCell::ReuseIdentifier);
    if (!cell)
        cell = std::make_unique<PTGridViewImageCell>();
    auto* imageCell = static_cast<PTGridViewImageCell*>(cell.get());
    imageCell->setItem(dataProvider().itemForIndexPath(path));
    imageCell->setColor(cellMeta_.value(QStringLiteral("color")).value<QColor>());
    return cell;
}

void PTGridViewController::redisplay()
{
    PTGridViewDataProvider& provider = dataProvider();
    for (qint64 section = 0; section < provider.numberOfSections(); ++section) {
        auto* header = dynamic_cast<PTGridViewSectionPathCell*>(grid_->headerCellForSection(section));
        if (!header)
            continue;
        const QStringList path = provider.pathComponentsForSection(section);
        if (header->pathComponents() != path)
            header->setPathComponents(path);
    }
    grid_->viewport()->update();
}

std::unique_ptr<PTGridViewCell> PTGridViewController::cellForSection(PTGridView& grid, qint64 section)
{
    static const QString identifier = QStringLiteral("sectionItem");
    std::unique_ptr<PTGridViewCell> cell = grid.dequeueReusableCellWithIdentifier(identifier);
    if (!cell)
        cell = std::make_unique<PTGridViewSectionPathCell>(identifier);
    auto* header = static_cast<PTGridViewSectionPathCell*>(cell.get());
    header->setPathComponents(dataProvider().pathComponentsForSection(section));
    header->setClickHandler({});
    if (!searchDataProvider_ || &dataProvider() != searchDataProvider_.get()) {
        header->setClickHandler([guard = QPointer(this), section](qint64 index, QAction** selected) -> QMenu* {
            return guard ? guard->groupMenuForSection(section, index, selected) : nullptr;
        });
    }
    return cell;
}

QMenu* PTGridViewController::groupMenuForSection(qint64 section, qint64 index, QAction** selectedItem)
{
    PTCollection* set = dataProvider().collectionForSection(section);
    if (!set)
        return nullptr;
    const QVector<pt::store::ManagedObject*> path = set->path();
    if (index < 0 || index >= path.size())
        return nullptr;
    pt::store::ManagedObject* clicked = path[index];
    headerMenu_ = std::make_unique<QMenu>();
    PTQMenuBuilder builder(headerMenu_.get(), [](const QString&, pt::store::ManagedObject* object) {
        if (const auto sidebar = PTBrowserSidebar::installed())
            sidebar->selectItems({object}, false);
    });
    PTGroupController::sharedController().menuForGroup(PTGroupController::parentOf(clicked),
                                                       QStringLiteral("selectItemFromMenuItem"), builder);
    for (QAction* action : headerMenu_->actions()) {
        if (action->data().value<pt::store::ObjectID>() == clicked->objectID()) {
            action->setCheckable(true);
            action->setChecked(true);
            if (selectedItem)
                *selectedItem = action;
        }
    }
    return headerMenu_.get();
}

QString PTGridViewController::tooltipForItemAtIndexPath(PTGridView& /*grid*/, const GridIndexPath& path)
{
    return PTChevron::legible(dataProvider().tooltipForIndexPath(path), QToolTip::font());
}

QSizeF PTGridViewController::itemSizeWithProposedSize(PTGridView& /*grid*/, const QSizeF& proposed,
                                                      const PTGridViewDrawingState& state)
{
    return PTGridViewImageCell::sizeFromProposedSize(proposed, state);
}

PTGridViewDrawingState PTGridViewController::wantsDrawingState(PTGridView& /*grid*/,
                                                               const PTGridViewDrawingState& /*proposed*/)
{
    PTGridViewDrawingState state;
    state.appearance = gridViewAppearance();
    state.showLabels = defaults().boolForKey(PTGridViewOptionsController::ShowLabelsKey);
    state.showGrid = defaults().boolForKey(PTGridViewOptionsController::ShowGridKey);
    state.showFileType = defaults().boolForKey(HoverLabelsKey);
    return state;
}

QVariantMap PTGridViewController::metaForIndexPath(PTGridView& /*grid*/, const GridIndexPath& /*path*/)
{
    return cellMeta_;
}

void PTGridViewController::didChangeToScreen(PTGridView& /*grid*/, qreal /*devicePixelRatio*/)
{
    PTImageCache::sharedCache().purge();
}

void PTGridViewController::didSelectItemsAtIndexPaths(PTGridView& /*grid*/, const QVector<GridIndexPath>& paths)
{
    if (const auto sidebar = PTBrowserSidebar::installed())
        sidebar->setInspectedItems(itemsForIndexPaths(paths), false);
    PTQuickLook& quickLook = PTQuickLook::sharedController();
    if (quickLook.isVisible() && quickLook.delegate() == this) {
        if (paths.isEmpty())
            quickLook.hide();
        else
            quickLook.reloadData();
    }
}

QMenu* PTGridViewController::menuForItemsAtIndexPaths(PTGridView& /*grid*/, const QVector<GridIndexPath>& paths,
                                                      const GridIndexPath& contextItem)
{
    if (paths.isEmpty() && !contextItem.isValid())
        return nullptr;
    return contextMenu_->menuForItems(itemsForIndexPaths(paths.isEmpty() ? QVector{contextItem} : paths));
}

bool PTGridViewController::validateCommand(const PTGridView& grid, const QString& command)
{
    return (command == ExportCommand || command == ReplaceCommand) && !grid.selectionIndexPaths().isEmpty();
}

void PTGridViewController::performCommand(PTGridView& /*grid*/, const QString& command)
{
    perform(command);
}

void PTGridViewController::wantsCopyToPasteboardForIndexPaths(PTGridView& /*grid*/, const QVector<GridIndexPath>& paths)
{
    copyItems(itemsForIndexPaths(paths));
}

void PTGridViewController::copyItems(const QVector<PTItem*>& items)
{
    const auto transfer = PTBrowserTransfer::installed();
    // An empty list still clears the clipboard.
    if (items.isEmpty() || !transfer) {
        QApplication::clipboard()->clear();
        return;
    }
    QApplication::clipboard()->setMimeData(
        transfer->mimeDataForItems(items, {draggingRendering()}, PTBrowserTransfer::Use::Clipboard));
}

void PTGridViewController::wantsDeleteForIndexPaths(PTGridView& /*grid*/, const QVector<GridIndexPath>& paths)
{
    deleteItems(itemsForIndexPaths(paths));
}

QVector<PTItem*> PTGridViewController::itemsWithout(const QVector<PTItem*>& removed) const
{
    const QSet<PTItem*> gone(removed.begin(), removed.end());
    QVector<PTItem*> kept;
    for (PTItem* item : itemArray_) {
        if (!gone.contains(item))
            kept.append(item);
    }
    return kept;
}

void PTGridViewController::deleteItems(const QVector<PTItem*>& items)
{
    if (items.isEmpty())
        return;
    PTIconRemover2::defaultRemovalForItems(
        asObjects(items),
        [guard = QPointer(this), items] {
            if (!guard)
                return;
            guard->clearSidebar();
            guard->hideQuickLook();
            guard->setDataFromItemsArray(guard->itemsWithout(items), false, true);
        },
        {});
}

void PTGridViewController::wantsRenameForIndexPaths(PTGridView& /*grid*/, const QVector<GridIndexPath>& paths)
{
    const auto sidebar = PTBrowserSidebar::installed();
    if (sidebar && !itemsForIndexPaths(paths).isEmpty())
        sidebar->beginEditingItemName();
}

bool PTGridViewController::wantsDragForIndexPaths(PTGridView& grid, const QVector<GridIndexPath>& paths,
                                                  QMouseEvent* event, const QPointF& /*point*/)
{
    const auto transfer = PTBrowserTransfer::installed();
    const QVector<PTItem*> items = itemsForIndexPaths(paths);
    if (!transfer || items.isEmpty())
        return true;
    auto* drag = new QDrag(&grid);
    drag->setMimeData(transfer->mimeDataForItems(items, {draggingRendering()}, PTBrowserTransfer::Use::Drag));
    const QPixmap picture = stackedDragPixmap(grid, paths);
    drag->setPixmap(picture);
    drag->setHotSpot(QPoint(picture.width(), picture.height()) / (2 * picture.devicePixelRatio()));
    isDragging_ = true;
    transfer->beginDrag(event->globalPosition(), &grid);
    // Files leave the application as copies only.
    drag->exec(Qt::CopyAction);
    transfer->endDrag();
    isDragging_ = false;
    contextMenu_->clear();
    return true;
}

QList<QUrl> PTGridViewController::droppedFileURLs(const QDropEvent& drop)
{
    QList<QUrl> urls;
    if (!drop.mimeData() || !drop.mimeData()->hasUrls())
        return urls;
    for (const QUrl& url : drop.mimeData()->urls()) {
        if (url.isLocalFile())
            urls << url;
    }
    return urls;
}

Qt::DropAction PTGridViewController::validateDrop(PTGridView& /*grid*/, const QDropEvent& drop,
                                                  const GridIndexPath& /*path*/)
{
    const auto transfer = PTBrowserTransfer::installed();
    if (isDragging_ || !transfer || drop.possibleActions() == Qt::IgnoreAction ||
        PTBrowserTransfer::isDragOutOnly(drop.source()))
        return Qt::IgnoreAction;
    const QList<QUrl> urls = droppedFileURLs(drop);
    return !urls.isEmpty() && transfer->handlesURLs(urls) ? Qt::CopyAction : Qt::IgnoreAction;
}

bool PTGridViewController::acceptDrop(PTGridView& grid, const QDropEvent& drop, const GridIndexPath& path)
{
    // The file-open handler decides the target set, whatever the item under the drop.
    if (validateDrop(grid, drop, path) == Qt::IgnoreAction)
        return false;
    PTBrowserTransfer::installed()->queueItems(droppedFileURLs(drop));
    return true;
}

void PTGridViewController::didDoubleClick(PTGridView& /*grid*/, QMouseEvent* /*event*/, const GridIndexPath& /*item*/)
{
    const QVector<PTItem*> items = itemsForIndexPaths(grid_->selectionIndexPaths());
    const auto sidebar = PTBrowserSidebar::installed();
    QList<QUrl> firstOfEachType;
    QList<QUrl> all;
    QSet<qint64> types;
    for (PTItem* item : items) {
        all << item->fileURL();
        if (!types.contains(item->type())) {
            types.insert(item->type());
            firstOfEachType << item->fileURL();
        }
    }
    const QString application = sidebar && !items.isEmpty() ? sidebar->applicationForFiles(firstOfEachType) : QString();
    if (application.isEmpty()) {
        QApplication::beep();
        return;
    }
    sidebar->openFilesInApplication(all, application);
}

void PTGridViewController::showItemsInSet(const QVector<PTItem*>& items)
{
    const auto sidebar = PTBrowserSidebar::installed();
    if (!sidebar || items.isEmpty())
        return;
    QVector<PTCollection*> sets;
    for (PTItem* item : items) {
        if (item->collection() && !sets.contains(item->collection()))
            sets.append(item->collection());
    }
    if (searchController_)
        searchController_->cancel();
    const Objects objects(sets.begin(), sets.end());
    sidebar->forceSelectionPropagation([this, sidebar, objects, items, guard = QPointer(this)] {
        sidebar->selectItems(objects, false, [this, guard, items] {
            if (!guard)
                return;
            const QVector<GridIndexPath> paths = dataProvider().indexPathsForItems(items);
            if (paths.isEmpty() || !paths.first().isValid())
                return;
            grid_->scrollIndexToVisible(grid_->geometry().indexForIndexPath(paths.first()));
            grid_->selectIndexPaths(paths);
            grid_->setFocus();
        });
    });
}

void PTGridViewController::showItemsInFileManager(const QVector<PTItem*>& items)
{
    QList<QUrl> urls;
    for (PTItem* item : items)
        urls << item->fileURL();
    if (const auto shell = PTBrowserShell::installed(); shell && !urls.isEmpty())
        shell->showFileURLsInFinder(urls);
}

void PTGridViewController::moveItemsToCollection(const QVector<PTItem*>& items, PTCollection* set)
{
    PTCollectionController::sharedController().moveItems(items, set, [guard = QPointer(this)] {
        if (guard)
            guard->disableScrollAndReload();
    });
}

void PTGridViewController::copyItemsToCollection(const QVector<PTItem*>& items, PTCollection* set)
{
    postCopyNotice(PTCollectionController::sharedController().cloneItems(items, set).size());
}

namespace {

PTCollection* createCollectionForModifying()
{
    PTCollectionController& sets = PTCollectionController::sharedController();
    PTCollection* set = sets.createCollectionWithName(QObject::tr("Untitled"), nullptr);
    if (set) {
        set->computedIdentifier();
        contextAdditions::obtainPermanentIDsForInsertedObjects(*set->context());
        sets.purgeAndNotify({});
    }
    return set;
}

void selectAndRename(PTCollection* set)
{
    if (const auto sidebar = PTBrowserSidebar::installed()) {
        sidebar->selectItems({set}, false);
        sidebar->beginEditForManagedObject(set);
    }
}

} // namespace

void PTGridViewController::moveItemsToNewCollection(const QVector<PTItem*>& items)
{
    PTCollection* set = createCollectionForModifying();
    if (!set)
        return;
    PTCollectionController::sharedController().moveItems(items, set, [set] { selectAndRename(set); });
}

void PTGridViewController::copyItemsToNewCollection(const QVector<PTItem*>& items)
{
    PTCollection* set = createCollectionForModifying();
    if (!set)
        return;
    PTCollectionController::sharedController().cloneItems(items, set);
    selectAndRename(set);
}

void PTGridViewController::replaceItems(const QVector<PTItem*>& items)
{
    // The replacement announces itself (ItemsWereReplacedNotification), which redraws the replaced cells.
    if (const auto transfer = PTBrowserTransfer::installed(); transfer && !items.isEmpty())
        transfer->presentReplaceSheet(items, [](const QVector<PTItem*>&) {});
}

void PTGridViewController::exportItems(const QVector<PTItem*>& items, int exportFormat)
{
    if (const auto transfer = PTBrowserTransfer::installed(); transfer && !items.isEmpty())
        transfer->presentExportSheet(items, exportFormat);
}

bool PTGridViewController::respondsTo(const QString& command) const
{
    static const QStringList commands{ExportCommand,
                                      ReplaceCommand,
                                      PTEmptyGridView::ClearFiltersCommand,
                                      PTEmptyGridView::AddIconsCommand,
                                      PTEmptyGridView::BrowseFreebiesCommand,
                                      ToggleDarkModeCommand,
                                      ToggleHoverLabelsCommand};
    // Without an address of free icons the build has nowhere to browse to.
    if (command == PTEmptyGridView::BrowseFreebiesCommand && freebiesAddress().isEmpty())
        return false;
    return commands.contains(command);
}

bool PTGridViewController::validate(const QString& command, pt::CommandState& state)
{
    if (command == ExportCommand || command == ReplaceCommand)
        state.enabled = !grid_->selectionIndexPaths().isEmpty();
    else if (command == PTEmptyGridView::BrowseFreebiesCommand)
        state.enabled = !freebiesAddress().isEmpty();
    return state.enabled;
}

void PTGridViewController::perform(const QString& command)
{
    if (command == ExportCommand) {
        exportItems(itemsForIndexPaths(grid_->selectionIndexPaths()));
    } else if (command == ReplaceCommand) {
        replaceItems(itemsForIndexPaths(grid_->selectionIndexPaths()));
    } else if (command == PTEmptyGridView::ClearFiltersCommand) {
        if (const auto shell = PTBrowserShell::installed())
            shell->clearSelectedType();
    } else if (command == PTEmptyGridView::AddIconsCommand) {
        const auto transfer = PTBrowserTransfer::installed();
        const auto sidebar = PTBrowserSidebar::installed();
        if (transfer)
            transfer->presentAddIconsSheet({}, sidebar ? sidebar->currentCollection() : nullptr);
    } else if (command == PTEmptyGridView::BrowseFreebiesCommand) {
        if (!freebiesAddress().isEmpty())
            QDesktopServices::openUrl(QUrl(freebiesAddress()));
    } else if (command == ToggleDarkModeCommand) {
        toggleDarkMode();
    } else if (command == ToggleHoverLabelsCommand) {
        toggleHoverLabels();
    }
}
