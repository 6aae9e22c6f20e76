#include "ScenarioTest.h"

#include "app/PTWindow.h"
#include "app/preferences/PTPreferencesController.h"
#include "browser/controller/PTGridViewOptionsController.h"
#include "platform/runtime/Defaults.h"

namespace {

using ShortcutScenario = ScenarioTest;

double gridSize()
{
    return pt::Defaults::standard().doubleForKey(PTGridViewOptionsController::GridViewSizeKey);
}

// On a keyboard where "+" needs Shift (which makes a step the small one), Ctrl+= is the large step up, as Ctrl++ is
// where "+" has a key of its own.
TEST_F(ShortcutScenario, GridSizeKeysStepAsTheyRead)
{
    pt::Defaults::standard().set(PTGridViewOptionsController::GridViewSizeKey, 100.0);
    struct Case {
        QKeySequence keys;
        double expected;
    };
    const Case cases[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_Equal), 120},
        {QKeySequence(Qt::CTRL | Qt::Key_Minus), 100},
        {QKeySequence(Qt::CTRL | Qt::Key_Plus), 120},
    };
    for (const Case& step : cases) {
        SCOPED_TRACE(step.keys.toString().toStdString());
        press(step.keys);
        EXPECT_TRUE(waitFor([&] { return gridSize() == step.expected; }, 2000)) << "size " << gridSize();
    }
}

// Preferences close from the keyboard as any window of its kind does.
TEST_F(ShortcutScenario, PreferencesCloseWithEscapeAndCloseWindow)
{
    PTPreferencesController& preferences = PTPreferencesController::sharedController();
    const auto shown = [&preferences] {
        return preferences.preferencesWindow() && preferences.preferencesWindow()->isVisible();
    };
    for (const QKeySequence& keys : {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
        SCOPED_TRACE(keys.toString().toStdString());
        press(QKeySequence(QStringLiteral("Ctrl+,")));
        ASSERT_TRUE(waitFor([&] { return shown() && preferences.preferencesWindow()->isActiveWindow(); }))
            << "no preferences window";
        press(keys);
        EXPECT_TRUE(waitFor([&] { return !shown(); }, 2000)) << "still open";
        if (shown())
            preferences.preferencesWindow()->close();
        // Giving the keys back to the main window is the window manager's part; there is none here.
        window()->activateWindow();
        ASSERT_TRUE(waitFor([this] { return window()->isActiveWindow(); }));
    }
}

} // namespace
