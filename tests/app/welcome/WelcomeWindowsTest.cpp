#include "app/PTBuildInfo.h"
#include "app/PTSplashOnboardingController.h"
#include "app/welcome/PTSplashWhatsNewController.h"
#include "app/welcome/PTStarterSetImport.h"
#include "app/welcome/PTWelcomeWindows.h"
#include "transfer/PTStarterSetDownloads.h"

#include "library/entities/PTItem.h"
#include "library/store/PTStoreFunctions.h"
#include "platform/runtime/Defaults.h"
#include "platform/ui/ModalRunner.h"
#include "ui/sheets/PTProgressSheetWindow.h"

#include "AppTestLibrary.h"
#include "TestSupport.h"
#include "preferences/PreferencesTestDefaults.h"

#include <QMessageBox>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

// Holds each download until the test lets it end, importing a set of icons when it succeeds.
class FakeStarterSetDownloads : public PTStarterSetDownloads {
public:
    void downloadStarterSet(const QUrl& url, Progress progress, Completion completion) override
    {
        requested = url;
        progress(0.5);
        completion_ = std::move(completion);
    }
    void cancel() override { ++cancels; }
    bool pending() const { return bool(completion_); }
    void finish(bool imported)
    {
        if (imported)
            AppTestLibrary::shared().addSet("Starter", {"Alarm", "Bell"});
        std::exchange(completion_, {})(imported);
    }
    QUrl requested;
    int cancels = 0;

private:
    Completion completion_;
};

class WelcomeWindowsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        usePreferencesTestDefaults(dir);
        removeAllItems();
        PTStarterSetDownloads::install(downloads);
        pt::Defaults::standard().set(PTStarterSetDownloads::URLKey, "https://pictern.example/starter.zip");
    }
    void TearDown() override
    {
        PTStarterSetDownloads::install(nullptr);
        pt::ModalRunner::setHook({});
        removeAllItems();
    }
    static void removeAllItems()
    {
        pt::store::ObjectContext* context = PTMainManagedObjectContext();
        const auto items = context->fetch({PTItem::EntityName});
        ASSERT_TRUE(items);
        for (pt::store::ManagedObject* item : *items)
            context->deleteObject(item);
        bool saved = false;
        PTSaveManagedObjectContextWithCompletion([&](const pt::Error&) { saved = true; });
        ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return saved; }));
    }
    // Alerts are answered with OK, and counted.
    void answerAlerts()
    {
        pt::ModalRunner::setHook([this](QWidget* window) {
            if (auto* box = qobject_cast<QMessageBox*>(window)) {
                alerts << box->informativeText();
                box->buttons().first()->click();
            }
        });
    }
    QTemporaryDir dir;
    std::shared_ptr<FakeStarterSetDownloads> downloads = std::make_shared<FakeStarterSetDownloads>();
    QStringList alerts;
};

} // namespace

TEST_F(WelcomeWindowsTest, WhatsNewShowsOnceForEachNewerVersion)
{
    auto& defaults = pt::Defaults::standard();
    const struct {
        const char* name;
        QVariant stored;
        const char* running;
        std::optional<bool> build;
        bool shows;
    } cases[] = {
        {"never stored", QVariant(), "1.10", std::nullopt, true},
        {"numeric update", "1.9", "1.10", true, true},
        {"same version", "1.10", "1.10", true, false},
        {"downgrade", "2.0", "1.10", true, false},
        {"turned off by the build", "1.9", "1.10", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.stored.isValid() ? defaults.set(PTSplashWhatsNewController::VersionKey, c.stored)
                           : defaults.remove(PTSplashWhatsNewController::VersionKey);
        EXPECT_EQ(PTSplashWhatsNewController::shouldPresent(c.running, c.build), c.shows);
        EXPECT_EQ(defaults.stringForKey(PTSplashWhatsNewController::VersionKey), c.running);
        EXPECT_FALSE(PTSplashWhatsNewController::shouldPresent(c.running, c.build)) << "only once";
    }
}

TEST_F(WelcomeWindowsTest, LaunchShowsOnboardingFirstThenWhatsNewOnlyWhenNewOrForced)
{
    auto& defaults = pt::Defaults::standard();
    using Shown = PTWelcomeWindows::Shown;
    const QString running = PTBuildInfo::version();
    const struct {
        const char* name;
        QVariant launches;
        QVariant stored;
        bool force;
        Shown shown;
        QVariant storedAfter;
    } cases[] = {
        {"first launch", QVariant(), QVariant(), false, Shown::Onboarding, running},
        {"count set back to 0", 0, "0.1", false, Shown::Onboarding, running},
        {"first launch, forced", QVariant(), QVariant(), true, Shown::Onboarding, running},
        {"after an update", 3, "0.0.1", false,
         PTSplashWhatsNewController::buildShowsWhatsNew() ? Shown::WhatsNew : Shown::None, running},
        {"same version", 3, running, false, Shown::None, running},
        {"forced", 3, "99.0", true, Shown::WhatsNew, "99.0"},
    };
    // Without a starter set the onboarding closes at once; each window is closed as soon as it shows.
    defaults.set(PTStarterSetDownloads::URLKey, QString());
    pt::ModalRunner::setHook([](QWidget* window) { window->close(); });
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.launches.isValid() ? defaults.set(PTSplashOnboardingController::LaunchCountKey, c.launches)
                             : defaults.remove(PTSplashOnboardingController::LaunchCountKey);
        c.stored.isValid() ? defaults.set(PTSplashWhatsNewController::VersionKey, c.stored)
                           : defaults.remove(PTSplashWhatsNewController::VersionKey);
        EXPECT_EQ(PTWelcomeWindows::presentAtLaunch(c.force), c.shown);
        EXPECT_EQ(defaults.objectForKey(PTSplashWhatsNewController::VersionKey), c.storedAfter);
    }
}

TEST_F(WelcomeWindowsTest, OnboardingImportsTheStarterSetAndRefusesToCloseMeanwhile)
{
    auto onboarding = PTSplashWindowController::present<PTSplashOnboardingController>(false, false);
    ASSERT_TRUE(onboarding && onboarding->window()->isVisible());
    onboarding->getStarted();
    ASSERT_TRUE(downloads->pending());
    EXPECT_EQ(downloads->requested, QUrl("https://pictern.example/starter.zip"));
    EXPECT_TRUE(onboarding->window()->isVisible());
    onboarding->performClose();
    EXPECT_TRUE(onboarding->window()->isVisible()) << "closing waits for the import";

    downloads->finish(true);
    EXPECT_FALSE(onboarding->window()->isVisible());
    EXPECT_TRUE(onboarding->didImportDefaultIcons());
    EXPECT_EQ(*PTMainManagedObjectContext()->count({PTItem::EntityName}), 2);
}

TEST_F(WelcomeWindowsTest, AFailedStarterSetSaysSoAndTheWindowCloses)
{
    answerAlerts();
    auto onboarding = PTSplashWindowController::present<PTSplashOnboardingController>(false, false);
    onboarding->getStarted();
    ASSERT_TRUE(downloads->pending());
    downloads->finish(false);
    EXPECT_EQ(alerts, QStringList{PTStarterSetImport::FailureMessage});
    EXPECT_FALSE(onboarding->window()->isVisible());
    EXPECT_EQ(*PTMainManagedObjectContext()->count({PTItem::EntityName}), 0);
}

TEST_F(WelcomeWindowsTest, OnboardingClosesAtOnceWithIconsOrWithoutAStarterSet)
{
    AppTestLibrary::shared().addSet("Mine", {"Star"});
    auto withIcons = PTSplashWindowController::present<PTSplashOnboardingController>(false, false);
    withIcons->getStarted();
    EXPECT_FALSE(withIcons->window()->isVisible());
    EXPECT_FALSE(downloads->pending());

    removeAllItems();
    pt::Defaults::standard().set(PTStarterSetDownloads::URLKey, QString());
    auto withoutAddress = PTSplashWindowController::present<PTSplashOnboardingController>(false, false);
    withoutAddress->getStarted();
    EXPECT_FALSE(withoutAddress->window()->isVisible());
    EXPECT_FALSE(downloads->pending());
}

TEST_F(WelcomeWindowsTest, AStalledDownloadTimesOutAndEndsTheSheet)
{
    answerAlerts();
    PTStarterSetImport run(nullptr);
    run.setTimeout(50);
    bool imported = true;
    int finished = 0;
    QObject::connect(&run, &PTStarterSetImport::finished, [&](bool result) {
        imported = result;
        ++finished;
    });
    ASSERT_TRUE(run.start());
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return finished == 1; }));
    EXPECT_FALSE(imported);
    EXPECT_EQ(downloads->cancels, 1);
    EXPECT_FALSE(run.isRunning());
}

TEST_F(WelcomeWindowsTest, CancellingTheSheetLetsTheWindowCloseWithoutAnAlert)
{
    answerAlerts();
    auto onboarding = PTSplashWindowController::present<PTSplashOnboardingController>(false, false);
    onboarding->getStarted();
    ASSERT_TRUE(onboarding->importer());
    auto* cancel = onboarding->importer()->sheet()->window()->findChild<QPushButton*>();
    ASSERT_TRUE(cancel);
    cancel->click();
    EXPECT_EQ(downloads->cancels, 1);
    EXPECT_TRUE(alerts.isEmpty());
    EXPECT_FALSE(onboarding->window()->isVisible());
}
