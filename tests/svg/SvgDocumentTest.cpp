// The document: fitting, drawing errors, overrides, colours, images, PDF, EPS, the cache and the view.
#include "svg/PTSVG.h"
#include "svg/PTSVGCache.h"
#include "svg/PTSVGError.h"
#include "svg/parse/PTSVGParser.h"
#include "svg/PTSVGView.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cairo.h>

#include <gtest/gtest.h>

#include <thread>

namespace {

// 40 x 20 with a red square in the top-left corner and a blue bar along the bottom: wrong orientations show.
const QString Asymmetric = QStringLiteral(
    "<svg xmlns='http://www.w3.org/2000/svg' width='40' height='20' viewBox='0 0 40 20'>"
    "<rect width='10' height='10' fill='#ff0000'/><rect y='16' width='40' height='4' fill='#0000ff'/></svg>");

std::shared_ptr<PTSVG> document(const QString& text)
{
    auto result = PTSVG::svgWithString(text);
    EXPECT_TRUE(result.ok());
    return result.ok() ? result.value() : nullptr;
}

std::shared_ptr<PTSVG> sized(const QString& size, const QString& viewBox, const QString& body)
{
    return document(QStringLiteral("<svg xmlns='http://www.w3.org/2000/svg' %1 viewBox='%2'>%3</svg>")
                        .arg(size, viewBox, body));
}

QRgb pixel(const QImage& image, int x, int y)
{
    return image.pixel(x, y);
}

// Checks the asymmetric fixture drawn into an image of 40 x 20 (or a multiple).
void expectUpright(const QImage& image, const char* what)
{
    const int s = image.width() / 40;
    EXPECT_EQ(qRed(pixel(image, 5 * s, 5 * s)), 255) << what << ": red square top left";
    EXPECT_EQ(qAlpha(pixel(image, 35 * s, 5 * s)), 0) << what << ": nothing top right";
    EXPECT_EQ(qBlue(pixel(image, 20 * s, 18 * s)), 255) << what << ": blue bar at the bottom";
}

QString writeFile(const QTemporaryDir& dir, const QString& name, const QString& text)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text.toUtf8());
    return path;
}

} // namespace

TEST(SvgDocument, FittingKeepsTheAspectRatioAndCentres)
{
    struct Case {
        QString size, viewBox;
        QRectF target, drawn;
        double clipScale, scale;
    };
    const Case cases[] = {
        {QStringLiteral("width='100' height='50'"), QStringLiteral("0 0 100 50"), {0, 0, 200, 200}, {0, 50, 200, 100}, 2, 2},
        {QStringLiteral("width='48' height='48'"), QStringLiteral("0 0 24 24"), {0, 0, 96, 96}, {0, 0, 96, 96}, 2, 4},
        {QStringLiteral("width='10' height='10'"), QStringLiteral("0 0 10 10"), {5, 5, 15, 20}, {5, 8, 15, 15}, 1.5, 1.5},
    };
    for (const auto& c : cases) {
        auto svg = sized(c.size, c.viewBox, QStringLiteral("<rect width='1' height='1'/>"));
        bool valid = false;
        EXPECT_EQ(svg->computeRectDrawingInRect(c.target, &valid), c.drawn) << c.viewBox.toStdString();
        EXPECT_TRUE(valid);
        QImage image(200, 200, QImage::Format_ARGB32_Premultiplied);
        cairo_surface_t* surface = cairo_image_surface_create_for_data(image.bits(), CAIRO_FORMAT_ARGB32, 200, 200,
                                                                       int(image.bytesPerLine()));
        cairo_t* cr = cairo_create(surface);
        EXPECT_TRUE(svg->drawInRect(cr, c.target));
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
        EXPECT_EQ(svg->clipScale(), c.clipScale);
        EXPECT_EQ(svg->scale(), c.scale);
    }
}

TEST(SvgDocument, DrawingClipsToTheFittedBandAndShiftsTheViewBoxOrigin)
{
    auto band = sized(QStringLiteral("width='100' height='50'"), QStringLiteral("0 0 100 50"),
                      QStringLiteral("<rect x='-50' y='-50' width='200' height='150' fill='#00ff00'/>"));
    const QImage image = band->imageWithSize({200, 200});
    EXPECT_EQ(qAlpha(pixel(image, 100, 40)), 0);
    EXPECT_EQ(qGreen(pixel(image, 100, 60)), 255);
    EXPECT_EQ(qAlpha(pixel(image, 100, 160)), 0);

    auto shifted = sized(QStringLiteral("width='20' height='20'"), QStringLiteral("10 10 20 20"),
                         QStringLiteral("<rect x='10' y='10' width='5' height='5' fill='#ff0000'/>"));
    const QImage corner = shifted->imageWithSize({20, 20});
    EXPECT_EQ(qRed(pixel(corner, 1, 1)), 255);
    EXPECT_EQ(qAlpha(pixel(corner, 8, 8)), 0);
}

TEST(SvgDocument, TheRootsAspectRatioPlacesItsViewBox)
{
    // A 10 x 10 view box, filled, in a 40 x 20 document: where the fill lands tells the alignment.
    struct Case {
        const char* ratio;
        int left, right; // filled columns [left, right)
    };
    const Case cases[] = {{"", 10, 30}, {"xMinYMin", 0, 20}, {"xMaxYMax meet", 20, 40}, {"none", 0, 40},
                          {"xMidYMid slice", 0, 40}};
    for (const auto& c : cases) {
        auto svg = document(QStringLiteral("<svg xmlns='http://www.w3.org/2000/svg' width='40' height='20' "
                                           "viewBox='0 0 10 10' preserveAspectRatio='%1'>"
                                           "<rect width='10' height='10' fill='#ff0000'/></svg>")
                                .arg(QLatin1String(c.ratio)));
        const QImage image = svg->imageWithSize({40, 20});
        for (int x = 0; x < 40; ++x)
            EXPECT_EQ(qAlpha(pixel(image, x, 10)) == 255, x >= c.left && x < c.right) << c.ratio << " at " << x;
    }
}

TEST(SvgDocument, AnEmptyTargetIsErrorThreeAndLeavesTheContextAlone)
{
    auto svg = document(Asymmetric);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 10, 10);
    cairo_t* cr = cairo_create(surface);
    cairo_translate(cr, 3, 4);
    pt::Error error;
    EXPECT_FALSE(svg->drawInRect(cr, QRectF(0, 0, 0, 0), &error));
    EXPECT_EQ(error, PTSVGError::make(PTSVGError::DrawFailed));
    cairo_matrix_t matrix;
    cairo_get_matrix(cr, &matrix);
    EXPECT_EQ(matrix.x0, 3);
    EXPECT_EQ(matrix.y0, 4);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}

TEST(SvgDocument, OverridesAfterAFirstDrawingChangeTheNextOne)
{
    auto svg = document(Asymmetric);
    EXPECT_EQ(qRed(pixel(svg->imageWithSize({40, 20}), 5, 5)), 255);
    svg->setFillColor(QColor(0, 255, 0));
    EXPECT_EQ(qGreen(pixel(svg->imageWithSize({40, 20}), 5, 5)), 255);
    svg->setFillColor(QColor());
    svg->replaceColor(QColor(255, 0, 0), QColor(0, 0, 255));
    EXPECT_EQ(qBlue(pixel(svg->imageWithSize({40, 20}), 5, 5)), 255);
    // An empty map keeps the tree that was drawn last.
    svg->setReplacementColors({});
    EXPECT_TRUE(svg->replacementColors().isEmpty());
    EXPECT_EQ(qBlue(pixel(svg->imageWithSize({40, 20}), 5, 5)), 255);
}

TEST(SvgDocument, VisibleColoursListPaintedColoursOnce)
{
    auto transparent = sized(QStringLiteral("width='10' height='10'"), QStringLiteral("0 0 10 10"),
                             QStringLiteral("<rect width='5' height='5' fill='none'/>"));
    EXPECT_TRUE(transparent->visibleColors().empty());
    auto svg = sized(QStringLiteral("width='10' height='10'"), QStringLiteral("0 0 10 10"),
                     QStringLiteral("<mask id='m'><rect width='5' height='5' fill='#00ff00'/></mask>"
                                    "<rect width='5' height='5' fill='#ff0000' stroke='#0000ff' mask='url(#m)'/>"
                                    "<rect width='2' height='2' fill='#ff0000'/>"));
    auto colors = svg->visibleColors();
    std::sort(colors.begin(), colors.end(), [](const QColor& a, const QColor& b) { return a.rgba() < b.rgba(); });
    EXPECT_EQ(colors, (std::vector<QColor>{QColor(0, 0, 255), QColor(255, 0, 0)}));
}

TEST(SvgDocument, ImagesAreUprightOrMirroredWhenAsked)
{
    auto svg = document(Asymmetric);
    expectUpright(svg->imageWithSize({80, 40}), "image");
    const QImage flipped = svg->imageWithSize({40, 20}, true);
    EXPECT_EQ(qBlue(pixel(flipped, 20, 1)), 255);
    EXPECT_EQ(qRed(pixel(flipped, 5, 15)), 255);
}

TEST(SvgDocument, PdfHasTheExactPageAndRendersLikeTheImage)
{
    auto svg = sized(QStringLiteral("width='40.5' height='20'"), QStringLiteral("0 0 40.5 20"),
                     QStringLiteral("<rect width='10' height='10' fill='#ff0000'/>"));
    const QByteArray pdf = svg->PDFData();
    ASSERT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("/MediaBox \\[ ?0 0 40.5 20 ?\\]")).match(QString::fromLatin1(pdf)).hasMatch());

    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (pdftoppm.isEmpty())
        GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    QTemporaryDir dir;
    auto fixture = document(Asymmetric);
    QFile file(dir.filePath(QStringLiteral("a.pdf")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(fixture->PDFData());
    file.close();
    // 40 x 20 points at 144 dpi: 80 x 40 pixels, as the image drawn at twice the size.
    QProcess process;
    process.start(pdftoppm, {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("144"), QStringLiteral("-singlefile"),
                             file.fileName(), dir.filePath(QStringLiteral("page"))});
    ASSERT_TRUE(process.waitForFinished(30000));
    const QImage page(dir.filePath(QStringLiteral("page.png")));
    ASSERT_EQ(page.size(), QSize(80, 40));
    const QImage raster = fixture->imageWithSize({80, 40});
    for (const QPoint point : {QPoint(10, 10), QPoint(70, 10), QPoint(40, 36), QPoint(40, 25)}) {
        const QRgb p = page.pixel(point), r = raster.pixel(point);
        // The PDF page is white where the image is transparent.
        const QRgb expected = qAlpha(r) == 0 ? qRgb(255, 255, 255) : r;
        EXPECT_EQ(p & 0xffffff, expected & 0xffffff) << point.x() << "," << point.y();
    }
}

TEST(SvgDocument, EpsIsEncapsulatedWithThePageAsBoundingBoxAndMasksAsClips)
{
    auto svg = sized(QStringLiteral("width='40.5' height='20'"), QStringLiteral("0 0 40.5 20"),
                     QStringLiteral("<clipPath id='c'><circle cx='5' cy='5' r='4'/></clipPath>"
                                    "<rect width='10' height='10' fill='#ff0000' clip-path='url(#c)'/>"));
    const QByteArray eps = svg->EPSDataWithRect(QRectF(0, 0, 40.5, 20));
    EXPECT_TRUE(eps.startsWith("%!PS-Adobe-3.0 EPSF-3.0\n"));
    EXPECT_TRUE(eps.contains("\n%%BoundingBox: 0 0 41 20\n"));
    EXPECT_FALSE(eps.contains("ImageType")) << "a clip path stays vector";
    EXPECT_TRUE(eps.contains(" W n\n"));
    // The conversion is undone afterwards: the raster still masks.
    EXPECT_EQ(qAlpha(pixel(svg->imageWithSize({81, 40}), 1, 1)), 0);
}

TEST(SvgDocument, EpsIsUpright)
{
    // PostScript is y-up: the page matrix and the red square's rectangle put the square in the page's upper half.
    const QString eps = QString::fromLatin1(document(Asymmetric)->EPSDataWithRect(QRectF(0, 0, 40, 20)));
    const auto matrix = QRegularExpression(QStringLiteral("(\\S+) (\\S+) (\\S+) (\\S+) (\\S+) (\\S+) cm")).match(eps);
    const auto square = QRegularExpression(QStringLiteral("1 0 0 rg\\s+(\\S+) (\\S+) (\\S+) (\\S+) re f")).match(eps);
    ASSERT_TRUE(matrix.hasMatch() && square.hasMatch()) << eps.toStdString();
    const double d = matrix.captured(4).toDouble(), f = matrix.captured(6).toDouble();
    const double centreY = square.captured(2).toDouble() + square.captured(4).toDouble() / 2;
    EXPECT_GT(d * centreY + f, 10) << "the red square is at the top of the page";
}

TEST(SvgDocument, FilesParseOnceAndEveryLoaderGetsItsOwnDocument)
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, QStringLiteral("a.svg"), Asymmetric);
    PTSVGCache::flushCache();
    auto first = PTSVG::svgWithFile(path);
    auto second = PTSVG::svgWithFile(path);
    ASSERT_TRUE(first.ok() && second.ok());
    EXPECT_NE(first.value(), second.value());
    EXPECT_EQ(first.value()->rootNode(), second.value()->rootNode()) << "one parsed tree, shared";
    first.value()->setFillColor(QColor(0, 255, 0));
    EXPECT_EQ(qRed(pixel(second.value()->imageWithSize({40, 20}), 5, 5)), 255) << "recolouring stays with its document";
    auto uncached = PTSVG::svgWithFile(path, false);
    EXPECT_NE(uncached.value()->rootNode(), first.value()->rootNode());

    for (int i = 0; i < 25; ++i)
        PTSVG::svgWithFile(writeFile(dir, QStringLiteral("%1.svg").arg(i), Asymmetric));
    EXPECT_EQ(PTSVGCache::count(), PTSVGCache::DefaultEvictItemsAfter);
    PTSVGCache::setEnabled(false);
    EXPECT_EQ(PTSVGCache::count(), 0);
    EXPECT_NE(PTSVG::svgWithFile(path).value()->rootNode(), PTSVG::svgWithFile(path).value()->rootNode());
    PTSVGCache::setEnabled(true);
    EXPECT_EQ(PTSVG::svgWithFile(path).value()->rootNode(), PTSVG::svgWithFile(path).value()->rootNode());
    EXPECT_EQ(PTSVG::svgWithFile(dir.filePath(QStringLiteral("missing.svg"))).error(),
              PTSVGError::make(PTSVGError::ReadFailed));
}

TEST(SvgDocument, DocumentsOfOneTreeDrawOnTwoThreadsAtOnce)
{
    auto tree = document(QStringLiteral(
        "<svg xmlns='http://www.w3.org/2000/svg' width='64' height='64'>"
        "<linearGradient id='g'><stop offset='0' stop-color='red'/><stop offset='1' stop-color='blue'/></linearGradient>"
        "<mask id='m'><circle cx='32' cy='32' r='30' fill='white'/></mask>"
        "<rect width='64' height='64' fill='url(#g)' mask='url(#m)' stroke='black'/></svg>"))->rootNode();
    const QImage expected = PTSVG::svgWithParsedTree(tree)->imageWithSize({64, 64});
    std::vector<QImage> images(2);
    std::vector<std::thread> threads;
    for (size_t t = 0; t < images.size(); ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 50; ++i)
                images[t] = PTSVG::svgWithParsedTree(tree)->imageWithSize({64, 64});
        });
    }
    for (auto& thread : threads)
        thread.join();
    for (const QImage& image : images)
        EXPECT_EQ(image, expected);
}

TEST(SvgDocument, ImageDocumentsDraw)
{
    QImage source(4, 2, QImage::Format_ARGB32_Premultiplied);
    source.fill(QColor(0, 0, 255));
    auto svg = PTSVG::svgWithImage(source);
    EXPECT_EQ(svg->viewBox(), QRectF(0, 0, 4, 2));
    pt::Error error;
    const QImage image = svg->imageWithSize({8, 4}, false, &error);
    EXPECT_TRUE(error.isNull());
    EXPECT_EQ(qBlue(pixel(image, 7, 3)), 255);
}

TEST(SvgView, DrawsItsDocumentTintedAtTheDevicePixelRatio)
{
    auto svg = document(Asymmetric);
    PTSVGView view(svg);
    view.resize(80, 40);
    view.setTintColor(QColor(0, 255, 0));
    QImage image = view.grab().toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(image.size(), QSize(80, 40) * view.devicePixelRatioF());
    EXPECT_EQ(pixel(image, 10, 10) & 0xffffff, 0x00ff00u);
    EXPECT_EQ(pixel(image, 40, 36) & 0xffffff, 0x00ff00u) << "the tint fills every path";
    view.setSVG(nullptr);
    view.setImageName(QStringLiteral("no-such-image"));
    EXPECT_EQ(view.svg(), nullptr);
}
