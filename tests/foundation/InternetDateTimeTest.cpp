#include "foundation/DateHelper.h"
#include "foundation/InternetDateTime.h"

#include <gtest/gtest.h>

using namespace internetDateTime;

namespace {

struct Case {
    QString text;
    std::optional<QDateTime> expected;
};

} // namespace

TEST(InternetDateTime, ReadsRFC3339AndRFC822)
{
    const QDateTime base(QDate(2015, 6, 1), QTime(10, 20, 30), Qt::UTC);
    const Case rfc3339[] = {
        {"2015-06-01T10:20:30Z", base},
        {"2015-06-01T10:20:30+00:00", base},
        {"2015-06-01t10:20:30z", base},
        {"2015-06-01T12:20:30+0200", base},
        {"2015-06-01T12:20:30.250+02:00", base.addMSecs(250)},
        {"2015-06-01T10:20:30", base},
        {"2015-13-01T10:20:30Z", std::nullopt},
        {"1 Jun 2015 10:20:30 GMT", std::nullopt},
    };
    for (const auto& c : rfc3339)
        EXPECT_EQ(dateFromRFC3339String(c.text), c.expected) << c.text.toStdString();

    const Case rfc822[] = {
        {"Mon, 01 Jun 2015 10:20:30 GMT", base},
        {"Mon, 1 Jun 2015 06:20:30 EDT", base},
        {"Mon, 1 Jun 15 12:20:30 +0200", base},
        {"Monday, 1 June, 2015 10:20", base.addSecs(-30)},
        {"1 Jun 2015 10:20:30", base},
        {"1 Jun 2015 10:20 UT", base.addSecs(-30)},
        {"1 Jun 15 10:20:30 GMT", std::nullopt}, // two-digit years only after a weekday
        {"Mon, 1 Jun 2015 10:20:30 XYZ", std::nullopt},
        {"2015-06-01T10:20:30Z", std::nullopt},
    };
    for (const auto& c : rfc822)
        EXPECT_EQ(dateFromRFC822String(c.text), c.expected) << c.text.toStdString();

    EXPECT_EQ(dateFromInternetDateTimeString("2015-06-01T10:20:30Z", DateFormatHint::RFC822), base);
    EXPECT_EQ(dateFromInternetDateTimeString("Mon, 01 Jun 2015 10:20:30 GMT", DateFormatHint::RFC3339), base);
    EXPECT_FALSE(dateFromInternetDateTimeString(QString()));
    EXPECT_FALSE(dateFromInternetDateTimeString("yesterday"));
}

TEST(InternetDateTime, TheDateHelpersReaderTakesItsOwnForms)
{
    const QDateTime base(QDate(2015, 6, 1), QTime(10, 20, 30), Qt::UTC);
    const Case cases[] = {
        {"2015-06-01T12:20:30.000+02:00", base},
        {"2015-06-01T10:20:30", base},
        {"Mon, 1 Jun 15 10:20:30 GMT", base},
        {"Mon, 01 Jun 2015 06:20 EDT", base.addSecs(-30)},
        {"1 Jun 2015 10:20:30", base},
        {"1 Jun 2015 10:20", base.addSecs(-30)},
        {"Mon, 1 Jun 15 10:20 GMT", std::nullopt},      // a two-digit year needs seconds
        {"Mon, 1 Jun 2015 10:20:30", std::nullopt},     // a weekday needs a zone
        {"Monday, 1 June, 2015 10:20", std::nullopt},   // no comma after the month
        {"1 Jun 15 10:20:30 GMT", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(dateHelper::dateFromInternetDateTimeString(c.text), c.expected) << c.text.toStdString();
    EXPECT_FALSE(dateHelper::dateFromInternetDateTimeString(QString()));
    // The feed reader still takes the forms this one refuses.
    EXPECT_TRUE(dateFromRFC822String("Mon, 1 Jun 2015 10:20:30"));
    EXPECT_TRUE(dateFromRFC822String("Monday, 1 June, 2015 10:20"));
}
