#include "platform/plist/KeyedArchive.h"
#include "platform/plist/PropertyList.h"
#include "transfer/export/PTExportOutputOption.h"

#include <gtest/gtest.h>

namespace {

struct SizeCase {
    const char* sizeFormat;
    QSizeF source;
    qint64 format;
    QSizeF expected;
    const char* suffixAfter; // with an empty suffix before
};

class SizeGrammarTest : public ::testing::TestWithParam<SizeCase> {};

TEST_P(SizeGrammarTest, ProposesSizeAndSuffix)
{
    const SizeCase& c = GetParam();
    PTExportOutputOption option;
    option.sizeFormat = QString::fromUtf8(c.sizeFormat);
    option.format = c.format;
    EXPECT_EQ(option.proposedSizeFromOriginalSize(c.source), c.expected) << c.sizeFormat;
    EXPECT_EQ(option.suffix, QString::fromUtf8(c.suffixAfter)) << c.sizeFormat;
}

INSTANTIATE_TEST_SUITE_P(
    Table, SizeGrammarTest,
    ::testing::Values(SizeCase{"", {100, 50}, PTExportFormatPNG, {100, 50}, ""},
                      SizeCase{"  \n", {100, 50}, PTExportFormatPNG, {100, 50}, ""},
                      SizeCase{"32x32", {100, 50}, PTExportFormatPNG, {32, 32}, ""},
                      SizeCase{"120x40", {10, 10}, PTExportFormatPNG, {120, 40}, ""},
                      SizeCase{"64px", {100, 50}, PTExportFormatPNG, {64, 64}, ""},
                      SizeCase{"16s", {100, 50}, PTExportFormatPNG, {16, 16}, ""},
                      SizeCase{"48", {100, 50}, PTExportFormatPNG, {48, 48}, ""},
                      SizeCase{"48h", {100, 50}, PTExportFormatPNG, {96, 48}, ""},
                      SizeCase{"48H", {100, 50}, PTExportFormatPNG, {96, 48}, ""},
                      SizeCase{"48w", {100, 50}, PTExportFormatPNG, {48, 24}, ""},
                      SizeCase{"2x", {16, 16}, PTExportFormatPNG, {32, 32}, "@2x"},
                      SizeCase{"2X", {16, 16}, PTExportFormatPNG, {32, 32}, "@2x"},
                      SizeCase{"1.5x", {15, 15}, PTExportFormatPNG, {23, 23}, "@1.5x"},
                      SizeCase{"0.5x", {5, 3}, PTExportFormatPNG, {3, 2}, "@0.5x"},
                      SizeCase{"1x", {16, 16}, PTExportFormatPNG, {16, 16}, ""},
                      // Case-sensitive "px": the last letter makes it a scale.
                      SizeCase{"64PX", {2, 2}, PTExportFormatPNG, {128, 128}, "@64x"},
                      SizeCase{"abc", {20, 10}, PTExportFormatPNG, {20, 10}, ""},
                      SizeCase{"100000s", {1, 1}, PTExportFormatPNG, {100000, 100000}, ""},
                      SizeCase{"48h", {0, 0}, PTExportFormatPNG, {0, 48}, ""},
                      SizeCase{"48w", {0, 10}, PTExportFormatPNG, {48, 0}, ""},
                      SizeCase{"512s", {1, 1}, PTExportFormatICO, {256, 256}, ""},
                      SizeCase{"300x100", {1, 1}, PTExportFormatICO, {256, 256}, ""},
                      SizeCase{"100x40", {1, 1}, PTExportFormatICO, {100, 100}, ""}));

TEST(ExportOutputOptionTest, ScaleKeepsASuffixAlreadySet)
{
    PTExportOutputOption option;
    option.sizeFormat = QStringLiteral("2x");
    option.suffix = QStringLiteral("-big");
    EXPECT_EQ(option.proposedSizeFromOriginalSize({16, 16}), QSizeF(32, 32));
    EXPECT_EQ(option.suffix, QStringLiteral("-big"));
    EXPECT_EQ(option.proposedSizeFormat, PTExportOutputOption::Scaled);
}

TEST(ExportOutputOptionTest, WritableSizesExcludeZeroAndHuge)
{
    EXPECT_TRUE(PTExportOutputOption::isWritableSize({1, 16384}));
    EXPECT_FALSE(PTExportOutputOption::isWritableSize({0, 48}));
    EXPECT_FALSE(PTExportOutputOption::isWritableSize({100000, 100000}));
}

TEST(ExportOutputOptionTest, AutoAppendedSuffixFollowsTheProposedSize)
{
    const struct {
        const char* size;
        const char* suffix;
    } cases[] = {{"32x32", "@32x32"}, {"2x", "@2x"}, {"1x", ""}};
    for (const auto& c : cases) {
        PTExportOutputOption option;
        option.suffix = QStringLiteral("-old");
        option.sizeFormat = QString::fromUtf8(c.size);
        option.setAutoAppendProposedSizeSuffix(true);
        option.suffix.clear();
        option.setProposedSize(option.proposedSizeFromOriginalSize({16, 16}));
        EXPECT_EQ(option.suffix, QString::fromUtf8(c.suffix)) << c.size;
    }
    PTExportOutputOption off;
    off.suffix = QStringLiteral("-kept");
    off.sizeFormat = QStringLiteral("32x32");
    off.setProposedSize(off.proposedSizeFromOriginalSize({16, 16}));
    EXPECT_EQ(off.suffix, QStringLiteral("-kept"));
}

TEST(ExportOutputOptionTest, EqualityOfSettings)
{
    PTExportOutputOption a, b;
    a.prefix = QString();
    b.prefix = QStringLiteral("  ");
    EXPECT_TRUE(a.equalsOption(b));
    b.setProposedSize({10, 10});
    EXPECT_TRUE(a.equalsOption(b));
    a.quality = 0.8;
    b.quality = 0.80000001;
    EXPECT_FALSE(a.equalsOption(b));
    b.quality = 0.8;
    b.replacementColors = QHash<QRgb, QColor>();
    EXPECT_FALSE(a.equalsOption(b));
    a.replacementColors = QHash<QRgb, QColor>();
    b.fillColor = Qt::red;
    EXPECT_FALSE(a.equalsOption(b));
}

PTExportOutputOption roundTrip(const PTExportOutputOption& option)
{
    const auto data = pt::PropertyList::toData(pt::KeyedArchive::archivedRoot(option.archivedObject()),
                                               pt::PropertyList::Format::Binary);
    EXPECT_TRUE(data.ok());
    const auto plist = pt::PropertyList::fromData(*data);
    EXPECT_TRUE(plist.ok());
    const auto root = pt::KeyedArchive::unarchivedRoot(*plist);
    EXPECT_TRUE(root.ok());
    return PTExportOutputOption::fromArchivedObject(*root).value_or(PTExportOutputOption());
}

TEST(ExportOutputOptionTest, ArchiveKeepsEveryArchivedField)
{
    PTExportOutputOption option;
    option.sizeFormat = QStringLiteral("48h");
    option.quality = 0.7;
    option.fillColor = QColor(255, 0, 0, 128);
    option.format = PTExportFormatJPG;
    option.trimWhitespace = true;
    option.prefix = QStringLiteral("png/");
    option.suffix = QStringLiteral("-mdpi");
    option.progressive = true;
    option.replacementColors = QHash<QRgb, QColor>{{qRgba(0, 0, 0, 255), QColor(0, 0, 255)}};
    const PTExportOutputOption read = roundTrip(option);
    EXPECT_EQ(read.quality, double(0.7f));
    EXPECT_NE(read.quality, 0.7);
    option.quality = double(0.7f);
    EXPECT_TRUE(read.equalsOption(option));
    EXPECT_EQ(read.fillColor.rgba(), option.fillColor.rgba());
    ASSERT_TRUE(read.replacementColors.has_value());
    EXPECT_EQ(read.replacementColors->value(qRgba(0, 0, 0, 255)).rgb(), QColor(0, 0, 255).rgb());
}

TEST(ExportOutputOptionTest, MissingKeysReadAsNothing)
{
    const QVariantMap bare{{pt::KeyedArchive::ClassesKey, QStringList{PTExportOutputOption::ClassName}}};
    const auto read = PTExportOutputOption::fromArchivedObject(bare);
    ASSERT_TRUE(read.has_value());
    EXPECT_FALSE(read->enabled);
    EXPECT_EQ(read->quality, 0.0);
    EXPECT_FALSE(read->fillColor.isValid());
    EXPECT_FALSE(read->replacementColors.has_value());
    const QVariantMap other{{pt::KeyedArchive::ClassesKey, QStringList{QStringLiteral("NSColor")}}};
    EXPECT_FALSE(PTExportOutputOption::fromArchivedObject(other).has_value());
}

} // namespace
