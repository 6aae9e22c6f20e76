#include "ScenarioTest.h"

#include "app/PTWindow.h"
#include "browser/grid/PTGridView.h"
#include "library/controllers/PTCollectionController.h"
#include "library/entities/PTCollection.h"
#include "platform/ui/SheetHost.h"

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
    EXPECT_TRUE(setHoldsOnDisk(QStringLiteral("Shapes"), {"Circle", "Square", "Triangle"}));
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

// A set whose icons were all deleted shows its placeholder, which takes a dropped folder like the grid does and
// offers the set in view.
TEST_F(ImportScenario, AnEmptiedSetTakesADroppedFolder)
{
    importFolder(QStringLiteral("shapes"), QStringLiteral("Shapes"));
    grid()->setFocus();
    press(QKeySequence::SelectAll);
    answerNextModal([](QWidget* alert) { ScenarioTest::clickButton(alert, QStringLiteral("OK")); });
    press(QKeySequence(Qt::Key_Delete));
    ASSERT_TRUE(waitFor([this] { return gridItemNames().isEmpty(); }));
    // Gone from the store file and from the set's folder; the set itself stays.
    EXPECT_TRUE(setHoldsOnDisk(QStringLiteral("Shapes"), {}));

    QWidget* sheet = dropFolderOnGrid(QStringLiteral("glyphs"));
    ASSERT_NE(sheet, nullptr) << "the emptied set refuses the drop";
    QTest::keyClick(sheet, Qt::Key_Escape);
    EXPECT_TRUE(waitFor([sheet] { return !sheet->isVisible(); }));
}

// A second folder dropped while the first one's sheet imports, or lingers with the import done, opens its own sheet
// once the first has gone; both become sets with all their icons.
TEST_F(ImportScenario, TwoFoldersDroppedInQuickSuccessionBothBecomeSets)
{
    const auto setNamed = [](const QString& name) -> PTCollection* {
        for (PTCollection* set : PTCollectionController::sharedController().collections()) {
            if (set->name() == name)
                return set;
        }
        return nullptr;
    };
    const auto imported = [&](const QString& name, qsizetype count) {
        PTCollection* set = setNamed(name);
        return set && set->items().size() == count;
    };
    struct Timing {
        const char* name;
        // Waits after the first sheet was confirmed, before the second drop.
        std::function<bool()> before;
    };
    const Timing timings[] = {
        {"while importing", [] { return true; }},
        {"while the sheet closes", [&] { return imported(QStringLiteral("Shapes 1"), 3); }},
    };
    int round = 0;
    for (const Timing& timing : timings) {
        SCOPED_TRACE(timing.name);
        ++round;
        const QString first = QStringLiteral("Shapes %1").arg(round);
        const QString second = QStringLiteral("Kinds %1").arg(round);
        dropFolderOnGrid(QStringLiteral("shapes"));
        confirmAddIconsSheet(first);
        ASSERT_TRUE(waitFor(timing.before));
        dropFolderOnGrid(QStringLiteral("kinds"));
        confirmAddIconsSheet(second);
        EXPECT_TRUE(waitFor([&] {
            return imported(first, 3) && imported(second, 2) && !pt::SheetHost::attachedSheet(window());
        }));
        EXPECT_TRUE(setHoldsOnDisk(first, {"Circle", "Square", "Triangle"}));
        EXPECT_TRUE(setHoldsOnDisk(second, {"Badge", "Star"}));
    }
}

} // namespace
