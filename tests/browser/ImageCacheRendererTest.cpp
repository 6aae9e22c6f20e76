#include "browser/cache/PTImageCacheRenderer.h"
#include "foundation/PDF.h"
#include "foundation/WebP.h"
#include "IconFileFixtures.h"
#include "library/entities/PTItem.h"
#include "TestSupport.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString BreezeSymbolic = QStringLiteral("/usr/share/icons/breeze/actions/16/accessories-dictionary-symbolic.svg");
const QString PapirusApp = QStringLiteral("/usr/share/icons/Papirus/64x64/apps/0ad.svg");

PTImageCacheJob job(const QString& path, qint64 type, qreal points, qreal scale = 1)
{
    PTImageCacheOptions options;
    options.size = QSizeF(points, points);
    options.scale = scale;
    return PTImageCacheJob::forFile(path, type, options);
}

using iconFixtures::filled;

// Files of every kind, made by the real writers in a temporary folder.
class ImageCacheRendererTest : public ::testing::Test {
protected:
    QTemporaryDir dir;

    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    QString save(const QString& name, const QImage& image)
    {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(image.save(path));
        return path;
    }
};

TEST_F(ImageCacheRendererTest, BitmapsOnlyShrinkWhilePDFPagesFit)
{
    const QString smallPNG = save(QStringLiteral("small.png"), filled(16, 16, Qt::red));
    const QString largePNG = save(QStringLiteral("large.png"), filled(512, 256, Qt::blue));
    const QString webP = write(QStringLiteral("large.webp"), WebP::webPRepresentation(filled(300, 300, Qt::green)));
    const QString pdf = write(QStringLiteral("page.pdf"), PDF::PDFData(filled(16, 32, Qt::black)));
    const QString ico = pt::test::fixturePath(QStringLiteral("sizes.ico"));
    const QString icns = pt::test::fixturePath(QStringLiteral("sizes.icns"));
    struct Case {
        QString path;
        qint64 type;
        qreal points;
        qreal scale;
        QSize pixels;
        QColor centre;
    };
    const Case cases[] = {
        {smallPNG, PTItem::PNG, 64, 1, {16, 16}, Qt::red},      // never enlarged
        {smallPNG, PTItem::PNG, 8, 1, {8, 8}, Qt::red},         // shrunk
        {largePNG, PTItem::PNG, 64, 2, {128, 64}, Qt::blue},    // to the pixels, proportions kept
        {webP, PTItem::WEBP, 64, 1, {64, 64}, Qt::green},
        {pdf, PTItem::PDF, 64, 1, {32, 64}, Qt::black},         // grows to fit
        {pdf, PTItem::PDF, 8, 2, {8, 16}, Qt::black},
        {ico, PTItem::ICO, 20, 1, {20, 20}, QColor(0, 255, 0)}, // from the 32-pixel picture
        {ico, PTItem::ICO, 16, 1, {16, 16}, QColor(255, 0, 0)},
        {ico, PTItem::ICO, 64, 1, {48, 48}, QColor(0, 0, 255)}, // the largest when none covers
        {icns, PTItem::ICNS, 100, 1, {100, 100}, QColor(255, 255, 0)},
        {icns, PTItem::ICNS, 30, 1, {30, 30}, QColor(0, 255, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.toStdString() + " at " + std::to_string(c.points));
        const PTImageCacheRendering rendering = PTImageCacheRenderer::render(job(c.path, c.type, c.points, c.scale));
        ASSERT_FALSE(rendering.invalid);
        EXPECT_EQ(rendering.image.size(), c.pixels);
        EXPECT_EQ(rendering.image.devicePixelRatio(), c.scale);
        const QColor centre = rendering.image.pixelColor(c.pixels.width() / 2, c.pixels.height() / 2);
        EXPECT_NEAR(centre.red(), c.centre.red(), 40);
        EXPECT_NEAR(centre.green(), c.centre.green(), 40);
        EXPECT_NEAR(centre.blue(), c.centre.blue(), 40);
    }
}

TEST_F(ImageCacheRendererTest, WithoutEnlargingFilesKeepTheirOwnSize)
{
    PTImageCacheJob large = job(save(QStringLiteral("large.png"), filled(300, 200, Qt::blue)), PTItem::PNG, 64);
    large.allowEnlarge = false;
    EXPECT_EQ(PTImageCacheRenderer::render(large).image.size(), QSize(300, 200));
    PTImageCacheJob page = job(write(QStringLiteral("p.pdf"), PDF::PDFData(filled(16, 32, Qt::black))), PTItem::PDF,
                               64, 2);
    page.allowEnlarge = false;
    EXPECT_EQ(PTImageCacheRenderer::render(page).image.size(), QSize(32, 64));

    // A page that claims to be vast is drawn no larger than 8192 pixels a side.
    QByteArray vast = PDF::PDFData(filled(16, 32, Qt::black));
    ASSERT_TRUE(vast.contains("/MediaBox [ 0 0 16 32 ]"));
    vast.replace("/MediaBox [ 0 0 16 32 ]", "/MediaBox [ 0 0 400000 400000 ]");
    PTImageCacheJob claimed = job(write(QStringLiteral("vast.pdf"), vast), PTItem::PDF, 64, 2);
    claimed.allowEnlarge = false;
    const PTImageCacheRendering rendering = PTImageCacheRenderer::render(claimed);
    EXPECT_EQ(rendering.image.width(), 8192);
    EXPECT_LE(rendering.image.height(), 8192);
}

TEST_F(ImageCacheRendererTest, SVGFillsTheTargetUpright)
{
    const QString path = write(QStringLiteral("top.svg"),
                               "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 10 10'>"
                               "<rect width='10' height='5' fill='#ff0000'/></svg>");
    const PTImageCacheRendering rendering = PTImageCacheRenderer::render(job(path, PTItem::SVG, 32, 2));
    ASSERT_FALSE(rendering.invalid);
    EXPECT_EQ(rendering.image.size(), QSize(64, 64));
    EXPECT_EQ(rendering.image.pixelColor(32, 8), QColor(Qt::red));
    EXPECT_EQ(rendering.image.pixelColor(32, 56).alpha(), 0);
}

// Red of the drawn pixels that are nearly opaque, and how many there are.
std::pair<QSet<QRgb>, int> opaqueColours(const QImage& image)
{
    QSet<QRgb> colours;
    int count = 0;
    const QImage straight = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < straight.height(); ++y)
        for (int x = 0; x < straight.width(); ++x)
            if (qAlpha(straight.pixel(x, y)) == 255) {
                colours.insert(straight.pixel(x, y) & 0xFFFFFF);
                ++count;
            }
    return {colours, count};
}

TEST_F(ImageCacheRendererTest, ColourTintsOnlyOneColourDocumentsElseReplacementsApply)
{
    ASSERT_TRUE(QFile::exists(BreezeSymbolic) && QFile::exists(PapirusApp));
    PTImageCacheJob symbolic = job(BreezeSymbolic, PTItem::SVG, 32);
    symbolic.color = QColor(0x12, 0x34, 0x56);
    symbolic.replacementColors.insert(QColor(0x23, 0x26, 0x29).rgba(), Qt::green);
    const auto [symbolicColours, symbolicCount] = opaqueColours(PTImageCacheRenderer::render(symbolic).image);
    EXPECT_GT(symbolicCount, 0);
    EXPECT_EQ(symbolicColours, QSet<QRgb>{0x123456});

    PTImageCacheJob app = job(PapirusApp, PTItem::SVG, 64);
    const auto [plain, plainCount] = opaqueColours(PTImageCacheRenderer::render(app).image);
    app.color = QColor(0x12, 0x34, 0x56);
    const auto [tinted, tintedCount] = opaqueColours(PTImageCacheRenderer::render(app).image);
    EXPECT_GT(plain.size(), 1);
    EXPECT_EQ(tinted, plain) << "a document of several colours ignores the tint";
}

// A file of several pictures is drawn from the one nearest the drawn size: the smallest at least as large, else the
// largest.
TEST_F(ImageCacheRendererTest, IconFilesDrawTheirNearestPicture)
{
    using namespace iconFixtures;
    const QString small = write(QStringLiteral("small.ico"),
                                icoFile({filledEntry(16, Qt::red), filledEntry(32, Qt::green)}));
    const QString wide = write(QStringLiteral("wide.ico"),
                               icoFile({filledEntry(16, Qt::red), filledEntry(48, Qt::green), filledEntry(256, Qt::blue)}));
    const QString hiding = write(QStringLiteral("hiding.ico"), icoHidingAHugePicture());
    // The directory says 16 for a PNG of 300 pixels.
    const QString understating = write(QStringLiteral("understating.ico"),
                                       icoFile({filledEntry(32, Qt::green), {16, pngBytes(filled(300, 300, Qt::blue))}}));
    const QString icns = write(QStringLiteral("sizes.icns"), icnsFile({{"icp4", 16, Qt::red}, {"icp5", 32, Qt::green}}));
    const QString wideICNS = write(QStringLiteral("wide.icns"),
                                   icnsFile({{"icp4", 16, Qt::red}, {"ic08", 256, Qt::blue}, {"icp6", 64, Qt::green}}));
    const struct {
        QString path;
        qint64 type;
        qreal points;
        qreal scale;
        QColor centre;
    } cases[] = {
        {small, PTItem::ICO, 64, 1, Qt::green},
        {small, PTItem::ICO, 16, 1, Qt::red},
        {small, PTItem::ICO, 16, 2, Qt::green},
        {wide, PTItem::ICO, 16, 1, Qt::red},
        {wide, PTItem::ICO, 32, 1, Qt::green},
        {wide, PTItem::ICO, 64, 1, Qt::blue},
        {wide, PTItem::ICO, 512, 1, Qt::blue},
        {hiding, PTItem::ICO, 64, 1, Qt::green},
        {hiding, PTItem::ICO, 16, 1, Qt::red},
        {understating, PTItem::ICO, 64, 1, Qt::blue},
        {understating, PTItem::ICO, 24, 1, Qt::green},
        {icns, PTItem::ICNS, 64, 1, Qt::green},
        {icns, PTItem::ICNS, 16, 1, Qt::red},
        {wideICNS, PTItem::ICNS, 40, 1, Qt::green},
        {wideICNS, PTItem::ICNS, 128, 1, Qt::blue},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString() + " at " + std::to_string(c.points) + "x" + std::to_string(c.scale));
        const PTImageCacheRendering rendering = PTImageCacheRenderer::render(job(c.path, c.type, c.points, c.scale));
        EXPECT_FALSE(rendering.invalid);
        const QImage& image = rendering.image;
        EXPECT_EQ(image.pixelColor(image.width() / 2, image.height() / 2).name(QColor::HexArgb),
                  c.centre.name(QColor::HexArgb));
    }
}

TEST_F(ImageCacheRendererTest, BrokenFilesGiveTheFailureImage)
{
    const QByteArray png = [] {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        filled(64, 64, Qt::red).save(&buffer, "PNG");
        return bytes;
    }();
    const struct {
        QString path;
        qint64 type;
    } cases[] = {
        {write(QStringLiteral("cut.svg"), "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 10 10'><rect wid"),
         PTItem::SVG},
        {write(QStringLiteral("empty.png"), {}), PTItem::PNG},
        {write(QStringLiteral("cut.png"), png.left(png.size() / 2)), PTItem::PNG},
        {pt::test::fixturePath(QStringLiteral("huge-header.png")), PTItem::PNG},
        {write(QStringLiteral("nopages.pdf"), "%PDF-1.4\n1 0 obj << /Type /Catalog >> endobj\ntrailer << /Root 1 0 R >>\n%%EOF\n"),
         PTItem::PDF},
        {write(QStringLiteral("bad.webp"), "RIFF\x10\0\0\0WEBPVP8 garbage"), PTItem::WEBP},
        {dir.filePath(QStringLiteral("missing.png")), PTItem::PNG},
        {QString(), PTItem::SVG},
        {save(QStringLiteral("glyph.png"), filled(8, 8, Qt::red)), 8},
        {write(QStringLiteral("huge.ico"), iconFixtures::icoFile({{256, iconFixtures::pngClaimingAHugeSize()}})),
         PTItem::ICO},
    };
    const QImage failure = PTImageCacheRenderer::failureImage(QSize(40, 40), 1);
    ASSERT_FALSE(failure.isNull());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        const PTImageCacheRendering rendering = PTImageCacheRenderer::render(job(c.path, c.type, 20, 2));
        EXPECT_TRUE(rendering.invalid);
        EXPECT_EQ(rendering.image.convertToFormat(QImage::Format_ARGB32_Premultiplied),
                  failure.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    }
}

} // namespace
