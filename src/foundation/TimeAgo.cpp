#include "foundation/TimeAgo.h"

#include <QLocale>

namespace timeAgo {

namespace {

constexpr qint64 Week = 604800;
constexpr qint64 Month = 2678400;  // 31 days
constexpr qint64 Year = 31556736;

QString formatted(const QDateTime& date, const QString& pattern)
{
    return QLocale::c().toString(date.toLocalTime(), pattern);
}

} // namespace

QString formattedAsTimeAgo(const QDateTime& date, const QDateTime& now)
{
    const qint64 since = now.secsTo(date);
    const qint64 ago = -since;
    if (since >= 1)
        return QStringLiteral("In The Future");
    if (ago < 60)
        return QStringLiteral("Just now");
    if (ago < 3600)
        return ago < 120 ? QStringLiteral("1 minute ago") : QStringLiteral("%1 minutes ago").arg(ago / 60);
    if (isSameDayAs(date, now))
        return ago < 7200 ? QStringLiteral("1 hour ago") : QStringLiteral("%1 hours ago").arg(ago / 3600);
    if (isYesterday(date, now))
        return QStringLiteral("Yesterday at %1").arg(formatted(date, QStringLiteral("h:mm AP")));
    if (ago < Week)
        return formatted(date, QStringLiteral("dddd 'at' h:mm AP"));
    if (ago < Month)
        return formatted(date, QStringLiteral("MMMM d 'at' h:mm AP"));
    if (ago < Year)
        return formatted(date, QStringLiteral("MMMM d"));
    return formatted(date, QStringLiteral("MMMM d, yyyy"));
}

QString mysqlDatetimeFormattedAsTimeAgo(const QString& text, const QDateTime& now)
{
    const QDateTime date = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return date.isValid() ? formattedAsTimeAgo(date, now) : QString();
}

bool isSameDayAs(const QDateTime& date, const QDateTime& other)
{
    return date.toLocalTime().date() == other.toLocalTime().date();
}

bool isYesterday(const QDateTime& date, const QDateTime& now)
{
    return date.toLocalTime().date() == now.toLocalTime().date().addDays(-1);
}

QDateTime dateBySubtractingDays(const QDateTime& date, qint64 days)
{
    return date.addSecs(-days * 86400);
}

} // namespace timeAgo
