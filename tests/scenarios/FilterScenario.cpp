#include "ScenarioTest.h"

#include "app/PTAppController.h"
#include "app/PTToolbarController.h"
#include "browser/views/PTToolbarFilterControl.h"
#include "ui/controls/PTToolbarSegmentedControl.h"

#include <QAction>
#include <QMenu>
#include <QTest>

namespace {

using FilterScenario = ScenarioTest;

// The toolbar's type switch and the Filter menu's type entries choose one filter: a choice in either shows in both
// and filters the grid straight away.
TEST_F(FilterScenario, TheTypeSwitchAndTheFilterMenuFilterTheGridAtOnce)
{
    importFolder(QStringLiteral("kinds"), QStringLiteral("Kinds"));
    PTToolbarController* toolbar = app().toolbarController();
    PTToolbarSegmentedControl* typeSwitch = toolbar->typeSwitch();
    QMenu* typeMenu = toolbar->filterControl()->typeMenu();
    const auto checkedEntry = [typeMenu] {
        for (QAction* entry : typeMenu->actions())
            if (entry->isChecked())
                return entry->text().trimmed();
        return QString();
    };
    const auto shown = [this] {
        QStringList names = gridItemNames();
        names.sort();
        return names.join(QLatin1Char(' '));
    };
    ASSERT_EQ(shown(), QStringLiteral("Badge Star"));

    struct Step {
        QString segment;   // clicked on the switch, or
        QString menuEntry; // chosen in the Filter menu
        QString grid;
        QString checked;
        int switchSegment;
    };
    const Step steps[] = {
        {"PDF", {}, "Badge", "PDF", 2},
        {"SVG", {}, "Star", "SVG", 1},
        {{}, "Vector", "Badge Star", "Vector", -1}, // the switch has no segment for it
        {{}, "PDF", "Badge", "PDF", 2},
        {"All", {}, "Badge Star", "All", 0},
    };
    for (const Step& step : steps) {
        const std::string what = (step.segment.isEmpty() ? "menu " + step.menuEntry : "switch " + step.segment).toStdString();
        if (!step.segment.isEmpty()) {
            int segment = 0;
            while (segment < typeSwitch->segmentCount() && typeSwitch->label(segment) != step.segment)
                ++segment;
            ASSERT_LT(segment, typeSwitch->segmentCount()) << what;
            QTest::mouseClick(typeSwitch, Qt::LeftButton, {}, typeSwitch->rectForSegment(segment).center().toPoint());
        } else {
            QAction* entry = nullptr;
            for (QAction* action : typeMenu->actions())
                if (action->text().trimmed() == step.menuEntry)
                    entry = action;
            ASSERT_NE(entry, nullptr) << what;
            entry->trigger();
        }
        EXPECT_EQ(checkedEntry(), step.checked) << what;
        EXPECT_EQ(typeSwitch->selectedSegment(), step.switchSegment) << what;
        EXPECT_TRUE(waitFor([&] { return shown() == step.grid; }, 2000))
            << what << ": the grid shows " << shown().toStdString();
    }
}

} // namespace
