#include "ExportTestFiles.h"
#include "foundation/WebP.h"
#include "library/entities/PTItem.h"
#include "svg/PTSVG.h"
#include "transfer/export/PTExportBuiltInPresets.h"
#include "transfer/export/PTExportFileWriter.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using pt::test::runExport;
using pt::test::runTool;

PTExportOutputOption output(qint64 format, const QString& size, const QString& prefix = {},
                            const QString& suffix = {})
{
    PTExportOutputOption option;
    option.format = format;
    option.sizeFormat = size;
    option.prefix = prefix;
    option.suffix = suffix;
    return option;
}

PTExportOutputOptionSet setOf(const QList<PTExportOutputOption>& options)
{
    PTExportOutputOptionSet set;
    for (const auto& option : options)
        set.addOutputOption(option);
    return set;
}

QStringList relativeFiles(const QString& folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
}

QImage decoded(const QString& path)
{
    QImageReader reader(path);
    return reader.read().convertToFormat(QImage::Format_ARGB32);
}

// The peak resident memory of this process in kilobytes since the last reset.
long peakKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

bool resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

class ExporterTest : public ::testing::Test {
protected:
    QString out() const { return dir.filePath(QStringLiteral("out")); }
    PTExporter::Result exportItems(const QList<PTExporter::Item>& items, const QList<PTExportOutputOption>& options,
                                   bool asynchronous = true)
    {
        PTExporter exporter(items, setOf(options), out());
        exporter.asynchronous = asynchronous;
        return runExport(exporter);
    }
    QTemporaryDir dir;
};

TEST_F(ExporterTest, NamesAreMadeFromPrefixNameAndSuffix)
{
    const struct {
        const char* prefix;
        const char* name;
        const char* suffix;
        bool keep;
        const char* expected;
    } cases[] = {
        {"16x16-", "Home", "-mdpi", true, "16x16-Home-mdpi.png"},
        {"16x16-", "Home", "-mdpi", false, "16x16-home-mdpi.png"},
        {"", "arrow.left", "", true, "arrow.png"},
        {"", "Home", "/-hdpi", true, "Home-hdpi.png"},
        {"png/", "Home", "", true, "png/Home.png"},
        {"/a//./b/", "Home", "", true, "a/b/Home.png"},
        {"../../", "Home", "", true, "Home.png"},
        {"..", "x/../../Home", "", true, "x....png"},
        {"", ".hidden", "", true, "untitled.png"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PTExportFileWriter::relativePath(c.prefix, c.name, c.suffix, "png", c.keep),
                  QString::fromUtf8(c.expected))
            << c.prefix << "|" << c.name;
}

TEST_F(ExporterTest, CollisionsGetNumbersAndLinksAreNotFollowed)
{
    QDir().mkpath(out());
    QFile::copy(pt::test::writePNG(dir.filePath("a.png"), {4, 4}, Qt::red), QDir(out()).filePath("home.png"));
    QTemporaryDir outside;
    ASSERT_TRUE(QFile::link(outside.path(), QDir(out()).filePath(QStringLiteral("png"))));
    PTExportFileWriter writer(out());
    EXPECT_EQ(writer.write("home.png", "x", {}), QDir(out()).filePath("home.1.png"));
    EXPECT_EQ(writer.write("home.png", "x", {}), QDir(out()).filePath("home.2.png"));
    EXPECT_EQ(writer.write("home@1.5x.png", "x", {}), QDir(out()).filePath("home@1.5x.png"));
    EXPECT_EQ(writer.write("home@1.5x.png", "x", {}), QDir(out()).filePath("home@1.5x.1.png"));
    EXPECT_TRUE(writer.write("png/home.png", "x", {}).isEmpty());
    EXPECT_TRUE(QDir(outside.path()).isEmpty());
    EXPECT_EQ(relativeFiles(out()),
              (QStringList{"home.1.png", "home.2.png", "home.png", "home@1.5x.1.png", "home@1.5x.png"}));
}

TEST_F(ExporterTest, EveryFormatFromEverySource)
{
    const QString png = pt::test::writePNG(dir.filePath("wide.png"), {100, 50}, Qt::blue);
    const QString svg = pt::test::writeSVG(dir.filePath("square.svg"), {16, 16}, Qt::black);
    const QString pdf = pt::test::writeTwoPagePDF(dir.filePath("pages.pdf"));
    const QString small = pt::test::writePNG(dir.filePath("16.png"), {16, 16}, Qt::red);
    const QString large = pt::test::writePNG(dir.filePath("48.png"), {48, 48}, Qt::green);
    const QString ico = dir.filePath("icon.ico");
    runTool("icotool", {"-c", "-o", ico, small, large});
    const QString icnsLarge = pt::test::writePNG(dir.filePath("128.png"), {128, 128}, Qt::green);
    const QString icns = dir.filePath("icon.icns");
    runTool("png2icns", {icns, small, icnsLarge});
    const QList<PTExporter::Item> items = {{png, "wide", {}, PTItem::PNG},
                                           {svg, "square", {}, PTItem::SVG},
                                           {pdf, "pages", {}, PTItem::PDF},
                                           {ico, "ico", {}, PTItem::ICO},
                                           {icns, "icns", {}, PTItem::ICNS}};
    QList<PTExportOutputOption> options;
    for (qint64 format = PTExportFormatPNG; format <= PTExportFormatEPS; ++format)
        options << output(format, "32x32", {}, "-" + QString::number(format));
    const PTExporter::Result result = exportItems(items, options);
    EXPECT_EQ(result.failures, 0);
    EXPECT_EQ(result.paths.size(), items.size() * options.size());

    for (const PTExporter::Item& item : items) {
        const QString base = QDir(out()).filePath(item.name + "-");
        for (const char* raster : {"0.png", "1.jpg", "2.gif", "3.tiff", "8.ico"}) {
            const QImage image = decoded(base + raster);
            EXPECT_EQ(image.size(), QSize(32, 32)) << item.name.toStdString() << raster;
        }
        QFile webp(base + "4.webp");
        ASSERT_TRUE(webp.open(QIODevice::ReadOnly));
        EXPECT_EQ(WebP::imageWithWebPData(webp.readAll()).size(), QSize(32, 32));
        const QByteArray info = runTool("pdfinfo", {base + "5.pdf"});
        EXPECT_TRUE(QString::fromUtf8(info).contains(QRegularExpression("Pages: +1\n"))) << info.constData();
        EXPECT_TRUE(QString::fromUtf8(info).contains(QRegularExpression("Page size: +32 x 32 pts"))) << info.constData();
        EXPECT_TRUE(PTSVG::svgWithFile(base + "6.svg", false).ok()) << item.name.toStdString();
        QFile eps(base + "9.eps");
        ASSERT_TRUE(eps.open(QIODevice::ReadOnly));
        EXPECT_TRUE(eps.readAll().contains("%%BoundingBox: 0 0 32 32")) << item.name.toStdString();
        EXPECT_TRUE(runTool("icotool", {"-l", base + "8.ico"}).contains("--width=32 --height=32"));
        QFile original(base + "7." + QFileInfo(item.path).suffix());
        ASSERT_TRUE(original.open(QIODevice::ReadOnly)) << item.name.toStdString();
        QFile source(item.path);
        ASSERT_TRUE(source.open(QIODevice::ReadOnly));
        EXPECT_EQ(original.readAll(), source.readAll());
    }
    // A PDF is measured and drawn from its first page: red, twice as wide as high.
    const QImage page = decoded(QDir(out()).filePath("pages-0.png"));
    EXPECT_EQ(page.pixel(16, 16), qRgb(255, 0, 0));
    EXPECT_EQ(qAlpha(page.pixel(16, 4)), 0);
    // JPG shows transparency as white.
    const QImage jpg = decoded(QDir(out()).filePath("wide-1.jpg"));
    EXPECT_GT(qRed(jpg.pixel(16, 2)), 240);
    EXPECT_GT(qGreen(jpg.pixel(16, 2)), 240);
}

TEST_F(ExporterTest, MultiImageSourcesUseTheSmallestCoveringImage)
{
    const QString small = pt::test::writePNG(dir.filePath("16.png"), {16, 16}, Qt::red);
    const QString large = pt::test::writePNG(dir.filePath("128.png"), {128, 128}, QColor(10, 200, 30));
    const QString icns = dir.filePath("icon.icns");
    runTool("png2icns", {icns, small, large});
    const PTExporter::Result result = exportItems({{icns, "icns", {}, PTItem::ICNS}},
                                                  {output(PTExportFormatPNG, "16s", {}, "-16"),
                                                   output(PTExportFormatPNG, "32s", {}, "-32"),
                                                   output(PTExportFormatPNG, "1x", {}, "-own")});
    EXPECT_EQ(result.failures, 0);
    EXPECT_EQ(decoded(QDir(out()).filePath("icns-16.png")).pixel(8, 8), qRgb(255, 0, 0));
    EXPECT_EQ(decoded(QDir(out()).filePath("icns-32.png")).pixel(8, 8), qRgb(10, 200, 30));
    // The file's own size is its largest image, as icns2png extracts it.
    const QString extracted = dir.filePath("extracted");
    QDir().mkpath(extracted);
    runTool("icns2png", {"-x", "-o", extracted, icns});
    const QStringList pngs = QDir(extracted).entryList({"*128x128*.png"});
    ASSERT_EQ(pngs.size(), 1);
    EXPECT_EQ(decoded(QDir(out()).filePath("icns-own.png")), decoded(QDir(extracted).filePath(pngs.first())));
}

TEST_F(ExporterTest, PixelsAreFittedCentredAndTinted)
{
    const QString png = pt::test::writePNG(dir.filePath("wide.png"), {100, 50}, Qt::blue);
    const QString svg = pt::test::writeSVG(dir.filePath("square.svg"), {16, 16}, Qt::black);
    PTExportOutputOption fitted = output(PTExportFormatPNG, "32x32", {}, "-fit");
    PTExportOutputOption tinted = output(PTExportFormatPNG, "32x32", {}, "-tint");
    tinted.fillColor = QColor(255, 0, 0, 128);
    PTExportOutputOption replaced = output(PTExportFormatPNG, "16s", {}, "-replaced");
    replaced.fillColor = Qt::red;
    replaced.replacementColors = QHash<QRgb, QColor>{{qRgb(0, 0, 0), QColor(Qt::green)}};
    const PTExportOutputOption odd = output(PTExportFormatPNG, "32x21", {}, "-odd");
    const PTExporter::Result result = exportItems(
        {{png, "wide", {}, PTItem::PNG}, {svg, "square", {}, PTItem::SVG}}, {fitted, tinted, replaced, odd});
    EXPECT_EQ(result.failures, 0);

    const QImage fit = decoded(QDir(out()).filePath("wide-fit.png"));
    for (int y = 0; y < 32; ++y)
        EXPECT_EQ(qAlpha(fit.pixel(16, y)), y >= 8 && y <= 23 ? 255 : 0) << y;
    const QImage tint = decoded(QDir(out()).filePath("wide-tint.png"));
    EXPECT_EQ(tint.pixelColor(16, 16).red(), 255);
    EXPECT_EQ(tint.pixelColor(16, 16).blue(), 0);
    EXPECT_NEAR(tint.pixelColor(16, 16).alpha(), 128, 1);
    EXPECT_EQ(qAlpha(tint.pixel(16, 2)), 0);
    EXPECT_EQ(decoded(QDir(out()).filePath("square-replaced.png")).pixel(8, 8), qRgb(0, 255, 0));
    // 100x50 into 32x21 is 32x16: five rows left over, three of them below.
    const QImage oddImage = decoded(QDir(out()).filePath("wide-odd.png"));
    EXPECT_EQ(qAlpha(oddImage.pixel(16, 1)), 0);
    EXPECT_EQ(qAlpha(oddImage.pixel(16, 2)), 255);
    EXPECT_EQ(qAlpha(oddImage.pixel(16, 17)), 255);
    EXPECT_EQ(qAlpha(oddImage.pixel(16, 18)), 0);
}

TEST_F(ExporterTest, FailuresAreCountedAndNothingIsWritten)
{
    const QString png = pt::test::writePNG(dir.filePath("home.png"), {16, 16}, Qt::blue);
    PTExportOutputOption disabled = output(PTExportFormatPNG, "16s", {}, "-off");
    disabled.enabled = false;
    const PTExporter::Result result = exportItems({{png, "home", {}, PTItem::PNG},
                                                   {dir.filePath("missing.png"), "missing", {}, PTItem::PNG}},
                                                  {disabled, output(PTExportFormatPNG, "100000s"),
                                                   output(PTExportFormatPNG, "0x16"),
                                                   output(PTExportFormatPNG, "2x")});
    EXPECT_EQ(result.paths, QStringList{QDir(out()).filePath("home@2x.png")});
    EXPECT_EQ(result.failures, 5);
    EXPECT_EQ(relativeFiles(out()), QStringList{"home@2x.png"});
}

TEST_F(ExporterTest, ParallelAndSerialExportsWriteTheSameFiles)
{
    const QString svg = QStringLiteral("/usr/share/icons/Papirus/48x48/apps/0ad.svg");
    QList<PTExporter::Item> items;
    for (int i = 0; i < 200; ++i)
        items.append({svg, QStringLiteral("icon %1").arg(i), {}, PTItem::SVG});
    QList<PTExportOutputOption> options;
    for (const auto& preset : PTExportBuiltInPresets::all())
        if (preset.name == QLatin1String("Android"))
            for (const auto& subset : preset.subsets())
                options << subset.outputOptions();
    const auto digest = [](const QString& folder) {
        QStringList lines;
        for (const QString& file : relativeFiles(folder)) {
            QFile f(QDir(folder).filePath(file));
            f.open(QIODevice::ReadOnly);
            lines << file + " " + QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1).toHex();
        }
        return lines;
    };
    PTExporter parallel(items, setOf(options), dir.filePath("parallel"));
    const PTExporter::Result first = runExport(parallel);
    PTExporter serial(items, setOf(options), dir.filePath("serial"));
    serial.asynchronous = false;
    const PTExporter::Result second = runExport(serial);
    EXPECT_EQ(first.paths.size(), 200 * 15);
    EXPECT_EQ(second.paths.size(), 200 * 15);
    EXPECT_EQ(digest(dir.filePath("parallel")), digest(dir.filePath("serial")));
}

TEST_F(ExporterTest, AHugePictureInsideAnIconIsReadOnlyAtTheOutputSize)
{
    // The directory says 256 pixels; the PNG inside is 12,000 square, 550 MB once decoded whole.
    const QString ico = dir.filePath("hidden.ico");
    pt::test::writeFile(ico, pt::test::icoOfPNGs({pt::test::oneColourPNG({16, 16}, Qt::blue),
                                                  pt::test::oneColourPNG({12000, 12000}, Qt::red)}));
    // Only what this export adds to the peak counts: the counter starts again from what is resident now.
    ASSERT_TRUE(resetPeak());
    const long before = peakKilobytes();
    PTExporter exporter({{ico, "hidden", {}, PTItem::ICO}}, setOf({output(PTExportFormatPNG, "128s")}), out());
    exporter.asynchronous = false;
    const PTExporter::Result result = runExport(exporter);
    const long growth = peakKilobytes() - before;
    EXPECT_EQ(result.failures, 0);
    EXPECT_LT(growth, 100 * 1024) << "kB";
    // The smallest picture that covers the output is the large one.
    const QImage image = decoded(QDir(out()).filePath("hidden.png"));
    EXPECT_EQ(image.size(), QSize(128, 128));
    EXPECT_EQ(image.pixel(64, 64), qRgb(255, 0, 0));
}

TEST_F(ExporterTest, LongNamesAreCutToFitWithPrefixSuffixAndCounter)
{
    const QString png = pt::test::writePNG(dir.filePath("home.png"), {16, 16}, Qt::blue);
    const QString smile = QString::fromUtf8("\xf0\x9f\x99\x82"); // four bytes, two UTF-16 units
    const struct {
        const char* label;
        QString name;
        QString prefix;
        QString suffix;
        bool keepNames;
        int copies;
    } cases[] = {
        {"long ASCII name", QString(300, u'a'), {}, {}, true, 1},
        {"two-byte characters", QString(200, QChar(0xe9)), {}, {}, true, 1},
        {"four-byte characters with prefix and suffix", smile.repeated(100), "ic_", "@2x", true, 1},
        {"made safe, in a prefix folder", QString(300, u'B'), "png/24-", "-mdpi", false, 1},
        {"collisions need counters", QString(260, u'c'), "x-", "-y", true, 3},
        {"collisions of multi-byte names", QString(120, QChar(0x4e2d)), {}, "@3x", true, 3},
    };
    int folder = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const QString target = dir.filePath(QString::number(++folder));
        QList<PTExporter::Item> items;
        for (int i = 0; i < c.copies; ++i)
            items.append({png, c.name, {}, PTItem::PNG});
        PTExporter exporter(items, setOf({output(PTExportFormatPNG, "16s", c.prefix, c.suffix)}), target);
        exporter.asynchronous = false;
        exporter.useOriginalNames = c.keepNames;
        const PTExporter::Result result = runExport(exporter);
        EXPECT_EQ(result.failures, 0);
        ASSERT_EQ(result.paths.size(), c.copies);
        EXPECT_EQ(QSet<QString>(result.paths.begin(), result.paths.end()).size(), c.copies);
        const QString name = c.keepNames ? c.name : c.name.toLower();
        const QString folderPrefix = c.prefix.section(u'/', 0, -2);
        const QString leafPrefix = c.prefix.section(u'/', -1);
        const QRegularExpression shape("^" + QRegularExpression::escape(leafPrefix) + "(.+)"
                                       + QRegularExpression::escape(c.suffix) + "(\\.[0-9]+)?\\.png$");
        for (const QString& path : result.paths) {
            const QFileInfo file(path);
            EXPECT_EQ(file.absolutePath(), folderPrefix.isEmpty() ? target : target + "/" + folderPrefix);
            const QByteArray bytes = file.fileName().toUtf8();
            EXPECT_LE(bytes.size(), 255);
            EXPECT_GT(bytes.size(), 200);
            // No character was split: the name survives a round trip through UTF-8.
            EXPECT_EQ(QString::fromUtf8(bytes), file.fileName());
            const QRegularExpressionMatch match = shape.match(file.fileName());
            ASSERT_TRUE(match.hasMatch()) << bytes.constData();
            EXPECT_TRUE(name.startsWith(match.captured(1))) << bytes.constData();
            EXPECT_EQ(decoded(path).size(), QSize(16, 16));
        }
    }
}

} // namespace
