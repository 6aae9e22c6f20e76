#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// Text operations shared by the whole program. The normal form below is the only one: stored search copies and
// search terms must both come from normalizedString.
namespace stringAdditions {

// The search normal form: full-width and half-width forms folded to their ordinary width, canonical
// decomposition, non-spacing marks dropped, simple case folding. No other compatibility folding: a ligature stays
// itself and "ß" stays "ß". Nothing is trimmed. Applying it twice changes nothing.
QString normalizedString(const QString& string);

// The string without white space and new lines at either end.
QString trim(const QString& string);

// The runs of characters between separators, in order, never an empty run. A UTF-16 unit is a separator only
// when its whole value equals one of the separator bytes; the parts are copied as they are.
QStringList componentsSeparatedByChars(const QString& string, const char* separators);
// componentsSeparatedByChars at tab, line feed, carriage return and space.
QStringList componentsSplitByWhiteSpace(const QString& string);

// True when every byte of the UTF-8 form is an ASCII digit (so true for the empty string).
bool isNumeric(const QString& string);
// True when some byte of the UTF-8 form is an ASCII letter.
bool containsAlpha(const QString& string);
// Byte-wise comparison of the UTF-8 forms with ASCII case ignored: -1, 0 or 1. The comparator of name sorts.
int cStringComparison(const QString& string, const QString& other);
// Percent escapes replaced by the bytes they stand for, read as UTF-8; nothing when an escape is malformed or
// the bytes are not UTF-8.
std::optional<QString> URLDecodedString(const QString& string);
// Every number in the string, in order: runs of "0123456789eE+-." bytes of the UTF-8 form, where a sign not
// after an exponent letter and a second decimal point start a new number; each run is read as its longest
// leading number (0 when it has none). "10-5" gives 10 and -5, "1.5.5" gives 1.5 and 0.5, "x,y" nothing.
std::vector<double> parseFloats(const QString& string);

} // namespace stringAdditions

// True for a null string or one that is empty once trimmed.
bool PTStringIsBlank(const QString& string);
// True when both are blank; otherwise whether they are equal as they are (false when the first is null).
bool PTStringsEqualOrBothBlank(const QString& first, const QString& second);
// Compares version strings with digit runs taken as numbers ("1.10" is later than "1.9"): 1 when the first is
// later, -1 when earlier, 0 when equal.
int PTCompareVersions(const QString& first, const QString& second);
