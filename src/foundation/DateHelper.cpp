#include "foundation/DateHelper.h"

#include "foundation/InternetDateTime.h"

#include <chrono>

#include <clocale>
#include <ctime>
#include <locale.h>

namespace dateHelper {

namespace {

// Month and weekday names must not follow the user's locale: stored and shown dates are English.
locale_t cLocale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

// Longer results than this are patterns gone wrong, not dates.
constexpr size_t MaxFormatted = 4096;

} // namespace

QString stringWithFormat(const QDateTime& date, const QString& format, bool localise)
{
    const time_t seconds = static_cast<time_t>(date.toSecsSinceEpoch());
    std::tm parts{};
    if (localise)
        gmtime_r(&seconds, &parts);
    else
        localtime_r(&seconds, &parts);
    const QByteArray pattern = format.toUtf8();
    if (pattern.isEmpty())
        return QString();
    for (size_t size = 256; size <= MaxFormatted; size *= 2) {
        QByteArray buffer(qsizetype(size), Qt::Uninitialized);
        const size_t length = strftime_l(buffer.data(), size, pattern.constData(), &parts, cLocale());
        if (length > 0)
            return QString::fromUtf8(buffer.constData(), qsizetype(length));
    }
    return QString();
}

std::optional<QDateTime> dateFromString(const QString& text, const QString& format, bool localise)
{
    const QByteArray input = text.toUtf8();
    const QByteArray pattern = format.toUtf8();
    std::tm parts{};
    // strptime has no _l form; switch this thread's locale to C around it.
    const locale_t previous = uselocale(cLocale());
    const char* end = strptime(input.constData(), pattern.constData(), &parts);
    uselocale(previous);
    if (!end)
        return std::nullopt;
    parts.tm_isdst = -1;
    const time_t seconds = localise ? timegm(&parts) : mktime(&parts);
    return QDateTime::fromSecsSinceEpoch(qint64(seconds));
}

qint64 daysAgoFromMidnight(const QDateTime& date, const QDateTime& now)
{
    return date.toLocalTime().date().daysTo(now.toLocalTime().date());
}

QDateTime midnightDate(const QDateTime& date)
{
    return date.toLocalTime().date().startOfDay();
}

qint64 daysAgo(const QDateTime& date, const QDateTime& now)
{
    return now.secsTo(date) / 86400;
}

QString daysString(const QDateTime& date, qint64* sortKey, const QDateTime& now)
{
    const qint64 days = daysAgoFromMidnight(date, now);
    auto answer = [&](qint64 key, const QString& text) {
        if (sortKey)
            *sortKey = key;
        return text;
    };
    auto plural = [](qint64 count) { return count >= 2 ? QStringLiteral("s") : QString(); };
    if (days < 0)
        return answer(-10000, QStringLiteral("Upcoming"));
    if (days == 0)
        return answer(0, QStringLiteral("Today"));
    if (days == 1)
        return answer(10000, QStringLiteral("Yesterday"));
    if (days < 7)
        return answer(20000 + days, QStringLiteral("%1 days ago").arg(days));
    if (days < 28)
        return answer(30000 + days / 7, QStringLiteral("%1 week%2 ago").arg(days / 7).arg(plural(days / 7)));
    if (days < 336)
        return answer(40000 + days / 28, QStringLiteral("%1 month%2 ago").arg(days / 28).arg(plural(days / 28)));
    return answer(50000 + days / 336, QStringLiteral("%1 year%2 ago").arg(days / 336).arg(plural(days / 336)));
}

QDateTime localDate(const QDateTime& date, const QDateTime& now)
{
    return date.addSecs(now.toLocalTime().offsetFromUtc());
}

QDateTime dateByAddingNumberOfDays(qint64 days, const QDateTime& now)
{
    const QDateTime local = now.toLocalTime();
    const QDate day = local.date().addDays(days);
    return QDateTime(day, local.time(), Qt::LocalTime);
}

const QCalendar& gregorianCalendar()
{
    static const QCalendar calendar(QCalendar::System::Gregorian);
    return calendar;
}

double microtime()
{
    return double(std::chrono::duration_cast<std::chrono::nanoseconds>(
                      std::chrono::steady_clock::now().time_since_epoch())
                      .count());
}

std::optional<QDateTime> dateFromInternetDateTimeString(const QString& text)
{
    if (text.isNull())
        return std::nullopt;
    return internetDateTime::parseInternetDateTime(text, internetDateTime::Forms::DateHelper);
}

} // namespace dateHelper
