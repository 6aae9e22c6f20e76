// Imports killed with SIGKILL in a process of their own, at several points, and the launch that follows: the
// library keeps a tidy part of the import in its group, and the user hears of it once.
#include "ImportTestSupport.h"

#include "TestSupport.h"
#include "library/PTLibraryController.h"
#include "library/entities/PTCollection.h"
#include "library/entities/PTItem.h"
#include "library/store/PTStoreFunctions.h"
#include "transfer/import/PTImportJournal.h"
#include "transfer/import/PTInterruptedImports.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QThread>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace pt::test;

namespace {

constexpr PTImportOptions FoldersBecomeGroupsAndSets = 0x143DE;
constexpr int Categories = 4;
constexpr int OwnFiles = 40;
constexpr int SubFolders = 3;
constexpr int SubFolderFiles = 60;
// More than two batches: a flat folder is split over several workers.
constexpr int FlatFiles = 2 * PTImporter2::FilesPerBatch + 50;
constexpr int PackFiles = Categories * (OwnFiles + SubFolders * SubFolderFiles) + FlatFiles;

template <typename T>
QVector<T*> all()
{
    pt::store::FetchRequest request;
    request.entityName = T::EntityName;
    QVector<T*> objects;
    for (pt::store::ManagedObject* object : PTMainManagedObjectContext()->fetch(request).valueOr({}))
        objects << T::from(object);
    return objects;
}

// What the user is told was kept.
QString keptText(qint64 items, qint64 sets)
{
    if (items == 0)
        return QStringLiteral("No icons were kept.");
    const QString icons = items == 1 ? QStringLiteral("1 icon") : QStringLiteral("%1 icons").arg(items);
    const QString in = sets == 1 ? QStringLiteral("1 set") : QStringLiteral("%1 sets").arg(sets);
    return QStringLiteral("%1 in %2 %3 kept.").arg(icons, in, items == 1 ? "was" : "were");
}

bool below(PTGroup* group, PTGroup* ancestor)
{
    return group && group->selfAndAncestors().contains(ancestor);
}

} // namespace

class InterruptedImport : public ImportTest {
protected:
    // Folders holding files and folders (each a group and a set), the folders below them, and a flat folder.
    QString makePack()
    {
        for (int c = 0; c < Categories; ++c) {
            for (int f = 0; f < OwnFiles; ++f)
                source(QStringLiteral("Pack/category-%1/own-%2.svg").arg(c).arg(f));
            for (int s = 0; s < SubFolders; ++s)
                for (int f = 0; f < SubFolderFiles; ++f)
                    source(QStringLiteral("Pack/category-%1/sub-%2/icon-%3.svg").arg(c).arg(s).arg(f));
        }
        for (int f = 0; f < FlatFiles; ++f)
            source(QStringLiteral("Pack/flat/icon-%1.svg").arg(f));
        return sourcePath("Pack");
    }

    // Imports the pack into the group in another process and kills it once it stored `killAt` items; answers
    // whether the import ended first.
    bool importInChild(const QString& group, const QString& pack, qint64 killAt)
    {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        // A temporary folder of its own: the killed import leaves its folder of expansions behind.
        QTemporaryDir temporary;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TMPDIR"), temporary.path());
        child.setProcessEnvironment(environment);
        child.start(QStringLiteral(PICTERN_IMPORT_CHILD),
                    {libraryPath(), group, QString::number(FoldersBecomeGroupsAndSets), pack});
        EXPECT_TRUE(child.waitForStarted());
        qint64 imported = 0;
        bool done = false;
        while (!done && imported < killAt) {
            if (!child.canReadLine() && !child.waitForReadyRead(60000))
                break;
            while (child.canReadLine()) {
                const QByteArray line = child.readLine().trimmed();
                if (line == "done")
                    done = true;
                else if (line.startsWith("imported "))
                    imported = line.mid(9).toLongLong();
            }
        }
        EXPECT_TRUE(done || imported >= killAt) << "the import stopped at " << imported;
        if (!done)
            child.kill();
        EXPECT_TRUE(child.waitForFinished(60000));
        EXPECT_EQ(child.exitStatus(), done ? QProcess::NormalExit : QProcess::CrashExit);
        return done;
    }

    // The next launch: the library opens and the start-up tidies what an import left.
    void relaunch()
    {
        openLibrary();
        bool tidied = false;
        PTInterruptedImports::tidy([&] { tidied = true; });
        ASSERT_TRUE(runMainQueueUntil([&] { return tidied; }, 60000));
    }

    // No item without a set, no set or group left empty or outside the groups, and no file in a set folder
    // that no item names but the user's own.
    void expectTidyLibrary(const QStringList& targets, const QString& usersFile)
    {
        QSet<QString> named;
        for (PTItem* item : all<PTItem>()) {
            EXPECT_NE(item->collection(), nullptr) << item->name().toStdString();
            named.insert(item->fileURL().toLocalFile());
        }
        for (PTCollection* set : all<PTCollection>()) {
            EXPECT_FALSE(set->items().isEmpty()) << set->name().toStdString();
            EXPECT_TRUE(set->name() == "Existing" || set->group()) << set->name().toStdString();
        }
        for (PTGroup* group : all<PTGroup>()) {
            if (targets.contains(group->name()))
                continue;
            EXPECT_TRUE(group->group()) << group->name().toStdString();
            EXPECT_FALSE(group->sets().isEmpty() && group->groups().isEmpty()) << group->name().toStdString();
        }
        QStringList unnamed;
        QDirIterator files(QDir(libraryPath()).filePath(PTLibraryController::SetsFolderName), QDir::Files | QDir::Hidden,
                           QDirIterator::Subdirectories);
        while (files.hasNext())
            if (const QString file = files.next(); !named.contains(file))
                unnamed << file;
        EXPECT_EQ(unnamed.join('\n'), usersFile);
    }
};

TEST_F(InterruptedImport, KilledImportsAreTidiedAtTheNextLaunch)
{
    // What the user had: a set with an icon, and a file of their own in its folder that no item names.
    PTCollection* existing = makeSet("Existing");
    PTItem* kept = makeItem(existing, "Kept", "kept.svg");
    const QString usersFile = QDir(existing->formattedDirectory()).filePath("notes.txt");
    source("notes.txt", "mine");
    ASSERT_TRUE(QFile::copy(sourcePath("notes.txt"), usersFile));
    const QString keptFile = kept->fileURL().toLocalFile();
    const QString pack = makePack();
    saveAndWait();

    QStringList targets;
    for (const qint64 killAt : {qint64(1), qint64(PTImporter2::FilesPerBatch), qint64(PackFiles / 2), qint64(PackFiles)}) {
        SCOPED_TRACE(killAt);
        const QString target = QStringLiteral("Target %1").arg(killAt);
        targets << target;
        makeGroup(target);
        saveAndWait();
        closeLibrary();
        const bool ended = importInChild(target, pack, killAt);
        shell->alerts.clear();
        relaunch();

        expectTidyLibrary(targets, usersFile);
        PTGroup* group = nullptr;
        for (PTGroup* candidate : all<PTGroup>())
            group = candidate->name() == target ? candidate : group;
        ASSERT_NE(group, nullptr);
        qint64 items = 0;
        qint64 sets = 0;
        for (PTCollection* set : all<PTCollection>()) {
            if (!below(set->group(), group))
                continue;
            items += set->items().size();
            ++sets;
        }
        if (ended) {
            EXPECT_EQ(items, PackFiles);
            EXPECT_TRUE(shell->alerts.isEmpty()) << shell->alerts.join('\n').toStdString();
        } else {
            EXPECT_LE(items, PackFiles);
            EXPECT_EQ(shell->alerts.join('\n'), "An import was interrupted. | " + keptText(items, sets));
        }
        // Told once: the launch after holds nothing more to tidy.
        closeLibrary();
        shell->alerts.clear();
        relaunch();
        EXPECT_TRUE(shell->alerts.isEmpty());
        EXPECT_TRUE(QFileInfo(keptFile).isFile());
    }
}

TEST_F(InterruptedImport, OnlyFilesMadeAfterTheImportBeganAreTakenAway)
{
    PTCollection* set = makeSet("Mine");
    makeItem(set, "Kept", "kept.svg");
    saveAndWait();
    const QDir folder(set->formattedDirectory());
    // A file of the user's under the name an import then wanted, and found taken.
    const QString users = source("arrow.svg");
    ASSERT_TRUE(QFile::copy(users, folder.filePath("arrow.svg")));
    QThread::msleep(300);
    {
        // Left as a killed import leaves it: never finished. The item it stored was the only one.
        PTImportJournal journal;
        for (const QString name : {"arrow.svg", "arrow.1.svg", "kept.svg", "stored.svg", "never-made.svg"})
            journal.recordFile(folder.filePath(name));
        ASSERT_TRUE(QFile::copy(users, folder.filePath("arrow.1.svg")));
        makeItem(set, "Stored", "stored.svg");
        saveAndWait();
    }
    closeLibrary();
    relaunch();
    for (const QString name : {"arrow.svg", "kept.svg", "stored.svg"})
        EXPECT_TRUE(QFileInfo::exists(folder.filePath(name))) << name.toStdString();
    EXPECT_FALSE(QFileInfo::exists(folder.filePath("arrow.1.svg")));
    EXPECT_EQ(shell->alerts.join('\n'), "An import was interrupted. | 1 icon in 1 set was kept.");
}

// A package from elsewhere may hold links where the library holds folders. Its journal, naming files behind them
// as an import's, must not lead the tidying out of the package.
TEST_F(InterruptedImport, NoFileOutsideThePackageIsTakenAway)
{
    PTCollection* set = makeSet("Mine");
    makeItem(set, "Kept", "kept.svg");
    saveAndWait();
    const QDir sets(QDir(libraryPath()).filePath(PTLibraryController::SetsFolderName));
    const QDir setFolder(set->formattedDirectory());
    const QString documents = sourcePath("Documents");
    source("Documents/thesis.txt", "years of work");
    source("Documents/Chapters/one.txt", "more work");
    ASSERT_TRUE(QFile::link(documents, sets.filePath("linked-set")));
    ASSERT_TRUE(QFile::link(documents, setFolder.filePath("linked-folder")));
    ASSERT_TRUE(QFile::link(sourcePath("Documents/thesis.txt"), setFolder.filePath("linked-file.svg")));
    const QString setName = setFolder.dirName();
    {
        QFile journal(QDir(libraryPath()).filePath("Import Journals/elsewhere.journal"));
        ASSERT_TRUE(QDir(libraryPath()).mkpath("Import Journals"));
        ASSERT_TRUE(journal.open(QIODevice::WriteOnly));
        journal.write("began 0\n"
                      "file Sets/linked-set/thesis.txt\n"
                      "file Sets/" + setName.toUtf8() + "/linked-folder/thesis.txt\n"
                      "file Sets/" + setName.toUtf8() + "/../linked-set/Chapters/one.txt\n"
                      "file Sets/" + setName.toUtf8() + "/linked-file.svg\n"
                      "file Sets/linked-set\n");
    }
    closeLibrary();
    relaunch();
    EXPECT_EQ(QFile(sourcePath("Documents/thesis.txt")).size(), 13);
    EXPECT_TRUE(QFileInfo::exists(sourcePath("Documents/Chapters/one.txt")));
    EXPECT_TRUE(QFileInfo(sets.filePath("linked-set")).isSymLink());
    // A link inside the set folder is the package's own entry: it goes, what it names stays.
    EXPECT_FALSE(QFileInfo(setFolder.filePath("linked-file.svg")).isSymLink());
    EXPECT_TRUE(QFileInfo::exists(setFolder.filePath("kept.svg")));
}

// Whatever stands under a journal's name, the launch reads no more than a regular file within bounds, never
// waits on it, and takes it away (a link, never what it names), so that the next launch does not meet it again.
TEST_F(InterruptedImport, OnlyRegularFilesAreReadAsJournals)
{
    const QDir journals(QDir(libraryPath()).filePath("Import Journals"));
    ASSERT_TRUE(journals.mkpath("."));
    const QString outside = source("elsewhere.journal", "began 0\n");
    ASSERT_EQ(::mkfifo(QFile::encodeName(sourcePath("pipe")).constData(), 0600), 0);
    const struct {
        const char* name;
        QString target;
    } links[] = {{"zero.journal", "/dev/zero"}, {"pipe.journal", sourcePath("pipe")}, {"link.journal", outside}};
    for (const auto& link : links)
        ASSERT_TRUE(QFile::link(link.target, journals.filePath(link.name)));
    ASSERT_EQ(::mkfifo(QFile::encodeName(journals.filePath("fifo.journal")).constData(), 0600), 0);

    const QString library = libraryPath();
    const int read = pt::test::runInBoundedChild(qint64(512) << 20, 10, [&] {
        for (const QString& journal : PTImportJournal::journalsIn(library))
            (void)PTImportJournal::read(journal, library);
        return 0;
    });
    ASSERT_EQ(read, 0) << "ended by signal " << read - 128;

    closeLibrary();
    relaunch();
    EXPECT_TRUE(journals.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).isEmpty());
    EXPECT_TRUE(QFileInfo::exists(outside));
    EXPECT_TRUE(shell->alerts.isEmpty()) << shell->alerts.join('\n').toStdString();
}
