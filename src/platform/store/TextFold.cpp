#include "platform/store/TextFold.h"

#include <algorithm>
#include <string>

namespace pt::store {

namespace {

enum class Form { Comparison, Search };

// Calls `use` with each code point of the text; a lone surrogate stands for itself.
template <typename Use>
void forEachCodePoint(QStringView text, Use use)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            use(QChar::surrogateToUcs4(c, text[i + 1]));
            ++i;
        } else {
            use(char32_t(c.unicode()));
        }
    }
}

// Appends the full canonical decomposition of one code point.
void appendDecomposed(char32_t code, std::u32string& out)
{
    if (code < 0xC0 || QChar::decompositionTag(code) != QChar::Canonical) {
        out += code;
        return;
    }
    forEachCodePoint(QChar::decomposition(code), [&](char32_t part) { appendDecomposed(part, out); });
}

// Puts each run of combining marks into canonical order: by combining class, equal classes keeping their order.
void orderMarks(std::u32string& text)
{
    const auto markClass = [](char32_t code) { return QChar::combiningClass(code); };
    for (auto run = text.begin(); run != text.end();) {
        if (markClass(*run) == 0) {
            ++run;
            continue;
        }
        const auto end = std::find_if(run, text.end(), [&](char32_t code) { return markClass(code) == 0; });
        if (end - run > 1)
            std::stable_sort(run, end, [&](char32_t a, char32_t b) { return markClass(a) < markClass(b); });
        run = end;
    }
}

// Whole-string normalisation inserts each decomposition into the string and orders marks by swapping
// neighbours, which takes minutes on a long description; here every code point decomposes on its own and only
// the runs of marks between two starters are sorted, so the time grows with the length.
QString fold(const QString& text, Form form)
{
    if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; }))
        return text.toLower();
    std::u32string decomposed;
    decomposed.reserve(size_t(text.size()) * 2);
    forEachCodePoint(text, [&](char32_t code) {
        // Full-width and half-width forms (and the ideographic space) are tagged Wide or Narrow; nothing below
        // U+3000 carries either tag. Width goes first: a half-width voiced kana decomposes to a combining mark.
        const QChar::Decomposition tag = QChar::decompositionTag(code);
        if (form == Form::Search && code >= 0x3000 && (tag == QChar::Wide || tag == QChar::Narrow))
            forEachCodePoint(QChar::decomposition(code), [&](char32_t part) { appendDecomposed(part, decomposed); });
        else
            appendDecomposed(code, decomposed);
    });
    orderMarks(decomposed);
    // The comparison form has always kept the marks outside the basic plane.
    const char32_t lastDropped = form == Form::Search ? 0x10FFFF : 0xFFFF;
    QString result;
    result.reserve(qsizetype(decomposed.size()));
    for (const char32_t code : decomposed) {
        if (code <= lastDropped && QChar::category(code) == QChar::Mark_NonSpacing)
            continue;
        if (QChar::requiresSurrogates(code)) {
            result += QChar(QChar::highSurrogate(code));
            result += QChar(QChar::lowSurrogate(code));
        } else {
            result += QChar(char16_t(code));
        }
    }
    return result.toCaseFolded();
}

} // namespace

QString foldCaseAndDiacritics(const QString& text)
{
    return fold(text, Form::Comparison);
}

QString foldWidthCaseAndDiacritics(const QString& text)
{
    return fold(text, Form::Search);
}

} // namespace pt::store
