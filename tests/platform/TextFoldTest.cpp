// The two text folds against whole-string normalisation, which they must match exactly while taking time in
// proportion to the length.
#include "platform/store/TextFold.h"

#include "TestSupport.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

using namespace pt::store;

namespace {

// Whole-string normalisation, then the marks dropped unit by unit (so marks outside the basic plane stay).
QString wholeStringComparisonFold(const QString& text)
{
    QString kept;
    for (QChar c : text.normalized(QString::NormalizationForm_D))
        if (c.category() != QChar::Mark_NonSpacing)
            kept.append(c);
    return kept.toCaseFolded();
}

// Width folded unit by unit, whole-string normalisation, then every non-spacing mark dropped.
QString wholeStringSearchFold(const QString& text)
{
    QString narrowed;
    for (QChar c : text) {
        const bool width = c.decompositionTag() == QChar::Wide || c.decompositionTag() == QChar::Narrow;
        narrowed += width ? c.decomposition() : QString(c);
    }
    QString kept;
    const QString decomposed = narrowed.normalized(QString::NormalizationForm_D);
    for (qsizetype i = 0; i < decomposed.size(); ++i) {
        const bool pair = decomposed[i].isHighSurrogate() && i + 1 < decomposed.size() && decomposed[i + 1].isLowSurrogate();
        const char32_t code = pair ? QChar::surrogateToUcs4(decomposed[i], decomposed[i + 1]) : decomposed[i].unicode();
        if (QChar::category(code) != QChar::Mark_NonSpacing)
            kept += decomposed.mid(i, pair ? 2 : 1);
        i += pair ? 1 : 0;
    }
    return kept.toCaseFolded();
}

void expectBothMatch(const QString& text)
{
    EXPECT_EQ(foldCaseAndDiacritics(text), wholeStringComparisonFold(text)) << text.toStdString();
    EXPECT_EQ(foldWidthCaseAndDiacritics(text), wholeStringSearchFold(text)) << text.toStdString();
}

} // namespace

TEST(TextFold, MatchesWholeStringNormalisationOnTrickyText)
{
    const QString cases[] = {
        u""_qs, u"plain ascii"_qs, u"MiXeD ASCII 123"_qs,
        u"Café ÅNGSTRÖM Straße \u1E9E"_qs,                               // precomposed letters, both sharp s
        u"\uFB01le \uFB00 \u01C4 \u01C5 \u2460 \u00BD"_qs,               // ligatures and other compatibility forms
        u"한국어 \uD55C\u1100\u1161\u11A8 \u1100\u1161"_qs,               // syllables and conjoining jamo
        u"ＡＲＲＯＷ Ｉｃｏｎ１２３ \u3000 ﾊﾞｯｸ ｶﾞ \uFF9E\uFF9F ￦"_qs,      // full-width and half-width forms
        u"a\u0301\u0327\u0308\u0323\u031B e\u0327\u0301 \u1EC7\u0300"_qs, // marks out of canonical order
        u"\u0344\u0301 a\u0F73\u0F71 \u0F75\u0F81 x\u0F73"_qs,             // marks and starters that decompose to marks
        u"\U0001D15E\U0001D165\U0001D16D\U0001D167 \U00011099\U000110BA"_qs, // marks and decompositions off the basic plane
        u"\U0002F800\U0002FA1D \uF900 \u2126 \u212B"_qs,                   // singleton decompositions
        u"Ελληνικά ΰ ΐ Кириллица Йй عَرَبِيّ हिन्दी \u0929 ภาษาไทย"_qs,      // mixed scripts with their marks
        u"İstanbul ΣΑΣ ǅ"_qs,
        QString(QChar(0xD800)) + u"a\u0301"_qs + QChar(0xDC00) + u"\u0301"_qs, // lone surrogates
    };
    for (const QString& text : cases)
        expectBothMatch(text);
}

// Every code point once, between a letter and marks so that ordering across it is exercised too; the marks off
// the basic plane are ones that no fold drops, so their order shows.
TEST(TextFold, MatchesWholeStringNormalisationOnEveryCodePoint)
{
    for (char32_t code = 0x80; code <= 0x10FFFF; ++code) {
        const QString text =
            u"A\U0001D16D"_qs + QString::fromUcs4(&code, 1) + u"\U0001D16D\u0301\U0001D165\U0001D167"_qs;
        if (foldCaseAndDiacritics(text) != wholeStringComparisonFold(text)
            || foldWidthCaseAndDiacritics(text) != wholeStringSearchFold(text)) {
            ADD_FAILURE() << "differs at U+" << std::hex << uint32_t(code);
            break;
        }
    }
}

// Long random runs from a pool rich in marks, starters that decompose and width forms.
TEST(TextFold, MatchesWholeStringNormalisationOnRandomRuns)
{
    const QString pool = u"\U0001D165\U0001D167\U0001D16D\U0001D15EaAéÉ\u0301\u0327\u0308\u0316\u031B\u0344\u0F71\u0F72\u0F73\u0F80\u3099ｶﾞ\uFF9EＡ한\u1100\u1161\u11A8ß\uFB01 Ω"_qs;
    QRandomGenerator random(20261210);
    for (int round = 0; round < 200; ++round) {
        QString text;
        const int length = random.bounded(1, 300);
        for (int i = 0; i < length; ++i)
            text += pool[random.bounded(int(pool.size()))]; // surrogate halves too, paired or not
        expectBothMatch(text);
    }
}
