#include "ScenarioTest.h"

#include "browser/grid/PTGridView.h"
#include "library/controllers/PTCollectionController.h"
#include "library/entities/PTCollection.h"

#include <QAction>
#include <QRegularExpression>
#include <QTest>

namespace {

using SaveScenario = ScenarioTest;

// File > Save (Ctrl+S) writes the library's unsaved changes to disk at once.
TEST_F(SaveScenario, SaveWritesUnsavedChangesToTheStore)
{
    importFolder(QStringLiteral("shapes"), QStringLiteral("Shapes"));
    const QStringList before = namesOnDisk(QStringLiteral("PTCollection"));
    ASSERT_TRUE(before.contains(QStringLiteral("Shapes"))) << before.join(QStringLiteral(", ")).toStdString();
    QAction* save = menuItem(QStringLiteral("File"), QStringLiteral("Save"));
    ASSERT_NE(save, nullptr);
    EXPECT_TRUE(save->isEnabled());
    EXPECT_EQ(save->shortcut(), QKeySequence(QKeySequence::Save));

    // A change the library has not saved yet.
    PTCollection* set = nullptr;
    for (PTCollection* candidate : PTCollectionController::sharedController().collections())
        set = candidate->name() == QStringLiteral("Shapes") ? candidate : set;
    ASSERT_NE(set, nullptr);
    set->setName(QStringLiteral("Outlines"));
    QTest::qWait(300);
    ASSERT_EQ(namesOnDisk(QStringLiteral("PTCollection")), before) << "saved before it was asked to";
    choose(QStringLiteral("File"), QStringLiteral("Save"));
    QStringList expected = before;
    expected.replaceInStrings(QRegularExpression(QStringLiteral("^Shapes$")), QStringLiteral("Outlines"));
    expected.sort();
    EXPECT_TRUE(waitFor([expected] { return namesOnDisk(QStringLiteral("PTCollection")) == expected; }))
        << namesOnDisk(QStringLiteral("PTCollection")).join(QStringLiteral(", ")).toStdString();
}

} // namespace
