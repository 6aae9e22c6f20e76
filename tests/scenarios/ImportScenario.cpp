#include "ScenarioTest.h"

#include <QTest>

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

// The add-icons sheet's head opens the preferences on the import pane; the sheet stays for the user to finish.
TEST_F(ImportScenario, TheSheetsPreferencesButtonOpensTheImportPane)
{
    QWidget* sheet = dropFolderOnGrid(QStringLiteral("shapes"));
    ASSERT_NE(sheet, nullptr);
    QWidget* button = visibleWidget(QStringLiteral("Import Preferences"));
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    expectPreferencesOpenAt(QStringLiteral("io"));
    EXPECT_TRUE(sheet->isVisible());
    QTest::keyClick(sheet, Qt::Key_Escape);
    EXPECT_TRUE(waitFor([sheet] { return !sheet->isVisible(); }));
}

} // namespace
