#include "SourceListTestSupport.h"
#include "TestSupport.h"

#include "library/controllers/PTCollectionController.h"
#include "library/controllers/PTGroupController.h"
#include "library/store/PTCDAdditions.h"
#include "platform/runtime/Defaults.h"
#include "sidebar/PTSourceListItem.h"
#include "sidebar/PTSourceListModel.h"

#include <QScrollBar>
#include <QTest>

using Keys = PTSourceListController;

namespace {

QStringList storedSelection()
{
    QStringList ids;
    for (const QVariant& value : pt::Defaults::standard().arrayForKey(Keys::SelectedIdentifiersKey))
        ids << value.toString();
    return ids;
}

} // namespace

TEST_F(SourceListTest, EmptyLibraryShowsFiveRowsWithAllSelected)
{
    EXPECT_EQ(visibleTitles(), (QStringList{"", "All", "Miscellaneous", "Your Icon Sets", ""}));
    EXPECT_EQ(selectedTitles(), QStringList{"All"});
    ASSERT_TRUE(waitForGridCalls(1));
    EXPECT_EQ(gridCalls.front().sets, QStringList{"Miscellaneous"});
    EXPECT_EQ(storedSelection(), QStringList{PTSourceListItem::AllIdentifier});
}

// What is remembered → what is selected, and what is stored afterwards.
TEST_F(SourceListTest, RestoresTheRememberedSelection)
{
    PTCollection* a = makeSet("A");
    PTCollection* b = makeSet("B");
    saveAndWait();
    const QString uriA = PTCDAdditions::persistentURLString(a);
    const QString uriB = PTCDAdditions::persistentURLString(b);
    const QString stale = uriA.left(uriA.lastIndexOf('p')) + "p9999";
    struct Case {
        const char* name;
        QStringList stored;
        QString legacy;
        QStringList selected;
        QStringList storedAfter;
    } cases[] = {
        {"sets", {uriA, uriB}, {}, {"A", "B"}, {uriA, uriB}},
        {"stale", {stale}, {}, {"All"}, {PTSourceListItem::AllIdentifier}},
        {"all among others", {uriA, PTSourceListItem::AllIdentifier}, {}, {"All"}, {PTSourceListItem::AllIdentifier}},
        {"legacy key", {}, uriB, {"B"}, {uriB}},
        {"foreign store", {"x-ptstore://00000000-0000-0000-0000-000000000000/PTCollection/p1"}, {}, {"All"},
         {PTSourceListItem::AllIdentifier}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        pt::Defaults& defaults = pt::Defaults::standard();
        defaults.set(Keys::SelectedIdentifiersKey, c.stored);
        if (!c.legacy.isEmpty())
            defaults.set(Keys::LegacyIdentifierKey, c.legacy);
        PTSourceListController controller;
        int calls = 0;
        controller.setGridHandler([&calls](auto&&...) { ++calls; });
        QStringList titles;
        for (const QModelIndex& row : controller.view()->selectionModel()->selectedRows())
            titles << row.data().toString();
        titles.sort();
        EXPECT_EQ(titles, c.selected);
        ASSERT_TRUE(pt::test::runMainQueueUntil([&calls] { return calls == 1; }));
        EXPECT_EQ(storedSelection(), c.storedAfter);
        EXPECT_FALSE(defaults.objectForKey(Keys::LegacyIdentifierKey).isValid());
    }
}

TEST_F(SourceListTest, RemembersOpenGroupsAndForgetsDeletedOnes)
{
    PTGroup* outer = makeGroup("Outer");
    PTGroup* inner = makeGroup("Inner", outer);
    PTGroup* gone = makeGroup("Gone");
    makeSetIn("Deep", inner);
    saveAndWait();
    const QString goneURI = PTCDAdditions::persistentURLString(gone);
    pt::Defaults::standard().set(Keys::ExpandedURIsKey, QStringList{PTCDAdditions::persistentURLString(outer),
                                                                     PTCDAdditions::persistentURLString(inner),
                                                                     goneURI});
    EXPECT_EQ(visibleTitles(), (QStringList{"", "All", "Miscellaneous", "Your Icon Sets", "Outer", "  Inner",
                                            "    Deep", "Gone", ""}));
    PTGroupController::sharedController().removeGroup(gone);
    context().deleteObject(gone);
    saveAndWait();
    list().archiveData();
    const QVariantList stored = pt::Defaults::standard().arrayForKey(Keys::ExpandedURIsKey);
    EXPECT_EQ(stored.size(), 2);
    EXPECT_FALSE(stored.contains(goneURI));
}

// Key repeat reaches the grid once it settles; a click sooner.
TEST_F(SourceListTest, KeyDrivenChangesReachTheGridOnce)
{
    for (int i = 0; i < 12; ++i)
        makeSet(QStringLiteral("Set %1").arg(i, 2, 10, QLatin1Char('0')));
    saveAndWait();
    ASSERT_TRUE(waitForGridCalls(1));
    gridCalls.clear();
    view().setFocus();
    for (int i = 0; i < 10; ++i)
        QTest::keyClick(&view(), Qt::Key_Down);
    EXPECT_TRUE(list().selectionTimer().isActive());
    EXPECT_EQ(list().selectionTimer().interval(), Keys::KeyDelayMs);
    EXPECT_TRUE(gridCalls.empty());
    ASSERT_TRUE(waitForGridCalls(1));
    pt::test::runMainQueueFor(150);
    ASSERT_EQ(gridCalls.size(), 1u);
    EXPECT_EQ(gridCalls.front().interval, Keys::KeyDelayMs);
    EXPECT_EQ(gridCalls.front().sets, QStringList{"Set 08"});

    gridCalls.clear();
    QTest::mouseClick(view().viewport(), Qt::LeftButton, {}, view().visualRect(topRow(1)).center());
    EXPECT_EQ(list().selectionTimer().interval(), Keys::ClickDelayMs);
    ASSERT_TRUE(waitForGridCalls(1));
    EXPECT_EQ(gridCalls.front().sets.first(), "Miscellaneous");
}

TEST_F(SourceListTest, GroupsShowTheirSetsInRowOrder)
{
    PTGroup* group = makeGroup("G");
    makeSetIn("Z", group);
    PTGroup* inner = makeGroup("Inner", group);
    makeSetIn("Y", inner);
    makeSetIn("X", group);
    saveAndWait();
    ASSERT_TRUE(waitForGridCalls(1));
    list().selectItems({group}, false);
    ASSERT_TRUE(waitForGridCalls(2));
    EXPECT_EQ(gridCalls.back().sets, (QStringList{"Z", "Y", "X"}));
    EXPECT_EQ(gridCalls.back().topLevel, 1);
}

TEST_F(SourceListTest, SelectingANestedSetOpensItsGroupsFromOutside)
{
    PTGroup* g1 = makeGroup("G1");
    PTGroup* g2 = makeGroup("G2", g1);
    PTGroup* g3 = makeGroup("G3", g2);
    PTCollection* deep = makeSetIn("Deep", g3);
    for (int i = 0; i < 40; ++i)
        makeSet(QStringLiteral("Filler %1").arg(i));
    saveAndWait();
    view().resize(240, 200);
    ASSERT_TRUE(waitForGridCalls(1));
    view().verticalScrollBar()->setValue(0);
    QStringList opened;
    QObject::connect(&view(), &QTreeView::expanded, [&opened](const QModelIndex& index) { opened << index.data().toString(); });
    bool done = false;
    list().selectItems({deep}, false, [&done] { done = true; });
    EXPECT_EQ(opened, (QStringList{"G1", "G2", "G3"}));
    EXPECT_EQ(selectedTitles(), QStringList{"Deep"});
    EXPECT_EQ(view().verticalScrollBar()->value(), 0);
    EXPECT_FALSE(done);
    ASSERT_TRUE(pt::test::runMainQueueUntil([&done] { return done; }));
    EXPECT_EQ(gridCalls.back().sets, QStringList{"Deep"});
}

TEST_F(SourceListTest, ACompletionInsideAForcedPropagationRunsWithoutAChange)
{
    ASSERT_TRUE(waitForGridCalls(1));
    bool done = false;
    list().forceSelectionPropagationWithBlock(
        [this, &done] { list().selectItems({}, true, [&done] { done = true; }); });
    ASSERT_EQ(gridCalls.size(), 2u);
    EXPECT_TRUE(gridCalls.back().force);
    ASSERT_TRUE(pt::test::runMainQueueUntil([&done] { return done; }));
}

TEST_F(SourceListTest, DeletingTheSelectedSetSelectsTheRowAbove)
{
    makeSet("A");
    PTCollection* b = makeSet("B");
    saveAndWait();
    list().selectItems({b}, false);
    PTCollectionController::sharedController().broadcastRemovalOfCollection(b);
    EXPECT_EQ(selectedTitles(), QStringList{"A"});
}

TEST_F(SourceListTest, OpenGroupsAndSelectionSurviveARestart)
{
    PTGroup* group = makeGroup("G");
    PTCollection* inside = makeSetIn("Inside", group);
    makeSet("Other");
    saveAndWait();
    {
        PTSourceListController first;
        first.setGridHandler([](auto&&...) {});
        first.selectItems({inside}, false);
        ASSERT_TRUE(pt::test::runMainQueueUntil([&first] { return !first.selectionTimer().isActive(); }));
        first.archiveData();
    }
    EXPECT_TRUE(visibleTitles().contains("  Inside"));
    EXPECT_EQ(selectedTitles(), QStringList{"Inside"});
}

TEST_F(SourceListTest, ALibraryChangeReloadsAndForcesTheGrid)
{
    PTCollection* set = makeSet("Set");
    saveAndWait();
    list().selectItems({set}, false);
    ASSERT_TRUE(waitForGridCalls(1));
    gridCalls.clear();
    PTCollection* added = PTCollectionController::sharedController().createCollectionWithName("Added", nullptr);
    saveAndWait();
    PTGroupController::sharedController().objectsForGroup(nullptr, true);
    PTCollectionController::sharedController().notifyObserversOfDidChange();
    ASSERT_TRUE(waitForGridCalls(1));
    EXPECT_TRUE(gridCalls.back().force);
    EXPECT_EQ(gridCalls.back().sets, QStringList{"Set"});
    EXPECT_TRUE(indexOf(added).isValid());
}
