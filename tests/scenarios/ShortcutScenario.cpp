#include "ScenarioTest.h"

#include "browser/controller/PTGridViewOptionsController.h"
#include "platform/runtime/Defaults.h"

namespace {

using ShortcutScenario = ScenarioTest;

double gridSize()
{
    return pt::Defaults::standard().doubleForKey(PTGridViewOptionsController::GridViewSizeKey);
}

// On a keyboard where "+" needs Shift, Ctrl+= is the large step up; Shift makes any step the small one.
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
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Plus), 105},
    };
    for (const Case& step : cases) {
        SCOPED_TRACE(step.keys.toString().toStdString());
        press(step.keys);
        EXPECT_TRUE(waitFor([&] { return gridSize() == step.expected; }, 2000)) << "size " << gridSize();
    }
}

} // namespace
