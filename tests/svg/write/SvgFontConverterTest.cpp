// Icon fonts split into one document per glyph, checked against FreeType's own rendering of each glyph.
#include "svg/PTSVG.h"
#include "svg/write/PTSVGFontConverter.h"
#include "svg/parse/PTSVGParser.h"
#include "svg/model/PTSVGPath.h"

#include <QFile>
#include <QSet>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_BITMAP_H

#include <gtest/gtest.h>

namespace {

const QString FontAwesome = QStringLiteral("/usr/share/fonts/truetype/font-awesome/fontawesome-webfont.ttf");
const QString MaterialDesign =
    QStringLiteral("/usr/share/fonts/truetype/materialdesignicons-webfont/materialdesignicons-webfont.ttf");
const QString Symbola = QStringLiteral("/usr/share/fonts/truetype/ancient-scripts/Symbola_hint.ttf");

std::vector<std::pair<QString, std::shared_ptr<PTSVG>>> documents(PTSVGFontConverter& converter)
{
    std::vector<std::pair<QString, std::shared_ptr<PTSVG>>> all;
    converter.enumerate([&](const QString& key, const std::shared_ptr<PTSVG>& svg) { all.emplace_back(key, svg); });
    return all;
}

// FreeType's anti-aliased rendering of the glyph placed where the document draws it into a size x size image.
QImage freeTypeRendering(const QString& font, char32_t character, PTSVG& svg, int size)
{
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    QImage image(size, size, QImage::Format_Grayscale8);
    image.fill(0);
    if (FT_Init_FreeType(&library) != 0)
        return {};
    if (FT_New_Face(library, QFile::encodeName(font).constData(), 0, &face) == 0
        && (FT_Select_Charmap(face, FT_ENCODING_UNICODE) == 0 || FT_Select_Charmap(face, FT_ENCODING_MS_SYMBOL) == 0)
        && FT_Load_Glyph(face, FT_Get_Char_Index(face, character), FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING) == 0) {
        bool valid = false;
        const QRectF rect = svg.computeRectDrawingInRect(QRectF(0, 0, size, size), &valid);
        const QRectF box = svg.viewBox();
        const double k = PTSVGFontConverter::EmSize / face->units_per_EM;
        const double scale = rect.width() / box.width();
        FT_Outline& outline = face->glyph->outline;
        // The document places the view box's origin on whole pixels.
        const double left = rect.x() + std::round(-box.x() * scale), top = rect.y() + std::round(-box.y() * scale);
        for (int index = 0; index < outline.n_points; ++index) {
            const double x = left + outline.points[index].x * k * scale;
            const double y = top - outline.points[index].y * k * scale;
            // 26.6 fixed point, y up from the bitmap's bottom.
            outline.points[index].x = FT_Pos(std::lround(x * 64));
            outline.points[index].y = FT_Pos(std::lround((size - y) * 64));
        }
        FT_Bitmap bitmap;
        FT_Bitmap_Init(&bitmap);
        bitmap.rows = unsigned(size);
        bitmap.width = unsigned(size);
        bitmap.pitch = int(image.bytesPerLine());
        bitmap.buffer = image.bits();
        bitmap.num_grays = 256;
        bitmap.pixel_mode = FT_PIXEL_MODE_GRAY;
        FT_Outline_Get_Bitmap(library, &outline, &bitmap);
    }
    if (face)
        FT_Done_Face(face);
    FT_Done_FreeType(library);
    return image;
}

// Shared coverage over the union of coverage.
double overlap(const QImage& document, const QImage& reference)
{
    double shared = 0, either = 0;
    for (int y = 0; y < reference.height(); ++y) {
        for (int x = 0; x < reference.width(); ++x) {
            const int a = qAlpha(document.pixel(x, y));
            const int b = qGray(reference.pixel(x, y));
            shared += std::min(a, b);
            either += std::max(a, b);
        }
    }
    return either > 0 ? shared / either : 1.0;
}

} // namespace

TEST(SvgFontConverter, IconFontsGiveOneDocumentPerGlyphInCodePointOrder)
{
    for (const QString& font : {FontAwesome, MaterialDesign}) {
        if (!QFile::exists(font))
            GTEST_SKIP() << "icon fonts are not installed";
        PTSVGFontConverter converter(font);
        ASSERT_TRUE(converter.isValid());
        const auto first = documents(converter);
        ASSERT_GT(first.size(), 100u) << qPrintable(font);
        QSet<QString> viewBoxes;
        bool ordered = true;
        for (size_t index = 0; index < first.size(); ++index) {
            const QRectF box = first[index].second->viewBox();
            viewBoxes.insert(QStringLiteral("%1 %2 %3 %4").arg(box.x()).arg(box.y()).arg(box.width()).arg(box.height()));
            if (index > 0)
                ordered = ordered && first[index - 1].first.toUInt(nullptr, 16) < first[index].first.toUInt(nullptr, 16);
        }
        EXPECT_TRUE(ordered);
        // Icon fonts draw many glyphs into one common square, yet the boxes follow each outline.
        EXPECT_GT(viewBoxes.size(), first.size() / 4);
        const auto second = documents(converter);
        ASSERT_EQ(second.size(), first.size());
        for (size_t index = 0; index < first.size(); ++index)
            EXPECT_EQ(second[index].first, first[index].first);
        EXPECT_TRUE(std::none_of(first.begin(), first.end(), [](const auto& entry) { return entry.first == "0020"; }));
    }
}

TEST(SvgFontConverter, GlyphDocumentsDrawAsFreeTypeRendersThem)
{
    for (const QString& font : {FontAwesome, MaterialDesign}) {
        if (!QFile::exists(font))
            GTEST_SKIP() << "icon fonts are not installed";
        PTSVGFontConverter converter(font);
        const auto all = documents(converter);
        for (size_t index = 0; index < all.size(); index += 53) {
            const auto& [key, svg] = all[index];
            const QImage drawn = svg->imageWithSize(QSize(96, 96));
            const QImage reference = freeTypeRendering(font, char32_t(key.toUInt(nullptr, 16)), *svg, 96);
            EXPECT_GE(overlap(drawn, reference), 0.99) << qPrintable(font) << " " << qPrintable(key);
            // The written text draws the same.
            auto reread = PTSVG::svgWithString(svg->SVGStringWithOptions(0x2BFE));
            ASSERT_TRUE(reread);
            const QImage rereadReference = freeTypeRendering(font, char32_t(key.toUInt(nullptr, 16)), **reread, 96);
            EXPECT_GE(overlap((*reread)->imageWithSize(QSize(96, 96)), rereadReference), 0.99) << qPrintable(key);
        }
    }
}

TEST(SvgFontConverter, CharactersBeyondTheBasicPlaneGetTheirOwnKeys)
{
    if (!QFile::exists(Symbola))
        GTEST_SKIP() << "fonts-symbola is not installed";
    PTSVGFontConverter converter(Symbola);
    QSet<QString> keys;
    size_t count = 0;
    converter.enumerate([&](const QString& key, const std::shared_ptr<PTSVG>&) {
        keys.insert(key);
        ++count;
    });
    EXPECT_EQ(size_t(keys.size()), count);
    EXPECT_TRUE(keys.contains(QStringLiteral("1f300")));
    EXPECT_TRUE(keys.contains(QStringLiteral("0041")));
    EXPECT_EQ(PTSVGFontConverter::keyForCodePoint(0x41), "0041");
}

TEST(SvgFontConverter, NotAFontYieldsNothing)
{
    PTSVGFontConverter converter(QStringLiteral("/etc/hostname"));
    EXPECT_FALSE(converter.isValid());
    EXPECT_TRUE(documents(converter).empty());
}

TEST(SvgFontConverter, SvgFontGlyphBecomesADocument)
{
    auto svg = PTSVG::svgWithString(QStringLiteral(
        "<svg xmlns='http://www.w3.org/2000/svg'><defs><font><glyph unicode='A' d='M0,0L10,0L10,20Z'/></font>"
        "</defs></svg>"));
    ASSERT_TRUE(svg);
    ASSERT_TRUE((*svg)->rootNode());
    const auto& glyphs = (*svg)->rootNode()->glyphs();
    ASSERT_EQ(glyphs.size(), 1u);
    auto document = PTSVGFontConverter::convertPTSVGPathToSVG(*glyphs.front());
    EXPECT_EQ(document->viewBox(), QRectF(0, -20, 10, 20));
}
