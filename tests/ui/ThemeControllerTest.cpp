#include "ui/theme/PTAppearanceObserver.h"
#include "ui/theme/PTStyles.h"
#include "ui/theme/PTThemeController.h"

#include "FakeAppearanceSource.h"

#include "platform/runtime/Defaults.h"
#include "platform/runtime/NotificationCenter.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <optional>

namespace {

class ThemeControllerTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        defaults.remove(PTThemeController::AppearanceKey);
        defaults.remove(PTThemeController::AppearancePreferenceKey);
    }

    // A controller over a fake desktop that has given its first answer.
    std::unique_ptr<PTThemeController> makeController(int system)
    {
        auto source = std::make_unique<FakeAppearanceSource>();
        FakeAppearanceSource* fake = source.get();
        auto controller = std::make_unique<PTThemeController>(std::move(source));
        EXPECT_EQ(fake->starts, 1);
        fake->answer(system);
        desktop = fake;
        return controller;
    }

    pt::Defaults& defaults = pt::Defaults::standard();
    FakeAppearanceSource* desktop = nullptr;
};

TEST_F(ThemeControllerTest, TheValueFollowsTheStoredChoiceOrTheDesktop)
{
    struct Case {
        std::optional<int> preference;
        std::optional<int> stored;
        int system;
        int expected;
    };
    const Case cases[] = {
        {std::nullopt, std::nullopt, PTAppearanceDark, PTAppearanceDark}, // automatic by default
        {1, 0, PTAppearanceAqua, PTAppearanceAqua},
        {0, std::nullopt, PTAppearanceAqua, PTAppearanceDark}, // manual with nothing stored reads 0
        {0, 1, PTAppearanceDark, PTAppearanceAqua},
        {7, 1, PTAppearanceAqua, PTAppearanceDark}, // an unknown preference leaves the starting value
    };
    for (const Case& c : cases) {
        TearDown();
        if (c.preference)
            defaults.set(PTThemeController::AppearancePreferenceKey, *c.preference);
        if (c.stored)
            defaults.set(PTThemeController::AppearanceKey, *c.stored);
        const auto controller = makeController(c.system);
        EXPECT_EQ(controller->appearance(), c.expected)
            << "preference " << c.preference.value_or(-1) << " stored " << c.stored.value_or(-1) << " system "
            << c.system;
    }
}

TEST_F(ThemeControllerTest, TheKitRegistersTheAutomaticPreference)
{
    EXPECT_EQ(defaults.registeredDefaults().value(PTThemeController::AppearancePreferenceKey),
              QVariant(int(PTAppearancePreferenceAutomatic)));
}

TEST_F(ThemeControllerTest, UserChoiceIsStoredOrRemoved)
{
    const auto controller = makeController(PTAppearanceAqua);
    controller->setDefaultAppearance(PTAppearanceDark, PTAppearancePreferenceManual);
    EXPECT_EQ(controller->appearance(), PTAppearanceDark);
    EXPECT_EQ(defaults.integerForKey(PTThemeController::AppearanceKey), 0);
    EXPECT_EQ(defaults.integerForKey(PTThemeController::AppearancePreferenceKey), 0);

    controller->setDefaultAppearance(controller->appearanceForPreference(1), PTAppearancePreferenceAutomatic);
    EXPECT_EQ(controller->appearance(), PTAppearanceAqua);
    EXPECT_FALSE(defaults.objectForKey(PTThemeController::AppearanceKey).isValid());
}

TEST_F(ThemeControllerTest, TheStartingPaletteIsAppliedEvenWhenTheFirstValueIsDark)
{
    QApplication::setPalette(PTStyles::palette(PTAppearanceAqua));
    defaults.set(PTThemeController::AppearancePreferenceKey, 0);
    defaults.set(PTThemeController::AppearanceKey, 0);
    int posts = 0;
    pt::ObserverToken token = pt::NotificationCenter::defaultCenter().addObserver(
        PTThemeController::AppearanceDidChangeNotification, nullptr, [&](const pt::Notification&) { ++posts; });
    int calls = 0;
    PTAppearanceObserver observer([&](int) { ++calls; });

    const auto controller = makeController(PTAppearanceAqua);
    EXPECT_EQ(controller->appearance(), PTAppearanceDark);
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), QColor(0x32, 0x32, 0x32));
    EXPECT_EQ(posts, 0);
    EXPECT_EQ(calls, 0);
}

TEST_F(ThemeControllerTest, ADesktopFlipCallsEachObserverOnceAndPostsOnce)
{
    const auto controller = makeController(PTAppearanceAqua);
    int posts = 0;
    pt::ObserverToken token = pt::NotificationCenter::defaultCenter().addObserver(
        PTThemeController::AppearanceDidChangeNotification, controller.get(),
        [&](const pt::Notification&) { ++posts; });
    std::vector<int> first;
    std::vector<int> second;
    PTAppearanceObserver a([&](int value) { first.push_back(value); });
    PTAppearanceObserver b([&](int value) { second.push_back(value); });

    desktop->answer(PTAppearanceDark);
    EXPECT_EQ(first, std::vector<int>{PTAppearanceDark});
    EXPECT_EQ(second, std::vector<int>{PTAppearanceDark});
    EXPECT_EQ(posts, 1);
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), QColor(0x32, 0x32, 0x32));

    desktop->answer(PTAppearanceDark);
    controller->setAppearance(PTAppearanceDark);
    EXPECT_EQ(first.size(), 1u);
    EXPECT_EQ(posts, 1);
}

TEST(AppearanceObserverTest, ObserversJoiningOrLeavingDuringAPass)
{
    std::vector<QString> calls;
    std::unique_ptr<PTAppearanceObserver> late;
    std::unique_ptr<PTAppearanceObserver> doomed;
    PTAppearanceObserver first([&](int value) {
        calls.push_back(QStringLiteral("first %1").arg(value));
        if (!late)
            late = std::make_unique<PTAppearanceObserver>(
                [&](int v) { calls.push_back(QStringLiteral("late %1").arg(v)); });
        doomed.reset();
    });
    doomed = std::make_unique<PTAppearanceObserver>([&](int) { calls.push_back(QStringLiteral("doomed")); });

    PTThemeNotifyAppearanceObservers(0);
    EXPECT_EQ(calls, (std::vector<QString>{QStringLiteral("first 0"), QStringLiteral("late 0")}));

    calls.clear();
    PTThemeNotifyAppearanceObservers(1);
    EXPECT_EQ(calls, (std::vector<QString>{QStringLiteral("first 1"), QStringLiteral("late 1")}));
}

} // namespace
