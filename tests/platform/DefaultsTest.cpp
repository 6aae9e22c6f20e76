#include "platform/runtime/Defaults.h"

#include <QCheckBox>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using pt::Defaults;

namespace {

// Each test gets its own settings file, like a fresh profile.
class DefaultsTest : public ::testing::Test {
protected:
    void SetUp() override { Defaults::useStorageFile(dir.filePath("settings.ini")); }
    void reopen() { Defaults::useStorageFile(dir.filePath("settings.ini")); }
    Defaults& defaults() { return Defaults::standard(); }
    QTemporaryDir dir;
};

} // namespace

TEST_F(DefaultsTest, ValuesKeepTheirTypesAcrossAReload)
{
    const QVariantMap nested{{"count", 3}, {"ratio", 0.25}, {"on", true}, {"list", QVariantList{1, "two", 3.5}}};
    const std::vector<std::pair<QString, QVariant>> cases{
        {"int", 42},
        {"negative", -7},
        {"big", qint64(1) << 40},
        {"double", 2.5},
        {"wholeDouble", 3.0},
        {"bool", true},
        {"string", QString("12")},
        {"atString", QString("@Variant(x)")},
        {"bytes", QByteArray("\x00\x01\xff", 3)},
        {"list", QVariantList{1, 2.0, false, QString("x")}},
        {"map", nested},
        {"path/with/slashes", QString("kept")},
    };
    for (const auto& [key, value] : cases)
        defaults().set(key, value);
    defaults().synchronize();
    reopen();
    for (const auto& [key, value] : cases) {
        const QVariant read = defaults().objectForKey(key);
        EXPECT_EQ(read.metaType(), value.metaType()) << key.toStdString();
        EXPECT_EQ(read, value) << key.toStdString();
    }
}

TEST_F(DefaultsTest, RegisteredValuesAreFallbacksAndNeverWritten)
{
    defaults().registerDefaults({{"PTLibraryPreferencesBackupFrequency", 7}, {"flag", true}});
    EXPECT_EQ(defaults().integerForKey("PTLibraryPreferencesBackupFrequency"), 7);
    defaults().set("PTLibraryPreferencesBackupFrequency", 1);
    EXPECT_EQ(defaults().integerForKey("PTLibraryPreferencesBackupFrequency"), 1);
    defaults().remove("PTLibraryPreferencesBackupFrequency");
    EXPECT_EQ(defaults().integerForKey("PTLibraryPreferencesBackupFrequency"), 7);
    defaults().synchronize();
    QSettings raw(defaults().storagePath(), QSettings::IniFormat);
    EXPECT_FALSE(raw.contains("flag"));
}

TEST_F(DefaultsTest, TypedReadsOfOtherTypes)
{
    defaults().set("s", QString("hello"));
    defaults().set("yes", QString("YES"));
    defaults().set("n", 3);
    defaults().set("list", QVariantList{1});
    EXPECT_FALSE(defaults().boolForKey("s"));
    EXPECT_TRUE(defaults().boolForKey("yes"));
    EXPECT_TRUE(defaults().boolForKey("n"));
    EXPECT_FALSE(defaults().boolForKey("list"));
    EXPECT_FALSE(defaults().boolForKey("missing"));
    EXPECT_EQ(defaults().integerForKey("s"), 0);
    EXPECT_EQ(defaults().stringForKey("list"), QString());
    EXPECT_TRUE(defaults().arrayForKey("s").isEmpty());
    EXPECT_TRUE(defaults().dictionaryForKey("n").isEmpty());
}

TEST_F(DefaultsTest, ChangedFiresOncePerRealChange)
{
    defaults().registerDefaults({{"k", 5}});
    QSignalSpy spy(&defaults(), &Defaults::changed);
    defaults().set("k", 5);           // equal to the registered value a reader sees
    defaults().set("k", 6);           // change
    defaults().set("k", 6);           // equal
    defaults().set("k", 6.0);         // another type is another value
    defaults().remove("k");           // back to 5
    defaults().remove("k");           // nothing left to remove
    ASSERT_EQ(spy.count(), 3);
    for (const auto& args : spy)
        EXPECT_EQ(args.at(0).toString(), "k");
}

TEST_F(DefaultsTest, BindBoolFollowsBothWaysWithNegation)
{
    QCheckBox box;
    QCheckBox inverse;
    defaults().set("shown", true);
    defaults().bindBool(&box, "checked", "shown");
    defaults().bindBool(&inverse, "checked", "shown", true);
    EXPECT_TRUE(box.isChecked());
    EXPECT_FALSE(inverse.isChecked());
    defaults().set("shown", false);
    EXPECT_FALSE(box.isChecked());
    EXPECT_TRUE(inverse.isChecked());
    box.setChecked(true);
    EXPECT_TRUE(defaults().boolForKey("shown"));
    EXPECT_FALSE(inverse.isChecked());
}
