#pragma once

#include <QDateTime>
#include <QString>

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

} // namespace timeAgo
