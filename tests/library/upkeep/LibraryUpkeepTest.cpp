#include "library/upkeep/PTLibraryBackupController.h"
#include "library/controllers/PTTagController.h"
#include "library/entities/PTModel.h"
#include "library/store/PTStoreFunctions.h"
#include "library/store/PTStoreStack.h"
#include "platform/plist/PropertyList.h"
#include "platform/runtime/Defaults.h"
#include "platform/store/ObjectContext.h"

#include "StoreTestSupport.h"
#include "TestSupport.h"
#include "UpkeepTestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <sys/xattr.h>

using pt::store::ManagedObject;
using pt::store::ObjectContext;

namespace {

class LibraryUpkeep : public pt::test::UpkeepTest {};

// The store stack over the current library's store, as the shell installs it.
class LibraryHost : public PTStoreStackHost {
public:
    QString storePath() const override { return PTLibraryController::currentLibrary()->persistantStoreCoordinatorPath(); }
    void presentError(const pt::Error&) override {}
    void saveFailed(const pt::Error&) override {}
};

struct StackScope {
    StackScope() { PTStoreStack::setHost(std::make_shared<LibraryHost>()); }
    ~StackScope() { PTStoreStack::setHost(nullptr); }
};

bool saveAndWait()
{
    bool done = false;
    PTSaveManagedObjectContextWithCompletion([&](const pt::Error&) { done = true; });
    return pt::test::runMainQueueUntil([&] { return done; });
}

} // namespace

TEST(LibraryBackupFrequency, WholeDaysWeeksAndMonths)
{
    const auto at = [](const char* text) { return QDateTime::fromString(QString::fromLatin1(text), Qt::ISODate); };
    const struct {
        qint64 frequency;
        const char* last;
        const char* now;
        bool wanted;
    } cases[] = {
        {PTLibraryController::Never, nullptr, "2026-03-05T12:00:00", false},
        {PTLibraryController::Never, "2026-01-01T12:00:00", "2026-03-05T12:00:00", false},
        {PTLibraryController::EveryQuit, "2026-03-05T12:00:00", "2026-03-05T12:00:01", true},
        {PTLibraryController::Daily, nullptr, "2026-03-05T12:00:00", true},
        {PTLibraryController::Daily, "2026-03-05T08:00:00", "2026-03-05T20:00:00", false},
        {PTLibraryController::Daily, "2026-03-05T12:00:00", "2026-04-05T12:00:00", true},
        {PTLibraryController::Weekly, "2026-03-02T12:00:00", "2026-03-08T12:00:00", false},
        {PTLibraryController::Weekly, "2026-03-08T12:00:00", "2026-03-09T12:00:00", true},
        {PTLibraryController::Weekly, "2025-03-05T12:00:00", "2026-03-04T12:00:00", true},
        {PTLibraryController::Monthly, "2026-01-31T12:00:00", "2026-02-01T12:00:00", true},
        {PTLibraryController::Monthly, "2026-02-01T12:00:00", "2026-02-28T12:00:00", false},
        {PTLibraryController::Monthly, "2025-02-10T12:00:00", "2026-02-10T12:00:00", true},
        {7, nullptr, "2026-02-10T12:00:00", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PTLibraryController::wantsBackupFromFrequency(c.frequency, c.last ? at(c.last) : QDateTime(), at(c.now)),
                  c.wanted)
            << c.frequency << " " << (c.last ? c.last : "none") << " " << c.now;
}

TEST_F(LibraryUpkeep, SwitchingRefusesALibraryOfANewerVersion)
{
    PTLibraryController* current = makeCurrentLibrary();
    const QString other = QDir(home.path()).filePath("Other.ptlibrary");
    auto library = PTLibraryController::initWithCreatingLibraryAtPath(other);
    QCoreApplication::setApplicationVersion("2.10");
    library->synchronizeMeta();
    ASSERT_TRUE(pt::store::StoreCoordinator::open(library->persistantStoreCoordinatorPath(), PTModel::current()).ok());
    library.reset();

    QCoreApplication::setApplicationVersion("2.9");
    EXPECT_FALSE(current->switchLibraryToLibraryAtURL(other));
    EXPECT_EQ(shell->alerts, QStringList{"Unable to Switch Library | Sorry, the Library you are trying to switch to was "
                                         "built using a newer version of Pictern (2.10). Please upgrade your version of "
                                         "Pictern (2.9)."});
    EXPECT_EQ(pt::Defaults::standard().stringForKey(PTLibraryController::PathKey), current->path());

    QCoreApplication::setApplicationVersion("2.10");
    EXPECT_TRUE(current->switchLibraryToLibraryAtURL(other));
    EXPECT_EQ(pt::Defaults::standard().stringForKey(PTLibraryController::PathKey), other);
    ASSERT_EQ(shell->sheets.size(), 1);
    EXPECT_EQ(shell->sheets[0]->titles, QStringList{"Switching Library..."});
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return shell->restarts == 1; }, 6000));
    EXPECT_TRUE(shell->forced);
}

TEST_F(LibraryUpkeep, SwitchingRefusesFoldersThatAreNotLibraries)
{
    PTLibraryController* current = makeCurrentLibrary();
    const struct {
        const char* name;
        QByteArray meta; // empty: no META
        bool store;
        bool accepted;
    } cases[] = {
        {"Documents.ptlibrary", {}, false, false},
        {"NoMeta.ptlibrary", {}, true, false},
        {"BrokenMeta.ptlibrary", "<plist><dict><key>version", true, false},
        {"NoStore.ptlibrary", "valid", false, false},
        {"Whole.ptlibrary", "valid", true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString folder = home.filePath(QString::fromLatin1(c.name));
        pt::test::writeFile(folder + "/notes.txt", "mine");
        if (c.meta == "valid")
            PTLibraryController::initWithCreatingLibraryAtPath(folder)->synchronizeMeta();
        else if (!c.meta.isEmpty())
            pt::test::writeFile(folder + "/META", c.meta);
        if (c.store)
            ASSERT_TRUE(pt::store::StoreCoordinator::open(folder + "/Rorev.db", PTModel::current()).ok());
        const QStringList before = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        shell->alerts.clear();

        EXPECT_EQ(current->switchLibraryToLibraryAtURL(folder), c.accepted);
        EXPECT_EQ(pt::Defaults::standard().stringForKey(PTLibraryController::PathKey),
                  c.accepted ? folder : current->path());
        if (!c.accepted) {
            ASSERT_EQ(shell->alerts.size(), 1);
            EXPECT_TRUE(shell->alerts[0].startsWith("Unable to Switch Library | ")) << shell->alerts[0].toStdString();
            // Nothing is written into a folder that was refused.
            EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);
        }
        pt::Defaults::standard().set(PTLibraryController::PathKey, current->path());
    }

    // A missing folder, and a new, empty package that the switch will fill.
    shell->alerts.clear();
    EXPECT_FALSE(current->switchLibraryToLibraryAtURL(home.filePath("Missing.ptlibrary")));
    EXPECT_EQ(shell->alerts.size(), 1);
    const QString fresh = home.filePath("New.ptlibrary");
    ASSERT_TRUE(QDir().mkpath(fresh));
    EXPECT_TRUE(current->switchLibraryToLibraryAtURL(fresh));
    EXPECT_EQ(pt::Defaults::standard().stringForKey(PTLibraryController::PathKey), fresh);
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return shell->restarts == 2; }, 8000));
}

TEST_F(LibraryUpkeep, SwitchPanelHidesTheCurrentPackage)
{
    PTLibraryController* current = makeCurrentLibrary();
    EXPECT_FALSE(current->switchLibrary());
    EXPECT_EQ(shell->lastRequest.title, "Switch Library");
    EXPECT_EQ(shell->lastRequest.allowedExtensions, QStringList{"ptlibrary"});
    ASSERT_TRUE(shell->lastRequest.shouldShowFilename);
    EXPECT_FALSE(shell->lastRequest.shouldShowFilename(current->path()));
    EXPECT_FALSE(shell->lastRequest.shouldShowFilename(current->path() + "/"));
    EXPECT_TRUE(shell->lastRequest.shouldShowFilename(home.filePath("Other.ptlibrary")));
}

TEST_F(LibraryUpkeep, OpeningABackupCopyImportsItAsANewLibrary)
{
    makeCurrentLibrary();
    PTLibraryController* library = PTLibraryController::currentLibrary();
    ASSERT_TRUE(library->backupLibraryWithMode(PTLibraryBackupController::DefaultLocation,
                                               PTLibraryBackupController::NoSheet, false));
    const QString copy = QDir(PTLibraryBackupController::defaultBackupLocation()).filePath(backups().first());
    const auto marker = pt::PropertyList::fromFile(QDir(copy).filePath(".backup"));
    ASSERT_TRUE(marker.ok());
    const QString date = PTLibraryController::dateStringFromDate(marker->toMap().value("date").toDateTime().toLocalTime());

    auto opened = PTLibraryController::initWithLibraryPath(copy, true);
    ASSERT_NE(opened, nullptr);
    const QString imported = QDir(baseFolder()).filePath(QStringLiteral("pictern@%1.ptlibrary").arg(date));
    EXPECT_EQ(opened->path(), imported);
    EXPECT_EQ(pt::Defaults::standard().stringForKey(PTLibraryController::PathKey), imported);
    EXPECT_FALSE(QFileInfo::exists(QDir(imported).filePath(".backup")));
    EXPECT_TRUE(QFileInfo::exists(QDir(imported).filePath("Sets/SET-1/item-0.svg")));
    EXPECT_EQ(pt::test::queryStore(QDir(imported).filePath("Rorev.db"), "SELECT count(*) FROM PTItem"), "3");
    EXPECT_TRUE(QFileInfo::exists(QDir(copy).filePath(".backup")));
    ASSERT_EQ(shell->sheets.size(), 1);
    EXPECT_EQ(shell->sheets[0]->titles, QStringList{"Importing from Backup"});
    EXPECT_EQ(shell->sheets[0]->messages.last(), "Import Complete");

    // Named a backup but not marked: copied too, under today's date and a free name.
    const QString named = home.filePath("old-backup.ptlibrary");
    ASSERT_TRUE(QDir().rename(imported, named));
    auto second = PTLibraryController::initWithLibraryPath(named, true);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(QFileInfo(second->path()).fileName(),
              QStringLiteral("pictern@%1.ptlibrary").arg(PTLibraryController::dateStringFromDate()));
    EXPECT_TRUE(QFileInfo::exists(named));
    // An ordinary library opens in place.
    EXPECT_EQ(PTLibraryController::initWithLibraryPath(second->path(), true)->path(), second->path());
}

TEST_F(LibraryUpkeep, BackupAtQuitFollowsTheFinalSaveAndHoldsTheQuit)
{
    PTLibraryController* library = makeCurrentLibrary();
    StackScope stack;
    pt::Defaults::standard().set(PTLibraryController::BackupFrequencyKey, PTLibraryController::EveryQuit);
    ObjectContext* main = PTMainManagedObjectContext();
    ASSERT_NE(main, nullptr);
    pt::test::makeObject(*main, "PTItem", "unsaved at quit");

    pt::NotificationCenter::defaultCenter().post(PTLibraryController::WillTerminateNotification);
    EXPECT_EQ(shell->holds, 1);
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return shell->holds == 0; }, 10000));
    EXPECT_EQ(shell->holdsTaken, 1);
    ASSERT_EQ(backups().size(), 1);
    const QString copy = QDir(PTLibraryBackupController::defaultBackupLocation()).filePath(backups().first());
    EXPECT_EQ(pt::test::queryStore(QDir(copy).filePath("Rorev.db"), "SELECT count(*) FROM PTItem WHERE name = 'unsaved at quit'"), "1");
    EXPECT_TRUE(library->lastBackupDate().isValid());
    EXPECT_TRUE(pt::Defaults::standard().objectForKey(PTLibraryController::BackupFrequencyLastCheckKey).toDateTime().isValid());

    // Never: no backup, no hold, but the check is still recorded.
    pt::Defaults::standard().set(PTLibraryController::BackupFrequencyKey, PTLibraryController::Never);
    pt::Defaults::standard().remove(PTLibraryController::BackupFrequencyLastCheckKey);
    pt::NotificationCenter::defaultCenter().post(PTLibraryController::WillTerminateNotification);
    EXPECT_EQ(shell->holdsTaken, 1);
    EXPECT_EQ(backups().size(), 1);
    EXPECT_TRUE(pt::Defaults::standard().objectForKey(PTLibraryController::BackupFrequencyLastCheckKey).toDateTime().isValid());
}

TEST_F(LibraryUpkeep, MovingGivesTheLibraryExtensionAndNeverReplaces)
{
    PTLibraryController* library = makeCurrentLibrary();
    const QString original = library->path();
    pt::test::writeFile(home.filePath("Taken.ptlibrary/META"));
    pt::Error error;
    EXPECT_TRUE(library->moveToLocation(home.filePath("Taken.ptlibrary"), &error).isEmpty());
    EXPECT_EQ(error.code, EEXIST);
    EXPECT_TRUE(QFileInfo::exists(QDir(original).filePath("Rorev.db")));

    const QString moved = library->moveToLocation(home.filePath("Moved.txt"), &error);
    EXPECT_EQ(moved, home.filePath("Moved.ptlibrary"));
    EXPECT_TRUE(QFileInfo::exists(QDir(moved).filePath("Sets/SET-1/item-0.svg")));
    EXPECT_FALSE(QFileInfo::exists(original));
}

TEST_F(LibraryUpkeep, MoveLibraryClosesTheStoreMovesAndRestartsOnTheMovedLibrary)
{
    makeCurrentLibrary();
    StackScope stack;
    ObjectContext* main = PTMainManagedObjectContext();
    ASSERT_NE(main, nullptr);
    pt::test::makeObject(*main, "PTItem", "made before the move");
    shell->panelAnswer = home.filePath("Elsewhere/Moved");
    QDir().mkpath(home.filePath("Elsewhere"));

    PTLibraryController::currentLibrary()->moveLibrary();
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return shell->restarts == 1; }, 10000));
    const QString moved = home.filePath("Elsewhere/Moved.ptlibrary");
    EXPECT_EQ(pt::Defaults::standard().stringForKey(PTLibraryController::PathKey), moved);
    const QString store = QDir(moved).filePath("Rorev.db");
    EXPECT_FALSE(QFileInfo::exists(store + "-wal"));
    EXPECT_EQ(pt::test::queryStore(store, "SELECT count(*) FROM PTItem WHERE name = 'made before the move'"), "1");
    ASSERT_EQ(shell->sheets.size(), 1);
    EXPECT_EQ(shell->sheets[0]->titles, (QStringList{"Moving Library...", "Move Complete!"}));
    EXPECT_EQ(shell->sheets[0]->code, -1000);
}

TEST_F(LibraryUpkeep, ReindexingFillsSearchColumnsAndTagsOffTheMainThread)
{
    PTLibraryController* library = makeCurrentLibrary(5000);
    const QString file = library->locationByAppendingPath("Sets/SET-1/item-0.svg", false);
    const QByteArray fileTags = "Blue,item";
    ASSERT_EQ(setxattr(QFile::encodeName(file).constData(), PTTagController::FileTagsAttribute, fileTags.constData(),
                       size_t(fileTags.size()), 0),
              0);
    StackScope stack;
    ObjectContext* main = PTMainManagedObjectContext();
    ASSERT_NE(main, nullptr);
    pt::store::FetchRequest request;
    request.entityName = "PTItem";
    auto before = main->fetch(request);
    ASSERT_TRUE(before.ok());
    ASSERT_EQ(before->size(), 5000);
    for (ManagedObject* item : *before)
        if (item->value("name") == "item 0")
            item->setValue("newFileName", QStringLiteral("item-0.svg"));
    ASSERT_TRUE(saveAndWait());

    library->reindexWithRestart(false, main);
    ASSERT_EQ(shell->sheets.size(), 1);
    EXPECT_EQ(shell->sheets[0]->code, 1);
    EXPECT_EQ(shell->sheets[0]->titles, (QStringList{"Indexing Library", "Indexing Complete"}));
    EXPECT_EQ(shell->sheets[0]->subTitles, (QStringList{"Checking Library Itegrity...", "Fixing Library..."}));
    EXPECT_EQ(shell->restarts, 0);
    for (ManagedObject* item : *before) {
        const QString name = item->value("name").toString();
        ASSERT_EQ(item->value("nameNormalized").toString(), name) << name.toStdString();
        const QStringList expected = name == "item 0" ? QStringList{"Blue", "item"} : QStringList{"item"};
        QStringList tags = item->value("tagsString").toString().split(u',');
        tags.sort();
        ASSERT_EQ(tags, expected) << name.toStdString();
        ASSERT_EQ(item->value("tagsStringNormalized").toString(), item->value("tagsString").toString().toLower());
    }
}

