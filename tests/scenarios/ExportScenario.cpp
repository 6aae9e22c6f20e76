#include "ScenarioTest.h"

#include "app/PTToolbarController.h"
#include "browser/grid/PTGridView.h"
#include "transfer/export/PTExportOutputOptionSet.h"
#include "transfer/export/PTExportPresetController.h"
#include "ui/colour/PTColourWellControl.h"
#include "ui/colour/PTToolbarColorWellControl.h"
#include "ui/controls/PTSheetViewPopupButton.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

class ExportScenario : public ScenarioTest {
protected:
    // Imports the shapes, clicks the circle and chooses Export... from its context menu; answers the sheet.
    QWidget* openExportSheet()
    {
        importFolder(QStringLiteral("shapes"), QStringLiteral("Shapes"));
        const QPoint circle = gridItemPoint(QStringLiteral("Circle"));
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, circle);
        EXPECT_TRUE(waitFor([this] { return selectedItemNames() == QStringList{"Circle"}; }));
        QMenu* menu = contextMenu(grid()->viewport(), circle);
        if (!menu) {
            ADD_FAILURE() << "the icon has no context menu";
            return nullptr;
        }
        QAction* item = itemShownAs(menu, QStringLiteral("Export..."));
        if (!item) {
            ADD_FAILURE() << "no Export... in the icon's context menu";
            return nullptr;
        }
        clickMenuItem(item);
        QWidget* sheet = nullptr;
        EXPECT_TRUE(waitFor([&sheet] { return (sheet = visibleWidget(QStringLiteral("Export Icons"))) != nullptr; }))
            << "no export sheet";
        return sheet;
    }

    // The sheet's preset pop-up: the one that offers Custom Options.
    static PTSheetViewPopupButton* presetPopUp(QWidget* sheet)
    {
        for (auto* popUp : sheet->findChildren<PTSheetViewPopupButton*>()) {
            if (popUp->menu() && itemShownAs(popUp->menu(), QStringLiteral("Custom Options")))
                return popUp;
        }
        return nullptr;
    }

    static void click(const QString& accessibleName)
    {
        QWidget* widget = visibleWidget(accessibleName);
        ASSERT_NE(widget, nullptr) << "nothing shown is called " << accessibleName.toStdString();
        QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
    }

    static void closeSheet(QWidget* sheet)
    {
        clickButton(sheet, QStringLiteral("Cancel"));
        EXPECT_TRUE(waitFor([sheet] { return !sheet->isVisible(); }));
    }
};

using PresetScenario = ExportScenario;

// New rows start in the colour the toolbar gives the icons, and the sheet's head opens the export preferences.
TEST_F(ExportScenario, TheSheetTakesTheToolbarColourAndOpensTheExportPreferences)
{
    const QColor toolbar(0xd0, 0x34, 0x2c);
    PTToolbarController::sharedController()->colorWellControl()->setColor(toolbar);
    QWidget* sheet = openExportSheet();
    ASSERT_NE(sheet, nullptr);
    const QList<PTColourWellControl*> wells = sheet->findChildren<PTColourWellControl*>();
    ASSERT_EQ(wells.size(), 1) << "one row, one colour well";
    EXPECT_EQ(wells.first()->color(), toolbar);

    click(QStringLiteral("Export Preferences"));
    expectPreferencesOpenAt(QStringLiteral("io"));
    closeSheet(sheet);
}

// A preset file opened from the desktop while the sheet is up (its extension in capitals) is imported and offered
// in the sheet's pop-up at once; the choice shown stays.
TEST_F(ExportScenario, APresetOpenedWhileTheSheetIsUpJoinsItsPopUp)
{
    QTemporaryDir dir;
    PTExportOutputOptionSet shared;
    shared.name = QStringLiteral("Shared Sizes");
    shared.addOutputOption(PTExportOutputOption());
    const QString path = dir.filePath(QStringLiteral("SHARED.PTPRESET"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(shared.data());
    file.close();

    QWidget* sheet = openExportSheet();
    ASSERT_NE(sheet, nullptr);
    PTSheetViewPopupButton* popUp = presetPopUp(sheet);
    ASSERT_NE(popUp, nullptr);
    EXPECT_EQ(itemShownAs(popUp->menu(), QStringLiteral("Shared Sizes")), nullptr);

    openFromOutside({path});
    EXPECT_TRUE(waitFor([popUp] { return itemShownAs(popUp->menu(), QStringLiteral("Shared Sizes")) != nullptr; }))
        << "the pop-up does not offer the opened preset";
    EXPECT_EQ(popUp->accessibleName(), QStringLiteral("Custom Options"));
    closeSheet(sheet);
}

// A preset named with "&" shows it (and no underlined letter) in the pop-up and in Export with Preset, and each
// Update rewrites its one file.
TEST_F(PresetScenario, APresetNamedWithAnAmpersandKeepsItAndItsOwnFile)
{
    const QString name = QStringLiteral("Web & Print");
    QWidget* sheet = openExportSheet();
    ASSERT_NE(sheet, nullptr);
    click(QStringLiteral("Add output"));
    auto* field = qobject_cast<QLineEdit*>(visibleWidget(QStringLiteral("Preset name")));
    ASSERT_NE(field, nullptr) << "editing the outputs offers no preset name";
    QTest::mouseClick(field, Qt::LeftButton);
    QTest::keyClicks(field, name);
    click(QStringLiteral("Save preset"));

    PTSheetViewPopupButton* popUp = presetPopUp(sheet);
    ASSERT_NE(popUp, nullptr);
    EXPECT_EQ(popUp->accessibleName().trimmed(), name);
    QAction* item = itemShownAs(popUp->menu(), name);
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(QKeySequence::mnemonic(item->text()).isEmpty()) << item->text().toStdString();

    auto* save = qobject_cast<QPushButton*>(visibleWidget(QStringLiteral("Save preset")));
    ASSERT_NE(save, nullptr);
    for (int update = 0; update < 2; ++update) {
        click(QStringLiteral("Add output"));
        EXPECT_EQ(save->text(), QStringLiteral("Update"));
        click(QStringLiteral("Save preset"));
    }
    const QDir folder(PTExportPresetController::saveLocation());
    const QStringList files = folder.entryList(QDir::Files);
    ASSERT_EQ(files.size(), 1) << files.join(QStringLiteral(", ")).toStdString();
    const auto stored = PTExportOutputOptionSet::fromFile(folder.filePath(files.first()));
    ASSERT_TRUE(stored.ok());
    EXPECT_EQ(stored->name, name);
    EXPECT_EQ(stored->outputOptions().size(), 4) << "one row, one added before Create and one before each Update";
    closeSheet(sheet);

    QMenu* menu = contextMenu(grid()->viewport(), gridItemPoint(QStringLiteral("Circle")));
    ASSERT_NE(menu, nullptr);
    QAction* presets = itemShownAs(menu, QStringLiteral("Export with Preset"));
    ASSERT_TRUE(presets && presets->menu());
    QAction* entry = itemShownAs(presets->menu(), name);
    ASSERT_NE(entry, nullptr) << "Export with Preset does not offer " << name.toStdString();
    EXPECT_TRUE(QKeySequence::mnemonic(entry->text()).isEmpty()) << entry->text().toStdString();
    menu->close();
}

} // namespace
