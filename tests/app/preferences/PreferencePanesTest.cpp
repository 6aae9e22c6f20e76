#include "app/preferences/PTPreferencesAppearanceButton.h"
#include "app/PTUpdateController.h"
#include "app/preferences/PTPreferencesDraggingViewController.h"
#include "app/preferences/PTPreferencesGeneralViewController.h"
#include "app/preferences/PTPreferencesImportExportViewController.h"
#include "app/preferences/PTPreferencesLibraryViewController.h"
#include "app/preferences/PTPreferencesUpdateViewController.h"
#include "app/updates/FeedUpdater.h"

#include "library/PTLibraryController.h"
#include "library/controllers/PTCollectionController.h"
#include "library/upkeep/PTLibraryBackupController.h"
#include "platform/runtime/Defaults.h"
#include "platform/runtime/NotificationCenter.h"
#include "ui/PTPersistedImportOptions.h"
#include "ui/PTPreferenceKeys.h"
#include "ui/controls/PTSwitchControl.h"
#include "ui/theme/PTThemeController.h"

#include "AppTestWidgets.h"
#include "FakeDesktopServices.h"

#include "ui/controls/PTSegmentedControl.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QComboBox>
#include <QLabel>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

#include "preferences/PreferencesTestDefaults.h"

#include <gtest/gtest.h>

using ImportExport = PTPreferencesImportExportViewController;

namespace {

// What the user does to a switch: it changes and says so.
void userToggle(PTSwitchControl* control)
{
    QTest::keyClick(control, Qt::Key_Space);
}

class PreferencePanesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        usePreferencesTestDefaults(dir);
    }
    void TearDown() override
    {
        PTThemeController::defaultController().setDefaultAppearance(PTAppearanceAqua, PTAppearancePreferenceAutomatic);
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(PreferencePanesTest, EverySwitchShowsAndStoresItsKey)
{
    PTPreferencesGeneralViewController general;
    PTPreferencesDraggingViewController dragging;
    ImportExport io;
    const struct {
        PTPreferencesPane* pane;
        QString key;
        bool negated;
    } cases[] = {
        {&general, PTCollectionController::DeleteSuppressionKey, true},
        {&general, PTPreferenceKeys::ClearSearchOnSelectionChange, false},
        {&general, PTPreferenceKeys::ShowNotifications, false},
        {&general, PTPreferenceKeys::ShowNotificationsAlways, false},
        {&general, PTPreferenceKeys::DarkModeAutoColorIcons, false},
        {&dragging, PTPreferenceKeys::DraggingUseColor, false},
        {&dragging, PTPreferenceKeys::DraggingUseInternalRenderer, false},
        {&dragging, PTPreferenceKeys::DraggingUseSize, false},
        {&dragging, PTPreferenceKeys::HideWindowOnDrag, false},
        {&io, PTPreferenceKeys::ExportKeepOriginalNames, false},
        {&io, PTPreferenceKeys::ExportMaintainState, false},
        {&io, PTPreferenceKeys::ExportTagFile, false},
        {&io, PTPreferenceKeys::ExportSVGRemoveWidthHeight, false},
    };
    auto& defaults = pt::Defaults::standard();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key.toStdString());
        auto* control = c.pane->findChild<PTSwitchControl*>(c.key);
        ASSERT_TRUE(control);
        EXPECT_FALSE(control->accessibleName().isEmpty());
        const bool registered = defaults.boolForKey(c.key);
        EXPECT_EQ(control->isChecked(), registered != c.negated);
        for (const bool stored : {true, false}) {
            defaults.set(c.key, stored);
            EXPECT_EQ(control->isChecked(), stored != c.negated);
        }
        userToggle(control);
        EXPECT_TRUE(defaults.boolForKey(c.key)) << "the user changed the switch from a stored NO";
    }
}

TEST_F(PreferencePanesTest, AppearanceControlsShowTheStoredChoice)
{
    PTThemeController& theme = PTThemeController::defaultController();
    theme.setDefaultAppearance(PTAppearanceAqua, PTAppearancePreferenceAutomatic);
    PTPreferencesGeneralViewController pane;
    auto* light = pane.lightModeAppearanceButton();
    auto* dark = pane.darkModeAppearanceButton();
    EXPECT_TRUE(pane.automaticAppearanceControl()->isChecked());
    EXPECT_FALSE(light->isEnabled() || dark->isEnabled());
    EXPECT_FALSE(light->isChecked() || dark->isChecked());

    userToggle(pane.automaticAppearanceControl());
    auto& defaults = pt::Defaults::standard();
    EXPECT_EQ(defaults.integerForKey(PTThemeController::AppearancePreferenceKey), PTAppearancePreferenceManual);
    const int system = theme.appearanceForPreference(PTAppearancePreferenceAutomatic);
    EXPECT_EQ(defaults.integerForKey(PTThemeController::AppearanceKey), system);
    EXPECT_TRUE(light->isEnabled() && dark->isEnabled());
    EXPECT_EQ(light->isChecked(), system == PTAppearanceAqua);
    EXPECT_EQ(dark->isChecked(), system != PTAppearanceAqua);

    dark->click();
    EXPECT_EQ(theme.appearance(), PTAppearanceDark);
    EXPECT_TRUE(dark->isChecked());
    EXPECT_FALSE(light->isChecked());
    light->click();
    light->click();
    EXPECT_TRUE(light->isChecked()) << "a second click on the chosen button keeps it chosen";
    EXPECT_EQ(theme.appearance(), PTAppearanceAqua);
}

TEST_F(PreferencePanesTest, ImportSwitchesBuildTheStoredSet)
{
    pt::Defaults::standard().set(PTPreferenceKeys::ImportOptions, 0x88 | 0x40000);
    int posts = 0;
    const pt::ObserverToken token = pt::NotificationCenter::defaultCenter().addObserver(
        PTPersistedImportOptions::ImportOptionsDidChangeNotification, nullptr, [&](const pt::Notification&) { ++posts; });
    PTPersistedImportOptions::pushPersistedImportOptions(0x1009);
    posts = 0;

    ImportExport pane;
    EXPECT_EQ(pane.importOptions(), 0x89) << "the stored set, never the pushed one, with 0x1 and without 0x40000";
    EXPECT_EQ(pt::Defaults::standard().integerForKey(PTPreferenceKeys::ImportOptions), 0x89);
    EXPECT_EQ(posts, 1);
    for (qint64 bit = 0x2; bit <= 0x10000; bit <<= 1)
        EXPECT_TRUE(pane.importSwitch(bit)) << bit;

    userToggle(pane.importSwitch(0x8));
    EXPECT_EQ(pt::Defaults::standard().integerForKey(PTPreferenceKeys::ImportOptions), 0x81);
    EXPECT_EQ(posts, 2);
    EXPECT_EQ(PTPersistedImportOptions::persistedImportOptions(), 0x1009) << "the pushed set still rules";

    pane.importSwitch(0x80)->setEnabled(false);
    EXPECT_EQ(pane.importOptions(), 0x1) << "a disabled switch adds nothing, checked or not";
    pane.setOptions(0);
    EXPECT_EQ(pane.importOptions(), 0x1);
    PTPersistedImportOptions::popPersistedImportOptions();
}

TEST_F(PreferencePanesTest, ExportQualityShowsAsAPercentageAndIsStoredWithProgressive)
{
    auto& defaults = pt::Defaults::standard();
    {
        ImportExport pane;
        EXPECT_EQ(pane.exportQualityLabel()->text(), "100%");
        EXPECT_EQ(defaults.doubleForKey(PTPreferenceKeys::ExportQuality), 1.0);
        EXPECT_FALSE(pane.exportProgressiveControl()->isChecked());
    }
    defaults.set(PTPreferenceKeys::ExportQuality, 0.8);
    defaults.set(PTPreferenceKeys::ExportProgressive, true);
    ImportExport pane;
    EXPECT_EQ(pane.exportQualityLabel()->text(), "80%");
    EXPECT_TRUE(pane.exportProgressiveControl()->isChecked());
    pane.exportQualitySliderControl()->setValue(29);
    EXPECT_EQ(pane.exportQualityLabel()->text(), "29%");
    EXPECT_DOUBLE_EQ(defaults.doubleForKey(PTPreferenceKeys::ExportQuality), 0.29);
    pane.exportProgressiveControl()->click();
    EXPECT_FALSE(defaults.boolForKey(PTPreferenceKeys::ExportProgressive));
}

TEST_F(PreferencePanesTest, UpdatesPaneFollowsTheUpdaterAndOffersNothingItCannotDo)
{
    PTUpdateController controller(std::make_unique<pt::FeedUpdater>(QUrl("http://127.0.0.1:9/feed"), "1.0"), QString());
    PTPreferencesUpdateViewController pane(controller);
    EXPECT_EQ(pane.lastCheckedText(), "Last checked: N/A");
    EXPECT_TRUE(pane.automaticallyCheckForUpdatesControl()->isEnabled());
    EXPECT_TRUE(pane.automaticallyCheckForUpdatesControl()->isChecked());
    userToggle(pane.automaticallyCheckForUpdatesControl());
    EXPECT_FALSE(controller.updater().automaticallyChecksForUpdates());
    controller.updater().setAutomaticallyChecksForUpdates(true);
    EXPECT_TRUE(pane.automaticallyCheckForUpdatesControl()->isChecked());
    int disabled = 0;
    for (auto* control : pane.findChildren<PTSwitchControl*>())
        disabled += control->isEnabled() ? 0 : 1;
    EXPECT_EQ(disabled, 2);
    EXPECT_FALSE(pane.sendUsageReportControl()->isEnabled());
    EXPECT_FALSE(pane.sendUsageReportControl()->isChecked());
}

// Without a feed the automatic check shows off and disabled, and the stored choice is left for a build with one.
TEST_F(PreferencePanesTest, UpdateChecksWithoutAFeedShowOff)
{
    PTUpdateController controller(std::make_unique<pt::FeedUpdater>(QUrl(), "1.0"), QString());
    ASSERT_TRUE(controller.updater().automaticallyChecksForUpdates());
    PTPreferencesUpdateViewController pane(controller);
    PTSwitchControl* automatic = pane.automaticallyCheckForUpdatesControl();
    EXPECT_FALSE(automatic->isChecked());
    EXPECT_FALSE(automatic->isEnabled());
    controller.updater().setAutomaticallyChecksForUpdates(false);
    controller.updater().setAutomaticallyChecksForUpdates(true);
    EXPECT_FALSE(automatic->isChecked());
}

TEST_F(PreferencePanesTest, TheUsageReportSwitchIsOffUntilTheUserTurnsItOn)
{
    PTUpdateController controller(std::make_unique<pt::FeedUpdater>(QUrl(), "1.0"), QString(),
                                  std::make_unique<pt::UsageReporter>(QUrl("http://127.0.0.1:9/usage")));
    PTPreferencesUpdateViewController pane(controller);
    PTSwitchControl* usage = pane.sendUsageReportControl();
    EXPECT_TRUE(usage->isEnabled());
    EXPECT_FALSE(usage->isChecked());
    userToggle(usage);
    EXPECT_TRUE(controller.usageReporter().sendsUsageReport());
    controller.usageReporter().setSendsUsageReport(false);
    EXPECT_FALSE(usage->isChecked());
}

TEST_F(PreferencePanesTest, LibraryPaneKeepsItsSettingsWhenThePanelIsCancelled)
{
    pt::Defaults::standard().set(PTLibraryController::BackupFrequencyKey, 3);
    PTLibraryController* library = PTLibraryController::currentLibrary();
    const QDateTime backedUp = library->lastBackupDate();
    library->setLastBackupDate(QDateTime());
    PTPreferencesLibraryViewController pane;
    EXPECT_EQ(pane.askFrequencyControl()->currentData().toInt(), 3);
    EXPECT_EQ(pane.lastBackupControl()->text(), "Last backed up: Unknown");
    library->setLastBackupDate(QDateTime::currentDateTime());
    pane.recheckLastBackupDate();
    EXPECT_EQ(pane.lastBackupControl()->text(), "Last backed up: Today");
    library->setLastBackupDate(backedUp);

    const QString before = pane.backupPathControl()->text();
    pane.setFolderChooser([](QWidget*, const QString&) { return QString(); });
    pane.changeBackupLocation();
    EXPECT_EQ(pane.backupPathControl()->text(), before);
    EXPECT_FALSE(pt::Defaults::standard().objectForKey(PTLibraryBackupController::BackupPathKey).isValid());

    const QString chosen = dir.filePath("backups");
    pane.setFolderChooser([&](QWidget*, const QString&) { return chosen; });
    pane.changeBackupLocation();
    EXPECT_EQ(pt::Defaults::standard().stringForKey(PTLibraryBackupController::BackupPathKey), chosen);
}

TEST_F(PreferencePanesTest, TheLibraryHelpButtonOpensItsPageAndIsLeftOutWithoutOne)
{
    PTPreferencesLibraryViewController bare{QString()};
    EXPECT_EQ(bare.helpControl(), nullptr);
    for (PTSegmentedControl* control : bare.findChildren<PTSegmentedControl*>())
        EXPECT_NE(control->accessibleName(), QStringLiteral("Help"));

    const QUrl page(QStringLiteral("https://help.example.org/pictern/synced-libraries"));
    PTPreferencesLibraryViewController pane{page.toString()};
    pane.show();
    ASSERT_NE(pane.helpControl(), nullptr);
    EXPECT_TRUE(pane.helpControl()->isVisible());
    EXPECT_EQ(pane.helpControl()->accessibleName(), QStringLiteral("Help"));
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
    QTest::mouseClick(pane.helpControl(), Qt::LeftButton, {}, pane.helpControl()->rect().center());
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    EXPECT_EQ(catcher.urls, QList<QUrl>{page});
}
