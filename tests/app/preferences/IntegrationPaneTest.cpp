#include "app/preferences/PTPreferencesIntegrationViewController.h"
#include "app/PTNotice.h"
#include "app/PTNoticeController.h"
#include "app/scripting/PTScriptablePluginSketch.h"

#include "AppTestWidgets.h"
#include "TestSupport.h"

#include "ui/controls/PTSegmentedControl.h"
#include "ui/controls/PTSheetViewPopupButton.h"
#include "ui/theme/PTThemeController.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QStandardPaths>

#include "preferences/PreferencesTestDefaults.h"

#include <gtest/gtest.h>

namespace {

QString carried()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("pictern/") + PTScriptablePluginSketch::BundleName);
}

void writeBundle(const QString& path, const char* version)
{
    QDir(path).removeRecursively();
    QDir().mkpath(path + QStringLiteral("/Contents/Sketch"));
    QFile manifest(path + QStringLiteral("/Contents/Sketch/manifest.json"));
    ASSERT_TRUE(manifest.open(QIODevice::WriteOnly));
    manifest.write(QByteArray("{\"version\": \"") + version + "\"}");
}

class IntegrationPaneTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        usePreferencesTestDefaults(dir);
        PTScriptablePlugin::registerAll();
        PTScriptablePlugin::discardInstances();
        clear();
        writeBundle(carried(), "1.10");
    }
    void TearDown() override
    {
        clear();
        PTScriptablePlugin::discardInstances();
        PTThemeController::defaultController().setDefaultAppearance(PTAppearanceAqua, PTAppearancePreferenceAutomatic);
    }
    static void clear()
    {
        QDir(QFileInfo(carried()).absolutePath()).removeRecursively();
        QDir(QFileInfo(PTScriptablePluginSketch::installedLocation()).absolutePath()).removeRecursively();
    }
    QTemporaryDir dir;
};

} // namespace

// The install control in the plug-in's three states, both themes, each written as a screenshot.
TEST_F(IntegrationPaneTest, TheInstallControlFollowsThePlugin)
{
    struct State {
        const char* name;
        const char* installed; // null: not installed
        const char* label;
        bool enabled;
    };
    const State states[] = {
        {"not-installed", nullptr, "Install...", true},
        {"update", "1.2", "Update...", true},
        {"installed", "1.10", "Installed", false},
    };
    for (const auto& [appearance, theme] : {std::pair{int(PTAppearanceAqua), "light"},
                                            std::pair{int(PTAppearanceDark), "dark"}}) {
        PTThemeController::defaultController().setDefaultAppearance(appearance, PTAppearancePreferenceManual);
        for (const State& state : states) {
            QDir(QFileInfo(PTScriptablePluginSketch::installedLocation()).absolutePath()).removeRecursively();
            if (state.installed)
                writeBundle(PTScriptablePluginSketch::installedLocation(), state.installed);
            PTPreferencesIntegrationViewController pane;
            pane.show();
            EXPECT_EQ(pane.installControl()->label(0), QString::fromLatin1(state.label)) << state.name;
            EXPECT_EQ(pane.installControl()->isEnabled(), state.enabled) << state.name;
            const QString file = apptest::writeScreenshot(
                &pane, QStringLiteral("preferences-integration-%1-%2").arg(QLatin1String(state.name), theme));
            const QImage image(file);
            ASSERT_FALSE(image.isNull()) << state.name;
            // The host's icon is drawn at the left of the row, the background shows right of the controls.
            const QLabel* hostImage = pane.findChild<QLabel*>();
            const QPoint icon = hostImage->mapTo(&pane, hostImage->rect().center());
            const QColor background = image.pixelColor(image.width() - 4, image.height() / 2);
            EXPECT_FALSE(apptest::near(image.pixelColor(icon), background, 12)) << state.name << " " << theme;
        }
    }
}

TEST_F(IntegrationPaneTest, InstallingShowsInstalledWithinOnePollAndTheFormatIsStored)
{
    PTPreferencesIntegrationViewController pane;
    pane.show();
    EXPECT_EQ(pane.formatControl()->selectedItem()->data().toInt(), 1);
    const QMenu* menu = pane.findChild<QMenu*>();
    ASSERT_TRUE(menu);
    const QList<QAction*> items = menu->actions();
    ASSERT_EQ(items.size(), 3);
    pane.formatControl()->selectItem(items[1]);
    emit pane.formatControl()->itemSelected(items[1]);
    PTScriptablePlugin::discardInstances();
    EXPECT_EQ(PTScriptablePlugin::pluginForIdentifier(PTScriptablePluginSketch::Identifier)
                  ->options()
                  .value(PTScriptablePluginSketch::FormatKey)
                  .toInt(),
              2);

    // Installed from outside (as the design application would): the pane notices on its next look.
    writeBundle(PTScriptablePluginSketch::installedLocation(), "1.10");
    EXPECT_TRUE(pt::test::runMainQueueUntil([&] { return !pane.installControl()->isEnabled(); }, 2500));
    EXPECT_EQ(pane.installControl()->label(0), QStringLiteral("Installed"));
}

TEST_F(IntegrationPaneTest, ThePluginNoticeShowsForAnOlderInstalledPlugin)
{
    const auto pluginNoticeShows = [](const PTNoticeController& notices) {
        for (const PTNotice* notice : notices.notices()) {
            if (notice->title() == PTNoticeController::SketchPluginTitle)
                return notice->canDisplay();
        }
        ADD_FAILURE() << "no plug-in notice";
        return false;
    };
    EXPECT_FALSE(pluginNoticeShows(PTNoticeController()));
    writeBundle(PTScriptablePluginSketch::installedLocation(), "1.10");
    EXPECT_FALSE(pluginNoticeShows(PTNoticeController())) << "up to date";
    writeBundle(PTScriptablePluginSketch::installedLocation(), "1.2");
    EXPECT_TRUE(pluginNoticeShows(PTNoticeController()));
}
