#include "SourceListTestSupport.h"
#include "TestSupport.h"

#include "browser/controller/PTGridViewController.h"
#include "browser/grid/PTGridView.h"
#include "browser/grid/PTGridViewSectionPathCell.h"
#include "sidebar/PTSourceListModel.h"
#include "sidebar/inspector/PTSetSideBarController.h"
#include "sidebar/inspector/PTSideBarController.h"
#include "ui/controls/PTSheetTextField.h"

#include <functional>

namespace {

class GridHeaderRenameTest : public SourceListTest {
protected:
    void TearDown() override
    {
        inspector.reset();
        grid.reset();
        SourceListTest::TearDown();
    }
    // The path the header of the grid's first section shows.
    QStringList headerPath()
    {
        auto* header = dynamic_cast<PTGridViewSectionPathCell*>(grid->view()->headerCellForSection(0));
        return header ? header->pathComponents() : QStringList();
    }
    void renameInInspector(PTCollection* set, pt::store::ManagedObject* inspected, const QString& name)
    {
        if (!inspector)
            inspector = std::make_unique<PTSideBarController>();
        inspector->setCollections({set}, {inspected});
        auto* pane = qobject_cast<PTSetSideBarController*>(inspector->viewControllers().at(0));
        pane->nameControl()->setText(name);
        pane->requestStateSave();
    }

    std::unique_ptr<PTGridViewController> grid;
    std::unique_ptr<PTSideBarController> inspector;
};

} // namespace

// A name typed in the source list or the inspector reaches the section header the grid shows, without a reload
// of the grid and before the event loop runs again.
TEST_F(GridHeaderRenameTest, RenamesReachTheShownHeaderAtOnce)
{
    PTGroup* group = makeGroup("Group");
    PTCollection* set = makeSetIn("Arrows", group);
    makeItem(set, "Up", "up.svg");
    saveAndWait();
    grid = std::make_unique<PTGridViewController>();
    grid->makeSharedController();
    grid->containerView()->resize(500, 400);
    grid->containerView()->show();
    grid->setCollections({set}, {set}, false);
    ASSERT_TRUE(pt::test::runMainQueueUntil([this] { return headerPath() == QStringList{"Group", "Arrows"}; }));
    view().expand(indexOf(group));

    struct Case {
        const char* name;
        std::function<void()> rename;
        QStringList shown;
    } cases[] = {
        {"set in the source list", [&] { list().model()->setData(indexOf(set), "Pointers"); },
         {"Group", "Pointers"}},
        {"group in the source list", [&] { list().model()->setData(indexOf(group), "Shapes"); },
         {"Shapes", "Pointers"}},
        {"set in the inspector", [&] { renameInInspector(set, set, "Hands"); }, {"Shapes", "Hands"}},
        {"group in the inspector", [&] { renameInInspector(set, group, "Signs"); }, {"Signs", "Hands"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.rename();
        EXPECT_EQ(headerPath(), c.shown);
    }
}
