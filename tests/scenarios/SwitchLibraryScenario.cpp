#include "ScenarioTest.h"

#include "app/preferences/PTPreferencesController.h"
#include "app/preferences/PTPreferencesLibraryViewController.h"

#include <QAbstractItemView>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

// How the user names the library in the panel: by its row and the panel's button, or by typing its path.
enum class Way { Row, TypedPath };

class SwitchLibraryScenario : public ScenarioTest, public ::testing::WithParamInterface<Way> {};

// Answers the open panel as the user does; when the panel is still up afterwards, notes the folder it shows and
// cancels it.
void chooseInPanel(QWidget* window, const QString& path, Way way, QString& entered)
{
    auto* panel = qobject_cast<QFileDialog*>(window);
    ASSERT_NE(panel, nullptr) << "no file panel";
    panel->setDirectory(QFileInfo(path).path());
    if (way == Way::Row) {
        auto* rows = panel->findChild<QAbstractItemView*>(QStringLiteral("listView"));
        ASSERT_NE(rows, nullptr);
        QModelIndex row;
        ASSERT_TRUE(pt::test::runMainQueueUntil([&] {
            row = rows->model()
                      ->match(rows->model()->index(0, 0, rows->rootIndex()), Qt::DisplayRole,
                              QFileInfo(path).fileName(), 1, Qt::MatchExactly)
                      .value(0);
            return row.isValid();
        })) << "the panel lists no " << QFileInfo(path).fileName().toStdString();
        QTest::mouseClick(rows->viewport(), Qt::LeftButton, {}, rows->visualRect(row).center());
        QPushButton* button = panel->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Open);
        ASSERT_TRUE(pt::test::runMainQueueUntil([button] { return button->isEnabled(); }))
            << button->text().toStdString();
        QTest::mouseClick(button, Qt::LeftButton);
    } else {
        auto* field = panel->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(field, nullptr);
        field->setText(path);
        QTest::keyClick(field, Qt::Key_Return);
    }
    if (panel->isVisible()) {
        entered = QDir::cleanPath(panel->directory().absolutePath());
        panel->reject();
    }
}

// Preferences > Library > Switch... chooses a library package as one item, whether its row is chosen or its path
// typed: the choice goes to the switch, which here refuses a folder that holds no library.
TEST_P(SwitchLibraryScenario, TheSwitchPanelChoosesALibraryPackage)
{
    const QString other = QDir::home().filePath(GetParam() == Way::Row ? QStringLiteral("Row.ptlibrary")
                                                                      : QStringLiteral("Typed.ptlibrary"));
    ASSERT_TRUE(QDir().mkpath(other));
    // Not empty, so not a new library that the switch would start by restarting.
    QFile notes(QDir(other).filePath(QStringLiteral("notes.txt")));
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.close();

    PTPreferencesController& preferences = PTPreferencesController::sharedController();
    preferences.presentPreferences(PTPreferencesLibraryViewController::Identifier);
    ASSERT_TRUE(waitFor([&preferences] {
        return preferences.preferencesWindow() && preferences.preferencesWindow()->isVisible();
    }));
    QWidget* switchButton = visibleWidget(QStringLiteral("Switch..."));
    ASSERT_NE(switchButton, nullptr) << "no Switch... button in the Library preferences";

    QString entered;
    answerNextModal([&](QWidget* window) { chooseInPanel(window, other, GetParam(), entered); });
    // The refusal to switch, once the panel has chosen the package.
    answerNextModal([](QWidget* alert) { ScenarioTest::clickButton(alert, QStringLiteral("OK")); });
    QTest::mouseClick(switchButton, Qt::LeftButton, {}, switchButton->rect().center());
    EXPECT_TRUE(waitFor([this] { return modals.size() == 2; }))
        << "modal windows: " << modals.join(QStringLiteral(", ")).toStdString();
    EXPECT_EQ(entered, QString()) << "the panel entered the package";
    EXPECT_EQ(modals.value(0), QStringLiteral("Switch Library"));
    EXPECT_EQ(modals.value(1), QStringLiteral("Unable to Switch Library"));
    preferences.preferencesWindow()->close();
}

INSTANTIATE_TEST_SUITE_P(ByRowAndByPath, SwitchLibraryScenario, ::testing::Values(Way::Row, Way::TypedPath),
                         [](const ::testing::TestParamInfo<Way>& info) {
                             return std::string(info.param == Way::Row ? "Row" : "TypedPath");
                         });

} // namespace
