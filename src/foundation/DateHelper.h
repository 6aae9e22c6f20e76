#pragma once

#include <QCalendar>
#include <QDateTime>
#include <QString>

#include <optional>

// Dates as the program shows and stores them. Every function that compares with "now" takes it as an argument
// (defaulting to the current time), so tests can fix it.
namespace dateHelper {

// The date formatted with a strftime pattern in the C locale ("%d %b %Y" stays "05 Mar 2024" under any
// locale): local wall-clock time, or UTC wall-clock time with localise.
QString stringWithFormat(const QDateTime& date, const QString& format, bool localise);
// The reverse: text read with a strptime pattern in the C locale as local (or, with localise, UTC) time;
// nothing when it does not parse.
std::optional<QDateTime> dateFromString(const QString& text, const QString& format, bool localise);

// Whole calendar days from the date's day back to today's: 0 today, 1 yesterday, negative for later days.
// Counted on the calendar, so a daylight-saving change in between does not shift it.
qint64 daysAgoFromMidnight(const QDateTime& date, const QDateTime& now = QDateTime::currentDateTime());
// The start of the date's local day.
QDateTime midnightDate(const QDateTime& date);
// (date − now) in whole days of 86400 seconds, truncated: positive for the future.
qint64 daysAgo(const QDateTime& date, const QDateTime& now = QDateTime::currentDateTime());

// A label relative to today and its sort key: "Upcoming" (-10000), "Today" (0), "Yesterday" (10000),
// "%1 days ago" for 2 to 6 days (20000 + d), then weeks (30000 + d/7), months of 28 days (40000 + d/28) and
// years of 336 days (50000 + d/336), with the plural "s" from 2 on.
QString daysString(const QDateTime& date, qint64* sortKey, const QDateTime& now = QDateTime::currentDateTime());

// The date shifted by the local zone's current offset from UTC: its UTC wall-clock reading then shows local time.
QDateTime localDate(const QDateTime& date, const QDateTime& now = QDateTime::currentDateTime());
// `now` moved by whole calendar days (day numbers are Gregorian), keeping its local wall-clock time across
// daylight-saving changes.
QDateTime dateByAddingNumberOfDays(qint64 days, const QDateTime& now = QDateTime::currentDateTime());
// The one shared Gregorian calendar.
const QCalendar& gregorianCalendar();
// The monotonic clock in nanoseconds, for measuring intervals.
double microtime();

// RFC 3339 or one of the RFC 822 forms of this reader (see internetDateTime::Forms); nothing, and no log, when
// neither reads. Texts without a zone are taken as UTC.
std::optional<QDateTime> dateFromInternetDateTimeString(const QString& text);

} // namespace dateHelper
