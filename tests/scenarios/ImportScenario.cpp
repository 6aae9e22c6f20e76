#include "ScenarioTest.h"

namespace {

using ImportScenario = ScenarioTest;

// A folder dropped on the grid of a fresh library becomes a set, chosen, whose icons show under names made from
// their files'.
TEST_F(ImportScenario, ADroppedFolderShowsItsIconsInTheGrid)
{
    importFolder(QStringLiteral("shapes"), QStringLiteral("Shapes"));
    QStringList shown = gridItemNames();
    shown.sort();
    EXPECT_EQ(shown.join(QLatin1Char(' ')), QStringLiteral("Circle Square Triangle"));
    EXPECT_TRUE(selectedItemNames().isEmpty());
}

} // namespace
