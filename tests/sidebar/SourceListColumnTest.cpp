#include "FakeBrowserSeams.h"
#include "SourceListTestSupport.h"
#include "TestSupport.h"

#include "library/controllers/PTCollectionController.h"
#include "library/controllers/PTGroupController.h"
#include "sidebar/PTSourceAddButton.h"
#include "sidebar/PTSourceListSidebar.h"

#include <QWidget>

#include <memory>

// The column answers the grid for the source list and the library's selection requests, and passes the
// inspector's questions on to the inspector installed before it.
TEST_F(SourceListTest, ColumnServesTheGridAndTheLibrary)
{
    PTCollection* a = makeSet("A");
    PTGroup* g = makeGroup("G");
    PTCollection* inside = makeSetIn("Inside", g);
    saveAndWait();
    PTCollectionController::sharedController().purge();
    PTGroupController::sharedController().purge();
    const auto inspector = std::make_shared<FakeBrowserSidebar>();
    PTBrowserSidebar::install(inspector);
    PTSourceListSidebar::install();
    std::unique_ptr<QWidget> column(PTSourceListColumn::installed()->makeColumn(nullptr));
    const auto sidebar = PTBrowserSidebar::installed();
    ASSERT_NE(sidebar, inspector);
    ASSERT_NE(column->findChild<PTSourceAddButton*>(), nullptr);
    EXPECT_FALSE(column->findChild<PTSourceAddButton*>()->accessibleName().isEmpty());

    bool shown = false;
    sidebar->selectItems({a}, false, [&shown] { shown = true; });
    EXPECT_EQ(sidebar->currentCollection(), a);
    ASSERT_TRUE(pt::test::runMainQueueUntil([&shown] { return shown; }));

    PTSourceListSelection::installed()->selectItems({inside}, false);
    EXPECT_EQ(sidebar->currentCollection(), inside);

    sidebar->setInspectedCollections({a}, {a});
    EXPECT_EQ(inspector->inspectedSets, QVector<PTCollection*>{a});
    EXPECT_TRUE(sidebar->beginEditingItemName());

    column.reset();
    EXPECT_EQ(sidebar->currentCollection(), nullptr);
    PTBrowserSidebar::install(nullptr);
    PTSourceListSelection::install(nullptr);
    PTSourceListColumn::install(nullptr);
}
