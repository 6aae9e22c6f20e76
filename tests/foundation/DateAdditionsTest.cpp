#include "foundation/DateHelper.h"
#include "foundation/TimeAgo.h"


#include <gtest/gtest.h>

#include <clocale>
#include <ctime>

namespace {

// Runs a test in Berlin time, where 2025-03-30 has 23 hours and 2025-10-26 has 25.
class BerlinTime : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = qgetenv("TZ");
        hadTz_ = qEnvironmentVariableIsSet("TZ");
        qputenv("TZ", "Europe/Berlin");
        tzset();
    }
    void TearDown() override
    {
        if (hadTz_)
            qputenv("TZ", saved_);
        else
            qunsetenv("TZ");
        tzset();
    }
    static QDateTime at(int year, int month, int day, int hour, int minute = 0, int second = 0)
    {
        return QDateTime(QDate(year, month, day), QTime(hour, minute, second), Qt::LocalTime);
    }

private:
    QByteArray saved_;
    bool hadTz_ = false;
};

} // namespace

TEST_F(BerlinTime, DaysStringBoundaries)
{
    const QDateTime now = at(2025, 6, 15, 10);
    const QDateTime midnight = at(2025, 6, 15, 0);
    const struct {
        QDateTime date;
        const char* label;
        qint64 key;
    } cases[] = {
        {now.addSecs(3600), "Today", 0},
        {midnight, "Today", 0},
        {midnight.addSecs(-1), "Yesterday", 10000},
        {midnight.addDays(-2), "2 days ago", 20002},
        {midnight.addDays(-6), "6 days ago", 20006},
        {midnight.addDays(-7), "1 week ago", 30001},
        {midnight.addDays(-13), "1 week ago", 30001},
        {midnight.addDays(-14), "2 weeks ago", 30002},
        {midnight.addDays(-28), "1 month ago", 40001},
        {midnight.addDays(-56), "2 months ago", 40002},
        {midnight.addDays(-400), "1 year ago", 50001},
        {midnight.addDays(-700), "2 years ago", 50002},
        {midnight.addDays(1), "Upcoming", -10000},
    };
    for (const auto& c : cases) {
        qint64 key = 12345;
        EXPECT_EQ(dateHelper::daysString(c.date, &key, now), QString::fromLatin1(c.label)) << c.date.toString().toStdString();
        EXPECT_EQ(key, c.key) << c.label;
    }
}

TEST_F(BerlinTime, DayCountsFollowTheCalendarAcrossDaylightSaving)
{
    // Spring: 2025-03-30 lasts 23 hours. 47.5 hours after the start of the 29th it is already the 31st.
    EXPECT_EQ(dateHelper::daysAgoFromMidnight(at(2025, 3, 29, 12), at(2025, 3, 31, 0, 30)), 2);
    EXPECT_EQ(dateHelper::daysAgoFromMidnight(at(2025, 3, 30, 12), at(2025, 3, 31, 0, 30)), 1);
    // Autumn: 2025-10-26 lasts 25 hours. 48.5 hours after its start it is only the 27th.
    EXPECT_EQ(dateHelper::daysAgoFromMidnight(at(2025, 10, 26, 0), at(2025, 10, 27, 23, 30)), 1);
    qint64 key = 0;
    EXPECT_EQ(dateHelper::daysString(at(2025, 10, 26, 0), &key, at(2025, 10, 27, 23, 30)), QStringLiteral("Yesterday"));

    EXPECT_EQ(timeAgo::formattedAsTimeAgo(at(2025, 3, 30, 12), at(2025, 3, 31, 0, 30)),
              QStringLiteral("Yesterday at 12:00 PM"));
    EXPECT_TRUE(timeAgo::isYesterday(at(2025, 10, 26, 0, 10), at(2025, 10, 27, 23, 50)));
    EXPECT_EQ(dateHelper::midnightDate(at(2025, 3, 30, 12)), at(2025, 3, 30, 0));
}

TEST_F(BerlinTime, TimeAgoTexts)
{
    const QDateTime now = at(2025, 6, 15, 18, 30);
    const struct {
        qint64 secondsAgo;
        const char* text;
    } cases[] = {
        {-5, "In The Future"},
        {0, "Just now"},
        {59, "Just now"},
        {90, "1 minute ago"},
        {150, "2 minutes ago"},
        {3599, "59 minutes ago"},
        {3 * 3600, "3 hours ago"},
        {5400, "1 hour ago"},
        {20 * 3600, "Yesterday at 10:30 PM"},
        {3 * 86400, "Thursday at 6:30 PM"},
        {20 * 86400, "May 26 at 6:30 PM"},
        {100 * 86400, "March 7"},
        {400 * 86400, "May 11, 2024"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(timeAgo::formattedAsTimeAgo(now.addSecs(-c.secondsAgo), now), QString::fromLatin1(c.text)) << c.secondsAgo;
    EXPECT_EQ(timeAgo::mysqlDatetimeFormattedAsTimeAgo("2025-06-15 18:28:00", now), QStringLiteral("2 minutes ago"));
    EXPECT_TRUE(timeAgo::mysqlDatetimeFormattedAsTimeAgo("not a date", now).isNull());
}

TEST_F(BerlinTime, TimeAgoStepsAndTheirOverview)
{
    const struct {
        bool (*test)(qint64);
        qint64 limit;
    } steps[] = {{timeAgo::isLastWeek, 604800}, {timeAgo::isLastMonth, 2678400}, {timeAgo::isLastYear, 31556736}};
    for (const auto& step : steps) {
        EXPECT_TRUE(step.test(step.limit - 1)) << step.limit;
        EXPECT_FALSE(step.test(step.limit)) << step.limit;
    }

    const QStringList lines = timeAgo::runTests(at(2025, 6, 15, 18, 30));
    ASSERT_EQ(lines.size(), 19);
    EXPECT_EQ(lines.first(), QStringLiteral("in one second: In The Future"));
    EXPECT_EQ(lines[3], QStringLiteral("10 seconds ago: Just now"));
    EXPECT_EQ(lines[9], QStringLiteral("1 day and 3 seconds ago: Yesterday at 6:29 PM"));
    EXPECT_EQ(lines.last(), QStringLiteral("a year and a second ago: June 15, 2024"));
}

TEST_F(BerlinTime, StrftimeFormattingIsLocaleFree)
{
    const QDateTime date = QDateTime(QDate(2024, 3, 5), QTime(13, 4, 5), Qt::UTC);
    EXPECT_EQ(dateHelper::stringWithFormat(date, "%Y-%m-%d %H:%M:%S", false), QStringLiteral("2024-03-05 14:04:05"))
        << "local wall-clock time";
    EXPECT_EQ(dateHelper::stringWithFormat(date, "%Y-%m-%d %H:%M:%S", true), QStringLiteral("2024-03-05 13:04:05"));
    EXPECT_EQ(dateHelper::dateFromString("2024-03-05 14:04:05", "%Y-%m-%d %H:%M:%S", false), date);
    EXPECT_EQ(dateHelper::dateFromString("2024-03-05 13:04:05", "%Y-%m-%d %H:%M:%S", true), date);
    EXPECT_FALSE(dateHelper::dateFromString("yesterday", "%Y-%m-%d", false));
    EXPECT_EQ(dateHelper::stringWithFormat(date, "", false), QString());

    // Under a German locale (scripts/install-deps makes it) the month stays English.
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "de_DE.UTF-8 is missing: run scripts/install-deps";
    char german[64];
    const std::tm march{0, 0, 12, 5, 2, 124};
    std::strftime(german, sizeof german, "%b", &march);
    EXPECT_STREQ(german, "Mär") << "the locale really is German";
    EXPECT_EQ(dateHelper::stringWithFormat(date, "%d %b %Y", false), QStringLiteral("05 Mar 2024"));
    EXPECT_EQ(dateHelper::dateFromString("05 Mar 2024", "%d %b %Y", false)->date(), QDate(2024, 3, 5));
    std::setlocale(LC_ALL, previous.c_str());
}

TEST_F(BerlinTime, DayArithmeticAcrossDaylightSaving)
{
    const struct {
        QDateTime now;
        qint64 days;
        QDateTime expected;
        qint64 hours;
    } cases[] = {
        {at(2025, 3, 29, 12), 1, at(2025, 3, 30, 12), 23},
        {at(2025, 3, 31, 12), -2, at(2025, 3, 29, 12), -47},
        {at(2025, 10, 25, 12), 1, at(2025, 10, 26, 12), 25},
        {at(2025, 10, 25, 12).toUTC(), 7, at(2025, 11, 1, 12), 7 * 24 + 1},
        {at(2025, 6, 15, 8), 0, at(2025, 6, 15, 8), 0},
    };
    for (const auto& c : cases) {
        const QDateTime added = dateHelper::dateByAddingNumberOfDays(c.days, c.now);
        EXPECT_EQ(added, c.expected) << c.now.toString(Qt::ISODate).toStdString() << " + " << c.days;
        EXPECT_EQ(c.now.secsTo(added), c.hours * 3600) << c.now.toString(Qt::ISODate).toStdString();
    }

    // Local time is two hours ahead of UTC in summer and one in winter, whatever the date shifted.
    const QDateTime date(QDate(2025, 1, 10), QTime(8, 0), Qt::UTC);
    EXPECT_EQ(dateHelper::localDate(date, at(2025, 6, 15, 8)), date.addSecs(7200));
    EXPECT_EQ(dateHelper::localDate(date, at(2025, 12, 15, 8)), date.addSecs(3600));

    EXPECT_EQ(&dateHelper::gregorianCalendar(), &dateHelper::gregorianCalendar());
    EXPECT_TRUE(dateHelper::gregorianCalendar().isGregorian());
    const double before = dateHelper::microtime();
    EXPECT_GT(dateHelper::microtime(), before);
}
