#include "foundation/StringAdditions.h"

#include "platform/store/TextFold.h"

#include <QStringDecoder>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace stringAdditions {

namespace {

char asciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool isNumberByte(char c)
{
    return (c >= '0' && c <= '9') || c == 'e' || c == 'E' || c == '+' || c == '-' || c == '.';
}

// The longest leading number of the token, 0 when it has none; out-of-range values go to infinity or zero as
// the C library's conversion does.
double leadingNumber(const char* begin, const char* end)
{
    if (begin != end && *begin == '+') {
        ++begin;
        if (begin != end && (*begin == '+' || *begin == '-'))
            return 0.0;
    }
    double value = 0.0;
    const auto [last, error] = std::from_chars(begin, end, value, std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        const bool negative = *begin == '-';
        const char* exponent = std::find_if(begin, last, [](char c) { return c == 'e' || c == 'E'; });
        const bool tiny = exponent != last && exponent + 1 != last && exponent[1] == '-';
        const double magnitude = tiny ? 0.0 : std::numeric_limits<double>::infinity();
        return negative ? -magnitude : magnitude;
    }
    return error == std::errc() ? value : 0.0;
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

QString normalizedString(const QString& string)
{
    return pt::store::foldWidthCaseAndDiacritics(string);
}

QString trim(const QString& string)
{
    return string.trimmed();
}

QStringList componentsSeparatedByChars(const QString& string, const char* separators)
{
    const size_t separatorCount = std::strlen(separators);
    auto isSeparator = [&](QChar c) {
        for (size_t i = 0; i < separatorCount; ++i) {
            if (c.unicode() == static_cast<unsigned char>(separators[i]))
                return true;
        }
        return false;
    };
    QStringList parts;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= string.size(); ++i) {
        if (i == string.size() || isSeparator(string.at(i))) {
            if (i > start)
                parts.append(string.mid(start, i - start));
            start = i + 1;
        }
    }
    return parts;
}

QStringList componentsSplitByWhiteSpace(const QString& string)
{
    return componentsSeparatedByChars(string, "\t\n\r ");
}

bool isNumeric(const QString& string)
{
    const QByteArray utf8 = string.toUtf8();
    return std::all_of(utf8.cbegin(), utf8.cend(), [](char c) { return c >= '0' && c <= '9'; });
}

bool containsAlpha(const QString& string)
{
    const QByteArray utf8 = string.toUtf8();
    return std::any_of(utf8.cbegin(), utf8.cend(),
                       [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); });
}

int cStringComparison(const QString& string, const QString& other)
{
    const QByteArray a = string.toUtf8();
    const QByteArray b = other.toUtf8();
    const qsizetype common = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < common; ++i) {
        const auto x = static_cast<unsigned char>(asciiLower(a.at(i)));
        const auto y = static_cast<unsigned char>(asciiLower(b.at(i)));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

std::optional<QString> URLDecodedString(const QString& string)
{
    const QByteArray utf8 = string.toUtf8();
    QByteArray bytes;
    bytes.reserve(utf8.size());
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        if (utf8.at(i) != '%') {
            bytes.append(utf8.at(i));
            continue;
        }
        if (i + 2 >= utf8.size())
            return std::nullopt;
        const int high = hexValue(utf8.at(i + 1));
        const int low = hexValue(utf8.at(i + 2));
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes.append(char(high * 16 + low));
        i += 2;
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString decoded = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return decoded;
}

std::vector<double> parseFloats(const QString& string)
{
    const QByteArray utf8 = string.toUtf8();
    std::vector<double> numbers;
    QByteArray token;
    bool tokenHasDot = false;
    auto endToken = [&] {
        if (!token.isEmpty())
            numbers.push_back(leadingNumber(token.cbegin(), token.cend()));
        token.clear();
        tokenHasDot = false;
    };
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        const char c = utf8.at(i);
        if (!isNumberByte(c)) {
            endToken();
            continue;
        }
        const bool hadDot = tokenHasDot;
        token.append(c);
        tokenHasDot = tokenHasDot || c == '.';
        const bool last = i + 1 == utf8.size();
        const char next = last ? '\0' : utf8.at(i + 1);
        if (last || ((next == '+' || next == '-') && c != 'e' && c != 'E') || (next == '.' && hadDot))
            endToken();
    }
    return numbers;
}

} // namespace stringAdditions

bool PTStringIsBlank(const QString& string)
{
    return string.isNull() || stringAdditions::trim(string).isEmpty();
}

bool PTStringsEqualOrBothBlank(const QString& first, const QString& second)
{
    if (PTStringIsBlank(first) && PTStringIsBlank(second))
        return true;
    return !first.isNull() && first == second;
}

int PTCompareVersions(const QString& first, const QString& second)
{
    auto isDigit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < first.size() && j < second.size()) {
        if (isDigit(first.at(i)) && isDigit(second.at(j))) {
            // Compare the digit runs as numbers of any length: skip leading zeros, then the longer run wins,
            // then the first differing digit.
            while (i < first.size() && first.at(i) == u'0')
                ++i;
            while (j < second.size() && second.at(j) == u'0')
                ++j;
            qsizetype endI = i;
            qsizetype endJ = j;
            while (endI < first.size() && isDigit(first.at(endI)))
                ++endI;
            while (endJ < second.size() && isDigit(second.at(endJ)))
                ++endJ;
            if (endI - i != endJ - j)
                return endI - i > endJ - j ? 1 : -1;
            const int order = QStringView(first).mid(i, endI - i).compare(QStringView(second).mid(j, endJ - j));
            if (order != 0)
                return order > 0 ? 1 : -1;
            i = endI;
            j = endJ;
            continue;
        }
        if (first.at(i) != second.at(j))
            return first.at(i) > second.at(j) ? 1 : -1;
        ++i;
        ++j;
    }
    const bool firstLeft = i < first.size();
    const bool secondLeft = j < second.size();
    return firstLeft == secondLeft ? 0 : (firstLeft ? 1 : -1);
}
