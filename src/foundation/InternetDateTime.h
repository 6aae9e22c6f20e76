#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

// Dates of feeds and web services: RFC 822 ("Mon, 1 Jun 2015 10:20:30 GMT") and RFC 3339
// ("2015-06-01T10:20:30+02:00"). Texts without a zone are taken as UTC.
namespace internetDateTime {

enum class DateFormatHint { None = 0, RFC822 = 1, RFC3339 = 2 };

// The RFC 822 forms each reader takes. Feeds: the weekday is optional, seconds too, the year may have two digits
// after a weekday, and a comma may follow the month ("Monday, 1 June, 2015 10:20"). The date helper's own
// reader: a weekday needs a zone, a two-digit year needs seconds, and no comma follows the month.
enum class Forms { Feed, DateHelper };

// RFC 3339, then RFC 822 in the reader's forms; logs nothing.
std::optional<QDateTime> parseInternetDateTime(const QString& text, Forms forms);

// Tries the hinted form first, then the other; nothing when neither reads.
std::optional<QDateTime> dateFromInternetDateTimeString(const QString& text, DateFormatHint hint = DateFormatHint::None);
// The weekday is optional, seconds too, the year may have two digits after a weekday; zones are GMT, UT, UTC,
// Z, the North American abbreviations or +hhmm. Logs what it cannot read.
std::optional<QDateTime> dateFromRFC822String(const QString& text);
// With "T" or "t", optional fractional seconds, and Z, +hh:mm, +hhmm or no offset. Logs what it cannot read.
std::optional<QDateTime> dateFromRFC3339String(const QString& text);

} // namespace internetDateTime
