#include "ScenarioTest.h"

#include "browser/grid/PTGridView.h"
#include "ui/controls/PTSheetViewPopupButton.h"

#include <QAction>
#include <QMenu>
#include <QTest>

namespace {

using SetMenuScenario = ScenarioTest;

// A set whose name holds "&" is listed under that name, with no letter underlined, wherever icons can be sent to
// it: the add-icons sheet's target and the icons' Move To Set and Copy To Set; moving there works.
TEST_F(SetMenuScenario, ASetNamedWithAnAmpersandIsListedAsNamed)
{
    const QString name = QStringLiteral("Icons & Glyphs");
    // The menu lists the set under its name, and none of the name's letters is underlined.
    const auto expectListed = [&name](const QMenu* menu) {
        const QAction* item = itemShownAs(menu, name);
        ASSERT_NE(item, nullptr) << "no " << name.toStdString() << " in " << menu->title().toStdString();
        EXPECT_TRUE(QKeySequence::mnemonic(item->text()).isEmpty()) << item->text().toStdString();
    };
    importFolder(QStringLiteral("shapes"), name);

    QWidget* sheet = dropFolderOnGrid(QStringLiteral("glyphs"));
    ASSERT_NE(sheet, nullptr);
    // The sheet offers the set in view as the target; its pop-up lists the other choices.
    PTSheetViewPopupButton* target = nullptr;
    for (auto* button : sheet->findChildren<PTSheetViewPopupButton*>()) {
        if (button->isVisible() && button->menu())
            target = button;
    }
    ASSERT_NE(target, nullptr) << "no target pop-up";
    expectListed(target->menu());
    QTest::keyClick(sheet, Qt::Key_Escape);
    ASSERT_TRUE(waitFor([sheet] { return !sheet->isVisible(); }));
    importFolder(QStringLiteral("glyphs"), QStringLiteral("Drafts"));

    const QPoint star = gridItemPoint(QStringLiteral("Star"));
    QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, star);
    ASSERT_TRUE(waitFor([this] { return selectedItemNames() == QStringList{"Star"}; }));
    QMenu* menu = contextMenu(grid()->viewport(), star);
    ASSERT_NE(menu, nullptr);
    for (const QString& submenu : {QStringLiteral("Copy To Set"), QStringLiteral("Move To Set")}) {
        QAction* opener = itemShownAs(menu, submenu);
        ASSERT_TRUE(opener && opener->menu()) << "no " << submenu.toStdString();
        expectListed(opener->menu());
    }
    QAction* moveTo = itemShownAs(itemShownAs(menu, QStringLiteral("Move To Set"))->menu(), name);
    ASSERT_NE(moveTo, nullptr);
    clickMenuItem(moveTo);
    EXPECT_TRUE(waitFor([this] { return gridItemNames() == QStringList{"Heart"}; }))
        << "Drafts shows " << gridItemNames().join(QStringLiteral(", ")).toStdString();
    // The icon and its file moved on disk too.
    EXPECT_TRUE(setHoldsOnDisk(QStringLiteral("Drafts"), {"Heart"}));
    EXPECT_TRUE(setHoldsOnDisk(name, {"Circle", "Square", "Star", "Triangle"}));
}

} // namespace
