// Removing sets, items and mixed selections with their files, on a real library.
#include "FakeLibraryShell.h"
#include "LibraryTestSupport.h"
#include "StoreTestSupport.h"

#include "TestSupport.h"
#include "library/controllers/PTCollectionController.h"
#include "library/entities/PTGroup.h"
#include "library/controllers/PTGroupController.h"
#include "library/controllers/PTIconRemover.h"
#include "library/controllers/PTIconRemover2.h"
#include "library/PTLibraryController.h"
#include "library/entities/PTLicence.h"
#include "library/store/PTStoreFunctions.h"
#include "platform/runtime/Defaults.h"
#include "platform/runtime/DispatchQueue.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

using pt::store::ManagedObject;
using pt::store::ObjectContext;
using pt::store::ObjectID;
using pt::test::queryStore;

namespace {

class RemovalTest : public pt::test::LibraryTest {
protected:
    void SetUp() override
    {
        LibraryTest::SetUp();
        PTLibraryShell::install(shell);
    }
    void TearDown() override
    {
        PTLibraryShell::install(nullptr);
        LibraryTest::TearDown();
    }

    static QString store() { return PTLibraryController::currentLibrary()->persistantStoreCoordinatorPath(); }
    static QString fileOf(PTItem* item) { return item->fileURL().toLocalFile(); }
    static QStringList filesOf(const QVector<PTItem*>& items)
    {
        QStringList files;
        for (PTItem* item : items)
            files << fileOf(item);
        return files;
    }
    static QStringList existing(const QStringList& paths)
    {
        QStringList found;
        for (const QString& path : paths) {
            if (QFileInfo::exists(path))
                found << path;
        }
        return found;
    }
    PTCollection* setIn(const QString& name, PTGroup* group)
    {
        PTCollection* set = sets.createCollectionWithName(name, nullptr);
        set->setGroup(group);
        groups.purge();
        return set;
    }
    QVector<PTItem*> fill(PTCollection* set, int count, PTLicence* licence = nullptr)
    {
        QVector<PTItem*> items;
        for (int i = 0; i < count; ++i) {
            items << makeItem(set, QStringLiteral("%1 %2").arg(set->name()).arg(i),
                              QStringLiteral("%1-%2.svg").arg(set->name().toLower()).arg(i));
            items.last()->setLicence(licence);
        }
        return items;
    }
    // Runs a remover of the objects to its end.
    void removeAndWait(const PTIconRemover2::Objects& objects)
    {
        bool done = false;
        std::shared_ptr<PTIconRemover2> remover = PTIconRemover2::create(objects);
        remover->setCompletionHandler([&] { done = true; });
        remover->process();
        ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return done; }, 20000));
    }

    // An item made in a worker context, its file put into the set's folder and its save merged into the main
    // context, as an import does.
    void importIntoSet(const ObjectID& setID)
    {
        ObjectContext worker(ObjectContext::Kind::Confinement, context().sharedCoordinator());
        PTCollection* set = PTCollection::from(worker.existingObjectWithID(setID));
        PTItem* item = PTItem::insert(worker);
        item->setName("Imported");
        item->setNewFileName("imported.svg");
        item->setCollection(set);
        EXPECT_TRUE(QFile::copy(pt::test::themeIcon(), set->formattedDirectory() + "/imported.svg"));
        auto token = worker.onDidSave([&](const pt::store::DidSave& saved) { context().mergeChanges(saved); });
        EXPECT_TRUE(worker.save());
    }

    PTCollectionController& sets = PTCollectionController::sharedController();
    PTGroupController& groups = PTGroupController::sharedController();
    std::shared_ptr<pt::test::FakeLibraryShell> shell = std::make_shared<pt::test::FakeLibraryShell>();
};

// Reposts itself on the main queue and runs the probe once per turn of the event loop until stopped.
class EveryTurn {
public:
    explicit EveryTurn(std::function<void()> probe) : state_(std::make_shared<State>(std::move(probe))) { post(state_); }
    ~EveryTurn() { state_->running = false; }

private:
    struct State {
        explicit State(std::function<void()> probe) : probe(std::move(probe)) {}
        std::function<void()> probe;
        bool running = true;
    };
    static void post(const std::shared_ptr<State>& state)
    {
        pt::DispatchQueue::main().async([state] {
            if (!state->running)
                return;
            state->probe();
            post(state);
        });
    }
    std::shared_ptr<State> state_;
};

// What a save or a merge must never meet: a live object that points at a deleted one, or an item of no set.
QStringList danglingLinks(ObjectContext& context)
{
    QStringList found;
    const auto gone = [](ManagedObject* object) { return object && object->isDeleted(); };
    for (ManagedObject* object : context.registeredObjects()) {
        if (object->isDeleted())
            continue;
        if (PTItem* item = PTItem::from(object)) {
            if (!item->collection() || gone(item->collection()) || gone(item->licence()))
                found << "item " + item->name();
        } else if (PTCollection* set = PTCollection::from(object)) {
            if (gone(set->group()) || gone(set->licence()))
                found << "set " + set->name();
            for (PTItem* item : set->items()) {
                if (gone(item))
                    found << "items of " + set->name();
            }
        } else if (PTGroup* group = PTGroup::from(object)) {
            if (gone(group->group()))
                found << "group " + group->name();
        } else if (PTLicence* licence = PTLicence::from(object)) {
            for (PTItem* item : licence->items()) {
                if (gone(item))
                    found << "licence items";
            }
        }
    }
    return found;
}

} // namespace

TEST_F(RemovalTest, ASetGoesInWholeBatchesThenItsFolderAndTheSetItself)
{
    PTCollection* set = sets.createCollectionWithName("Big", nullptr);
    PTLicence* licence = PTLicence::insert(context());
    set->setLicence(licence);
    const QStringList files = filesOf(fill(set, 250, licence));
    PTCollection* keep = sets.createCollectionWithName("Keep", nullptr);
    PTItem* kept = makeItem(keep, "Kept", "kept.svg");
    saveAndWait();
    const QString folder = set->formattedDirectory();
    const ObjectID setID = set->objectID();

    // A batch deletes its items in one turn of the main queue: between turns only whole batches are missing.
    QSet<qsizetype> counts;
    bool folderWentEarly = false;
    EveryTurn probe([&] {
        if (auto* live = PTCollection::from(context().registeredObject(setID)); live && !live->isDeleted()) {
            counts.insert(live->items().size());
            folderWentEarly |= !live->items().isEmpty() && !QFileInfo::exists(folder);
        }
    });
    int finalSteps = 0;
    bool done = false;
    PTIconRemover::create()->removeCollection(
        set,
        [&] {
            ++finalSteps;
            auto* live = PTCollection::from(context().existingObjectWithID(setID));
            ASSERT_TRUE(live);
            EXPECT_TRUE(live->items().isEmpty());
            EXPECT_FALSE(QFileInfo::exists(folder));
            EXPECT_TRUE(existing(files).isEmpty());
        },
        [&] { done = true; });
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return done; }, 20000));

    EXPECT_EQ(finalSteps, 1);
    EXPECT_FALSE(folderWentEarly);
    EXPECT_GT(counts.size(), 1);
    for (qsizetype count : counts)
        EXPECT_TRUE(count % 50 == 0 && count <= 250) << count;
    EXPECT_TRUE(set->isDeleted());
    EXPECT_EQ(queryStore(store(), "SELECT group_concat(name) FROM PTItem"), "Kept");
    EXPECT_EQ(queryStore(store(), "SELECT group_concat(name) FROM PTCollection WHERE type IS NOT 1"), "Keep");
    EXPECT_TRUE(licence->items().isEmpty());
    EXPECT_TRUE(licence->collections().isEmpty());
    EXPECT_TRUE(QFileInfo::exists(fileOf(kept)));
}

TEST_F(RemovalTest, AnItemThatJoinsTheSetWhileItGoesGoesToo)
{
    PTCollection* set = sets.createCollectionWithName("Set", nullptr);
    fill(set, 120);
    saveAndWait();
    bool done = false;
    PTIconRemover::create()->removeCollection(set, {}, [&] { done = true; });
    importIntoSet(set->objectID());
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return done; }, 10000));
    EXPECT_EQ(danglingLinks(context()), QStringList());
    EXPECT_EQ(queryStore(store(), "SELECT count(*) FROM PTItem"), "0");
}

TEST_F(RemovalTest, AnEmptySetEndsAtOnce)
{
    PTCollection* empty = sets.createCollectionWithName("Empty", nullptr);
    saveAndWait();
    const QString folder = empty->formattedDirectory();
    bool before = false;
    bool done = false;
    PTIconRemover::create()->removeCollection(empty, [&] { before = true; }, [&] { done = true; });
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return done; }));
    EXPECT_TRUE(before);
    EXPECT_TRUE(empty->isDeleted());
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_EQ(queryStore(store(), "SELECT count(*) FROM PTCollection WHERE type IS NOT 1"), "0");
}

// Neither remover may take an item's missing or unusable file name for its set's folder, and a file that is
// already gone does not keep its item alive.
TEST_F(RemovalTest, ItemsWithoutAUsableFileStillGoAndNeverTakeTheFolder)
{
    using Remove = std::function<void(const QVector<PTItem*>&)>;
    const std::vector<std::pair<const char*, Remove>> removers{
        {"batch",
         [&](const QVector<PTItem*>& items) {
             QVector<ObjectID> ids;
             for (PTItem* item : items)
                 ids << item->objectID();
             bool done = false;
             PTIconRemover::create()->removeIconsWithObjectIDs(ids, [&] { done = true; });
             ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return done; }));
             saveAndWait();
         }},
        {"selection",
         [&](const QVector<PTItem*>& items) { removeAndWait(PTIconRemover2::Objects(items.begin(), items.end())); }},
    };
    for (const auto& [name, remove] : removers) {
        SCOPED_TRACE(name);
        PTCollection* set = sets.createCollectionWithName(name, nullptr);
        PTItem* kept = makeItem(set, "Kept", "kept.svg");
        QVector<PTItem*> doomed;
        for (const QString& fileName : {QString(), QStringLiteral(".."), QStringLiteral(".")}) {
            PTItem* item = PTItem::insert(context());
            item->setName("No file");
            item->setNewFileName(fileName);
            item->setCollection(set);
            doomed << item;
        }
        doomed << makeItem(set, "Gone", "gone.svg");
        ASSERT_TRUE(QFile::remove(fileOf(doomed.last())));
        saveAndWait();

        remove(doomed);
        EXPECT_TRUE(QFileInfo::exists(fileOf(kept)));
        EXPECT_EQ(set->items(), QVector<PTItem*>{kept});
        EXPECT_EQ(queryStore(store(), "SELECT count(*) FROM PTItem WHERE name != 'Kept'"), "0");
    }
}

TEST_F(RemovalTest, AMixedSelectionRemovesAllButTheMiscellaneousSet)
{
    PTCollection* misc = sets.miscCollection();
    PTItem* miscItem = makeItem(misc, "Misc item", "misc.svg");
    PTGroup* outer = groups.createGroupWithName("Outer", nullptr);
    PTGroup* inner = groups.createGroupWithName("Inner", outer);
    PTGroup* innermost = groups.createGroupWithName("Innermost", inner);
    PTLicence* licence = PTLicence::insert(context());
    PTCollection* first = setIn("First", outer);
    PTCollection* second = setIn("Second", inner);
    PTCollection* third = setIn("Third", innermost);
    second->setLicence(licence);
    QStringList goneFiles = filesOf(fill(first, 3)) + filesOf(fill(second, 4, licence)) + filesOf(fill(third, 2));
    const QStringList goneFolders{first->formattedDirectory(), second->formattedDirectory(),
                                  third->formattedDirectory()};
    PTCollection* keep = sets.createCollectionWithName("Keep", nullptr);
    PTItem* loose = makeItem(keep, "Loose", "loose.svg");
    PTItem* kept = makeItem(keep, "Kept", "kept.svg");
    goneFiles << fileOf(loose);
    saveAndWait();
    const PTIconRemover2::Objects selection{misc, outer, loose};

    // Cancelled: nothing happens.
    confirmation->answer = {false, true};
    EXPECT_FALSE(PTIconRemover2::defaultRemovalForItems(selection, {}, {}));
    EXPECT_EQ(confirmation->asked, QStringList{"Are you sure?|Are you sure you wish to remove the selected items?"});
    EXPECT_TRUE(shell->sheets.isEmpty());
    EXPECT_EQ(existing(goneFiles), goneFiles);

    confirmation->answer = {true, false};
    bool sheetBeforeRemoval = false;
    bool done = false;
    ASSERT_TRUE(PTIconRemover2::defaultRemovalForItems(
        selection, [&] { sheetBeforeRemoval = shell->sheets.size() == 1 && !loose->isDeleted(); },
        [&] { done = true; }));
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return done; }, 10000));
    EXPECT_TRUE(sheetBeforeRemoval);
    ASSERT_EQ(shell->sheets.size(), 1);
    EXPECT_EQ(shell->sheets.front()->titles, (QStringList{"Removing Selected Items...", "Items Removed Successfully"}));
    EXPECT_TRUE(shell->sheets.front()->sessionEnded);
    EXPECT_EQ(shell->notices, QStringList{"Items Removed | Your items were successfully removed."});

    EXPECT_TRUE(existing(goneFiles).isEmpty());
    EXPECT_TRUE(existing(goneFolders).isEmpty());
    EXPECT_EQ(existing({fileOf(miscItem), fileOf(kept)}).size(), 2);
    EXPECT_EQ(queryStore(store(), "SELECT group_concat(name) FROM (SELECT name FROM PTItem ORDER BY name)"),
              "Kept,Misc item");
    EXPECT_EQ(queryStore(store(), "SELECT group_concat(name) FROM (SELECT name FROM PTCollection ORDER BY name)"),
              "Keep,Miscellaneous");
    EXPECT_EQ(queryStore(store(), "SELECT count(*) FROM PTGroup"), "0");
    EXPECT_TRUE(licence->items().isEmpty());
    EXPECT_TRUE(licence->collections().isEmpty());
    EXPECT_EQ(groups.objectsForGroup(nullptr), PTGroupController::Children{keep});
    EXPECT_EQ(sets.collections(), QVector<PTCollection*>{keep});

    // With "do not ask again" stored, the sheet opens without a question.
    pt::Defaults::standard().set(PTCollectionController::DeleteSuppressionKey, true);
    done = false;
    ASSERT_TRUE(PTIconRemover2::defaultRemovalForItems({keep}, {}, [&] { done = true; }));
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return done; }, 10000));
    EXPECT_EQ(confirmation->asked.size(), 2);
    EXPECT_EQ(shell->sheets.size(), 2);
    EXPECT_TRUE(keep->isDeleted());
}

// The remover lets the event loop run between objects. Whatever runs then - here a save path in every turn and a
// worker's save merged into the set being removed - must meet a whole graph, and the store must end whole.
TEST_F(RemovalTest, SavesAndMergesBetweenStepsNeverMeetAHalfDeletedGraph)
{
    PTGroup* outer = groups.createGroupWithName("Outer", nullptr);
    PTGroup* inner = groups.createGroupWithName("Inner", outer);
    PTLicence* licence = PTLicence::insert(context());
    PTCollection* first = setIn("First", outer);
    PTCollection* second = setIn("Second", inner);
    first->setLicence(licence);
    fill(first, 5, licence);
    fill(second, 5);
    PTCollection* keep = sets.createCollectionWithName("Keep", nullptr);
    const QVector<PTItem*> loose = fill(keep, 4);
    makeItem(keep, "Kept", "kept.svg");
    saveAndWait();
    const ObjectID secondID = second->objectID();
    const QString secondFolder = second->formattedDirectory();

    QStringList dangling;
    int turns = 0;
    bool merged = false;
    EveryTurn probe([&] {
        ++turns;
        dangling += danglingLinks(context());
        PTSaveManagedObjectContext();
        auto* live = PTCollection::from(context().registeredObject(secondID));
        if (merged || !live || live->isDeleted() || live->items().size() == 5)
            return;
        merged = true;
        // An import lands in a set of the selection while the set's items are being removed.
        importIntoSet(secondID);
    });
    removeAndWait({loose[0], loose[1], outer, loose[2], loose[3]});

    EXPECT_TRUE(merged);
    EXPECT_GT(turns, 20);
    EXPECT_EQ(dangling, QStringList());
    EXPECT_FALSE(QFileInfo::exists(secondFolder));
    EXPECT_EQ(queryStore(store(), "SELECT group_concat(name) FROM PTItem"), "Kept");
    EXPECT_EQ(queryStore(store(), "SELECT count(*) FROM PTGroup"), "0");
    EXPECT_EQ(queryStore(store(), "SELECT count(*) FROM PTCollection WHERE grp IS NOT NULL OR licence IS NOT NULL"),
              "0");
}
