#include "foundation/StringAdditions.h"

#include <QDirIterator>

#include <gtest/gtest.h>

using namespace stringAdditions;

TEST(StringAdditions, NormalFormFoldsCaseDiacriticsAndWidth)
{
    const struct {
        QString input;
        QString expected;
    } cases[] = {
        {u"Café"_qs, u"cafe"_qs},
        {u"CAFE"_qs, u"cafe"_qs},
        {u"Cafe\u0301"_qs, u"cafe"_qs},                  // already decomposed
        {u"ＡＢ"_qs, u"ab"_qs},                            // full-width letters
        {u"Ｉｃｏｎ１２３"_qs, u"icon123"_qs},              // full-width letters and digits
        {u"\u3000"_qs, u" "_qs},                          // ideographic space
        {u"ﾊﾞｯｸ"_qs, u"\u30CF\u30C3\u30AF"_qs},            // half-width kana, voiced mark dropped like any other
        {u"Ærøskøbing Ångström"_qs, u"ærøskøbing angstrom"_qs},
        {u"Ελληνικά"_qs, u"ελληνικα"_qs},
        {u"Straße"_qs, u"straße"_qs},                    // no expansion to "ss"
        {u"\u1E9E"_qs, u"ß"_qs},                          // capital sharp s folds to the small one
        {u"\uFB01le"_qs, u"\uFB01le"_qs},                  // a ligature stays itself
        {u"  Padded\t"_qs, u"  padded\t"_qs},             // nothing trimmed
        {u""_qs, u""_qs},
    };
    for (const auto& c : cases)
        EXPECT_EQ(normalizedString(c.input), c.expected) << c.input.toStdString();
}

// Stored copies and later search terms are both made by this one operation, so a second pass must not change
// what the first made; checked over every icon name of two real themes.
TEST(StringAdditions, NormalFormIsIdempotentOverRealIconNames)
{
    int checked = 0;
    for (const char* root : {"/usr/share/icons/Papirus", "/usr/share/icons/breeze"}) {
        QDirIterator it(QString::fromLatin1(root), QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString name = QFileInfo(it.next()).completeBaseName();
            const QString once = normalizedString(name);
            ASSERT_EQ(normalizedString(once), once) << name.toStdString();
            ++checked;
        }
    }
    const QString mixed = u"Ｃａｆé ﾊﾞ Ǆ ǅ İstanbul ΣΑΣ ﬀ ①"_qs;
    EXPECT_EQ(normalizedString(normalizedString(mixed)), normalizedString(mixed));
    EXPECT_GT(checked, 1000) << "the icon themes are installed by scripts/install-deps";
}

TEST(StringAdditions, SplittingNeverYieldsEmptyParts)
{
    EXPECT_EQ(componentsSeparatedByChars(u",a,,b,"_qs, ","), (QStringList{"a", "b"}));
    EXPECT_TRUE(componentsSeparatedByChars(u""_qs, ",").isEmpty());
    EXPECT_TRUE(componentsSeparatedByChars(u",,,"_qs, ",").isEmpty());
    EXPECT_EQ(componentsSeparatedByChars(u"a b_c,d-e"_qs, " _,-"), (QStringList{"a", "b", "c", "d", "e"}));
    EXPECT_EQ(componentsSeparatedByChars(u"16|32, 64"_qs, ",|"), (QStringList{"16", "32", " 64"}));
    // U+012C has the comma's low byte; only whole 16-bit values count.
    EXPECT_EQ(componentsSeparatedByChars(u"x\u012Cy"_qs, ","), (QStringList{u"x\u012Cy"_qs}));
    EXPECT_EQ(componentsSplitByWhiteSpace(u" a\tb\n"_qs), (QStringList{"a", "b"}));
}

TEST(StringAdditions, ByteTestsAndComparisons)
{
    EXPECT_TRUE(isNumeric(u""_qs));
    EXPECT_TRUE(isNumeric(u"0042"_qs));
    for (const QString& s : {u"-1"_qs, u"1.5"_qs, u" 1"_qs, u"１"_qs})
        EXPECT_FALSE(isNumeric(s)) << s.toStdString();
    EXPECT_FALSE(containsAlpha(u""_qs));
    EXPECT_FALSE(containsAlpha(u"12 é"_qs));
    EXPECT_TRUE(containsAlpha(u"1a"_qs));

    EXPECT_EQ(cStringComparison(u"abc"_qs, u"ABD"_qs), -1);
    EXPECT_EQ(cStringComparison(u"ABC"_qs, u"abc"_qs), 0);
    EXPECT_EQ(cStringComparison(u"abc"_qs, u"ab"_qs), 1);
    EXPECT_EQ(cStringComparison(u"é"_qs, u"z"_qs), 1) << "bytes compare unsigned";

    EXPECT_EQ(PTCompareVersions(u"1.10"_qs, u"1.9"_qs), 1);
    EXPECT_EQ(PTCompareVersions(u"1.9"_qs, u"1.10"_qs), -1);
    EXPECT_EQ(PTCompareVersions(u"2.0"_qs, u"2.0"_qs), 0);
    EXPECT_EQ(PTCompareVersions(u"2.0.1"_qs, u"2.0"_qs), 1);
    EXPECT_EQ(PTCompareVersions(u"10.0"_qs, u"9.99"_qs), 1);
    EXPECT_EQ(PTCompareVersions(u"1.123456789012345678901"_qs, u"1.123456789012345678902"_qs), -1);
}

TEST(StringAdditions, BlankTests)
{
    EXPECT_TRUE(PTStringIsBlank(QString()));
    EXPECT_TRUE(PTStringIsBlank(u" \n\t"_qs));
    EXPECT_FALSE(PTStringIsBlank(u" a "_qs));
    EXPECT_TRUE(PTStringsEqualOrBothBlank(QString(), u"  "_qs));
    EXPECT_FALSE(PTStringsEqualOrBothBlank(u"a"_qs, QString()));
    EXPECT_FALSE(PTStringsEqualOrBothBlank(u" a"_qs, u"a"_qs));
    EXPECT_TRUE(PTStringsEqualOrBothBlank(u"a"_qs, u"a"_qs));
    EXPECT_EQ(trim(u"\u00A0 name\r\n"_qs), u"name"_qs);
}

TEST(StringAdditions, URLDecoding)
{
    EXPECT_EQ(URLDecodedString(u"a%20b%C3%A9"_qs), u"a bé"_qs);
    EXPECT_EQ(URLDecodedString(u"plain+text"_qs), u"plain+text"_qs);
    EXPECT_FALSE(URLDecodedString(u"%C3"_qs)) << "half a UTF-8 sequence";
    EXPECT_FALSE(URLDecodedString(u"%zz"_qs));
    EXPECT_FALSE(URLDecodedString(u"abc%2"_qs));
}

TEST(StringAdditions, ParseFloats)
{
    const struct {
        QString input;
        std::vector<double> expected;
    } cases[] = {
        {u"10-5"_qs, {10, -5}},
        {u"1e-5"_qs, {0.00001}},
        {u"1.5.5"_qs, {1.5, 0.5}},
        {u"1..2"_qs, {1}},
        {u"a[12]"_qs, {12}},
        {u"x,y"_qs, {}},
        {u"é1"_qs, {1}},
        {u"e"_qs, {0}},
        {u"+3 -.5"_qs, {3, -0.5}},
        {u"M10,20L-3.5e2,4"_qs, {10, 20, -350, 4}},
        {u"1e999 -1e999 1e-999"_qs, {HUGE_VAL, -HUGE_VAL, 0}},
        {u""_qs, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseFloats(c.input), c.expected) << c.input.toStdString();
}
