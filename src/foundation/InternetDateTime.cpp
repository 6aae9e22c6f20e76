#include "foundation/InternetDateTime.h"

#include "platform/runtime/Logging.h"

#include <QHash>
#include <QRegularExpression>

namespace internetDateTime {

namespace {

// Offsets in minutes east of UTC.
std::optional<int> zoneOffset(const QString& zone)
{
    static const QHash<QString, int> named{{"GMT", 0},       {"UT", 0},        {"UTC", 0},       {"Z", 0},
                                           {"EST", -5 * 60}, {"EDT", -4 * 60}, {"CST", -6 * 60}, {"CDT", -5 * 60},
                                           {"MST", -7 * 60}, {"MDT", -6 * 60}, {"PST", -8 * 60}, {"PDT", -7 * 60}};
    if (zone.isEmpty())
        return 0;
    if (const auto it = named.constFind(zone); it != named.cend())
        return *it;
    static const QRegularExpression numeric(QStringLiteral("^([+-])(\\d{2}):?(\\d{2})$"));
    const QRegularExpressionMatch match = numeric.match(zone);
    if (!match.hasMatch())
        return std::nullopt;
    const int minutes = match.captured(2).toInt() * 60 + match.captured(3).toInt();
    return match.captured(1) == u"-" ? -minutes : minutes;
}

int monthNumber(const QString& name)
{
    static const QStringList months{"JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    return int(months.indexOf(name.left(3))) + 1;
}

std::optional<QDateTime> utcDate(int year, int month, int day, int hour, int minute, int second, int msecs,
                                 int offsetMinutes)
{
    const QDate date(year, month, day);
    const QTime time(hour, minute, second, msecs);
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return QDateTime(date, time, Qt::UTC).addSecs(-qint64(offsetMinutes) * 60);
}

std::optional<QDateTime> parseRFC822(const QString& text, Forms forms)
{
    static const QRegularExpression form(QStringLiteral(
        "^(?:([A-Z]{3,9}),\\s*)?(\\d{1,2})\\s+([A-Z]{3,9})(,?)\\s+(\\d{2}|\\d{4})\\s+(\\d{1,2}):(\\d{2})(?::(\\d{2}))?"
        "(?:\\s+(\\S+))?$"));
    const QRegularExpressionMatch match = form.match(text.trimmed().toUpper());
    if (!match.hasMatch())
        return std::nullopt;
    const bool weekday = !match.captured(1).isEmpty();
    const bool twoDigitYear = match.captured(5).size() == 2;
    if (twoDigitYear && !weekday)
        return std::nullopt; // two-digit years only in the form with a weekday
    if (forms == Forms::DateHelper
        && (!match.captured(4).isEmpty() || (weekday && match.captured(9).isEmpty())
            || (twoDigitYear && match.captured(8).isEmpty())))
        return std::nullopt;
    const int month = monthNumber(match.captured(3));
    const auto offset = zoneOffset(match.captured(9));
    if (month == 0 || !offset)
        return std::nullopt;
    int year = match.captured(5).toInt();
    if (twoDigitYear)
        year += year < 50 ? 2000 : 1900;
    return utcDate(year, month, match.captured(2).toInt(), match.captured(6).toInt(), match.captured(7).toInt(),
                   match.captured(8).toInt(), 0, *offset);
}

std::optional<QDateTime> parseRFC3339(const QString& text)
{
    static const QRegularExpression form(QStringLiteral(
        "^(\\d{4})-(\\d{2})-(\\d{2})T(\\d{2}):(\\d{2}):(\\d{2})(?:\\.(\\d{1,9}))?(Z|[+-]\\d{2}:?\\d{2})?$"));
    const QRegularExpressionMatch match = form.match(text.trimmed().toUpper());
    if (!match.hasMatch())
        return std::nullopt;
    const auto offset = zoneOffset(match.captured(8));
    if (!offset)
        return std::nullopt;
    const int msecs = (match.captured(7) + QStringLiteral("00")).left(3).toInt();
    return utcDate(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt(),
                   match.captured(4).toInt(), match.captured(5).toInt(), match.captured(6).toInt(), msecs, *offset);
}

} // namespace

std::optional<QDateTime> dateFromRFC822String(const QString& text)
{
    const auto date = parseRFC822(text, Forms::Feed);
    if (!date)
        qCInfo(lcFoundation).noquote() << QStringLiteral("Could not parse RFC822 date: \"%1\" Possible invalid format.").arg(text);
    return date;
}

std::optional<QDateTime> dateFromRFC3339String(const QString& text)
{
    const auto date = parseRFC3339(text);
    if (!date)
        qCInfo(lcFoundation).noquote() << QStringLiteral("Could not parse RFC3339 date: \"%1\" Possible invalid format.").arg(text);
    return date;
}

std::optional<QDateTime> parseInternetDateTime(const QString& text, Forms forms)
{
    if (auto date = parseRFC3339(text))
        return date;
    return parseRFC822(text, forms);
}

std::optional<QDateTime> dateFromInternetDateTimeString(const QString& text, DateFormatHint hint)
{
    if (text.isNull())
        return std::nullopt;
    if (hint == DateFormatHint::RFC3339) {
        if (auto date = dateFromRFC3339String(text))
            return date;
        return dateFromRFC822String(text);
    }
    if (auto date = dateFromRFC822String(text))
        return date;
    return dateFromRFC3339String(text);
}

} // namespace internetDateTime
