#include "platform/runtime/Defaults.h"
#include "platform/runtime/NotificationCenter.h"
#include "ui/PTPersistedImportOptions.h"
#include "ui/PTPreferenceKeys.h"

#include <QTemporaryDir>

#include "preferences/PreferencesTestDefaults.h"

#include <gtest/gtest.h>

using Prefs = PTPersistedImportOptions;

namespace {

class ImportOptionStackTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        usePreferencesTestDefaults(dir);
        token = pt::NotificationCenter::defaultCenter().addObserver(
            Prefs::ImportOptionsDidChangeNotification, nullptr, [this](const pt::Notification&) { ++posts; });
    }
    void TearDown() override
    {
        while (Prefs::popPersistedImportOptions()) {
        }
    }
    QTemporaryDir dir;
    pt::ObserverToken token;
    int posts = 0;
};

} // namespace

TEST_F(ImportOptionStackTest, PushesNestAndEachPopUncoversTheOneBefore)
{
    EXPECT_EQ(Prefs::persistedImportOptions(), 0x143DC);

    Prefs::pushPersistedImportOptions(0x9);
    Prefs::pushPersistedImportOptions(0x89);
    EXPECT_EQ(posts, 2);
    EXPECT_EQ(Prefs::persistedImportOptions(), 0x89);

    EXPECT_EQ(Prefs::popPersistedImportOptions(), std::optional<qint64>(0x89));
    EXPECT_EQ(Prefs::persistedImportOptions(), 0x9);
    EXPECT_EQ(Prefs::popPersistedImportOptions(), std::optional<qint64>(0x9));
    EXPECT_EQ(posts, 4);

    EXPECT_EQ(Prefs::popPersistedImportOptions(), std::nullopt);
    EXPECT_EQ(posts, 4) << "an empty pop changes nothing and says nothing";
    EXPECT_EQ(Prefs::persistedImportOptions(), 0x143DC);
}

TEST_F(ImportOptionStackTest, APushedSetHidesTheStoredOneUntilItIsPopped)
{
    pt::Defaults::standard().set(PTPreferenceKeys::ImportOptions, 0x19);
    EXPECT_EQ(Prefs::persistedImportOptions(), 0x19);

    Prefs::pushPersistedImportOptions(0x1009);
    pt::Defaults::standard().set(PTPreferenceKeys::ImportOptions, 0x29);
    EXPECT_EQ(Prefs::persistedImportOptions(), 0x1009);
    EXPECT_EQ(Prefs::persistedImportOptions(false), 0x29);

    Prefs::popPersistedImportOptions();
    EXPECT_EQ(Prefs::persistedImportOptions(), 0x29);
}

TEST_F(ImportOptionStackTest, ExportDefaultsAreRegisteredWithThePreferences)
{
    auto& defaults = pt::Defaults::standard();
    EXPECT_EQ(defaults.doubleForKey(PTPreferenceKeys::ExportQuality), 1.0);
    EXPECT_TRUE(defaults.objectForKey(PTPreferenceKeys::ExportProgressive).isValid());
    EXPECT_FALSE(defaults.boolForKey(PTPreferenceKeys::ExportProgressive));
    EXPECT_TRUE(PTDarkModeAutoColorIconsEnabled());
    EXPECT_FALSE(defaults.objectForKey(PTPreferenceKeys::DraggingUseSize).isValid());
}
