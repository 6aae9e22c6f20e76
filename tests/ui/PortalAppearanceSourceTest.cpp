#include "platform/desktop/PortalAppearanceSource.h"

#include "FakeDesktopPortal.h"
#include "TestSupport.h"

#include <QDBusConnection>
#include <QDBusVariant>

#include <gtest/gtest.h>

namespace {

TEST(PortalAppearanceSourceTest, ReadsThePortalThenFollowsItsSignal)
{
    FakeDesktopPortal portal({{QStringLiteral("color-scheme"), 1u}});
    ASSERT_TRUE(portal.registered);
    pt::PortalAppearanceSource source;
    std::vector<int> answers;
    QObject::connect(&source, &pt::SystemAppearanceSource::appearanceChanged,
                     [&answers](int value) { answers.push_back(value); });
    source.start();
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return answers.size() == 1; }));
    EXPECT_EQ(answers[0], pt::SystemAppearanceSource::Dark);

    portal.signalSetting(QStringLiteral("color-scheme"), 2u);
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return answers.size() == 2; }));
    EXPECT_EQ(answers[1], pt::SystemAppearanceSource::Light);
}

TEST(PortalAppearanceSourceTest, NoPortalOrNoBusMeansLight)
{
    pt::PortalAppearanceSource withoutPortal;
    pt::PortalAppearanceSource withoutBus(QDBusConnection(QStringLiteral("no such connection")));
    std::vector<int> answers;
    for (pt::PortalAppearanceSource* source : {&withoutPortal, &withoutBus}) {
        QObject::connect(source, &pt::SystemAppearanceSource::appearanceChanged,
                         [&answers](int value) { answers.push_back(value); });
        source->start();
    }
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return answers.size() == 2; }));
    EXPECT_EQ(answers, (std::vector<int>{pt::SystemAppearanceSource::Light, pt::SystemAppearanceSource::Light}));
}

TEST(PortalAppearanceSourceTest, OnlySchemeOneIsDark)
{
    struct Case {
        QVariant value;
        int expected;
    };
    const Case cases[] = {
        {QVariant::fromValue(1u), pt::SystemAppearanceSource::Dark},
        {QVariant::fromValue(QDBusVariant(QVariant::fromValue(QDBusVariant(1u)))), pt::SystemAppearanceSource::Dark},
        {QVariant::fromValue(0u), pt::SystemAppearanceSource::Light},
        {QVariant::fromValue(2u), pt::SystemAppearanceSource::Light},
        {QVariant(QStringLiteral("1")), pt::SystemAppearanceSource::Light},
        {QVariant(), pt::SystemAppearanceSource::Light},
    };
    for (const Case& c : cases)
        EXPECT_EQ(pt::PortalAppearanceSource::appearanceForScheme(c.value), c.expected) << c.value.typeName();
}

} // namespace
