#include "FakeBrowserSeams.h"
#include "LibraryTestSupport.h"
#include "TestSupport.h"

#include "browser/controller/PTSearchController.h"
#include "browser/controller/PTSearchGridController.h"
#include "browser/views/PTToolbarSearchField.h"
#include "library/controllers/PTGroupController.h"
#include "library/entities/PTCollection.h"
#include "library/entities/PTGroup.h"
#include "library/entities/PTItem.h"
#include "library/store/ContextAdditions.h"
#include "platform/runtime/Defaults.h"

#include <QAction>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

#include <thread>

using pt::test::NotificationRecorder;
using pt::test::runMainQueueFor;
using pt::test::runMainQueueUntil;

namespace {

// Keeps what the search controller shows.
class RecordingGrid : public PTSearchGridController {
public:
    void setSearchController(PTSearchController* controller) override { attached = controller; }
    void setDataFromItemsArray(const QVector<PTItem*>& items) override
    {
        QStringList names;
        for (PTItem* item : items)
            names << item->name();
        names.sort();
        shown << names;
    }
    PTSearchController* attached = nullptr;
    QList<QStringList> shown;
};

class SearchControllerTest : public pt::test::LibraryTest {
protected:
    void SetUp() override
    {
        LibraryTest::SetUp();
        PTCollection* tools = makeSet("Tools");
        places = makeSet("Places");
        group = PTGroupController::sharedController().createGroupWithName("Work", nullptr);
        tools->setGroup(group);
        item(tools, "Hammer", "tool,hard", "");
        item(tools, "Home Repair", "", "");
        item(places, "Home", "house", "");
        cafe = item(places, "Café", "drink", "A cup of coffee");
        item(places, "ＷＩＤＥ Park", "", "");
        item(nullptr, "Homeless", "", "");
        saveAndWait();
        field = std::make_unique<PTToolbarSearchField>();
        controller = std::make_unique<PTSearchController>(field.get(), &grid);
        PTBrowserSidebar::install(sidebar);
    }

    void TearDown() override
    {
        PTBrowserSidebar::install(nullptr);
        controller.reset();
        field.reset();
        LibraryTest::TearDown();
    }

    PTItem* item(PTCollection* set, const QString& name, const QString& tags, const QString& text)
    {
        // An item of no set has no file.
        PTItem* made = set ? makeItem(set, name, name + ".svg") : PTItem::insert(context());
        made->setName(name);
        made->setTagsString(tags);
        made->setInformativeText(text);
        return made;
    }

    // Types the text and waits for the search it starts to come back (or to end).
    QStringList type(const QString& text)
    {
        const qsizetype before = grid.shown.size();
        NotificationRecorder ended({PTSearchController::DidCancelWithoutResigningNotification});
        field->setText(text);
        EXPECT_TRUE(runMainQueueUntil([&] { return grid.shown.size() > before || !ended.posted.isEmpty(); }))
            << text.toStdString();
        return grid.shown.size() > before ? grid.shown.back() : QStringList{"(ended)"};
    }

    static QStringList sorted(const QSet<QString>& terms)
    {
        QStringList list(terms.begin(), terms.end());
        list.sort();
        return list;
    }

    RecordingGrid grid;
    // Answers for the source list's selection and the inspector's edits.
    std::shared_ptr<FakeBrowserSidebar> sidebar = std::make_shared<FakeBrowserSidebar>();
    PTGroup* group = nullptr;
    PTCollection* places = nullptr;
    PTItem* cafe = nullptr;
    std::unique_ptr<PTToolbarSearchField> field;
    std::unique_ptr<PTSearchController> controller;
};

TEST_F(SearchControllerTest, TypedTextsGiveTermsAndResults)
{
    EXPECT_EQ(grid.attached, controller.get());
    const struct {
        QString text;
        bool inForce;
        QStringList terms;
        QStringList found;
    } cases[] = {
        {"h", false, {}, {"(ended)"}},
        {"é", false, {}, {"(ended)"}},
        {"   ", false, {}, {"(ended)"}},
        {" h ", false, {}, {"(ended)"}},
        {"ho", true, {"ho"}, {"Home", "Home Repair"}}, // never an item outside every set
        {"HOME", true, {"home"}, {"Home", "Home Repair"}},
        {"home ", true, {"home"}, {"Home", "Home Repair"}},
        {"home  repair", true, {"home", "repair"}, {"Home Repair"}},
        {"cafe", true, {"cafe"}, {"Café"}},
        {"COFFEE", true, {"coffee"}, {"Café"}},
        {"wide", true, {"wide"}, {"ＷＩＤＥ Park"}},
        {"tool", true, {"tool"}, {"Hammer"}},
        {"zebra", true, {"zebra"}, {}},
    };
    for (const auto& c : cases) {
        controller->cancelSearchByResigningFirstResponse(true);
        EXPECT_EQ(type(c.text), c.found) << c.text.toStdString();
        EXPECT_EQ(controller->isSearching(), c.inForce) << c.text.toStdString();
        EXPECT_EQ(sorted(controller->currentTerms()), c.terms) << c.text.toStdString();
        EXPECT_EQ(field->badgeTitle(), c.inForce ? QString::number(c.found.size()) : QString()) << c.text.toStdString();
    }
}

TEST_F(SearchControllerTest, OnlyAddedTermsSearchWithinTheLastResults)
{
    EXPECT_EQ(type("home repair"), QStringList{"Home Repair"});
    EXPECT_EQ(controller->filteredObjectIDs().size(), 1);
    // Fewer terms: anew, not within the one result.
    EXPECT_EQ(type("home"), (QStringList{"Home", "Home Repair"}));
    EXPECT_EQ(controller->filteredObjectIDs().size(), 2);

    // Items saved since the last search are not shut out by it.
    item(places, "Home Office", "", "");
    saveAndWait();
    EXPECT_TRUE(runMainQueueUntil([&] { return controller->filteredObjectIDs().isEmpty(); }));
    EXPECT_EQ(type("home office"), QStringList{"Home Office"});

    // Nor by items an import saved from a worker context and the main context merged.
    EXPECT_EQ(type("home"), (QStringList{"Home", "Home Office", "Home Repair"}));
    const pt::store::ObjectID placesID = places->objectID();
    std::thread worker([coordinator = context().sharedCoordinator(), placesID] {
        contextAdditions::runInWorkerContext(coordinator, [placesID](pt::store::ObjectContext& work) {
            PTItem* imported = PTItem::insert(work);
            imported->setName(QStringLiteral("Home Cinema"));
            imported->setCollection(PTCollection::from(work.objectWithID(placesID)));
        });
    });
    worker.join();
    EXPECT_TRUE(runMainQueueUntil([&] { return controller->filteredObjectIDs().isEmpty(); }));
    EXPECT_EQ(type("home cinema"), QStringList{"Home Cinema"});
}

TEST_F(SearchControllerTest, ItemsDeletedBeforeTheirSaveAreNotShown)
{
    EXPECT_EQ(type("hammer"), QStringList{"Hammer"});
    PTItem* hammer = PTItem::from(context().objectWithID(*controller->filteredObjectIDs().begin()));
    ASSERT_NE(hammer, nullptr);
    context().deleteObject(hammer);
    EXPECT_EQ(type("hamme"), QStringList{});
    EXPECT_EQ(field->badgeTitle(), "0");
}

TEST_F(SearchControllerTest, ScopeFollowsTheSourceListSelection)
{
    PTBrowserSidebar::Objects& selected = sidebar->sourceSelection;
    EXPECT_EQ(controller->toggleMenuItem()->text(), "Find in Current Selection");
    EXPECT_EQ(controller->toggleMenuItem()->shortcut(), QKeySequence("Ctrl+Shift+F"));
    EXPECT_EQ(type("home"), (QStringList{"Home", "Home Repair"}));

    // Switching scope searches again at once, anew.
    selected = {group};
    const qsizetype before = grid.shown.size();
    controller->toggleSender();
    ASSERT_TRUE(runMainQueueUntil([&] { return grid.shown.size() > before; }));
    EXPECT_EQ(grid.shown.back(), QStringList{"Home Repair"}); // the sets inside the selected group
    EXPECT_EQ(controller->type(), PTSearchController::CurrentSelection);
    EXPECT_EQ(pt::Defaults::standard().integerForKey(PTSearchController::SelectionTypeKey), 1);
    EXPECT_EQ(controller->toggleMenuItem()->text(), "Find in All Sets");

    // Back to all sets through the field's menu: not within the narrower results.
    const qsizetype again = grid.shown.size();
    QList<QAction*> scopes = field->searchMenuTemplate()->actions();
    scopes.front()->trigger();
    ASSERT_TRUE(runMainQueueUntil([&] { return grid.shown.size() > again; }));
    EXPECT_EQ(grid.shown.back(), (QStringList{"Home", "Home Repair"}));

    // Current selection with nothing selected searches every set.
    selected.clear();
    const qsizetype third = grid.shown.size();
    controller->toggleSender();
    ASSERT_TRUE(runMainQueueUntil([&] { return grid.shown.size() > third; }));
    EXPECT_EQ(grid.shown.back(), (QStringList{"Home", "Home Repair"}));
}

// The fetch reads the store: what the inspector holds unsaved is saved first, and a tag given since the last
// search is found even by a search within its results.
TEST_F(SearchControllerTest, TheInspectorsEditsAreSavedBeforeTheFetch)
{
    EXPECT_EQ(type("home"), (QStringList{"Home", "Home Repair"}));
    std::function<void()> saved;
    sidebar->holdEditSaves = [&](std::function<void()> completion) { saved = std::move(completion); };
    const qsizetype before = grid.shown.size();
    field->setText("home cafe");
    ASSERT_TRUE(runMainQueueUntil([&] { return bool(saved); }));
    runMainQueueFor(100);
    EXPECT_EQ(grid.shown.size(), before) << "searched before the edits were saved";

    cafe->setTagsString("home");
    saveAndWait();
    saved();
    ASSERT_TRUE(runMainQueueUntil([&] { return grid.shown.size() > before; }));
    EXPECT_EQ(grid.shown.back(), QStringList{"Café"});

    // A search cancelled while the edits were saved brings nothing.
    saved = {};
    field->setText("drink");
    ASSERT_TRUE(runMainQueueUntil([&] { return bool(saved); }));
    controller->cancelSearchByResigningFirstResponse(true);
    saved();
    runMainQueueFor(100);
    EXPECT_EQ(grid.shown.size(), before + 1);
}

TEST_F(SearchControllerTest, TheLastSearchWinsAndNothingArrivesAfterEscape)
{
    for (const char* text : {"ho", "hom", "home", "home r"})
        controller->performSearchWithTermString(text);
    ASSERT_TRUE(runMainQueueUntil([&] { return !grid.shown.isEmpty(); }));
    runMainQueueFor(100);
    EXPECT_EQ(grid.shown, QList<QStringList>{QStringList{"Home Repair"}});

    NotificationRecorder cancelled({PTSearchController::DidCancelWithResigningNotification});
    field->setText("tool");
    controller->performSearchWithTermString("tool");
    QTest::keyClick(field.get(), Qt::Key_Escape);
    runMainQueueFor(PTSearchController::TypingPauseMs + 150);
    EXPECT_EQ(grid.shown.size(), 1);
    EXPECT_EQ(cancelled.posted.size(), 1);
    EXPECT_TRUE(field->text().isEmpty());
    EXPECT_FALSE(controller->isSearching());
}

TEST_F(SearchControllerTest, CancelClearsASearchInForceOnly)
{
    NotificationRecorder cleared({PTSearchController::DidClearNotification});
    controller->cancel();
    EXPECT_TRUE(cleared.posted.isEmpty());
    type("home");
    ASSERT_TRUE(controller->isSearching());
    controller->cancel();
    EXPECT_EQ(cleared.posted.size(), 1);
    EXPECT_FALSE(controller->isSearching());
    EXPECT_TRUE(field->text().isEmpty());
    EXPECT_TRUE(field->badgeTitle().isEmpty());
    runMainQueueFor(PTSearchController::TypingPauseMs + 50);
    EXPECT_EQ(grid.shown.size(), 1); // emptying the field started no search
}

} // namespace
