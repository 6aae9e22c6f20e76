#include "ScenarioTest.h"

#include <QAbstractItemView>
#include <QAction>
#include <QTest>

namespace {

// Delete is reached by its key, as users mostly do, or picked from the Edit menu.
enum class Way { Key, Menu };

class DeleteSetScenario : public ScenarioTest, public ::testing::WithParamInterface<Way> {
protected:
    void remove()
    {
        if (GetParam() == Way::Key)
            press(QKeySequence::Delete);
        else
            choose(QStringLiteral("Edit"), QStringLiteral("Delete"));
    }
    QAbstractItemView* sets() const { return sourceList()->findChild<QAbstractItemView*>(); }
};

// With the sets list focused, Delete acts on the set chosen there: it asks first, and once confirmed the library on
// disk no longer holds it; the other set stays.
TEST_P(DeleteSetScenario, DeleteRemovesTheSetChosenInTheSetsList)
{
    const QString doomed = GetParam() == Way::Key ? QStringLiteral("Doomed by Key") : QStringLiteral("Doomed by Menu");
    importFolder(QStringLiteral("shapes"), doomed);
    importFolder(QStringLiteral("glyphs"), QStringLiteral("Kept"));
    ASSERT_TRUE(namesOnDisk(QStringLiteral("PTCollection")).contains(doomed));

    clickSourceListRow(doomed);
    ASSERT_TRUE(waitFor([this] { return sets()->hasFocus(); }));
    QAction* item = menuItem(QStringLiteral("Edit"), QStringLiteral("Delete"));
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->isEnabled()) << "Edit > Delete is disabled for the chosen set";

    // Cancelled, the set stays.
    answerNextModal([](QWidget* alert) { ScenarioTest::clickButton(alert, QStringLiteral("Cancel")); });
    remove();
    ASSERT_TRUE(waitFor([this] { return modals.size() == 1; })) << "Delete asked nothing";
    QTest::qWait(200);
    EXPECT_TRUE(namesOnDisk(QStringLiteral("PTCollection")).contains(doomed));

    answerNextModal([](QWidget* alert) { ScenarioTest::clickButton(alert, QStringLiteral("OK")); });
    remove();
    EXPECT_TRUE(waitFor([&] { return !namesOnDisk(QStringLiteral("PTCollection")).contains(doomed); }))
        << "on disk: " << namesOnDisk(QStringLiteral("PTCollection")).join(QStringLiteral(", ")).toStdString();
    EXPECT_TRUE(namesOnDisk(QStringLiteral("PTCollection")).contains(QStringLiteral("Kept")));
    EXPECT_EQ(modals.join(QStringLiteral(", ")), QStringLiteral("Are you sure?, Are you sure?"));
}

INSTANTIATE_TEST_SUITE_P(ByKeyAndByMenu, DeleteSetScenario, ::testing::Values(Way::Key, Way::Menu),
                         [](const ::testing::TestParamInfo<Way>& info) {
                             return std::string(info.param == Way::Key ? "Key" : "Menu");
                         });

} // namespace
