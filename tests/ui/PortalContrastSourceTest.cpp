#include "platform/desktop/AccessibilityDisplay.h"
#include "platform/desktop/PortalContrastSource.h"

#include "FakeDesktopPortal.h"
#include "TestSupport.h"

#include <QDBusConnection>
#include <QDBusVariant>

#include <gtest/gtest.h>

namespace {

// The display reads the portal's contrast once, then follows its changes to that setting and no other.
TEST(PortalContrastSourceTest, TheDisplayFollowsThePortalsContrast)
{
    FakeDesktopPortal portal({{QStringLiteral("contrast"), 1u}, {QStringLiteral("color-scheme"), 1u}});
    ASSERT_TRUE(portal.registered);
    auto source = std::make_unique<pt::PortalContrastSource>();
    std::vector<bool> answers;
    QObject::connect(source.get(), &pt::ReduceTransparencySource::reduceTransparencyChanged,
                     [&answers](bool reduce) { answers.push_back(reduce); });
    pt::AccessibilityDisplay display(std::move(source));
    EXPECT_FALSE(display.reduceTransparency()) << "nothing is reduced before the portal answers";
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return answers.size() == 1; }));
    EXPECT_TRUE(display.reduceTransparency());

    portal.signalSetting(QStringLiteral("color-scheme"), 0u);
    portal.signalSetting(QStringLiteral("contrast"), 0u);
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return answers.size() == 2; }));
    EXPECT_FALSE(display.reduceTransparency());
    pt::test::runMainQueueFor(50);
    EXPECT_EQ(answers, (std::vector<bool>{true, false})) << "the colour scheme's change is not the contrast's";
}

TEST(PortalContrastSourceTest, NoPortalOrNoBusReducesNothing)
{
    pt::PortalContrastSource withoutPortal;
    pt::PortalContrastSource withoutBus(QDBusConnection(QStringLiteral("no such connection")));
    std::vector<bool> answers;
    for (pt::PortalContrastSource* source : {&withoutPortal, &withoutBus}) {
        QObject::connect(source, &pt::ReduceTransparencySource::reduceTransparencyChanged,
                         [&answers](bool reduce) { answers.push_back(reduce); });
        source->start();
    }
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return answers.size() == 2; }));
    EXPECT_EQ(answers, (std::vector<bool>{false, false}));
}

TEST(PortalContrastSourceTest, OnlyContrastOneReducesTransparency)
{
    struct Case {
        QVariant value;
        bool expected;
    };
    const Case cases[] = {
        {QVariant::fromValue(1u), true},
        {QVariant::fromValue(QDBusVariant(QVariant::fromValue(QDBusVariant(1u)))), true},
        {QVariant::fromValue(0u), false},
        {QVariant::fromValue(2u), false},
        {QVariant(1), false}, // the portal's contrast is unsigned
        {QVariant(QStringLiteral("1")), false},
        {QVariant(), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(pt::PortalContrastSource::reducesTransparency(c.value), c.expected) << c.value.typeName();
}

} // namespace
