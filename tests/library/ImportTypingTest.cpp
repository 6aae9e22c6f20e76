#include "library/ImageHeaderProbe.h"
#include "library/ImportTyping.h"

#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

void touch(const QString& path, const QByteArray& bytes = {})
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

bool run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

QString writePng(const QString& path, QSize size)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::red);
    EXPECT_TRUE(image.save(path));
    return path;
}

} // namespace

TEST(ImportTyping, OptionsAndTypes)
{
    EXPECT_EQ(PTDefaultImportOptions(), 0x143DCu);
    EXPECT_FALSE(PTImportOptionsContain(0x143DC, 0x20));
    EXPECT_TRUE(PTImportOptionsContain(0x143DC, 0x40));
    const std::vector<std::pair<QString, PTImportFileType>> types{
        {"svg", PTImportFileType::SVG}, {"PNG", PTImportFileType::PNG},  {"Gif", PTImportFileType::GIF},
        {"otf", PTImportFileType::OTF}, {"ttf", PTImportFileType::TTF},  {"icns", PTImportFileType::ICNS},
        {"pdf", PTImportFileType::PDF}, {"webp", PTImportFileType::WebP}, {"ICO", PTImportFileType::ICO},
        {"jpeg", PTImportFileType::Other}, {"", PTImportFileType::Other},
    };
    for (const auto& [extension, type] : types)
        EXPECT_EQ(PTImportFileTypeForExtension(extension), type) << extension.toStdString();
    EXPECT_EQ(PTImportExtensions(), (QStringList{"svg", "png", "gif", "otf", "ttf", "icns", "pdf", "webp", "ico"}));
}

TEST(ImportTyping, Widening)
{
    struct Case {
        PTImportOptions options;
        QStringList paths;
        PTImportOptions expected;
    };
    const std::vector<Case> cases{
        {0x143DC, {"/a/a.otf", "file:///a/b.webp"}, 0x143DC | 0x20 | 0x1000},
        {0, {"a.ttf", "b.icns", "c.pdf"}, 0x340},
        {0, {"a.jpeg", "folder", "a.ptlibrary"}, 0},
        {0, {"A.SVG", "b.gif", "c.png", "d.ico"}, 0x8 | 0x10 | 0x80 | 0x4000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PTImportOptionsForURLs(c.options, c.paths), c.expected) << c.paths.join(',').toStdString();
}

TEST(ImportTyping, ExpansionAndAcceptance)
{
    EXPECT_TRUE(PTImportTypeExpands(PTImportFileType::TTF, 0));
    EXPECT_TRUE(PTImportTypeExpands(PTImportFileType::OTF, 0));
    EXPECT_FALSE(PTImportTypeExpands(PTImportFileType::SVG, 0x1FFFE & ~0x800));
    EXPECT_TRUE(PTImportTypeExpands(PTImportFileType::SVG, 0x800));
    EXPECT_TRUE(PTImportTypeExpands(PTImportFileType::ICNS, 0x400));
    EXPECT_TRUE(PTImportTypeExpands(PTImportFileType::ICO, 0x8000));
    EXPECT_FALSE(PTImportTypeExpands(PTImportFileType::PNG, 0x1FFFE));

    QTemporaryDir dir;
    touch(dir.filePath("ICON.PNG"));
    touch(dir.filePath("icon.jpeg"));
    QDir(dir.path()).mkdir("folder.svg");
    EXPECT_TRUE(PTImportPathIsAccepted(dir.filePath("ICON.PNG"), 0x80));
    EXPECT_FALSE(PTImportPathIsAccepted(dir.filePath("ICON.PNG"), 0x143DC & ~0x80));
    EXPECT_FALSE(PTImportPathIsAccepted(dir.filePath("icon.jpeg"), 0x1FFFE));
    EXPECT_FALSE(PTImportPathIsAccepted(dir.filePath("missing.svg"), 0x1FFFE));
    EXPECT_TRUE(PTImportPathIsAccepted(dir.filePath("folder.svg"), 0x8));

    QDir(dir.path()).mkdir("Old.ptlibrary");
    QDir(dir.path()).mkdir("Tools.APP");
    QDir(dir.path()).mkdir("plain");
    EXPECT_TRUE(PTImportIsPackage(dir.filePath("Old.ptlibrary")));
    EXPECT_TRUE(PTImportIsPackage(dir.filePath("Tools.APP")));
    EXPECT_FALSE(PTImportIsPackage(dir.filePath("plain")));
    EXPECT_FALSE(PTImportIsPackage(dir.filePath("ICON.PNG")));
}

TEST(ImportTyping, Analysis)
{
    QTemporaryDir dir;
    QDir root(dir.path());
    for (const QString& folder : {"svgs-only", "mixed/sub", "folders-only/a", "brand-icons", "empty"})
        ASSERT_TRUE(root.mkpath(folder));
    touch(dir.filePath("svgs-only/a.svg"));
    touch(dir.filePath("mixed/a.svg"));
    touch(dir.filePath("brand-icons/one.svg"));
    touch(dir.filePath("brand-icons/two.png"));

    struct Case {
        QStringList paths;
        PTImportOptions options;
        PTImportKind kind;
        QString name;
    };
    const std::vector<Case> cases{
        {{dir.filePath("svgs-only")}, 0x1FFFE & ~0x2000, PTImportKind::Set, "Svgs Only"},
        {{dir.filePath("mixed")}, 0x1FFFE & ~0x2000, PTImportKind::GroupAndSet, "Mixed"},
        {{dir.filePath("folders-only")}, 0x1FFFE & ~0x2000, PTImportKind::Group, "Folders Only"},
        {{dir.filePath("mixed")}, 0x143DC, PTImportKind::Set, "Mixed"},
        {{dir.filePath("brand-icons/one.svg"), dir.filePath("brand-icons/two.png")}, 0x143DC, PTImportKind::Set,
         "Brand Icons"},
        {{dir.filePath("brand-icons/one.svg"), dir.filePath("brand-icons/two.png")}, 0x143DC | 0x2000,
         PTImportKind::Set, "brand-icons"},
        {{dir.filePath("svgs-only"), dir.filePath("mixed")}, 0x2 | 0x8, PTImportKind::Group, QFileInfo(dir.path()).fileName()},
        {{QUrl::fromLocalFile(dir.filePath("empty")).toString()}, 0x2 | 0x8, PTImportKind::Set, "Empty"},
    };
    for (const Case& c : cases) {
        QString name;
        EXPECT_EQ(PTImportAnalysePaths(c.paths, c.options, &name), c.kind) << c.paths.join(',').toStdString();
        if (c.kind == PTImportKind::Group && c.paths.size() > 1)
            continue; // named after the temporary folder, which prettifying changes
        EXPECT_EQ(name, c.name);
    }
    QString name = "stale";
    EXPECT_EQ(PTImportAnalysePaths({}, 0x1FFFE, &name), PTImportKind::Nothing);
    EXPECT_TRUE(name.isNull());

    EXPECT_EQ(PTImportAnalyseFolder(dir.filePath("mixed"), 0x8), 0x3);
    EXPECT_EQ(PTImportAnalyseFolder(dir.filePath("mixed"), 0x80), 0x1);
    EXPECT_EQ(PTImportAnalyseFolder(dir.filePath("brand-icons"), 0x80), 0x2);
    EXPECT_EQ(PTImportAnalyseFolder(dir.filePath("empty"), 0x1FFFE), 0);
    EXPECT_EQ(PTImportAnalyseFolder(dir.filePath("missing"), 0x1FFFE), 0);
}

// The header probes read the sizes that decoding reads, on files made by the usual tools and by Qt.
TEST(ImportTyping, HeaderProbesAgreeWithDecoding)
{
    QTemporaryDir dir;
    const QString png16 = writePng(dir.filePath("icon-16.png"), {16, 16});
    const QString png32 = writePng(dir.filePath("icon-32.png"), {32, 32});
    const QString png48 = writePng(dir.filePath("wide.png"), {48, 20});
    ASSERT_TRUE(run("png2icns", {dir.filePath("tool.icns"), png32, png16}));
    ASSERT_TRUE(run("icotool", {"-c", "-o", dir.filePath("tool.ico"), png16, png32}));
    ASSERT_TRUE(run("cwebp", {"-quiet", png48, "-o", dir.filePath("lossy.webp")}));
    ASSERT_TRUE(run("cwebp", {"-quiet", "-lossless", png48, "-o", dir.filePath("lossless.webp")}));
    QImage gif(30, 10, QImage::Format_Indexed8);
    gif.setColorTable({qRgb(0, 0, 0)});
    gif.fill(0);
    ASSERT_TRUE(gif.save(dir.filePath("qt.ico")));
    for (const QString& name : {"wide.png", "tool.icns", "tool.ico", "lossy.webp", "lossless.webp", "qt.ico"}) {
        const QString path = dir.filePath(name);
        const std::optional<PTImportPathInfo> info = PTImportPathInfoForPath(path);
        ASSERT_TRUE(info) << name.toStdString();
        QImageReader reader(path);
        const QImage decoded = reader.read();
        ASSERT_FALSE(decoded.isNull()) << name.toStdString();
        EXPECT_EQ(QSize(int(info->width), int(info->height)), decoded.size()) << name.toStdString();
    }
    EXPECT_EQ(PTImportPathInfoForPath(png48)->name, "wide");
    EXPECT_EQ(PTImportPathInfoForPath(png48)->type, PTImportFileType::PNG);
    // Flags ask for parts only.
    const std::optional<PTImportPathInfo> typeOnly = PTImportPathInfoForPath(png48, PTImportPathInfoFlag::Type);
    EXPECT_TRUE(typeOnly->name.isEmpty());
    EXPECT_EQ(typeOnly->width, 0);
}

TEST(ImportTyping, HeaderProbesOnBadInput)
{
    EXPECT_FALSE(imageHeaderProbe::pngSize("not a png at all, just some text of length"));
    EXPECT_FALSE(imageHeaderProbe::pngSize(QByteArray("\x89PNG\r\n\x1a\n", 8)));
    EXPECT_FALSE(imageHeaderProbe::gifSize("GIF89a"));
    EXPECT_FALSE(imageHeaderProbe::icoSize(QByteArray(8, '\0')));
    EXPECT_FALSE(imageHeaderProbe::icnsSize(QByteArray("icns\0\0\0\x10zzzz\0\0\0\x08", 16)));
    EXPECT_FALSE(imageHeaderProbe::webpSize("RIFF"));
    // A huge header reads as it says: the import refuses it before decoding.
    QByteArray huge("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\x01\x86\xa0\0\x01\x86\xa0", 24);
    EXPECT_EQ(imageHeaderProbe::pngSize(huge), QSize(100000, 100000));
    EXPECT_EQ(imageHeaderProbe::icnsGeometry("ic11")->points, 16);
    EXPECT_EQ(imageHeaderProbe::icnsGeometry("ic11")->scale, 2);

    QTemporaryDir dir;
    EXPECT_FALSE(PTImportPathInfoForPath(dir.filePath("missing.png")));
    ASSERT_TRUE(QFile::link(dir.filePath("missing.png"), dir.filePath("dangling.png")));
    EXPECT_FALSE(PTImportPathInfoForPath(dir.filePath("dangling.png")));
    touch(dir.filePath("text.png"), "hello");
    const std::optional<PTImportPathInfo> text = PTImportPathInfoForPath(dir.filePath("text.png"));
    ASSERT_TRUE(text);
    EXPECT_EQ(text->width, 0);
}
