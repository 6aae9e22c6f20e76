#include "InspectorTestSupport.h"
#include "TestSupport.h"

#include "browser/controller/PTGridViewController.h"
#include "library/PTLibraryController.h"
#include "sidebar/inspector/PTSideBarController.h"
#include "sidebar/inspector/PTSideBarTabControl.h"
#include "sidebar/inspector/PTSideBarViewController.h"
#include "sidebar/inspector/PTSideColumns.h"

#include <QAction>
#include <QScrollArea>
#include <QSet>

namespace {

// The window's side columns and View menu items as the shell hands them to the inspector.
class FakeSideColumns : public PTSideColumns {
public:
    bool isColumnHidden(Column column) const override { return hidden.contains(column); }
    void setColumnHidden(Column column, bool hide) override
    {
        if (hide)
            hidden.insert(column);
        else
            hidden.remove(column);
    }
    QAction* inspectorMenuItem() const override { return inspector.get(); }
    QAction* collectionsMenuItem() const override { return sets.get(); }

    QSet<Column> hidden;
    std::unique_ptr<QAction> inspector = std::make_unique<QAction>();
    std::unique_ptr<QAction> sets = std::make_unique<QAction>();
};

// A pane that logs what the inspector tells it.
class SpyPane : public PTSideBarViewController {
public:
    SpyPane(const QString& name, int options, QStringList* log) : name_(name), options_(options), log_(log) {}
    bool answer = false;
    bool reload = false;

    bool saveState(bool& gridNeedsReload) override
    {
        *log_ << name_ + " save";
        gridNeedsReload = gridNeedsReload || reload;
        return answer;
    }
    void willBecomeVisible() override { *log_ << name_ + " show"; }
    void willBecomeHidden() override { *log_ << name_ + " hide"; }

protected:
    void controllerDidLoad() override
    {
        setLabel(name_);
        setSaveStateResponderOptions(options_);
        setView(new QWidget);
    }
    void didReceiveNewCollections() override
    {
        QStringList names;
        for (PTCollection* set : collections())
            names << set->name();
        *log_ << QStringLiteral("%1 sets [%2] top %3").arg(name_, names.join(','))
                     .arg(topLevelGroupsAndCollections().size());
    }
    void didReceiveNewItems(bool clear) override
    {
        *log_ << QStringLiteral("%1 items %2%3").arg(name_).arg(items().size()).arg(clear ? " clear" : "");
    }

private:
    QString name_;
    int options_;
    QStringList* log_;
};

class InspectorFrameTest : public InspectorTest {
protected:
    void SetUp() override
    {
        InspectorTest::SetUp();
        sets = new SpyPane("sets", PTSideBarViewController::SavesBeforeNewCollections, &log);
        icons = new SpyPane("icons", PTSideBarViewController::SavesBeforeNewItems, &log);
        frame = std::make_unique<PTSideBarController>(QVector<PTSideBarViewController*>{sets, icons});
        s1 = makeSet("S1");
        s2 = makeSet("S2");
        s3 = makeSet("S3");
        a = makeItem(s2, "a", "a.svg");
        b = makeItem(s3, "b", "b.svg");
        log.clear();
    }
    void TearDown() override
    {
        frame.reset();
        InspectorTest::TearDown();
    }
    // The last set list the set pane was given.
    QString lastSets() const
    {
        for (auto it = log.crbegin(); it != log.crend(); ++it)
            if (it->startsWith("sets sets"))
                return *it;
        return {};
    }

    QStringList log;
    SpyPane* sets;
    SpyPane* icons;
    std::unique_ptr<PTSideBarController> frame;
    PTCollection *s1, *s2, *s3;
    PTItem *a, *b;
};

TEST_F(InspectorFrameTest, AnEmptiedItemSelectionGivesBackTheSourceListSelection)
{
    frame->setCollections({s1}, {s1});
    frame->setItems({a}, false);
    EXPECT_EQ(lastSets(), "sets sets [S2] top 1") << "the items' sets while items are shown";
    frame->setItems({}, false);
    EXPECT_EQ(lastSets(), "sets sets [S1] top 1");

    // From one item selection straight to another, the source list's selection is still the one given back.
    frame->setItems({a}, false);
    frame->setItems({b}, false);
    frame->setItems({}, false);
    EXPECT_EQ(lastSets(), "sets sets [S1] top 1");
}

TEST_F(InspectorFrameTest, ClearingRestoresNothingAndAnEmptySelectionTwiceDoesNothing)
{
    frame->setCollections({s1}, {s1});
    frame->setItems({a}, false);
    log.clear();
    frame->setItems({}, true);
    EXPECT_EQ(log, QStringList({"icons save", "sets items 0 clear", "icons items 0 clear"}));

    log.clear();
    frame->setItems({}, false);
    frame->setItems({}, false);
    EXPECT_TRUE(log.isEmpty()) << log.join('\n').toStdString();
}

TEST_F(InspectorFrameTest, PanesSaveByTheirMaskAndOnlyAnsweringPanesRunTheSavePath)
{
    frame->setCollections({s1}, {s1});
    saveAndWait();
    s1->setName("Renamed");
    pt::test::NotificationRecorder reloads({PTGridViewController::ReloadNotification});

    log.clear();
    frame->setCollections({s2}, {s2});
    EXPECT_EQ(log.filter("save"), QStringList{"sets save"}) << "new sets save the set pane only";
    pt::test::runMainQueueFor(100);
    EXPECT_TRUE(context().hasChanges()) << "no pane answered yes: nothing is saved";

    sets->answer = true;
    frame->setCollections({s3}, {s3});
    EXPECT_TRUE(pt::test::runMainQueueUntil([&] { return !context().hasChanges(); }));
    EXPECT_TRUE(reloads.posted.isEmpty()) << "a save without the reload flag leaves the grid";

    sets->reload = true;
    frame->setCollections({s1}, {s1});
    pt::test::runMainQueueFor(50);
    EXPECT_EQ(reloads.posted.size(), 1);

    log.clear();
    frame->setItems({a}, false);
    frame->setItems({b}, false);
    EXPECT_EQ(log.filter("icons save").size(), 1) << "only replacing held items saves the icon pane";
}

TEST_F(InspectorFrameTest, ReloadRequestsBeforeTheMainQueueRunsPostOnce)
{
    pt::test::NotificationRecorder reloads({PTGridViewController::ReloadNotification});
    frame->requestGridViewUpdate();
    frame->requestGridViewUpdate();
    frame->requestGridViewUpdate();
    EXPECT_TRUE(reloads.posted.isEmpty()) << "posted after the current event";
    pt::test::runMainQueueFor(50);
    EXPECT_EQ(reloads.posted.size(), 1);
    frame->requestGridViewUpdate();
    pt::test::runMainQueueFor(50);
    EXPECT_EQ(reloads.posted.size(), 2);
}

TEST_F(InspectorFrameTest, QuittingSavesEveryPane)
{
    pt::NotificationCenter::defaultCenter().post(PTLibraryController::WillTerminateNotification);
    EXPECT_EQ(log, QStringList({"sets save", "icons save"}));
}

TEST_F(InspectorFrameTest, SelectingPanesSwapsTheScrolledViewWithoutDeletingIt)
{
    QWidget* setView = sets->view();
    EXPECT_EQ(frame->scrollArea()->widget(), setView);
    frame->selectController(icons);
    EXPECT_EQ(log, QStringList({"sets hide", "icons show"}));
    EXPECT_EQ(frame->scrollArea()->widget(), icons->view());
    EXPECT_EQ(frame->tabControl()->selectedIndex(), 1);
    log.clear();
    frame->selectController(icons);
    EXPECT_TRUE(log.isEmpty()) << "the visible pane again: no hooks";
    frame->selectController(sets);
    EXPECT_EQ(frame->scrollArea()->widget(), setView) << "the first view is still alive";
}

// The inspector starts hidden in the window's columns: the first launch opens it, a later one leaves it hidden.
// The View menu's items then say what they will do and hide and show the columns.
TEST_F(InspectorFrameTest, TheColumnsFollowTheViewMenuAndTheFirstLaunchOpensTheInspector)
{
    for (const bool first : {true, false}) {
        SCOPED_TRACE(first);
        const auto split = std::make_shared<FakeSideColumns>();
        split->setColumnHidden(PTSideColumns::InspectorColumn, true);
        frame->splitViewReady(split, first);
        QAction* inspector = split->inspectorMenuItem();
        QAction* sets = split->collectionsMenuItem();
        EXPECT_EQ(frame->isOpen(), first);
        EXPECT_EQ(split->isColumnHidden(PTSideColumns::InspectorColumn), !first);
        EXPECT_EQ(inspector->text(), first ? "Hide Inspector" : "Show Inspector");
        EXPECT_EQ(inspector->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_I));
        EXPECT_EQ(sets->text(), "Hide Sets");

        inspector->trigger();
        EXPECT_EQ(frame->isOpen(), !first);
        EXPECT_EQ(split->isColumnHidden(PTSideColumns::InspectorColumn), first);
        EXPECT_EQ(inspector->text(), first ? "Show Inspector" : "Hide Inspector");
        sets->trigger();
        EXPECT_FALSE(frame->isCollectionOpen());
        EXPECT_TRUE(split->isColumnHidden(PTSideColumns::SetsColumn));
        EXPECT_EQ(sets->text(), "Show Sets");
        sets->trigger();
        EXPECT_TRUE(frame->isCollectionOpen());
        EXPECT_EQ(sets->text(), "Hide Sets");
    }
}

TEST(InspectorTabControlTest, TabsShareTheStripEvenly)
{
    QStringList log;
    SpyPane one("one", 0, &log), two("two", 0, &log), three("three", 0, &log);
    one.load();
    two.load();
    three.load();
    PTSideBarTabControl tabs;
    tabs.setControllers({&one, &two, &three});
    tabs.resize(100, 38);
    EXPECT_EQ(tabs.rectForControllerAtIndex(0), QRect(0, 0, 33, 38));
    EXPECT_EQ(tabs.rectForControllerAtIndex(1).x(), 33);
    EXPECT_EQ(tabs.rectForControllerAtIndex(2).x(), 66);
    EXPECT_EQ(tabs.indexAt(QPoint(99, 5)), -1) << "past the last tab";
    EXPECT_EQ(tabs.indexAt(QPoint(70, 5)), 2);
}

} // namespace
