#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

// How long ago a date was, in words. Texts and month names are English (C locale) like the rest of the program.
namespace timeAgo {

// "In The Future", "Just now" (under a minute), "1 minute ago" / "%1 minutes ago", then on the same day
// "1 hour ago" / "%1 hours ago", "Yesterday at 5:03 PM", within a week "Monday at 5:03 PM", within 31 days
// "March 4 at 5:03 PM", within a year "March 4", else "March 4, 2023".
QString formattedAsTimeAgo(const QDateTime& date, const QDateTime& now = QDateTime::currentDateTime());
// The same for a "yyyy-MM-dd HH:mm:ss" local time text; a null string when it does not parse.
QString mysqlDatetimeFormattedAsTimeAgo(const QString& text, const QDateTime& now = QDateTime::currentDateTime());

// Both fall on the same local calendar day.
bool isSameDayAs(const QDateTime& date, const QDateTime& other);
// The date falls on the local calendar day before now's.
bool isYesterday(const QDateTime& date, const QDateTime& now);
QDateTime dateBySubtractingDays(const QDateTime& date, qint64 days);

// The steps of formattedAsTimeAgo, by seconds ago: under a week, under 31 days, under a year.
bool isLastWeek(qint64 secondsAgo);
bool isLastMonth(qint64 secondsAgo);
bool isLastYear(qint64 secondsAgo);
QString formatMinutesAgo(qint64 secondsAgo);
QString formatAsToday(qint64 secondsAgo);
QString formatAsYesterday(const QDateTime& date);
QString formatAsLastWeek(const QDateTime& date);
QString formatAsLastMonth(const QDateTime& date);
QString formatAsLastYear(const QDateTime& date);
QString formatAsOther(const QDateTime& date);

// Logs (and answers) one "label: text" line for each of 19 fixed offsets from now, from a second ahead to a
// year and a second ago: a look at every branch at once.
QStringList runTests(const QDateTime& now = QDateTime::currentDateTime());

} // namespace timeAgo
