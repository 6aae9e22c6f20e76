#include "AppTestLibrary.h"
#include "AppTestWidgets.h"
#include "FakeDesktopServices.h"
#include "TestSupport.h"

#include "app/PTAboutPanel.h"
#include "app/PTMenuItemsController.h"
#include "platform/runtime/Defaults.h"
#include "platform/ui/ActionRouter.h"
#include "ui/theme/PTThemeController.h"

#include <QAction>
#include <QDesktopServices>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>

#include <gtest/gtest.h>

namespace {

QAction* item(const PTMenuItemsController& menus, const QString& title)
{
    for (QAction* menu : menus.menuBar()->actions()) {
        for (QAction* action : menu->menu()->actions()) {
            if (action->text() == title)
                return action;
        }
    }
    return nullptr;
}

class MenuTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        pt::Defaults& defaults = pt::Defaults::standard();
        for (const QString& key : {PTMenuItemsController::ShowLabelsKey, PTMenuItemsController::ShowGridKey,
                                   PTMenuItemsController::GroupSearchItemsKey})
            defaults.remove(key);
    }
};

TEST_F(MenuTest, TogglesFlipTheirSettingAndShowIt)
{
    PTMenuItemsController menus(QStringLiteral("https://help.example.org/pictern"), QStringLiteral("help@example.org"));
    pt::Defaults& defaults = pt::Defaults::standard();
    EXPECT_TRUE(defaults.boolForKey(PTMenuItemsController::GroupSearchItemsKey)) << "written on a first run";
    pt::ActionRouter::shared().invalidate();
    QAction* grouping = item(menus, QStringLiteral("Ungroup Search Results"));
    ASSERT_NE(grouping, nullptr);
    grouping->trigger();
    EXPECT_FALSE(defaults.boolForKey(PTMenuItemsController::GroupSearchItemsKey));
    EXPECT_EQ(grouping->text(), QStringLiteral("Group Search Results"));

    QAction* labels = item(menus, QStringLiteral("Show Labels"));
    ASSERT_NE(labels, nullptr);
    EXPECT_TRUE(labels->isChecked());
    labels->trigger();
    EXPECT_FALSE(defaults.boolForKey(PTMenuItemsController::ShowLabelsKey));
    EXPECT_FALSE(labels->isChecked());
    labels->trigger();
    EXPECT_TRUE(defaults.boolForKey(PTMenuItemsController::ShowLabelsKey));
    EXPECT_TRUE(labels->isChecked());

    PTThemeController& theme = PTThemeController::defaultController();
    const int start = theme.appearance();
    QAction* appearance = item(menus, QStringLiteral("Dark Appearance"));
    ASSERT_NE(appearance, nullptr);
    appearance->trigger();
    EXPECT_NE(theme.appearance(), start);
    EXPECT_EQ(appearance->isChecked(), theme.appearance() == PTAppearanceDark);
    appearance->trigger();
    EXPECT_EQ(theme.appearance(), start);
    theme.setDefaultAppearance(PTAppearanceAqua, PTAppearancePreferenceAutomatic);

    // Nothing installs the add-icons sheet here: New Set is disabled.
    QAction* newSet = item(menus, QStringLiteral("New Set…"));
    ASSERT_NE(newSet, nullptr);
    EXPECT_FALSE(newSet->isEnabled());
}

TEST_F(MenuTest, SizeItemsStepTheGridSize)
{
    PTMenuItemsController menus{QString(), QString()};
    pt::ActionRouter::shared().invalidate();
    pt::Defaults::standard().set(QStringLiteral("gridViewSize"), 250.0);
    item(menus, QStringLiteral("Increase Size"))->trigger();
    EXPECT_EQ(pt::Defaults::standard().doubleForKey(QStringLiteral("gridViewSize")), 256);
    item(menus, QStringLiteral("Decrease Size"))->trigger();
    EXPECT_EQ(pt::Defaults::standard().doubleForKey(QStringLiteral("gridViewSize")), 236);
}

TEST_F(MenuTest, TheGridsItemsAndTheSearchScopeFindTheirPlaces)
{
    PTMenuItemsController menus{QString(), QString()};
    ASSERT_NE(menus.darkModeMenuItem(), nullptr);
    ASSERT_NE(menus.gridViewHoverLabelsMenuItem(), nullptr);
    QAction scope(QStringLiteral("Search in Selection"));
    menus.addActionAfterFind(&scope);
    const QList<QAction*> edit = menus.menuBar()->actions().at(1)->menu()->actions();
    const auto find = std::find_if(edit.begin(), edit.end(), [](QAction* item) { return item->text() == "Find"; });
    ASSERT_NE(find, edit.end());
    ASSERT_NE(find + 1, edit.end());
    EXPECT_EQ(*(find + 1), &scope);
}

TEST_F(MenuTest, HelpAndSupportOpenTheirAddressesOrAreHidden)
{
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
    QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &catcher, "open");
    {
        PTMenuItemsController menus(QStringLiteral("https://help.example.org/pictern"), QStringLiteral("help@example.org"));
        pt::ActionRouter::shared().invalidate();
        item(menus, QStringLiteral("Pictern Help"))->trigger();
        item(menus, QStringLiteral("Email Support…"))->trigger();
    }
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
    EXPECT_EQ(catcher.urls, (QList<QUrl>{QUrl(QStringLiteral("https://help.example.org/pictern")),
                                         QUrl(QStringLiteral("mailto:help@example.org?subject=Support"))}));

    PTMenuItemsController bare{QString(), QString()};
    EXPECT_EQ(item(bare, QStringLiteral("Pictern Help")), nullptr);
    EXPECT_EQ(item(bare, QStringLiteral("Email Support…")), nullptr);
    EXPECT_NE(item(bare, QStringLiteral("About Pictern")), nullptr);
}

TEST_F(MenuTest, AboutShowsVersionBuildAndThisYear)
{
    EXPECT_EQ(PTAboutPanel::versionText(QStringLiteral("2.1"), QStringLiteral("300"), QString()),
              QStringLiteral("Version 2.1 (300)"));
    EXPECT_EQ(PTAboutPanel::versionText(QStringLiteral("2.1"), QStringLiteral("300"), QStringLiteral("Debian")),
              QStringLiteral("Version 2.1 (Debian 300)"));

    PTAboutPanel panel(QStringLiteral("2.1"), QStringLiteral("300"), QString());
    EXPECT_EQ(panel.buildField()->text(), QStringLiteral("Version 2.1 (300)"));
    EXPECT_TRUE(panel.copyrightField()->text().contains(QString::number(QDate::currentDate().year())));
    panel.show();
    const QString file = apptest::writeScreenshot(&panel, QStringLiteral("app-about"));
    ASSERT_FALSE(file.isEmpty());
    const QImage image(file);
    // The icon sits in the top half, centred: its blue body fills the middle column of pixels there.
    EXPECT_TRUE(apptest::near(image.pixelColor(image.width() / 2, 24 + 30), QColor(0x2F, 0x6F, 0xDE), 12))
        << image.pixelColor(image.width() / 2, 54).name().toStdString();

    // Closing drops the panel; the menu builds a new one next time.
    PTMenuItemsController menus{QString(), QString()};
    pt::ActionRouter::shared().perform(QStringLiteral("showAboutWindow:"));
    QPointer<PTAboutPanel> first = menus.aboutPanel();
    ASSERT_TRUE(first);
    EXPECT_LE((first->geometry().center() - first->screen()->availableGeometry().center()).manhattanLength(), 2)
        << "the frameless panel opens in the middle of its screen";
    first->close();
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return first.isNull(); }));
    pt::ActionRouter::shared().perform(QStringLiteral("showAboutWindow:"));
    EXPECT_TRUE(menus.aboutPanel());
}

} // namespace
