// Sets on a real library: creation, source-list order, and items moved, merged and copied with their files.
#include "LibraryTestSupport.h"
#include "StoreTestSupport.h"

#include "TestSupport.h"
#include "library/controllers/PTCollectionController.h"
#include "library/entities/PTGroup.h"
#include "library/controllers/PTGroupController.h"
#include "library/controllers/PTIconRemover.h"
#include "library/PTLibraryController.h"
#include "library/entities/PTLicence.h"
#include "library/store/PTStoreFunctions.h"
#include "FakeLibraryShell.h"
#include "platform/store/Predicate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#include <atomic>

using pt::store::ManagedObject;
using pt::test::LibraryTest;
using pt::test::NotificationRecorder;
using pt::test::themeIcon;

namespace {

class CollectionControllerTest : public LibraryTest {
protected:
    PTCollectionController& sets = PTCollectionController::sharedController();
    PTGroupController& groups = PTGroupController::sharedController();
    NotificationRecorder recorder{{PTCollectionController::CollectionsDidChangeNotification,
                                   PTCollectionController::WillDeleteCollectionNotification}};

    static QByteArray contents(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static QStringList fileNames(PTCollection* set)
    {
        QStringList names;
        for (PTItem* item : set->items())
            names << item->newFileName();
        names.sort();
        return names;
    }
    static QStringList filesIn(PTCollection* set)
    {
        return QDir(set->formattedDirectory()).entryList(QDir::Files, QDir::Name);
    }
};

} // namespace

TEST_F(CollectionControllerTest, CreatesSetsLastAtTheTopLevel)
{
    for (int i = 0; i < 3; ++i)
        sets.createCollectionWithName(QStringLiteral("Set %1").arg(i), nullptr);
    groups.createGroupWithName("G1", nullptr);
    groups.createGroupWithName("G2", nullptr);
    PTCollection* made = sets.createCollectionWithName(QStringLiteral("  Flèches \n"), nullptr);
    EXPECT_EQ(made->sort(), 5);
    EXPECT_EQ(made->name(), QStringLiteral("Flèches"));
    EXPECT_EQ(made->normalizedSearch(), QStringLiteral("fleches"));
    EXPECT_EQ(made->identifier().size(), 36);
    EXPECT_TRUE(made->date().isValid());
    EXPECT_EQ(groups.objectsForGroup(nullptr).last(), made);
    EXPECT_TRUE(sets.collections().contains(made));

    // The one Miscellaneous set is made once, kept out of the ordinary sets, and found again after a purge.
    PTCollection* misc = sets.miscCollection();
    EXPECT_EQ(misc->type(), PTCollection::MiscellaneousType);
    EXPECT_EQ(misc->sort(), -100);
    EXPECT_EQ(misc->name(), QStringLiteral("Miscellaneous"));
    EXPECT_FALSE(sets.collections().contains(misc));
    saveAndWait();
    sets.purge();
    EXPECT_EQ(sets.miscCollection(), misc);
    EXPECT_EQ(sets.collections().size(), 4);
}

TEST_F(CollectionControllerTest, SourceListOrder)
{
    PTCollection* first = sets.createCollectionWithName("First", nullptr);
    PTGroup* group = groups.createGroupWithName("Group", nullptr);
    PTCollection* inside = sets.createCollectionWithName("Inside", nullptr);
    groups.moveObject(inside, group, 0);
    PTCollection* last = sets.createCollectionWithName("Last", nullptr);
    PTCollection* misc = sets.miscCollection();

    EXPECT_EQ(sets.collectionsSortedByGroup(), (QVector<PTCollection*>{misc, first, inside, last}));
    EXPECT_EQ(sets.sortCollections({last}), QVector<PTCollection*>{last});
    EXPECT_EQ(sets.sortCollections({last, inside, misc, first}), (QVector<PTCollection*>{misc, first, inside, last}));
}

TEST_F(CollectionControllerTest, SortsAndAdoptsTheCachedSets)
{
    using pt::store::SortDescriptor;
    sets.purge();
    EXPECT_FALSE(sets.collectionsSortedByDescriptor({"name"}));
    for (const char* name : {"beta", "Alpha", "Gamma"})
        sets.createCollectionWithName(name, nullptr);
    sets.miscCollection();
    const auto names = [&](const SortDescriptor& descriptor) {
        const auto sorted = sets.collectionsSortedByDescriptor(descriptor);
        QStringList list;
        for (PTCollection* set : sorted.value_or(QVector<PTCollection*>{}))
            list << set->name();
        return sorted ? list.join(",") : QStringLiteral("none");
    };
    struct Case {
        SortDescriptor descriptor;
        const char* expected;
    };
    const Case cases[] = {
        {{"name"}, "Alpha,Gamma,beta"},
        {{"name", true, SortDescriptor::Comparison::CaseInsensitive}, "Alpha,beta,Gamma"},
        {{"name", false, SortDescriptor::Comparison::CaseInsensitive}, "Gamma,beta,Alpha"},
        {{"sort"}, "beta,Alpha,Gamma"},
        {{"group"}, "none"},
        {{"nonsense"}, "none"},
    };
    // Unsaved and saved: the first answer comes from memory, the second from the store.
    for (bool saved : {false, true}) {
        if (saved)
            saveAndWait();
        for (const Case& c : cases) {
            SCOPED_TRACE(c.descriptor.key.toStdString() + (saved ? " saved" : " unsaved"));
            EXPECT_EQ(names(c.descriptor), QString::fromLatin1(c.expected));
        }
    }

    // Made behind the controller's back: only adopting lists it, once; the Miscellaneous set keeps its own place.
    PTCollection* stray = makeSet("Delta");
    EXPECT_EQ(names({"name"}), QStringLiteral("Alpha,Gamma,beta"));
    sets.adopt({stray, stray, sets.miscCollection()});
    EXPECT_EQ(names({"name"}), QStringLiteral("Alpha,Delta,Gamma,beta"));
    EXPECT_FALSE(sets.collections().contains(sets.miscCollection()));
}

TEST_F(CollectionControllerTest, BatchFetchesFireTheFaults)
{
    PTCollection* first = sets.createCollectionWithName("First", nullptr);
    PTCollection* second = sets.createCollectionWithName("Second", nullptr);
    const QVector<PTItem*> items{makeItem(first, "A", "a.svg"), makeItem(first, "B", "b.svg"),
                                 makeItem(second, "C", "c.svg")};
    saveAndWait();
    const auto toFaults = [&] {
        for (ManagedObject* object : QVector<ManagedObject*>{first, second, items[0], items[1], items[2]})
            context().refresh(object, false);
    };

    toFaults();
    sets.batchItemsFromCollectionsArray({first, second});
    EXPECT_FALSE(first->isFault());
    EXPECT_FALSE(second->isFault());
    for (PTItem* item : items)
        EXPECT_FALSE(item->isFault()) << item->name().toStdString();

    toFaults();
    sets.batchCollectionsFromItemArray({items[0], items[2]});
    EXPECT_FALSE(items[0]->isFault());
    EXPECT_FALSE(items[2]->isFault());
    EXPECT_TRUE(items[1]->isFault());
    EXPECT_TRUE(first->isFault());
    sets.batchCollectionsFromItemArray({});
    EXPECT_EQ(items[1]->name(), QStringLiteral("B"));
}

TEST_F(CollectionControllerTest, MergeMovesFilesWithCollidingNames)
{
    PTCollection* target = sets.createCollectionWithName("Target", nullptr);
    PTCollection* source = sets.createCollectionWithName("Source", nullptr);
    PTCollection* other = sets.createCollectionWithName("Other", nullptr);
    PTLicence* licence = PTLicence::insert(context());
    source->setLicence(licence);
    makeItem(target, "Next", "next.svg", themeIcon("go-next"));
    PTItem* moved = makeItem(source, "Next", "next.svg", themeIcon("go-previous"));
    makeItem(source, "Up", "up.svg", themeIcon("go-up"));
    makeItem(other, "Next", "next.svg", themeIcon("go-down"));
    saveAndWait();
    const QString sourceFolder = source->formattedDirectory();
    recorder.posted.clear();

    EXPECT_TRUE(sets.mergeCollections({target, source, target, other}).isEmpty());
    EXPECT_EQ(fileNames(target), (QStringList{"next.1.svg", "next.2.svg", "next.svg", "up.svg"}));
    EXPECT_EQ(filesIn(target), fileNames(target));
    EXPECT_EQ(moved->collection(), target);
    EXPECT_EQ(contents(moved->fileURL().toLocalFile()), contents(themeIcon("go-previous")));
    EXPECT_TRUE(source->isDeleted());
    EXPECT_TRUE(other->isDeleted());
    EXPECT_TRUE(licence->collections().isEmpty());
    EXPECT_EQ(sets.collections(), QVector<PTCollection*>{target});
    EXPECT_EQ(groups.objectsForGroup(nullptr), (PTGroupController::Children{target}));

    EXPECT_EQ(recorder.postedNames(), (QStringList{PTCollectionController::WillDeleteCollectionNotification,
                                                   PTCollectionController::WillDeleteCollectionNotification,
                                                   PTCollectionController::CollectionsDidChangeNotification}));
    EXPECT_EQ(recorder.posted.first().object, &sets);
    EXPECT_EQ(recorder.posted.first().userInfo.value("collection").value<ManagedObject*>(), source);
    saveAndWait();
    EXPECT_FALSE(QFileInfo::exists(sourceFolder));
    const QString store = PTLibraryController::currentLibrary()->persistantStoreCoordinatorPath();
    EXPECT_EQ(pt::test::queryStore(store, "SELECT count(*) FROM PTCollection"), "1");
    EXPECT_EQ(pt::test::queryStore(store, "SELECT count(*) FROM PTItem WHERE collection IS NOT NULL"), "4");

    // Merging one set only tells that the sets changed.
    recorder.posted.clear();
    EXPECT_TRUE(sets.mergeCollections({target}).isEmpty());
    EXPECT_EQ(recorder.postedNames(), QStringList{PTCollectionController::CollectionsDidChangeNotification});
}

TEST_F(CollectionControllerTest, AFailedCopyLosesNothing)
{
    PTCollection* source = sets.createCollectionWithName("Source", nullptr);
    PTCollection* target = sets.createCollectionWithName("Target", nullptr);
    PTItem* item = makeItem(source, "Next", "next.svg");
    PTItem* missing = PTItem::insert(context());
    missing->setNewFileName("gone.svg");
    missing->setCollection(source);
    saveAndWait();
    // The target's folder cannot take files: a plain file stands where it should be.
    const QString folder = target->formattedDirectory();
    ASSERT_TRUE(QDir(folder).removeRecursively());
    QFile blocker(folder);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    bool handlerRan = false;
    const auto failed = sets.moveItems({item, missing}, target, [&] { handlerRan = true; });
    EXPECT_TRUE(handlerRan);
    EXPECT_EQ(failed, (QVector<PTItem*>{item, missing}));
    EXPECT_EQ(item->collection(), source);
    EXPECT_EQ(item->newFileName(), QStringLiteral("next.svg"));
    EXPECT_EQ(contents(item->fileURL().toLocalFile()), contents(themeIcon()));
    EXPECT_EQ(missing->collection(), source);

    EXPECT_TRUE(sets.cloneItems({item}, target).isEmpty());
    EXPECT_TRUE(target->items().isEmpty());

    recorder.posted.clear();
    EXPECT_EQ(sets.mergeCollections({target, source}), QVector<PTCollection*>{source});
    EXPECT_FALSE(source->isDeleted());
    EXPECT_TRUE(QFileInfo::exists(item->fileURL().toLocalFile()));
    EXPECT_EQ(recorder.postedNames(), QStringList{PTCollectionController::CollectionsDidChangeNotification});
    saveAndWait();
}

TEST_F(CollectionControllerTest, AnItemWhoseFileIsMissingNeverTakesAnotherItemsFile)
{
    PTCollection* target = sets.createCollectionWithName("Target", nullptr);
    PTCollection* first = sets.createCollectionWithName("First", nullptr);
    PTCollection* second = sets.createCollectionWithName("Second", nullptr);
    PTItem* broken = makeItem(first, "Next", "next.svg", themeIcon("go-next"));
    PTItem* good = makeItem(second, "Next", "next.svg", themeIcon("go-previous"));
    saveAndWait();
    ASSERT_TRUE(QFile::remove(broken->fileURL().toLocalFile()));

    const auto copies = sets.cloneItems({broken, good}, target);
    ASSERT_EQ(copies.size(), 1);
    EXPECT_EQ(copies.first()->newFileName(), QStringLiteral("next.svg"));
    EXPECT_EQ(contents(copies.first()->fileURL().toLocalFile()), contents(themeIcon("go-previous")));

    EXPECT_EQ(sets.mergeCollections({target, first, second}), QVector<PTCollection*>{first});
    EXPECT_EQ(broken->collection(), first);
    EXPECT_EQ(good->collection(), target);
    EXPECT_EQ(fileNames(target), (QStringList{"next.1.svg", "next.svg"}));
    saveAndWait();

    // Removing the broken item leaves every other item's file alone.
    std::atomic<bool> removed = false;
    PTIconRemover::create()->removeIconsWithObjectIDs({broken->objectID()}, [&] { removed = true; });
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return removed.load(); }));
    saveAndWait();
    EXPECT_EQ(filesIn(target), fileNames(target));
    EXPECT_EQ(contents(good->fileURL().toLocalFile()), contents(themeIcon("go-previous")));
}

TEST_F(CollectionControllerTest, OldFilesGoOnlyOnceTheMoveIsStored)
{
    PTCollection* from = sets.createCollectionWithName("From", nullptr);
    PTCollection* to = sets.createCollectionWithName("To", nullptr);
    QStringList oldFiles;
    for (int i = 0; i < 20; ++i)
        oldFiles << makeItem(from, QStringLiteral("Icon %1").arg(i), QStringLiteral("icon-%1.svg").arg(i))->fileURL().toLocalFile();
    saveAndWait();
    const QString store = PTLibraryController::currentLibrary()->persistantStoreCoordinatorPath();
    const auto storedIn = [&](const QString& set) {
        return pt::test::queryStore(store, "SELECT count(*) FROM PTItem WHERE collection = "
                                           "(SELECT pk FROM PTCollection WHERE name = '" + set + "')");
    };
    const auto existing = [](const QStringList& files) {
        return std::count_if(files.begin(), files.end(), [](const QString& file) { return QFileInfo::exists(file); });
    };

    ASSERT_TRUE(sets.moveItems(from->items(), to).isEmpty());
    // A kill now would find the store naming the old files: they are all still there.
    EXPECT_EQ(storedIn("From"), "20");
    EXPECT_EQ(existing(oldFiles), 20);
    saveAndWait();
    EXPECT_EQ(storedIn("To"), "20");
    EXPECT_EQ(existing(oldFiles), 0);
    EXPECT_EQ(filesIn(to), fileNames(to));
    EXPECT_EQ(contents(to->items().first()->fileURL().toLocalFile()), contents(themeIcon()));

    // A store that refuses the move back keeps the files it still names.
    QStringList movedFiles;
    for (PTItem* item : to->items())
        movedFiles << item->fileURL().toLocalFile();
    pt::test::queryStore(store, "CREATE TRIGGER refuse BEFORE UPDATE ON PTItem BEGIN SELECT RAISE(ABORT, 'refused'); END");
    saveFailuresExpected = true;
    ASSERT_TRUE(sets.moveItems(to->items(), from).isEmpty());
    bool saved = false;
    PTSaveManagedObjectContextWithCompletion([&](const pt::Error&) { saved = true; });
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return saved; }));
    EXPECT_FALSE(saveErrors.isEmpty());
    EXPECT_EQ(storedIn("To"), "20");
    EXPECT_EQ(existing(movedFiles), 20);
}

TEST_F(CollectionControllerTest, AMoveToAnotherFileSystemCopies)
{
    QTemporaryDir elsewhere(QStringLiteral("/dev/shm/pictern-XXXXXX"));
    if (!elsewhere.isValid() || QStorageInfo(elsewhere.path()).rootPath() == QStorageInfo(dir.path()).rootPath())
        GTEST_SKIP() << "no second file system";
    PTCollection* from = sets.createCollectionWithName("From", nullptr);
    PTCollection* to = sets.createCollectionWithName("To", nullptr);
    PTItem* item = makeItem(from, "Next", "next.svg");
    saveAndWait();
    const QString oldFile = item->fileURL().toLocalFile();
    // The target's folder lies on the other file system.
    const QString folder = to->formattedDirectory();
    ASSERT_TRUE(QDir(folder).removeRecursively());
    ASSERT_TRUE(QFile::link(elsewhere.path(), folder));

    ASSERT_TRUE(sets.moveItems({item}, to).isEmpty());
    EXPECT_TRUE(QFileInfo::exists(oldFile));
    saveAndWait();
    EXPECT_FALSE(QFileInfo::exists(oldFile));
    EXPECT_EQ(contents(elsewhere.filePath("next.svg")), contents(themeIcon()));
}

TEST_F(CollectionControllerTest, WithoutALibraryNoFolderIsTouched)
{
    PTCollection* target = sets.createCollectionWithName("Target", nullptr);
    PTCollection* source = sets.createCollectionWithName("Source", nullptr);
    PTItem* item = makeItem(source, "Next", "next.svg");
    const QString file = item->fileURL().toLocalFile();
    PTCollection* empty = sets.createCollectionWithName("Empty", nullptr);
    // The working folder stands in for whatever an empty path would name.
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    auto library = PTLibraryController::initWithLibraryPath(libraryPath());
    PTLibraryController::setCurrentLibrary(nullptr);

    EXPECT_EQ(sets.mergeCollections({target, source, empty}), QVector<PTCollection*>{source});
    EXPECT_TRUE(empty->isDeleted());
    EXPECT_EQ(item->collection(), source);
    EXPECT_TRUE(QFileInfo::exists(file));
    EXPECT_TRUE(QFileInfo::exists(libraryPath()));
    QDir::setCurrent(previous);
    PTLibraryController::setCurrentLibrary(std::move(library));
    saveAndWait();
}

TEST_F(CollectionControllerTest, CloneCopiesItemsAndFiles)
{
    PTCollection* source = sets.createCollectionWithName("Source", nullptr);
    PTCollection* target = sets.createCollectionWithName("Target", nullptr);
    PTLicence* licence = PTLicence::insert(context());
    PTItem* item = makeItem(source, "Next", "next.svg");
    item->setLicence(licence);
    item->setTagsString("arrow,right");
    PTItem* present = makeItem(target, "Next", "next.svg");

    const auto copies = sets.cloneItems({item, present}, target);
    ASSERT_EQ(copies.size(), 1);
    PTItem* copy = copies.first();
    EXPECT_NE(copy, item);
    EXPECT_FALSE(copy->objectID().isTemporary());
    EXPECT_EQ(copy->name(), QStringLiteral("Next"));
    EXPECT_EQ(copy->tagsString(), QStringLiteral("arrow,right"));
    EXPECT_EQ(copy->licence(), licence);
    EXPECT_EQ(licence->items().size(), 2);
    EXPECT_EQ(copy->newFileName(), QStringLiteral("next.1.svg"));
    EXPECT_EQ(contents(copy->fileURL().toLocalFile()), contents(themeIcon()));
    EXPECT_EQ(item->collection(), source);
    EXPECT_TRUE(QFileInfo::exists(item->fileURL().toLocalFile()));
    EXPECT_TRUE(sets.cloneItems({present}, target).isEmpty());
    saveAndWait();
}

TEST_F(CollectionControllerTest, ItemCountsAndUpdates)
{
    PTCollection* set = sets.createCollectionWithName("Set", nullptr);
    EXPECT_EQ(sets.itemsCountForCollection(set), 0);
    makeItem(set, "Next", "next.svg")->setTagsString("arrow");
    makeItem(set, "Other", "other.svg");
    // A zero count is never trusted from the cache.
    EXPECT_EQ(sets.itemsCountForCollection(set), 2);
    const auto tagged = pt::store::Predicate::parse("tagsString=%@", {QStringLiteral("arrow")});
    sets.removeCollection(set);
    EXPECT_EQ(sets.itemsCountForCollection(set, *tagged), 1);

    NotificationRecorder updates({PTCollectionController::CollectionsDidUpdateNotification});
    sets.notifyObserversAboutUpdatesWithItems(set->items());
    ASSERT_EQ(updates.posted.size(), 1);
    EXPECT_EQ(updates.posted.first().userInfo.value("items").toList().size(), 2);
    EXPECT_TRUE(PTCollectionController::requiresConfirmationOfRemoval());
}

TEST_F(CollectionControllerTest, CleansUpOriginalsAndOnlyLibraryFiles)
{
    PTCollection* set = sets.createCollectionWithName("Set", nullptr);
    PTItem* item = makeItem(set, "Next", "next.svg");
    item->setOriginalFileName("next-original.svg");
    const QString original = item->originalFileURL().toLocalFile();
    ASSERT_TRUE(QFile::copy(themeIcon(), original));
    const QString outside = dir.filePath("outside.svg");
    ASSERT_TRUE(QFile::copy(themeIcon(), outside));
    item->setPrimitiveValue("location", outside);
    sets.cleanupFileSystemForObject(item);
    EXPECT_FALSE(QFileInfo::exists(original));
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(original).path()));
    EXPECT_TRUE(QFileInfo::exists(outside));

    const QString inside = set->formattedDirectory() + "/old.svg";
    ASSERT_TRUE(QFile::copy(themeIcon(), inside));
    item->setPrimitiveValue("location", inside);
    sets.cleanupFileSystemForObject(item);
    EXPECT_FALSE(QFileInfo::exists(inside));
}

TEST_F(CollectionControllerTest, LegacySetFoldersMoveIntoTheIdentifiersFolder)
{
    PTCollection* set = sets.createCollectionWithName("Flèches", nullptr);
    PTCollection* taken = sets.createCollectionWithName("Taken", nullptr);
    const QString sets_ = PTLibraryController::currentLibrary()->locationByAppendingPath("Sets", false);
    QDir().mkpath(sets_ + "/fleches");
    ASSERT_TRUE(QFile::copy(themeIcon(), sets_ + "/fleches/a.svg"));
    QDir().mkpath(sets_ + "/taken");
    ASSERT_TRUE(QFile::copy(themeIcon(), sets_ + "/taken/b.svg"));
    ASSERT_TRUE(QFile::copy(themeIcon("go-up"), taken->formattedDirectory() + "/b.svg"));

    sets.checkLegacyFolders();
    EXPECT_TRUE(QFileInfo::exists(set->formattedDirectory() + "/a.svg"));
    EXPECT_FALSE(QFileInfo::exists(sets_ + "/fleches"));
    // A name already taken in the new folder stays where it was, with its folder.
    EXPECT_TRUE(QFileInfo::exists(sets_ + "/taken/b.svg"));
    EXPECT_EQ(contents(taken->formattedDirectory() + "/b.svg"), contents(themeIcon("go-up")));
}

namespace {

class DeletionTest : public CollectionControllerTest {
protected:
    void SetUp() override
    {
        CollectionControllerTest::SetUp();
        PTLibraryShell::install(shell);
    }
    void TearDown() override
    {
        PTLibraryShell::install(nullptr);
        CollectionControllerTest::TearDown();
    }
    // Records the sheets, their titles and whether they were closed.
    std::shared_ptr<pt::test::FakeLibraryShell> shell = std::make_shared<pt::test::FakeLibraryShell>();
};

} // namespace

TEST_F(DeletionTest, DeletingASetRemovesItsItemsFilesAndFolderInBatches)
{
    PTCollection* keep = sets.createCollectionWithName("Keep", nullptr);
    PTCollection* doomed = sets.createCollectionWithName("Doomed", nullptr);
    PTLicence* licence = PTLicence::insert(context());
    doomed->setLicence(licence);
    for (int i = 0; i < 250; ++i)
        makeItem(doomed, QStringLiteral("Icon %1").arg(i), QStringLiteral("icon-%1.svg").arg(i))->setLicence(licence);
    PTItem* kept = makeItem(keep, "Kept", "kept.svg");
    saveAndWait();
    const QString folder = doomed->formattedDirectory();
    const QString store = PTLibraryController::currentLibrary()->persistantStoreCoordinatorPath();
    recorder.posted.clear();

    // Cancel, even with "do not ask again" ticked, changes nothing and stores nothing.
    confirmation->answer = {false, true};
    EXPECT_FALSE(sets.deleteCollection(doomed));
    EXPECT_EQ(confirmation->asked, QStringList{"Are you sure?|Are you sure you want to delete this set?"});
    EXPECT_TRUE(PTCollectionController::requiresConfirmationOfRemoval());
    EXPECT_TRUE(shell->sheets.empty());
    EXPECT_FALSE(sets.deleteCollection(sets.miscCollection()));

    confirmation->answer = {true, false};
    ASSERT_TRUE(sets.deleteCollection(doomed));
    ASSERT_EQ(shell->sheets.size(), 1u);
    auto* sheet = shell->sheets.front();
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return sheet->sessionEnded.load(); }, 10000));
    EXPECT_EQ(sheet->titles, (QStringList{"Removing Set...", "Set Removed"}));
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_EQ(recorder.postedNames(), (QStringList{PTCollectionController::WillDeleteCollectionNotification,
                                                   PTCollectionController::CollectionsDidChangeNotification}));
    EXPECT_EQ(pt::test::queryStore(store, "SELECT count(*) FROM PTItem"), "1");
    EXPECT_EQ(pt::test::queryStore(store, "SELECT name FROM PTCollection WHERE type IS NOT 1"), "Keep");
    EXPECT_TRUE(licence->items().isEmpty());
    EXPECT_TRUE(licence->collections().isEmpty());
    EXPECT_EQ(groups.objectsForGroup(nullptr), (PTGroupController::Children{keep}));
    EXPECT_TRUE(QFileInfo::exists(kept->fileURL().toLocalFile()));
}

TEST_F(DeletionTest, DeletingItemsAsksOnceAndSaves)
{
    PTCollection* set = sets.createCollectionWithName("Set", nullptr);
    PTItem* a = makeItem(set, "A", "a.svg");
    PTItem* b = makeItem(set, "B", "b.svg");
    PTItem* c = makeItem(set, "C", "c.svg");
    PTCollection* empty = sets.createCollectionWithName("Empty", nullptr);
    saveAndWait();
    const QString fileA = a->fileURL().toLocalFile();
    const QString store = PTLibraryController::currentLibrary()->persistantStoreCoordinatorPath();

    confirmation->answer = {true, true};
    bool before = false;
    bool done = false;
    ASSERT_TRUE(sets.deleteItemsAlerted({a, b}, [&] { before = true; }, [&] { done = true; }));
    EXPECT_TRUE(before);
    EXPECT_EQ(confirmation->asked, QStringList{"Are you sure?|Are you sure you want to delete these items?"});
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return done; }));
    EXPECT_TRUE(shell->sheets.front()->sessionEnded);
    EXPECT_EQ(shell->sheets.front()->titles, (QStringList{"Removing Icons...", "Icons Removed"}));
    EXPECT_FALSE(QFileInfo::exists(fileA));
    EXPECT_EQ(set->items(), QVector<PTItem*>{c});
    EXPECT_EQ(pt::test::queryStore(store, "SELECT name FROM PTItem"), "C");

    // The ticked box was stored with the confirmation: no question any more, still a sheet.
    EXPECT_FALSE(PTCollectionController::requiresConfirmationOfRemoval());
    ASSERT_TRUE(sets.deleteCollection(empty));
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return shell->sheets.back()->sessionEnded.load(); }));
    EXPECT_EQ(confirmation->asked.size(), 1);
    EXPECT_EQ(shell->sheets.size(), 2u);
    EXPECT_TRUE(empty->isDeleted());
}

TEST_F(DeletionTest, TheSetMenuAddsIconsAndDeletes)
{
    PTCollection* set = sets.createCollectionWithName("Arrows", nullptr);
    PTGroup* group = groups.createGroupWithName("Group", nullptr);
    saveAndWait();
    QStringList lines;
    pt::test::RecordingMenu menu(&lines);
    sets.menuForCollection(set, menu);
    EXPECT_EQ(lines, (QStringList{"Add Icons.../" + PTCollectionController::AddIconsAction, "---", "Edit/",
                                  "Delete/" + PTCollectionController::RemoveCollectionAction}));
    EXPECT_EQ(menu.objects, (QVector<ManagedObject*>{set, set, set}));

    // Entries chosen with something other than a set do nothing.
    sets.addIconsFromMenuItem(group);
    sets.removeCollectionFromSender(group);
    EXPECT_TRUE(shell->addIconsTargets.isEmpty());
    EXPECT_TRUE(confirmation->asked.isEmpty());

    sets.addIconsFromMenuItem(menu.objects[0]);
    EXPECT_EQ(shell->addIconsTargets, QVector<PTCollection*>{set});

    confirmation->answer = {true, false};
    sets.removeCollectionFromSender(menu.objects.last());
    ASSERT_EQ(shell->sheets.size(), 1u);
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return shell->sheets.front()->sessionEnded.load(); }, 10000));
    EXPECT_EQ(confirmation->asked.size(), 1);
    EXPECT_EQ(groups.objectsForGroup(nullptr), (PTGroupController::Children{group}));
}
