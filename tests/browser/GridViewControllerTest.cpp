#include "FakeBrowserSeams.h"
#include "LibraryTestSupport.h"
#include "TestSupport.h"

#include "browser/cache/PTImageCache.h"
#include "browser/controller/PTGridViewContextMenu.h"
#include "browser/controller/PTGridViewController.h"
#include "browser/controller/PTGridViewDataProvider.h"
#include "browser/controller/PTGridViewOptionsController.h"
#include "browser/controller/PTSearchController.h"
#include "browser/views/PTToolbarSearchField.h"
#include "browser/grid/PTGridView.h"
#include "browser/grid/PTGridViewImageCell.h"
#include "browser/grid/PTGridViewSectionPathCell.h"
#include "browser/quicklook/PTQuickLook.h"
#include "browser/views/PTEmptyGridView.h"
#include "library/controllers/PTCollectionController.h"
#include "library/controllers/PTGroupController.h"
#include "library/controllers/PTLicenceController.h"
#include "library/entities/PTGroup.h"
#include "library/entities/PTLicence.h"
#include "library/upkeep/PTLibraryShell.h"
#include "platform/runtime/Defaults.h"
#include "ui/theme/PTAppearanceObserver.h"
#include "ui/theme/PTThemeController.h"

#include "FakeLibraryShell.h"
#include "ui/PTPreferenceKeys.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>

namespace {

class GridViewControllerTest : public pt::test::LibraryTest {
protected:
    void SetUp() override
    {
        LibraryTest::SetUp();
        PTBrowserShell::install(shell);
        PTBrowserTransfer::install(transfer);
        PTBrowserSidebar::install(sidebar);
        a = makeSet(QStringLiteral("A"));
        b = makeSet(QStringLiteral("B"));
        a->setSort(0);
        b->setSort(1);
        a1 = makeItem(a, QStringLiteral("a1"), QStringLiteral("a1.svg"));
        a2 = makeItem(a, QStringLiteral("a2"), QStringLiteral("a2.svg"));
        b1 = makeItem(b, QStringLiteral("b1"), QStringLiteral("b1.svg"));
        saveAndWait();
        controller = std::make_unique<PTGridViewController>();
        controller->containerView()->resize(500, 400);
        clears = std::make_unique<pt::test::NotificationRecorder>(
            QStringList{PTGridViewController::DidClearItemsDataNotification});
    }
    void TearDown() override
    {
        search.reset();
        field.reset();
        controller.reset();
        PTBrowserShell::install(nullptr);
        PTBrowserTransfer::install(nullptr);
        PTBrowserSidebar::install(nullptr);
        LibraryTest::TearDown();
    }
    // Types the text into a search field attached to the controller and waits until the search is in force
    // with its results shown.
    void startSearch(const QString& text, qint64 results)
    {
        if (!search) {
            field = std::make_unique<PTToolbarSearchField>();
            search = std::make_unique<PTSearchController>(field.get(), controller.get());
        }
        field->setText(text);
        ASSERT_TRUE(pt::test::runMainQueueUntil([&] {
            return search->isSearching() && controller->cachedItems().size() == results &&
                   controller->dataProvider().numberOfSections() == 1 &&
                   controller->dataProvider().numberOfItemsInSection(0) == results;
        }));
    }
    QStringList shownNames()
    {
        QStringList names;
        PTGridViewDataProvider& provider = controller->dataProvider();
        for (qint64 s = 0; s < provider.numberOfSections(); ++s) {
            for (qint64 i = 0; i < provider.numberOfItemsInSection(s); ++i)
                names << provider.itemForIndexPath({s, i})->name();
        }
        return names;
    }
    static QAction* entry(QMenu* menu, const QString& path)
    {
        QMenu* current = menu;
        const QStringList parts = path.split(QLatin1Char('/'));
        for (qsizetype i = 0; i < parts.size(); ++i) {
            QAction* found = nullptr;
            for (QAction* action : current->actions()) {
                if (action->text() == parts[i])
                    found = action;
            }
            if (!found)
                return nullptr;
            if (i + 1 == parts.size())
                return found;
            current = found->menu();
            if (!current)
                return nullptr;
        }
        return nullptr;
    }

    std::shared_ptr<FakeBrowserShell> shell = std::make_shared<FakeBrowserShell>();
    std::shared_ptr<FakeBrowserTransfer> transfer = std::make_shared<FakeBrowserTransfer>();
    std::shared_ptr<FakeBrowserSidebar> sidebar = std::make_shared<FakeBrowserSidebar>();
    std::unique_ptr<PTGridViewController> controller;
    std::unique_ptr<PTToolbarSearchField> field;
    std::unique_ptr<PTSearchController> search;
    std::unique_ptr<pt::test::NotificationRecorder> clears;
    PTCollection* a = nullptr;
    PTCollection* b = nullptr;
    PTItem* a1 = nullptr;
    PTItem* a2 = nullptr;
    PTItem* b1 = nullptr;
};

// The same sets again, none marked for a refresh: the inspector hears of them, nothing is refilled or posted.
TEST_F(GridViewControllerTest, SameSetsAgainRefillNothingButTellTheInspector)
{
    controller->setCollections({a, b}, {a, b}, false);
    EXPECT_EQ(shownNames(), (QStringList{"a1", "a2", "b1"}));
    ASSERT_EQ(clears->posted.size(), 1);
    controller->setCollections({b, a}, {b, a}, false);
    EXPECT_EQ(clears->posted.size(), 1);
    EXPECT_EQ(sidebar->setsCalls, 2);
    EXPECT_EQ(sidebar->inspectedSets, (QVector<PTCollection*>{b, a}));
    // One marked for a refresh refills once, and the mark is spent.
    b->setRequiresVisualRefresh(true);
    controller->setCollections({a, b}, {a, b}, false);
    EXPECT_EQ(clears->posted.size(), 2);
    EXPECT_FALSE(b->requiresVisualRefresh());
    controller->setCollections({a, b}, {a, b}, true);
    EXPECT_EQ(clears->posted.size(), 3);
}

// A large set is grouped and sorted from one query of names; items load a batch at a time as the grid reads
// them, and a refill without a filter keeps the rest unloaded.
TEST_F(GridViewControllerTest, LargeSetLoadsOnlyTheItemsTheGridReads)
{
    PTCollection* big = makeSet(QStringLiteral("Big"));
    constexpr int Count = 3 * int(PTGridViewDataProvider::UnfaultBatch);
    QVector<PTItem*> items;
    QStringList expected;
    for (int i = 0; i < Count; ++i) {
        PTItem* made = PTItem::insert(context());
        made->setName(QStringLiteral("n%1").arg(Count - 1 - i, 4, 10, QLatin1Char('0')));
        made->setCollection(big);
        items << made;
        expected.prepend(made->name());
    }
    saveAndWait();
    for (PTItem* made : items)
        context().refresh(made, false);
    const auto loaded = [&] {
        return std::count_if(items.begin(), items.end(), [](PTItem* made) { return !made->isFault(); });
    };

    controller->setCollections({big}, {big}, false);
    EXPECT_EQ(controller->cachedItems().size(), Count);
    EXPECT_LE(loaded(), PTGridViewDataProvider::UnfaultBatch);
    PTGridViewDataProvider& provider = controller->dataProvider();
    ASSERT_EQ(provider.numberOfItemsInSection(0), Count);
    EXPECT_EQ(provider.itemForIndexPath({0, 0})->name(), QStringLiteral("n0000"));
    EXPECT_EQ(provider.indexPathForItem(items.front()), (GridIndexPath{0, Count - 1}));
    EXPECT_LE(loaded(), PTGridViewDataProvider::UnfaultBatch);

    pt::NotificationCenter::defaultCenter().post(PTGridViewController::ToolbarFilterDidChangeNotification);
    EXPECT_LE(loaded(), 2 * PTGridViewDataProvider::UnfaultBatch);
    EXPECT_EQ(shownNames(), expected);
    EXPECT_EQ(loaded(), Count);
}

// Which placeholder shows when nothing passes: searching, no type filter, a type filter, a licence with all
// types.
TEST_F(GridViewControllerTest, EmptyViewByState)
{
    PTLicence* licence = PTLicenceController::sharedController().createLicenceInContext(nullptr);
    const struct {
        bool searching;
        qint64 type;
        PTLicence* licence;
        QVector<PTCollection*> sets;
        std::optional<PTEmptyGridView::Kind> shown;
    } cases[] = {
        {false, 1, nullptr, {}, PTEmptyGridView::Kind::Collection},
        {false, 3, nullptr, {a}, PTEmptyGridView::Kind::Filter},
        {false, 1, licence, {a}, PTEmptyGridView::Kind::Collection},
        {false, 1, nullptr, {a}, std::nullopt},
        {true, 3, nullptr, {}, PTEmptyGridView::Kind::Search},
    };
    for (const auto& row : cases) {
        shell->type = row.type;
        shell->licence = row.licence;
        if (row.searching)
            startSearch(QStringLiteral("zzz"), 0);
        else
            controller->setCollections(row.sets, {}, true);
        PTEmptyGridView* empty = controller->emptyView();
        ASSERT_EQ(empty != nullptr, row.shown.has_value()) << row.type;
        if (empty)
            EXPECT_EQ(empty->kind(), *row.shown);
    }
}

TEST_F(GridViewControllerTest, SelectionChangeDuringASearchCancelsOrSearchesAgain)
{
    startSearch(QStringLiteral("a1"), 1);
    controller->setCollections({a}, {a}, false);
    EXPECT_FALSE(search->isSearching());
    EXPECT_EQ(sidebar->setsCalls, 0);
    pt::Defaults::standard().set(PTPreferenceKeys::ClearSearchOnSelectionChange, false);
    startSearch(QStringLiteral("b1"), 1);
    controller->setCollections({a}, {a}, false);
    EXPECT_TRUE(search->isSearching());
    EXPECT_EQ(sidebar->setsCalls, 1);
    EXPECT_TRUE(clears->posted.isEmpty());
}

TEST_F(GridViewControllerTest, GridSizeZeroBecomesSixtyOtherSizesStay)
{
    pt::Defaults::standard().set(PTGridViewOptionsController::GridViewSizeKey, 0.0);
    EXPECT_EQ(pt::Defaults::standard().doubleForKey(PTGridViewOptionsController::GridViewSizeKey), 60.0);
    // The cell adds its margins to the proposed size.
    const qreal sixty = controller->view()->itemSize().width();
    pt::Defaults::standard().set(PTGridViewOptionsController::GridViewSizeKey, 97.0);
    EXPECT_EQ(controller->view()->itemSize().width() - sixty, 37);
    EXPECT_TRUE(shell->calls.contains("refit"));
}

// A size stored by an earlier run is in force at the first layout, with the cell's margins around it, both with
// and without labels; nothing has to change the size first.
TEST_F(GridViewControllerTest, StoredSizeIsInForceAtTheFirstLayout)
{
    for (const bool labels : {true, false}) {
        SCOPED_TRACE(labels);
        controller.reset();
        pt::Defaults::standard().set(PTGridViewOptionsController::ShowLabelsKey, labels);
        pt::Defaults::standard().set(PTGridViewOptionsController::GridViewSizeKey, 64.0);
        controller = std::make_unique<PTGridViewController>();
        PTGridView& grid = *controller->view();
        const QSizeF cell = PTGridViewImageCell::sizeFromProposedSize(QSizeF(64, 64), grid.drawingState());
        EXPECT_EQ(grid.itemSize(), cell);
        controller->containerView()->resize(500, 400);
        controller->containerView()->show();
        controller->setCollections({a}, {a}, false);
        ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return grid.cellForIndexPath({0, 0}) != nullptr; }));
        EXPECT_EQ(grid.cellForIndexPath({0, 0})->frame().size(), cell);
    }
}

// Without a choice the grid follows the theme; a toggle keeps its own choice until the theme changes.
TEST_F(GridViewControllerTest, DarkGridChoiceLastsUntilTheThemeChanges)
{
    const int theme = PTThemeController::defaultController().appearance();
    EXPECT_EQ(controller->gridViewAppearance(), theme);
    controller->toggleDarkMode();
    EXPECT_EQ(controller->gridViewAppearance(), 1 - theme);
    EXPECT_EQ(shell->darkItem.text(), theme == PTAppearanceDark ? QStringLiteral("Enable Dark Grid")
                                                                : QStringLiteral("Disable Dark Grid"));
    PTThemeNotifyAppearanceObservers(theme);
    EXPECT_FALSE(pt::Defaults::standard().objectForKey(PTGridViewOptionsController::DarkModeEnabledKey).isValid());
    EXPECT_EQ(controller->gridViewAppearance(), theme);
    // Hover labels start on and toggle.
    EXPECT_TRUE(shell->hoverItem.isChecked());
    controller->toggleHoverLabels();
    EXPECT_FALSE(shell->hoverItem.isChecked());
}

// Reload requests within 0.07 s make one refill, which keeps the cached items.
TEST_F(GridViewControllerTest, ReloadsCoalesce)
{
    controller->setCollections({a}, {a}, false);
    int refills = 0;
    const auto counter = std::make_shared<FakeBrowserSidebar>();
    struct Counting : FakeBrowserSidebar {
        int* refills;
        void setInspectedItems(const QVector<PTItem*>& items, bool clearing) override
        {
            if (items.isEmpty() && clearing)
                ++*refills;
        }
    };
    auto counting = std::make_shared<Counting>();
    counting->refills = &refills;
    PTBrowserSidebar::install(counting);
    for (int i = 0; i < 5; ++i)
        controller->reloadData();
    pt::test::runMainQueueFor(300);
    EXPECT_EQ(refills, 1);
    EXPECT_EQ(shownNames(), (QStringList{"a1", "a2"}));
}

// Thumbnails stay cached when another set is shown and the first comes back.
TEST_F(GridViewControllerTest, RevisitedSetHitsTheThumbnailCache)
{
    PTImageCache& cache = PTImageCache::sharedCache();
    cache.purge();
    controller->setCollections({a}, {a}, false);
    PTImageCacheOptions options;
    options.size = QSizeF(60, 60);
    bool rendered = false;
    cache.imageForItem(a1, options, [&](const QImage&, PTImageCache::RequestID, bool) { rendered = true; });
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return rendered; }));
    const int stored = cache.count();
    ASSERT_GE(stored, 1);
    controller->setCollections({b}, {b}, false);
    controller->setCollections({a}, {a}, false);
    EXPECT_GE(cache.count(), stored);
    EXPECT_NE(cache.cachedRendering(PTImageCache::cacheKeyForItem(*a1, options)), nullptr);
    // Replaced files are drawn anew.
    pt::NotificationCenter::defaultCenter().post(PTBrowserTransfer::ItemsWereReplacedNotification);
    EXPECT_EQ(cache.count(), 0);
}

// The filter applies on refresh from the cached items, without asking the source list again.
TEST_F(GridViewControllerTest, FilterChangeRefiltersCachedItems)
{
    b1->setType(PTItem::PNG);
    controller->setCollections({a, b}, {a, b}, false);
    shell->type = 6; // PNG
    pt::NotificationCenter::defaultCenter().post(PTGridViewController::ToolbarFilterDidChangeNotification);
    EXPECT_EQ(shownNames(), QStringList{"b1"});
    EXPECT_EQ(controller->cachedItems().size(), 3);
}

TEST_F(GridViewControllerTest, ContextMenuByState)
{
    controller->setCollections({a, b}, {a, b}, false);
    PTGridView& grid = *controller->view();
    EXPECT_EQ(controller->menuForItemsAtIndexPaths(grid, {}, GridIndexPath()), nullptr);
    QMenu* menu = controller->menuForItemsAtIndexPaths(grid, {}, {0, 1});
    ASSERT_NE(menu, nullptr);
    QStringList titles;
    for (QAction* action : menu->actions())
        titles << (action->isSeparator() ? QStringLiteral("---") : action->text());
    EXPECT_EQ(titles, (QStringList{"Show in File Manager", "---", "Copy", "Copy As", "---", "Move To Set",
                                   "Copy To Set", "---", "Replace...", "---", "Export...", "Export As",
                                   "Export with Preset", "---", "Delete"}));
    // The set holding the item is disabled; the others and "Miscellaneous" are offered.
    EXPECT_FALSE(entry(menu, "Move To Set/A")->isEnabled());
    EXPECT_TRUE(entry(menu, "Move To Set/B")->isEnabled());
    EXPECT_NE(entry(menu, "Copy To Set/Miscellaneous"), nullptr);
    // No selection: the command acts on the clicked item alone.
    entry(menu, "Export As/SVG")->trigger();
    EXPECT_EQ(transfer->exported, QVector<PTItem*>{a2});
    EXPECT_EQ(transfer->exportFormat, 6);
    // The file manager is reached through the shell, which warns first; with a selection it shows all of it.
    entry(menu, "Show in File Manager")->trigger();
    grid.selectIndexPaths({{0, 0}, {1, 0}});
    entry(controller->menuForItemsAtIndexPaths(grid, grid.selectionIndexPaths(), {0, 0}), "Show in File Manager")
        ->trigger();
    EXPECT_EQ(shell->revealed, (QList<QList<QUrl>>{{a2->fileURL()}, {a1->fileURL(), b1->fileURL()}}));

    startSearch(QStringLiteral("b1"), 1);
    EXPECT_EQ(controller->dataProvider().pathComponentsForSection(0), (QStringList{"Search", "B1"}));
    QMenu* searching = controller->menuForItemsAtIndexPaths(grid, {{0, 0}}, {0, 0});
    EXPECT_EQ(searching->actions().first()->text(), QStringLiteral("Show in Set"));
    // "Show in Set" ends the search and selects the item in its set.
    searching->actions().first()->trigger();
    EXPECT_FALSE(search->isSearching());
    EXPECT_EQ(sidebar->selected, PTBrowserSidebar::Objects{b});
}

TEST_F(GridViewControllerTest, EmptyGroupIsListedDisabledInSetMenus)
{
    PTGroup* group = PTGroupController::sharedController().createGroupWithName(QStringLiteral("Empty"), nullptr);
    ASSERT_NE(group, nullptr);
    saveAndWait();
    controller->setCollections({a}, {a}, false);
    QMenu* menu = controller->menuForItemsAtIndexPaths(*controller->view(), {{0, 0}}, {0, 0});
    QAction* empty = entry(menu, "Copy To Set/Empty");
    ASSERT_NE(empty, nullptr);
    EXPECT_FALSE(empty->isEnabled());
    EXPECT_EQ(empty->menu(), nullptr);
}

// The menu keeps its items' IDs: after a refill that puts other icons at the stored positions, "Move To Set"
// still moves the icons the menu was opened on.
TEST_F(GridViewControllerTest, RefillBetweenMenuAndCommandMovesTheRightItems)
{
    controller->setCollections({a}, {a}, false);
    QMenu* menu = controller->menuForItemsAtIndexPaths(*controller->view(), {{0, 1}}, {0, 1});
    ASSERT_EQ(controller->itemForIndexPath({0, 1}), a2);
    controller->setCollections({b}, {b}, false);
    entry(menu, "Move To Set/B")->trigger();
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return a2->collection() == b; }));
    EXPECT_EQ(a1->collection(), a);
    EXPECT_EQ(b1->collection(), b);
}

TEST_F(GridViewControllerTest, CopyPutsOneEntryPerItemOnTheClipboard)
{
    controller->setCollections({a, b}, {a, b}, false);
    controller->wantsCopyToPasteboardForIndexPaths(*controller->view(), {{0, 0}, {0, 1}, {1, 0}});
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    const QList<QByteArray> uris = data->data(PTBrowserTransfer::ItemType).trimmed().split('\n');
    EXPECT_EQ(uris.size(), 3);
    EXPECT_EQ(transfer->uses, QVector{PTBrowserTransfer::Use::Clipboard});
    EXPECT_EQ(data->urls().size(), 3);
    EXPECT_EQ(QString::fromUtf8(uris[2]), b1->objectID().uriString());
}

// Files from outside go to the file-open handler; the grid's own drag is refused as a drop.
TEST_F(GridViewControllerTest, DropsOfFilesQueuedOwnDragRefused)
{
    controller->setCollections({a}, {a}, false);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile("/tmp/x.svg"), QUrl("https://example.invalid/y.svg")});
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    PTGridView& grid = *controller->view();
    EXPECT_EQ(controller->validateDrop(grid, drop, GridIndexPath()), Qt::CopyAction);
    EXPECT_TRUE(controller->acceptDrop(grid, drop, {0, 0}));
    EXPECT_EQ(transfer->queued, QList<QUrl>{QUrl::fromLocalFile("/tmp/x.svg")});
    transfer->handles = false;
    EXPECT_EQ(controller->validateDrop(grid, drop, GridIndexPath()), Qt::IgnoreAction);
}

// Delete asks first (through the installed confirmation) and refills without the deleted items.
TEST_F(GridViewControllerTest, DeleteAsksThenRefillsWithoutTheItems)
{
    controller->setCollections({a, b}, {a, b}, false);
    confirmation->answer = {false, false};
    controller->wantsDeleteForIndexPaths(*controller->view(), {{0, 0}});
    pt::test::runMainQueueFor(50);
    EXPECT_EQ(confirmation->asked.size(), 1);
    EXPECT_EQ(shownNames(), (QStringList{"a1", "a2", "b1"}));
    confirmation->answer = {true, false};
    controller->wantsDeleteForIndexPaths(*controller->view(), {{0, 0}});
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return shownNames() == QStringList{"a2", "b1"}; }));
    EXPECT_EQ(controller->cachedItems().size(), 2);
}

TEST_F(GridViewControllerTest, CopyToSetPostsTheNoticeByCount)
{
    auto library = std::make_shared<pt::test::FakeLibraryShell>();
    PTLibraryShell::install(library);
    controller->setCollections({a}, {a}, false);
    controller->copyItemsToCollection({a1}, b);
    controller->copyItemsToCollection({a1, a2}, PTCollectionController::sharedController().miscCollection());
    PTLibraryShell::install(nullptr);
    ASSERT_EQ(library->notices.size(), 2);
    EXPECT_TRUE(library->notices[0].startsWith(QStringLiteral("Icon Copied")));
    EXPECT_TRUE(library->notices[1].startsWith(QStringLiteral("Icons Copied")));
}

TEST_F(GridViewControllerTest, HeaderGroupMenuMarksTheClickedSet)
{
    PTGroup* group = PTGroupController::sharedController().createGroupWithName(QStringLiteral("G"), nullptr);
    a->setGroup(group);
    b->setGroup(group);
    saveAndWait();
    PTGroupController::sharedController().purge();
    controller->setCollections({a}, {a}, false);
    std::unique_ptr<PTGridViewCell> header = controller->cellForSection(*controller->view(), 0);
    auto* pathCell = dynamic_cast<PTGridViewSectionPathCell*>(header.get());
    ASSERT_NE(pathCell, nullptr);
    EXPECT_EQ(pathCell->pathComponents(), (QStringList{"G", "A"}));
    QAction* selected = nullptr;
    QMenu* menu = pathCell->clickHandler()(1, &selected);
    ASSERT_NE(menu, nullptr);
    ASSERT_NE(selected, nullptr);
    EXPECT_EQ(selected->text(), QStringLiteral("A"));
    EXPECT_TRUE(selected->isChecked());
    entry(menu, "B")->trigger();
    EXPECT_EQ(sidebar->selected, PTBrowserSidebar::Objects{b});
}

} // namespace

namespace {

TEST_F(GridViewControllerTest, GroupingSearchResultsSwitchesProviderWithAReload)
{
    a1->setTagsString(QStringLiteral("shared"));
    b1->setTagsString(QStringLiteral("shared"));
    saveAndWait();
    controller->setCollections({a, b}, {a, b}, false);
    startSearch(QStringLiteral("shared"), 2);
    EXPECT_EQ(controller->dataProvider().pathComponentsForSection(0).first(), QStringLiteral("Search"));
    pt::Defaults::standard().set(PTGridViewController::GroupSearchKey, true);
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return controller->dataProvider().numberOfSections() == 2; }));
    EXPECT_EQ(controller->dataProvider().pathComponentsForSection(1), QStringList{"B"});
    pt::Defaults::standard().set(PTGridViewController::GroupSearchKey, false);
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return controller->dataProvider().numberOfSections() == 1; }));
}

// A file changed on disk drops that item's thumbnails only.
TEST_F(GridViewControllerTest, ChangedFileDropsItsItemsThumbnails)
{
    controller->containerView()->show();
    controller->setCollections({a}, {a}, false);
    PTImageCache& cache = PTImageCache::sharedCache();
    PTImageCacheOptions options;
    options.size = QSizeF(60, 60);
    int rendered = 0;
    for (PTItem* item : {a1, a2})
        cache.imageForItem(item, options, [&](const QImage&, PTImageCache::RequestID, bool) { ++rendered; });
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return rendered == 2 && !controller->view()->visibleIndexPaths().isEmpty(); }));
    controller->processChangedItemURLs({a1->fileURL(), QUrl::fromLocalFile(QStringLiteral("/elsewhere/other.svg"))});
    EXPECT_EQ(cache.cachedRendering(PTImageCache::cacheKeyForItem(*a1, options)), nullptr);
    EXPECT_NE(cache.cachedRendering(PTImageCache::cacheKeyForItem(*a2, options)), nullptr);
}

// A replacement names its items: their cells draw the new files, whether or not they are selected.
TEST_F(GridViewControllerTest, ReplacedItemsDrawTheirNewFiles)
{
    controller->containerView()->show();
    controller->setCollections({a}, {a}, false);
    const auto drawn = [&](PTItem* item) {
        for (PTGridViewCell* cell : controller->view()->visibleCells()) {
            if (auto* image = dynamic_cast<PTGridViewImageCell*>(cell); image && image->item() == item)
                return image->image().toImage();
        }
        return QImage();
    };
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return !drawn(a1).isNull() && !drawn(a2).isNull(); }));
    const QImage before = drawn(a1);
    controller->view()->selectIndexPaths({{0, 1}});
    QFile file(a1->fileURL().toLocalFile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"16\" height=\"16\">"
               "<rect width=\"8\" height=\"16\" fill=\"#ff0000\"/><rect x=\"8\" width=\"8\" height=\"16\" "
               "fill=\"#0000ff\"/></svg>");
    file.close();

    pt::NotificationCenter::defaultCenter().post(
        PTBrowserTransfer::ItemsWereReplacedNotification, nullptr,
        {{PTBrowserTransfer::ReplacedItemsKey, QVariantList{QVariant::fromValue<pt::store::ManagedObject*>(a1)}}});
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return !drawn(a1).isNull() && drawn(a1) != before; }));
    const QImage after = drawn(a1);
    // Two colours, so the picture is drawn as it is, not tinted as one-colour icons are.
    EXPECT_EQ(after.pixelColor(after.width() / 4, after.height() / 2), QColor(Qt::red));
    EXPECT_EQ(after.pixelColor(after.width() * 3 / 4, after.height() / 2), QColor(Qt::blue));
}

} // namespace

namespace {

// Space previews the selection; arrows under the panel move the grid's selection and the panel follows; a held
// Space closes it once; an empty selection or a refresh closes it.
TEST_F(GridViewControllerTest, QuickLookFollowsTheSelection)
{
    controller->containerView()->show();
    controller->setCollections({a}, {a}, false);
    PTGridView& grid = *controller->view();
    PTQuickLook& quickLook = PTQuickLook::sharedController();
    controller->handleSpaceBarEvent(grid, nullptr);
    EXPECT_FALSE(quickLook.isVisible()); // nothing selected
    grid.selectIndexPaths({{0, 0}});
    controller->handleSpaceBarEvent(grid, nullptr);
    ASSERT_TRUE(quickLook.isVisible());
    EXPECT_EQ(controller->itemForQuickLook(quickLook), a1);

    QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
    EXPECT_TRUE(controller->quickLookHandleEvent(quickLook, &right));
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return controller->itemForQuickLook(quickLook) == a2; }));
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
    EXPECT_TRUE(controller->quickLookHandleEvent(quickLook, &repeat));
    EXPECT_TRUE(quickLook.isVisible());
    QKeyEvent letter(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    EXPECT_FALSE(controller->quickLookHandleEvent(quickLook, &letter));

    controller->refreshData();
    EXPECT_FALSE(quickLook.isVisible());
    grid.selectIndexPaths({{0, 1}});
    controller->handleSpaceBarEvent(grid, nullptr);
    ASSERT_TRUE(quickLook.isVisible());
    QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    EXPECT_TRUE(controller->quickLookHandleEvent(quickLook, &space));
    EXPECT_FALSE(quickLook.isVisible());
}

} // namespace

namespace {

// A window that took the container and goes first leaves the controller nothing to touch.
TEST_F(GridViewControllerTest, WindowDeletedBeforeTheController)
{
    auto* window = new QWidget;
    controller->containerView()->setParent(window);
    controller->setCollections({a}, {a}, false);
    delete window;
    controller.reset();
}

} // namespace
