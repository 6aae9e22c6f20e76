#include "ImportTestSupport.h"

#include "TestSupport.h"
#include "library/entities/PTCollection.h"
#include "library/entities/PTItem.h"
#include "svg/PTSVG.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSize>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>
#include <sys/stat.h>

using namespace pt::test;

namespace {

QStringList itemNames(const QVector<PTItem*>& items)
{
    QStringList names;
    for (PTItem* item : items)
        names << item->name();
    names.sort();
    return names;
}

// "Set@Group:items" for each set, "Group@Parent" for each group, sorted.
QStringList describe(const PTImporter2::Result& result)
{
    QStringList lines;
    for (PTCollection* set : result.sets)
        lines << QStringLiteral("%1@%2:%3").arg(set->name(), set->group() ? set->group()->name() : "-").arg(set->items().size());
    for (PTGroup* group : result.groups)
        lines << QStringLiteral("%1@%2").arg(group->name(), group->group() ? group->group()->name() : "-");
    lines.sort();
    return lines;
}

QStringList importTemporaryFolders()
{
    return QDir::temp().entryList({"pictern-import-*"}, QDir::AllEntries | QDir::Hidden);
}

} // namespace

class Importer : public ImportTest {};

TEST_F(Importer, FoldersAgainstOptionsAndTargets)
{
    source("Brand Icons/a.svg");
    source("Brand Icons/b.svg");
    source("Brand Icons/sub-one/c.svg");
    source("Brand Icons/sub-two/d.svg");
    source("Brand Icons/sub-two/deeper/e.svg");
    source("loose/x.svg");
    const QString folder = sourcePath("Brand Icons");
    const QString loose = sourcePath("loose/x.svg");
    struct Case {
        const char* label;
        bool groupTarget;
        QStringList paths;
        PTImportOptions options;
        int items;
        QStringList made;
    };
    const std::vector<Case> cases{
        {"descend, no groups", false, {folder}, 0x143DC, 5, {}},
        {"one folder, no descent", false, {folder}, 0x143DC & ~0x4, 2, {}},
        {"several paths, no descent", false, {folder, loose}, 0x143DC & ~0x4, 1, {}},
        // The top-level folder never becomes a set of its own: its files go into the target.
        {"set target, 0x6",
         false,
         {folder},
         0x143DE,
         5,
         {"Brand Icons@-", "Deeper@Sub Two:1", "Sub One@Brand Icons:1", "Sub Two@Brand Icons", "Sub Two@Brand Icons:1"}},
        {"group target, 0x6",
         true,
         {folder},
         0x143DE,
         5,
         {"Brand Icons@Target", "Brand Icons@Target:2", "Deeper@Sub Two:1", "Sub One@Brand Icons:1",
          "Sub Two@Brand Icons", "Sub Two@Brand Icons:1"}},
        {"group target, loose files", true, {loose}, 0x143DE, 0, {}},
        {"group target, two folders, 0x6",
         true,
         {sourcePath("Brand Icons/sub-one"), sourcePath("loose")},
         0x143DE,
         2,
         {"Loose@Target:1", "Sub One@Target:1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        pt::store::ManagedObject* target = c.groupTarget ? static_cast<pt::store::ManagedObject*>(makeGroup("Target"))
                                                     : makeSet("Target");
        saveAndWait();
        const PTImporter2::Result result = importAndWait(target, c.paths, c.options);
        EXPECT_EQ(result.items.size(), c.items);
        EXPECT_EQ(describe(result), c.made);
        EXPECT_TRUE(result.rejected.isEmpty());
        qint64 made = 0;
        for (PTCollection* set : result.sets)
            made += set->items().size();
        if (PTCollection* set = PTCollection::from(target))
            EXPECT_EQ(set->items().size() + made, c.items);
    }
}

TEST_F(Importer, SameNamesGetTheirOwnFiles)
{
    PTCollection* set = makeSet("Arrows");
    source("one/Arrow Left.svg");
    source("two/Arrow Left.svg");
    ASSERT_TRUE(run("png2icns", {sourcePath("one/icon.icns"), writePng(sourcePath("p/16.png"), QSize(16, 16))}));
    ASSERT_TRUE(run("png2icns", {sourcePath("two/icon.icns"), writePng(sourcePath("p/32.png"), QSize(32, 32))}));
    saveAndWait();
    const PTImporter2::Result result =
        importAndWait(set, {sourcePath("one"), sourcePath("two")}, 0x143DC | PTImportOption::ExpandICNS);
    QStringList fileNames;
    QSet<QString> files;
    for (PTItem* item : result.items) {
        const QString file = item->fileURL().toLocalFile();
        EXPECT_TRUE(QFileInfo(file).isFile() && !QFileInfo(file).isSymLink()) << file.toStdString();
        files.insert(file);
        if (item->type() == PTItem::SVG)
            fileNames << item->newFileName();
    }
    EXPECT_EQ(files.size(), result.items.size());
    fileNames.sort();
    EXPECT_EQ(fileNames, (QStringList{"arrow-left.1.svg", "arrow-left.svg"}));
    EXPECT_EQ(itemNames(result.items), (QStringList{"Arrow Left", "Arrow Left", "Icon", "Icon", "Icon 16x16", "Icon 32x32"}));
    EXPECT_TRUE(importTemporaryFolders().isEmpty());
}

// An ICNS file of one element of the type, holding the PNG.
QByteArray icnsWith(const QByteArray& type, const QString& png)
{
    QFile file(png);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray data = file.readAll();
    const auto bigEndian = [](quint32 value) {
        const char bytes[] = {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
        return QByteArray(bytes, 4);
    };
    const QByteArray element = type + bigEndian(quint32(8 + data.size())) + data;
    return "icns" + bigEndian(quint32(8 + element.size())) + element;
}

TEST_F(Importer, Expansions)
{
    ASSERT_TRUE(run("icotool", {"-c", "-o", sourcePath("tool.ico"), writePng(sourcePath("p/16.png"), QSize(16, 16)),
                                writePng(sourcePath("p/32.png"), QSize(32, 32))}));
    ASSERT_TRUE(run("png2icns", {sourcePath("icon.icns"), sourcePath("p/16.png")}));
    // A 32-pixel image standing for 16 points at twice the density.
    source("retina/icon.icns", icnsWith("ic11", sourcePath("p/32.png")));
    // A web sprite: symbols in a sheet without a size of its own.
    source("web/sprite.svg", R"svg(<svg xmlns="http://www.w3.org/2000/svg" style="display: none">
  <symbol id="icon-home" viewBox="0 0 24 24"><path d="M3 12 12 3l9 9v9H3z"/></symbol>
  <symbol id="icon-star" viewBox="0 0 32 32"><path d="M16 2l4 10h10l-8 6 3 10-9-6-9 6 3-10-8-6h10z"/></symbol>
  <symbol id="icon-wide" viewBox="0 0 48 16"><rect width="48" height="16"/></symbol>
</svg>)svg");
    struct Case {
        const char* label;
        QString path;
        PTImportOptions options;
        std::function<void(const PTImporter2::Result&)> check;
    };
    const std::vector<Case> cases{
        {"icon font with the shipped mapping", "/usr/share/fonts-font-awesome/fonts/fontawesome-webfont.ttf", 0x143DC,
         [](const PTImporter2::Result& result) {
             EXPECT_GT(result.items.size(), 600);
             const auto glass = std::find_if(result.items.begin(), result.items.end(),
                                             [](PTItem* item) { return item->unicode() == "f000"; });
             ASSERT_NE(glass, result.items.end());
             EXPECT_EQ((*glass)->name(), "Glass");
             EXPECT_EQ((*glass)->type(), PTItem::SVG);
             EXPECT_TRUE((*glass)->tagsString().contains("glass", Qt::CaseInsensitive));
         }},
        {"SVG font", "/usr/share/fonts-font-awesome/fonts/fontawesome-webfont.svg", 0x143DC | 0x800,
         [](const PTImporter2::Result& result) {
             EXPECT_GT(result.items.size(), 600);
             EXPECT_TRUE(itemNames(result.items).contains("Glass"));
         }},
        {"SVG font, sprite sheets off", "/usr/share/fonts-font-awesome/fonts/fontawesome-webfont.svg", 0x143DC,
         [](const PTImporter2::Result& result) { EXPECT_EQ(result.items.size(), 1); }},
        {"symbol sprite sheet", sourcePath("web/sprite.svg"), 0x143DC | 0x800,
         [](const PTImporter2::Result& result) {
             // Each symbol stored in the set's folder as a document of the symbol's size; the sheet, no picture of
             // its own, stays out.
             QStringList parts;
             for (PTItem* item : result.items) {
                 const PTSVG::Result stored = PTSVG::svgWithFile(item->fileURL().toLocalFile(), false);
                 const QSizeF size = stored ? (*stored)->proposedSize() : QSizeF(0, 0);
                 parts << QStringLiteral("%1 %2x%3").arg(item->name()).arg(size.width()).arg(size.height());
             }
             parts.sort();
             EXPECT_EQ(parts, (QStringList{"Icon Home 24x24", "Icon Star 32x32", "Icon Wide 48x16"}));
         }},
        {"symbol sprite sheet, not expanded", sourcePath("web/sprite.svg"), 0x143DC,
         [](const PTImporter2::Result& result) { EXPECT_EQ(itemNames(result.items), QStringList{"Sprite"}); }},
        {"ICO", sourcePath("tool.ico"), 0x143DC | 0x8000,
         [](const PTImporter2::Result& result) {
             EXPECT_EQ(itemNames(result.items), (QStringList{"Tool", "Tool 16x16", "Tool 32x32"}));
         }},
        {"ICNS", sourcePath("icon.icns"), 0x143DC | 0x400,
         [](const PTImporter2::Result& result) {
             QStringList files;
             for (PTItem* item : result.items)
                 files << item->newFileName();
             files.sort();
             EXPECT_EQ(files, (QStringList{"icon-16x16.png", "icon.icns"}));
         }},
        {"ICNS at 2x", sourcePath("retina/icon.icns"), 0x143DC | 0x400,
         [](const PTImporter2::Result& result) {
             QStringList files;
             for (PTItem* item : result.items)
                 files << item->newFileName() + QStringLiteral(":%1").arg(item->width());
             files.sort();
             EXPECT_EQ(files, (QStringList{"icon-16x16@2x.png:32", "icon.icns:32"}));
         }},
        {"ICO, not expanded", sourcePath("tool.ico"), 0x143DC,
         [](const PTImporter2::Result& result) { EXPECT_EQ(itemNames(result.items), QStringList{"Tool"}); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        PTCollection* set = makeSet(c.label);
        saveAndWait();
        const PTImporter2::Result result = importAndWait(set, {c.path}, c.options);
        EXPECT_TRUE(result.rejected.isEmpty());
        c.check(result);
        for (PTItem* item : result.items)
            ASSERT_TRUE(QFileInfo(item->fileURL().toLocalFile()).isFile());
    }
    EXPECT_TRUE(importTemporaryFolders().isEmpty());
}

TEST_F(Importer, IcnsOfJpeg2000Elements)
{
    // A JPEG 2000 picture in a 128-pixel element, as icon tools store the larger sizes (a JP2 file or a bare
    // codestream), and the same cut short.
    const QString png = writePng(sourcePath("p/128.png"), QSize(128, 128));
    ASSERT_TRUE(run("opj_compress", {"-i", png, "-o", sourcePath("p/128.jp2")}));
    ASSERT_TRUE(run("opj_compress", {"-i", png, "-o", sourcePath("p/128.j2k")}));
    QFile jp2(sourcePath("p/128.jp2"));
    ASSERT_TRUE(jp2.open(QIODevice::ReadOnly));
    source("p/cut.jp2", jp2.read(jp2.size() / 2));
    source("whole/icon.icns", icnsWith("ic07", sourcePath("p/128.jp2")));
    source("bare/codestream.icns", icnsWith("ic07", sourcePath("p/128.j2k")));
    source("cut/icon.icns", icnsWith("ic07", sourcePath("p/cut.jp2")));
    PTCollection* set = makeSet("Pictures");
    saveAndWait();

    const PTImporter2::Result result = importAndWait(
        set, {sourcePath("whole/icon.icns"), sourcePath("bare/codestream.icns"), sourcePath("cut/icon.icns")},
        0x143DC | PTImportOption::ExpandICNS);
    ASSERT_EQ(result.rejected.size(), 1);
    EXPECT_EQ(result.rejected.first().path, sourcePath("cut/icon.icns"));
    EXPECT_TRUE(result.rejected.first().reason.startsWith("not an image"));
    QStringList files;
    for (PTItem* item : result.items) {
        files << item->newFileName();
        if (item->type() == PTItem::PNG) {
            const QImage picture(item->fileURL().toLocalFile());
            EXPECT_EQ(picture.size(), QSize(128, 128));
            EXPECT_EQ(picture.pixel(64, 64), QColor(Qt::blue).rgba());
        }
    }
    files.sort();
    EXPECT_EQ(files, (QStringList{"codestream-128x128.png", "codestream.icns", "icon-128x128.png", "icon.icns"}));
}

TEST_F(Importer, BadInputIsRejectedWithAReason)
{
    PTCollection* set = makeSet("Bad");
    saveAndWait();
    QFile::link(sourcePath("missing.png"), sourcePath("dangling.png"));
    QFile::link(sourcePath("loop-b.svg"), sourcePath("loop-a.svg"));
    QFile::link(sourcePath("loop-a.svg"), sourcePath("loop-b.svg"));
    ASSERT_EQ(mkfifo(sourcePath("pipe.png").toLocal8Bit().constData(), 0600), 0);
    QFile png(writePng(sourcePath("whole.png"), QSize(64, 64)));
    ASSERT_TRUE(png.open(QIODevice::ReadOnly));
    source("truncated.png", png.read(png.size() / 2));
    source("huge.png", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\x01\x86\xa0\0\x01\x86\xa0\x08\x06\0\0\0", 29));
    source("text.png", "this is text, not an image");
    source("empty.svg", " ");
    source("fine.svg");
    QFile::link(sourcePath("fine.svg"), sourcePath("link-to-fine.svg"));
    QFile::remove(sourcePath("whole.png"));
    const QStringList sourcesBefore = filesBelow(sources.path());

    const PTImporter2::Result result = importAndWait(set, {sources.path()}, 0x143DC);
    QStringList reasons;
    for (const PTImporter2::Rejected& rejected : result.rejected)
        reasons << QFileInfo(rejected.path).fileName() + ": " + rejected.reason.section(' ', 0, 1);
    reasons.sort();
    EXPECT_EQ(reasons, (QStringList{"dangling.png: dangling link", "huge.png: too large", "loop-a.svg: link loop",
                                    "loop-b.svg: link loop", "pipe.png: not a", "text.png: not an",
                                    "truncated.png: not an"}));
    EXPECT_EQ(itemNames(result.items), (QStringList{"Empty", "Fine", "Link TO Fine"}));
    // The link brought the bytes of its target, as a file of the library's own.
    for (PTItem* item : result.items) {
        const QFileInfo file(item->fileURL().toLocalFile());
        EXPECT_TRUE(file.isFile() && !file.isSymLink());
        EXPECT_TRUE(file.absoluteFilePath().startsWith(libraryPath()));
    }
    EXPECT_EQ(filesBelow(sources.path()), sourcesBefore);
    EXPECT_TRUE(importTemporaryFolders().isEmpty());
}

TEST_F(Importer, UnreadableFileIsRejected)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    PTCollection* set = makeSet("Unreadable");
    saveAndWait();
    const QString path = writePng(sourcePath("locked.png"), QSize(8, 8));
    QFile::setPermissions(path, QFileDevice::WriteOwner);
    const PTImporter2::Result result = importAndWait(set, {path}, 0x143DC);
    ASSERT_EQ(result.rejected.size(), 1);
    EXPECT_TRUE(result.rejected.first().reason.startsWith("unreadable"));
}

TEST_F(Importer, TargetSetRemovedWhileImporting)
{
    PTCollection* set = makeSet("Going");
    saveAndWait();
    for (int i = 0; i < 3 * PTImporter2::FilesPerBatch; ++i)
        source(QStringLiteral("many/icon-%1.svg").arg(i));
    const QString folder = set->formattedDirectory();
    bool removed = false;
    const PTImporter2::Result result = importAndWait(set, {sourcePath("many")}, 0x143DC, [&](qint64) {
        if (removed)
            return;
        // A removal takes the set's folder with the files copied so far.
        removed = true;
        QDir(folder).removeRecursively();
        context().deleteObject(set);
        saveAndWait();
    });
    ASSERT_TRUE(removed);
    EXPECT_TRUE(result.items.isEmpty());
    EXPECT_EQ(result.rejected.size(), 3 * PTImporter2::FilesPerBatch);
    pt::store::FetchRequest request;
    request.entityName = PTItem::EntityName;
    for (pt::store::ManagedObject* object : context().fetch(request).valueOr({}))
        EXPECT_TRUE(PTItem::from(object)->collection()) << PTItem::from(object)->name().toStdString();
    EXPECT_FALSE(QFileInfo::exists(folder) && !QDir(folder).isEmpty());
}

TEST_F(Importer, NoticeAndLookupBySource)
{
    PTCollection* set = makeSet("Notice");
    saveAndWait();
    const QString icon = source("go.svg");
    PTImporter2::Result result = importAndWait(set, {icon}, 0x143DC);
    ASSERT_EQ(result.items.size(), 1);
    EXPECT_EQ(importer->importedItemForPathURL(icon), result.items.first());
    EXPECT_EQ(result.items.first()->collection(), set);
    result = importAndWait(set, {sourcePath("nothing-here.svg")}, 0x143DC);
    EXPECT_TRUE(result.items.isEmpty());
    EXPECT_EQ(shell->notices, (QStringList{"Icons Imported | 1 icons have successfully been imported.",
                                           "Icons Imported | 0 icons have successfully been imported."}));
}

TEST_F(Importer, IconThemeFolderWithLinks)
{
    PTGroup* group = makeGroup("Papirus");
    saveAndWait();
    const QString apps = QStringLiteral("/usr/share/icons/Papirus/64x64/apps");
    // Links to other folders of the theme lead outside the one chosen.
    const QString inside = QFileInfo(apps).canonicalFilePath() + u'/';
    int expected = 0;
    int outside = 0;
    for (const QFileInfo& info : QDir(apps).entryInfoList(QDir::Files | QDir::System)) {
        if (info.suffix() != "svg" || !info.exists())
            continue;
        ++(info.canonicalFilePath().startsWith(inside) ? expected : outside);
    }
    ASSERT_GT(expected, 100);
    const PTImporter2::Result result = importAndWait(group, {apps}, 0x143DE);
    EXPECT_EQ(result.items.size(), expected);
    EXPECT_EQ(describe(result), QStringList{QStringLiteral("Apps@Papirus:%1").arg(expected)});
    EXPECT_EQ(result.rejected.size(), outside);
}

TEST_F(Importer, LinksAreFollowedOnlyInsideTheChosenFolders)
{
    PTCollection* set = makeSet("Pack");
    saveAndWait();
    QTemporaryDir outside;
    writePng(outside.filePath("private/secret.png"), QSize(8, 8));
    source("pack/a.svg");
    source("pack/sub/b.svg");
    QFile::link(outside.path(), sourcePath("pack/escape"));
    QFile::link(outside.filePath("private"), sourcePath("pack/sub/private"));
    QFile::link(outside.filePath("private/secret.png"), sourcePath("pack/stolen.png"));
    // A sibling whose name starts with the chosen folder's name is still outside it.
    source("pack-private/hidden.svg");
    QFile::link(sourcePath("pack-private"), sourcePath("pack/neighbour"));
    QFile::link(sourcePath("pack-private/hidden.svg"), sourcePath("pack/peek.svg"));
    // Through a link inside the tree to the link leading out.
    QFile::link(sourcePath("pack/stolen.png"), sourcePath("pack/sub/relayed.png"));
    // Links within the tree, as icon themes make them, and a link back up that would walk forever.
    QFile::link(sourcePath("pack/sub"), sourcePath("pack/alias"));
    QFile::link(sourcePath("pack"), sourcePath("pack/sub/up"));
    QFile::link(sourcePath("pack/a.svg"), sourcePath("pack/sub/c.svg"));
    // A link the user chose is taken wherever it leads.
    QFile::link(outside.filePath("private/secret.png"), sourcePath("chosen.png"));

    const PTImporter2::Result result = importAndWait(set, {sourcePath("pack"), sourcePath("chosen.png")}, 0x143DC);
    EXPECT_EQ(itemNames(result.items), (QStringList{"A", "B", "C", "Chosen"}));
    QStringList reasons;
    for (const PTImporter2::Rejected& rejected : result.rejected)
        reasons << QFileInfo(rejected.path).fileName() + ": " + rejected.reason;
    reasons.sort();
    EXPECT_EQ(reasons, (QStringList{"escape: link leads outside the imported folders",
                                    "neighbour: link leads outside the imported folders",
                                    "peek.svg: link leads outside the imported folders",
                                    "private: link leads outside the imported folders",
                                    "relayed.png: link leads outside the imported folders",
                                    "stolen.png: link leads outside the imported folders"}));
}

TEST_F(Importer, NamesThatAreNotUTF8AreReported)
{
    PTCollection* set = makeSet("Raw");
    saveAndWait();
    source("raw/fine.svg");
    source("raw/inner/keep.svg");
    const QByteArray folder = QFile::encodeName(sourcePath("raw"));
    const QByteArray svg = QFile::encodeName(sourcePath("raw/fine.svg"));
    // The temporary folder's removal does not see these names either.
    const auto removeRaw = qScopeGuard([&] {
        for (const char* name : {"/\xff\xfe.svg", "/caf\xe9.txt", "/dir\xff/c.svg"})
            unlink((folder + name).constData());
        rmdir((folder + "/dir\xff").constData());
    });
    // Written by the byte name: no QString can name them.
    ASSERT_EQ(link(svg.constData(), (folder + "/\xff\xfe.svg").constData()), 0);
    ASSERT_EQ(link(svg.constData(), (folder + "/caf\xe9.txt").constData()), 0);
    ASSERT_EQ(mkdir((folder + "/dir\xff").constData(), 0700), 0);
    ASSERT_EQ(link(svg.constData(), (folder + "/dir\xff/c.svg").constData()), 0);

    for (const PTImportOptions options : {PTImportOptions(0x143DC), PTImportOptions(0x143DC & ~0x4)}) {
        SCOPED_TRACE(options);
        const PTImporter2::Result result = importAndWait(set, {sourcePath("raw")}, options);
        QStringList reasons;
        for (const PTImporter2::Rejected& rejected : result.rejected) {
            EXPECT_EQ(QFileInfo(rejected.path).absolutePath(), sourcePath("raw"));
            reasons << QFileInfo(rejected.path).suffix() + ": " + rejected.reason;
        }
        reasons.sort();
        // Folders count only where the import descends; files of types not taken are passed over as ever.
        const QStringList expected = options & PTImportOption::DescendIntoFolders
                                         ? QStringList{": name is not valid UTF-8", "svg: name is not valid UTF-8"}
                                         : QStringList{"svg: name is not valid UTF-8"};
        EXPECT_EQ(reasons, expected);
    }
}

TEST_F(Importer, MappingFilesThatAreNoRegularFilesAreNeverOpened)
{
    const QString font = QStringLiteral("/usr/share/fonts-font-awesome/fonts/fontawesome-webfont.ttf");
    struct Case {
        const char* label;
        const char* mapping;
    };
    const std::vector<Case> cases{{"beside the font", "fontawesome-webfont.ptmap"},
                                  {"base of the folder", "base.picternmap"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        PTCollection* set = makeSet(c.label);
        saveAndWait();
        const QString folder = sourcePath(c.label);
        QDir().mkpath(folder);
        ASSERT_TRUE(QFile::copy(font, QDir(folder).filePath("fontawesome-webfont.ttf")));
        const QByteArray pipe = QFile::encodeName(QDir(folder).filePath(c.mapping));
        ASSERT_EQ(mkfifo(pipe.constData(), 0600), 0);
        ASSERT_EQ(mkfifo(QFile::encodeName(QDir(folder).filePath("stray.svg")).constData(), 0600), 0);

        PTImporter2::Result result;
        bool done = false;
        importer = PTImporter2::create(set, {folder}, 0x143DC);
        importer->setCompletionHandler([&](const PTImporter2::Result& r) {
            result = r;
            done = true;
        });
        importer->begin();
        const bool ended = runMainQueueUntil([&] { return done; }, 30000);
        // A worker stuck on the pipe is let go (a writer that leaves at once), so a failure does not hang.
        for (const QString& name : {QString::fromLatin1(c.mapping), QStringLiteral("stray.svg")})
            if (const int writer = open(QFile::encodeName(QDir(folder).filePath(name)).constData(), O_WRONLY | O_NONBLOCK);
                writer >= 0)
                close(writer);
        EXPECT_TRUE(ended) << "the import waited on a pipe";
        ASSERT_TRUE(runMainQueueUntil([&] { return done; }, 30000));
        saveAndWait();
        EXPECT_GT(result.items.size(), 600);
        // The shipped mapping still names the glyphs.
        EXPECT_TRUE(itemNames(result.items).contains("Glass"));
        ASSERT_EQ(result.rejected.size(), 1);
        EXPECT_EQ(QFileInfo(result.rejected.first().path).fileName(), "stray.svg");
        EXPECT_EQ(result.rejected.first().reason, "not a regular file");
    }
}
