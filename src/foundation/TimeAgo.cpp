#include "foundation/TimeAgo.h"

#include "platform/runtime/Logging.h"

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
        return formatMinutesAgo(ago);
    if (isSameDayAs(date, now))
        return formatAsToday(ago);
    if (isYesterday(date, now))
        return formatAsYesterday(date);
    if (isLastWeek(ago))
        return formatAsLastWeek(date);
    if (isLastMonth(ago))
        return formatAsLastMonth(date);
    if (isLastYear(ago))
        return formatAsLastYear(date);
    return formatAsOther(date);
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

bool isLastWeek(qint64 secondsAgo) { return secondsAgo < Week; }
bool isLastMonth(qint64 secondsAgo) { return secondsAgo < Month; }
bool isLastYear(qint64 secondsAgo) { return secondsAgo < Year; }

QString formatMinutesAgo(qint64 secondsAgo)
{
    return secondsAgo < 120 ? QStringLiteral("1 minute ago") : QStringLiteral("%1 minutes ago").arg(secondsAgo / 60);
}

QString formatAsToday(qint64 secondsAgo)
{
    return secondsAgo < 7200 ? QStringLiteral("1 hour ago") : QStringLiteral("%1 hours ago").arg(secondsAgo / 3600);
}

QString formatAsYesterday(const QDateTime& date)
{
    return QStringLiteral("Yesterday at %1").arg(formatted(date, QStringLiteral("h:mm AP")));
}

QString formatAsLastWeek(const QDateTime& date) { return formatted(date, QStringLiteral("dddd 'at' h:mm AP")); }
QString formatAsLastMonth(const QDateTime& date) { return formatted(date, QStringLiteral("MMMM d 'at' h:mm AP")); }
QString formatAsLastYear(const QDateTime& date) { return formatted(date, QStringLiteral("MMMM d")); }
QString formatAsOther(const QDateTime& date) { return formatted(date, QStringLiteral("MMMM d, yyyy")); }

QStringList runTests(const QDateTime& now)
{
    struct Offset {
        const char* label;
        qint64 seconds;
    };
    static constexpr qint64 Day = 86400;
    static constexpr Offset offsets[] = {
        {"in one second", 1},
        {"now", 0},
        {"1 second ago", -1},
        {"10 seconds ago", -10},
        {"1 minute ago", -60},
        {"2 minutes ago", -120},
        {"1 hour ago", -3600},
        {"2 hours ago", -7200},
        {"1 day ago", -Day},
        {"1 day and 3 seconds ago", -Day - 3},
        {"2 days ago", -2 * Day},
        {"3 days ago", -3 * Day},
        {"5 days ago", -5 * Day},
        {"6 days ago", -6 * Day},
        {"7 days less a second ago", -(Week - 1)},
        {"10 days ago", -10 * Day},
        {"a month and a second ago", -(Month + 1)},
        {"a year less a second ago", -(Year - 1)},
        {"a year and a second ago", -(Year + 1)},
    };
    QStringList lines;
    for (const Offset& offset : offsets) {
        lines.append(QStringLiteral("%1: %2").arg(QLatin1String(offset.label),
                                                  formattedAsTimeAgo(now.addSecs(offset.seconds), now)));
        qCInfo(lcFoundation).noquote() << lines.last();
    }
    return lines;
}

} // namespace timeAgo
