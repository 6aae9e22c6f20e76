#include "library/ImportTyping.h"
#include "ImportTestSupport.h"

#include "StoreTestSupport.h"
#include "TestSupport.h"
#include "browser/PTBrowserTransfer.h"
#include "browser/quicklook/PTQuickLookImageView.h"
#include "foundation/WebP.h"
#include "library/PTLibraryController.h"
#include "library/controllers/PTCollectionController.h"
#include "library/controllers/PTReplacementImport.h"
#include "library/entities/PTLicence.h"
#include "platform/runtime/NotificationCenter.h"
#include "platform/ui/ModalRunner.h"
#include "transfer/import/PTCorruptImagesSheetController.h"
#include "transfer/import/PTSheetBrowseView.h"
#include "transfer/replace/PTReplaceIconTableViewCellController.h"
#include "transfer/replace/PTReplaceIconTableViewRowView.h"
#include "transfer/replace/PTReplaceIconsSheetController.h"
#include "transfer/replace/PTReplacementImporter.h"
#include "ui/theme/PTThemeController.h"
#include "ui/views/PTSheet.h"

#include <QCheckBox>
#include <QDropEvent>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextDocumentFragment>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <gtest/gtest.h>

using namespace pt::test;

namespace {

// Makes a folder refuse new entries for as long as it lives, also for the superuser where the file system can
// mark it immutable; `locked` says whether it does.
class LockedFolder {
public:
    explicit LockedFolder(const QString& path) : path_(path)
    {
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
        if (geteuid() == 0)
            setImmutable(true);
        QFile probe(QDir(path).filePath(".probe"));
        locked = !probe.open(QIODevice::WriteOnly);
        if (!locked)
            probe.remove();
    }
    ~LockedFolder()
    {
        if (geteuid() == 0)
            setImmutable(false);
        QFile::setPermissions(path_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    bool locked = false;

private:
    void setImmutable(bool on)
    {
        const int fd = ::open(QFile::encodeName(path_).constData(), O_RDONLY | O_DIRECTORY);
        if (fd < 0)
            return;
        int flags = 0;
        if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
            ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
        }
        ::close(fd);
    }
    QString path_;
};

QString plainText(const QLabel* label)
{
    return QTextDocumentFragment::fromHtml(label->text()).toPlainText();
}

QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class ReplaceIcons : public ImportTest {
protected:
    void SetUp() override
    {
        ImportTest::SetUp();
        set = makeSet("Shapes");
        pt::ModalRunner::setDeadline(20000);
        // Records what "File Issues" lists, and closes it.
        pt::ModalRunner::setHook([this](QWidget* window) {
            if (window->accessibleName() != "File Issues")
                return;
            for (QListWidget* list : window->findChildren<QListWidget*>()) {
                for (int i = 0; i < list->count(); ++i)
                    issues << list->item(i)->text();
            }
            for (QPushButton* button : window->findChildren<QPushButton*>()) {
                if (button->accessibleName() == "Close")
                    button->click();
            }
        });
    }
    void TearDown() override
    {
        PTReplacementImport::install(nullptr);
        pt::ModalRunner::setHook(nullptr);
        pt::ModalRunner::setDeadline(0);
        ImportTest::TearDown();
    }

    PTItem* pngItem(const QString& name, const QString& fileName, QSize size)
    {
        PTItem* item = makeItem(set, name, fileName, writePng(sourcePath("made/" + fileName), size));
        item->setType(PTItem::PNG);
        item->setWidth(size.width());
        item->setHeight(size.height());
        return item;
    }
    QString webpSource(const QString& name, QSize size)
    {
        QImage image(size, QImage::Format_ARGB32);
        image.fill(Qt::red);
        return source(name, WebP::webPRepresentation(image));
    }
    // Presents the replacement and waits for its completion; nothing when it never came.
    std::optional<QVector<PTItem*>> replaceOne(PTItem* item, const QString& answer)
    {
        shell->panelAnswer = answer;
        std::optional<QVector<PTItem*>> replaced;
        PTReplaceIconsSheetController::presentForItems({item}, nullptr,
                                                       [&](const QVector<PTItem*>& items) { replaced = items; });
        EXPECT_TRUE(runMainQueueUntil([&] { return replaced.has_value(); }, 30000));
        return replaced;
    }
    QStringList setFolders() const
    {
        return QDir(libraryPath() + "/Sets").entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    }
    qsizetype setCount()
    {
        pt::store::FetchRequest request;
        request.entityName = PTCollection::EntityName;
        return context().fetch(request)->size();
    }

    PTCollection* set = nullptr;
    QStringList issues;
};

// Two of three rows get a file: the button follows the ticked rows, and the replacement takes the new files
// and their technical attributes while names, tags, licences and the untouched row stay; the temporary set goes
// with its folder.
TEST_F(ReplaceIcons, SheetReplacesTheChosenRowsAndKeepsTheirMetadata)
{
    PTLicence* licence = PTLicence::insert(context());
    licence->setName("MIT");
    PTItem* star = pngItem("Star", "star.png", QSize(32, 32));
    star->setTagsString("gold,shape");
    star->setLicence(licence);
    PTItem* arrow = makeItem(set, "arrow", "arrow.svg");
    PTItem* cog = makeItem(set, "Cog", "cog.svg");
    saveAndWait();
    const QString arrowFile = arrow->fileURL().toLocalFile();
    const QString starFile = star->fileURL().toLocalFile();
    const QString svg = source("new-star.svg");
    const QString webp = webpSource("cog-picture.webp", QSize(20, 10));

    PTReplaceIconsSheetController sheet({star, arrow, cog});
    std::optional<QVector<PTItem*>> replaced;
    sheet.setCompletionHandler([&](const QVector<PTItem*>& items) { replaced = items; });
    ASSERT_EQ(sheet.items(), (QVector<PTItem*>{arrow, cog, star}));
    sheet.window()->show();
    QPushButton* button = sheet.replaceButton();
    EXPECT_EQ(button->text(), "Select Icons");
    EXPECT_FALSE(button->isEnabled());
    EXPECT_FALSE(sheet.rows()[0]->checkbox()->isEnabled());

    sheet.rows()[2]->browseView()->setPathURLs({QUrl::fromLocalFile(svg)});
    sheet.rows()[1]->browseView()->setPathURLs({QUrl::fromLocalFile(webp)});
    runMainQueueFor(20);
    EXPECT_EQ(button->text(), "Replace 2 Icons");
    EXPECT_EQ(plainText(sheet.rows()[2]->subtitleField()), QString::fromUtf8("star.png → new-star.svg"));
    sheet.rows()[1]->checkbox()->click();
    EXPECT_EQ(button->text(), "Replace Icon");
    sheet.rows()[2]->checkbox()->click();
    EXPECT_EQ(button->text(), "Select Icons");
    EXPECT_FALSE(button->isEnabled());
    sheet.rows()[1]->checkbox()->click();
    sheet.rows()[2]->checkbox()->click();
    ASSERT_TRUE(button->isEnabled());
    button->click();
    ASSERT_TRUE(runMainQueueUntil([&] { return replaced.has_value(); }, 30000));

    EXPECT_EQ(*replaced, (QVector<PTItem*>{cog, star}));
    EXPECT_TRUE(issues.isEmpty()) << issues.join('\n').toStdString();
    EXPECT_EQ(star->name(), "Star");
    EXPECT_EQ(star->licence(), licence);
    EXPECT_EQ(star->collection(), set);
    EXPECT_TRUE(star->tagComponents().contains({"gold", "shape"})) << star->tagsString().toStdString();
    EXPECT_EQ(star->type(), PTItem::SVG);
    EXPECT_EQ(star->newFileName(), "new-star.svg");
    EXPECT_EQ(contentsOf(star->fileURL().toLocalFile()), contentsOf(svg));
    EXPECT_FALSE(QFile::exists(starFile));
    EXPECT_EQ(cog->type(), PTItem::WEBP);
    EXPECT_EQ(QSize(cog->width(), cog->height()), QSize(20, 10));
    EXPECT_EQ(contentsOf(cog->fileURL().toLocalFile()), contentsOf(webp));
    EXPECT_EQ(arrow->fileURL().toLocalFile(), arrowFile);
    EXPECT_TRUE(QFile::exists(arrowFile));

    saveAndWait();
    EXPECT_EQ(setCount(), 1);
    EXPECT_EQ(setFolders(), QStringList{set->identifier()});
    EXPECT_EQ(QDir(set->formattedDirectory()).entryList(QDir::Files, QDir::Name),
              (QStringList{"arrow.svg", "cog-picture.webp", "new-star.svg"}));
    ASSERT_FALSE(shell->sheets.isEmpty());
    EXPECT_EQ(shell->sheets.last()->titles,
              (QStringList{PTReplaceIconsSheetController::ProgressTitle, PTReplaceIconsSheetController::CompleteTitle}));
    EXPECT_FALSE(sheet.window()->isVisible());
}

// One item: a file dialog with the prompt "Replace" instead of the sheet. Cancelling it reports no replacement;
// a new file whose name is taken in the set's folder gets a counter.
TEST_F(ReplaceIcons, OneItemAsksForAFileAndNamesItUniquely)
{
    PTItem* arrow = makeItem(set, "Arrow", "arrow.svg");
    makeItem(set, "Other", "arrow.1.svg");
    saveAndWait();
    const QString oldFile = arrow->fileURL().toLocalFile();
    QList<QVariantList> announced;
    const pt::ObserverToken observer = pt::NotificationCenter::defaultCenter().addObserver(
        PTBrowserTransfer::ItemsWereReplacedNotification, nullptr, [&](const pt::Notification& notification) {
            announced << notification.userInfo.value(PTBrowserTransfer::ReplacedItemsKey).toList();
        });

    const std::optional<QVector<PTItem*>> cancelled = replaceOne(arrow, QString());
    ASSERT_TRUE(cancelled);
    EXPECT_TRUE(cancelled->isEmpty());
    EXPECT_EQ(shell->lastRequest.prompt, "Replace");
    // The panel offers the import file types, not every file.
    EXPECT_EQ(shell->lastRequest.allowedExtensions, PTImportExtensions());
    EXPECT_TRUE(shell->lastRequest.shouldShowFilename(themeIcon()));
    EXPECT_FALSE(shell->lastRequest.shouldShowFilename(sourcePath("notes.txt")));
    EXPECT_TRUE(shell->sheets.isEmpty());

    const QString replacement = source("new/arrow.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"8\" height=\"8\"/>");
    const std::optional<QVector<PTItem*>> replaced = replaceOne(arrow, replacement);
    ASSERT_TRUE(replaced);
    EXPECT_EQ(*replaced, QVector<PTItem*>{arrow});
    // Announced once, for the replacement and not for the cancelled panel.
    ASSERT_EQ(announced.size(), 1);
    EXPECT_EQ(announced.first(), QVariantList{QVariant::fromValue<pt::store::ManagedObject*>(arrow)});
    EXPECT_EQ(arrow->newFileName(), "arrow.2.svg");
    EXPECT_EQ(contentsOf(arrow->fileURL().toLocalFile()), contentsOf(replacement));
    EXPECT_FALSE(QFile::exists(oldFile));
    EXPECT_EQ(setFolders(), QStringList{set->identifier()});
}

// Files that give no item of their own (a font becomes one item per glyph, a text file is no image) and a file
// that cannot be moved into a locked set folder are all listed under "File Issues"; their items and files stay
// exactly as they were, and the temporary set leaves nothing behind.
TEST_F(ReplaceIcons, FilesThatReplaceNothingAreListedAndLoseNothing)
{
    PTItem* star = pngItem("Star", "star.png", QSize(32, 32));
    PTItem* cog = makeItem(set, "Cog", "cog.svg");
    PTItem* moon = makeItem(set, "Moon", "moon.svg");
    saveAndWait();
    const QByteArray starBytes = contentsOf(star->fileURL().toLocalFile());
    const QString font = "/usr/share/fonts-font-awesome/fonts/FontAwesome.otf";
    const QString text = source("text.png", "this is no image");

    PTReplaceIconsSheetController sheet({star, cog});
    std::optional<QVector<PTItem*>> replaced;
    sheet.setCompletionHandler([&](const QVector<PTItem*>& items) { replaced = items; });
    sheet.rows()[0]->setReplacementURL(QUrl::fromLocalFile(font));
    sheet.rows()[1]->setReplacementURL(QUrl::fromLocalFile(text));
    sheet.performReplace();
    ASSERT_TRUE(runMainQueueUntil([&] { return replaced.has_value(); }, 60000));
    EXPECT_TRUE(replaced->isEmpty());
    ASSERT_EQ(issues.size(), 2) << issues.join('\n').toStdString();
    EXPECT_TRUE(issues[0].startsWith("text.png")) << issues[0].toStdString();
    EXPECT_TRUE(issues[1].startsWith("FontAwesome.otf")) << issues[1].toStdString();
    EXPECT_EQ(cog->newFileName(), "cog.svg");
    EXPECT_EQ(star->type(), PTItem::PNG);
    saveAndWait();
    EXPECT_EQ(set->items().size(), 3);
    EXPECT_EQ(setCount(), 1);
    EXPECT_EQ(setFolders(), QStringList{set->identifier()});

    issues.clear();
    const QString moonFile = moon->fileURL().toLocalFile();
    const QByteArray moonBytes = contentsOf(moonFile);
    std::optional<QVector<PTItem*>> refused;
    {
        LockedFolder lock(set->formattedDirectory());
        if (!lock.locked)
            GTEST_SKIP() << "the set folder cannot be locked here";
        refused = replaceOne(moon, webpSource("moon.webp", QSize(12, 12)));
    }
    ASSERT_TRUE(refused);
    EXPECT_TRUE(refused->isEmpty());
    ASSERT_EQ(issues.size(), 1);
    EXPECT_TRUE(issues[0].startsWith("moon.webp")) << issues[0].toStdString();
    EXPECT_EQ(moon->newFileName(), "moon.svg");
    EXPECT_EQ(moon->type(), PTItem::SVG);
    EXPECT_EQ(contentsOf(moonFile), moonBytes);
    EXPECT_EQ(contentsOf(star->fileURL().toLocalFile()), starBytes);
    EXPECT_EQ(setFolders(), QStringList{set->identifier()});
}

// Replacing one item from a file through the library controller, over the application's import: a file no icon
// can be made of, refused by the importer or passed over by it, is listed with the reason and changes nothing;
// an image replaces the item's picture and leaves one file behind.
TEST_F(ReplaceIcons, OneItemFromAFileThroughTheLibraryController)
{
    PTReplacementImport::install(std::make_shared<PTReplacementImporter>());
    PTItem* cog = makeItem(set, "Cog", "cog.svg");
    saveAndWait();
    const QString oldFile = cog->fileURL().toLocalFile();
    const QByteArray oldBytes = contentsOf(oldFile);
    const auto replace = [cog](const QString& path) {
        std::optional<bool> answer;
        PTCollectionController::sharedController().replaceItem(cog, path, [&answer](bool replaced) { answer = replaced; });
        EXPECT_TRUE(runMainQueueUntil([&answer] { return answer.has_value(); }, 30000));
        return answer;
    };

    EXPECT_EQ(replace(source("notes.txt", "no icon here")), false);
    EXPECT_EQ(replace(source("text.png", "this is no image")), false);
    ASSERT_EQ(issues.size(), 2) << issues.join('\n').toStdString();
    EXPECT_EQ(issues[0], QString::fromUtf8("notes.txt — ") + PTCorruptImagesSheetController::NoIconReason);
    EXPECT_TRUE(issues[1].startsWith(QString::fromUtf8("text.png — "))) << issues[1].toStdString();
    EXPECT_EQ(cog->newFileName(), "cog.svg");
    EXPECT_EQ(contentsOf(oldFile), oldBytes);
    EXPECT_EQ(set->items().size(), 1);

    const QString webp = webpSource("cog.webp", QSize(20, 10));
    EXPECT_EQ(replace(webp), true);
    EXPECT_EQ(cog->type(), PTItem::WEBP);
    EXPECT_EQ(QSize(cog->width(), cog->height()), QSize(20, 10));
    EXPECT_EQ(contentsOf(cog->fileURL().toLocalFile()), contentsOf(webp));
    saveAndWait();
    EXPECT_FALSE(QFile::exists(oldFile));
    EXPECT_EQ(set->items().size(), 1);
    EXPECT_EQ(QDir(set->formattedDirectory()).entryList(QDir::Files), QStringList{cog->newFileName()});
}

// The old file goes only once the store names the new one: a store that refuses the change gets the item's
// fields back, keeps the old file and is left naming a file that is there, also after a later save. The refused
// replacement is listed under "File Issues" and reported as none.
TEST_F(ReplaceIcons, TheOldFileGoesOnlyOnceTheReplacementIsStored)
{
    for (const bool refused : {false, true}) {
        SCOPED_TRACE(refused ? "the store refuses the replacement" : "the replacement is stored");
        issues.clear();
        const QString oldFileName = refused ? "star-refused.png" : "star-stored.png";
        PTItem* star = pngItem("Star", oldFileName, QSize(32, 32));
        star->setTagsString("gold");
        saveAndWait();
        const QString oldFile = star->fileURL().toLocalFile();
        const QByteArray oldBytes = contentsOf(oldFile);
        const QString store = PTLibraryController::currentLibrary()->persistantStoreCoordinatorPath();
        const auto stored = [&](const QString& column) {
            return queryStore(store, "SELECT " + column + " FROM PTItem WHERE pk = "
                                         + QString::number(star->objectID().primaryKey()));
        };
        if (refused) {
            // The import's own saves go through: only this item's row refuses a change.
            queryStore(store, "CREATE TRIGGER refuse BEFORE UPDATE ON PTItem WHEN OLD.pk = "
                                  + QString::number(star->objectID().primaryKey())
                                  + " BEGIN SELECT RAISE(ABORT, 'refused'); END");
            saveFailuresExpected = true;
        }
        const QString replacement = source(refused ? "refused.svg" : "stored.svg");
        const std::optional<QVector<PTItem*>> replaced = replaceOne(star, replacement);
        ASSERT_TRUE(replaced);

        if (refused) {
            EXPECT_FALSE(saveErrors.isEmpty());
            EXPECT_EQ(stored("newFileName"), oldFileName);
            EXPECT_EQ(contentsOf(oldFile), oldBytes);
            EXPECT_EQ(star->newFileName(), oldFileName);
            EXPECT_EQ(star->type(), PTItem::PNG);
            EXPECT_EQ(QSize(star->width(), star->height()), QSize(32, 32));
            EXPECT_EQ(star->tagsString(), "gold");
            EXPECT_TRUE(replaced->isEmpty());
            EXPECT_EQ(issues.size(), 1);
            EXPECT_TRUE(issues.value(0).startsWith("refused.svg")) << issues.join('\n').toStdString();
            queryStore(store, "DROP TRIGGER refuse");
            saveFailuresExpected = false;
            saveAndWait();
        } else {
            EXPECT_EQ(*replaced, QVector<PTItem*>{star});
            EXPECT_TRUE(issues.isEmpty()) << issues.join('\n').toStdString();
            EXPECT_EQ(star->newFileName(), "stored.svg");
            EXPECT_EQ(stored("type"), QString::number(PTItem::SVG));
            EXPECT_EQ(contentsOf(star->fileURL().toLocalFile()), contentsOf(replacement));
            EXPECT_FALSE(QFile::exists(oldFile));
        }
        EXPECT_EQ(stored("newFileName"), star->newFileName());
        EXPECT_TRUE(QFile::exists(star->fileURL().toLocalFile()));
        EXPECT_FALSE(QFile::exists(QDir(set->formattedDirectory()).filePath("refused.svg"))) << "nothing names it";
    }
}

// The well of a row takes one file: a folder or a second file in the same drop is left out.
TEST_F(ReplaceIcons, ARowTakesOneDroppedFile)
{
    PTItem* cog = makeItem(set, "Cog", "cog.svg");
    PTReplaceIconTableViewCellController row(cog);
    const QString folder = sourcePath("folder.svg");
    QDir().mkpath(folder);
    auto* data = new QMimeData;
    data->setUrls({QUrl::fromLocalFile(folder), QUrl::fromLocalFile(source("a.svg")), QUrl::fromLocalFile(source("b.svg"))});
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    // Straight to the well: without a drag under way the application does not route drops.
    static_cast<QObject*>(row.browseView())->event(&drop);
    delete data;
    EXPECT_EQ(row.replacementURL(), QUrl::fromLocalFile(sourcePath("a.svg")));
    EXPECT_TRUE(row.enabled());
}

// The list is as high as its rows up to six; from seven on it shows five and a half and scrolls.
TEST_F(ReplaceIcons, ListHeightFollowsTheRowCount)
{
    for (const auto& [count, height] : std::vector<std::pair<int, int>>{{3, 300}, {6, 600}, {7, 550}}) {
        QVector<PTItem*> items;
        for (int i = 0; i < count; ++i)
            items << makeItem(set, QStringLiteral("Icon %1").arg(i), QStringLiteral("icon-%1-%2.svg").arg(count).arg(i));
        PTReplaceIconsSheetController sheet(items);
        sheet.window()->show();
        runMainQueueFor(10);
        EXPECT_EQ(sheet.scrollArea()->height(), height) << count;
        EXPECT_EQ(sheet.scrollArea()->verticalScrollBar()->maximum() > 0, count > 6) << count;
    }
}

// Rows alternate their shade and are parted by lines; the last row has none under it.
TEST_F(ReplaceIcons, Screenshot)
{
    PTItem* star = pngItem("Star", "star.png", QSize(32, 32));
    PTItem* arrow = makeItem(set, "Arrow", "arrow.svg");
    PTItem* cog = makeItem(set, "Cog", "cog.svg");
    saveAndWait();
    PTReplaceIconsSheetController sheet({star, arrow, cog});
    sheet.rows()[0]->setReplacementURL(QUrl::fromLocalFile(source("new-arrow.svg")));
    PTSheet* window = sheet.window();
    // The light theme, whatever the desktop's, and back afterwards.
    struct LightTheme {
        int before = PTThemeController::defaultController().appearance();
        LightTheme() { PTThemeController::defaultController().setAppearance(PTAppearanceAqua); }
        ~LightTheme() { PTThemeController::defaultController().setAppearance(before); }
    } light;
    window->show();
    ASSERT_TRUE(runMainQueueUntil([&] { return !sheet.rows()[2]->imageView()->image().isNull(); }));
    runMainQueueFor(20);
    const QImage image = writeScreenshot(window, "replace-icons-sheet");
    ASSERT_FALSE(image.isNull());

    const qreal ratio = image.devicePixelRatio();
    const auto pixel = [&](const QWidget* widget, int x, int y) {
        const QPoint point = widget->mapTo(window, QPoint(x, y));
        return image.pixelColor(int(point.x() * ratio), int(point.y() * ratio));
    };
    const QWidget* first = sheet.rows()[0]->view();
    const QWidget* odd = sheet.rows()[1]->view();
    const QWidget* last = sheet.rows()[2]->view();
    const int x = first->width() - 6;
    EXPECT_EQ(pixel(first, x, 50), QColor(0xFA, 0xFA, 0xFA));
    EXPECT_EQ(pixel(first, x, first->height() - 1), QColor(0xEE, 0xEE, 0xEE));
    EXPECT_EQ(pixel(odd, x, 50), QColor(0xF6, 0xF6, 0xF6));
    EXPECT_EQ(pixel(odd, x, odd->height() - 1), QColor(0xEE, 0xEE, 0xEE));
    EXPECT_EQ(pixel(last, x, last->height() - 1), QColor(0xFA, 0xFA, 0xFA));
    // The thumbnail is drawn: its centre is not the field behind it.
    const QWidget* thumbnail = sheet.rows()[2]->imageView();
    EXPECT_NE(pixel(thumbnail, thumbnail->width() / 2, thumbnail->height() / 2), pixel(thumbnail, 3, 3));
    EXPECT_EQ(sheet.replaceButton()->text(), "Replace Icon");
}
