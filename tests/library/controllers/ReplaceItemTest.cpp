// Replacing an item's file through the import seam, on a real library with real files.
#include "LibraryTestSupport.h"
#include "StoreTestSupport.h"

#include "TestSupport.h"
#include "library/PTLibraryController.h"
#include "library/controllers/PTCollectionController.h"
#include "library/upkeep/PTImportValidation.h"
#include "library/controllers/PTReplacementImport.h"
#include "platform/runtime/DispatchQueue.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using pt::test::LibraryTest;
using pt::test::runMainQueueUntil;
using pt::test::themeIcon;

namespace {

// Imports the file as a new item of the set with the type of its extension, and answers later on the main queue
// as the importer does; files named "broken.*" are unreadable, and "lost.*" leaves the new item without its file.
class FakeImport : public PTReplacementImport {
public:
    void importPaths(const QStringList& paths, PTCollection* set, quint64 options, Completion completion) override
    {
        receivedOptions = options;
        Result result;
        const QFileInfo file(paths.first());
        if (file.baseName() == "broken") {
            result.unreadable = {{paths.first(), QStringLiteral("not an image")}};
        } else {
            PTItem* item = PTItem::insert(*set->context());
            item->setName(file.baseName());
            item->setType(file.suffix() == "png" ? PTItem::PNG : PTItem::SVG);
            item->setNewFileName(file.fileName());
            item->setUnicode("e001");
            item->setWidth(48);
            item->setHeight(32);
            item->setDate(QDateTime(QDate(2020, 1, 2), QTime(3, 4)));
            item->setCollection(set);
            if (file.baseName() != "lost") {
                EXPECT_TRUE(QFile::copy(file.filePath(), item->fileURL().toLocalFile()));
            }
            result.items.append(item);
        }
        pt::DispatchQueue::main().async([completion, result] { completion(result); });
    }
    void presentCorruptImages(const QVector<Unreadable>& files) override
    {
        for (const Unreadable& file : files)
            corrupt << file.path;
    }
    void purgeImagesOfItem(PTItem* item) override { purged.append(item); }

    quint64 receivedOptions = 0;
    QStringList corrupt;
    QVector<PTItem*> purged;
};

class ReplaceItemTest : public LibraryTest {
protected:
    void SetUp() override
    {
        LibraryTest::SetUp();
        PTReplacementImport::install(import);
    }
    void TearDown() override
    {
        PTReplacementImport::install(nullptr);
        LibraryTest::TearDown();
    }
    // Runs the replacement and answers what the completion was told.
    std::optional<bool> replace(PTItem* item, const QString& path)
    {
        std::optional<bool> answer;
        PTCollectionController::sharedController().replaceItem(item, path, [&](bool replaced) { answer = replaced; });
        EXPECT_TRUE(runMainQueueUntil([&] { return answer.has_value(); }));
        return answer;
    }
    static QByteArray contents(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QString source(const QString& name, const QByteArray& bytes)
    {
        const QString path = QDir(sources.path()).filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    std::shared_ptr<FakeImport> import = std::make_shared<FakeImport>();
    QTemporaryDir sources;
};

} // namespace

TEST_F(ReplaceItemTest, TakesTheNewFileAndItsValuesAndDropsTheImportedItem)
{
    struct Case {
        const char* file;
        qint64 type;
        const char* expectedName;
    };
    // The item takes the imported file's name (and with another type its extension).
    for (const Case& c : {Case{"new.svg", PTItem::SVG, "new.svg"}, Case{"new.png", PTItem::PNG, "new.png"}}) {
        SCOPED_TRACE(c.file);
        PTCollection* set = makeSet("Set");
        PTItem* item = makeItem(set, "Icon", "icon.svg");
        saveAndWait();
        const QString oldFile = item->fileURL().toLocalFile();
        const QByteArray bytes = contents(themeIcon("go-previous"));

        EXPECT_EQ(replace(item, source(c.file, bytes)), true);

        EXPECT_EQ(import->receivedOptions, PTImportValidation::AllOptions);
        EXPECT_EQ(item->newFileName(), c.expectedName);
        EXPECT_EQ(contents(item->fileURL().toLocalFile()), bytes);
        EXPECT_EQ(item->type(), c.type);
        EXPECT_EQ(item->unicode(), "e001");
        EXPECT_EQ(item->width(), 48);
        EXPECT_EQ(item->height(), 32);
        EXPECT_EQ(item->date(), QDateTime(QDate(2020, 1, 2), QTime(3, 4)));
        EXPECT_EQ(import->purged.last(), item);
        // One item and one file remain: the imported item and the old contents are gone.
        ASSERT_EQ(set->items().size(), 1);
        EXPECT_EQ(QDir(set->formattedDirectory()).entryList(QDir::Files), QStringList{c.expectedName});
        saveAndWait();
        EXPECT_FALSE(QFileInfo::exists(oldFile));
        EXPECT_FALSE(context().hasChanges());
    }
}

TEST_F(ReplaceItemTest, FailuresLeaveTheItemAsItWas)
{
    PTCollection* set = makeSet("Set");
    PTItem* item = makeItem(set, "Icon", "icon.svg");
    saveAndWait();
    const QByteArray before = contents(item->fileURL().toLocalFile());

    // An unreadable file is listed on the sheet.
    EXPECT_EQ(replace(item, source("broken.svg", "not an image")), false);
    EXPECT_EQ(import->corrupt, QStringList{QDir(sources.path()).filePath("broken.svg")});

    // The imported contents cannot be put in place (here they never arrived).
    for (const char* name : {"lost.svg", "lost.png"})
        EXPECT_EQ(replace(item, source(name, contents(themeIcon("go-previous")))), false) << name;

    // Without an import installed nothing can be imported.
    PTReplacementImport::install(nullptr);
    EXPECT_EQ(replace(item, themeIcon("go-previous")), false);

    EXPECT_EQ(item->newFileName(), "icon.svg");
    EXPECT_EQ(item->type(), PTItem::SVG);
    EXPECT_EQ(item->width(), 0);
    EXPECT_EQ(contents(item->fileURL().toLocalFile()), before);
    EXPECT_TRUE(import->purged.isEmpty());
    EXPECT_EQ(set->items().size(), 1);
}

// Whatever the type of the new file, the store refusing to hear of it leaves the item and its file as they were.
TEST_F(ReplaceItemTest, ARefusedSaveKeepsTheFileTheStoreStillNames)
{
    for (const char* replacement : {"new.svg", "new.png"}) {
        SCOPED_TRACE(replacement);
        PTCollection* set = makeSet("Set");
        PTItem* item = makeItem(set, "Icon", "icon.svg");
        saveAndWait();
        const QString oldFile = item->fileURL().toLocalFile();
        const QByteArray before = contents(oldFile);
        const QString store = PTLibraryController::currentLibrary()->persistantStoreCoordinatorPath();
        const QString pk = QString::number(item->objectID().primaryKey());
        pt::test::queryStore(store, "CREATE TRIGGER refuse BEFORE UPDATE ON PTItem WHEN OLD.pk = " + pk
                                        + " BEGIN SELECT RAISE(ABORT, 'refused'); END");
        saveFailuresExpected = true;

        EXPECT_EQ(replace(item, source(replacement, contents(themeIcon("go-previous")))), false);

        EXPECT_FALSE(saveErrors.isEmpty());
        EXPECT_EQ(pt::test::queryStore(store, "SELECT newFileName FROM PTItem WHERE pk = " + pk), "icon.svg");
        EXPECT_EQ(contents(oldFile), before);
        EXPECT_EQ(item->newFileName(), "icon.svg");
        EXPECT_EQ(item->type(), PTItem::SVG);
        EXPECT_EQ(item->width(), 0);
        EXPECT_EQ(QDir(set->formattedDirectory()).entryList(QDir::Files), QStringList{"icon.svg"});

        pt::test::queryStore(store, "DROP TRIGGER refuse");
        saveFailuresExpected = false;
        saveErrors.clear();
        saveAndWait();
        EXPECT_EQ(pt::test::queryStore(store, "SELECT newFileName FROM PTItem WHERE pk = " + pk), "icon.svg");
    }
}
