#include "ui/PTApplicationIcon.h"
#include "app/PTNotice.h"
#include "app/PTNoticeController.h"
#include "app/scripting/PTScriptablePluginSketch.h"

#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

namespace {

QString dataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

QString carried()
{
    return QDir(dataFolder()).filePath(QStringLiteral("pictern/") + PTScriptablePluginSketch::BundleName);
}

// A plug-in bundle at the path whose manifest holds the text (none: no manifest).
void makeBundle(const QString& path, const std::optional<QByteArray>& manifest)
{
    QDir(path).removeRecursively();
    QDir().mkpath(path + QStringLiteral("/Contents/Sketch"));
    if (!manifest)
        return;
    QFile file(path + QStringLiteral("/Contents/Sketch/manifest.json"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(*manifest);
}

QByteArray version(const char* v)
{
    return QByteArray("{\"name\": \"Pictern\", \"version\": \"") + v + "\"}";
}

struct SketchPluginTest : ::testing::Test {
    void SetUp() override { clear(); }
    void TearDown() override { clear(); }
    static void clear()
    {
        QDir(QFileInfo(carried()).absolutePath()).removeRecursively();
        QDir(QDir(dataFolder()).filePath(PTScriptablePluginSketch::HostIdentifier)).removeRecursively();
    }
};

} // namespace

// Carried against installed bundle: what the plug-in says about installation and updates.
TEST_F(SketchPluginTest, InstalledAndUpdateTable)
{
    struct Case {
        const char* name;
        std::optional<QByteArray> carriedManifest;
        std::optional<std::optional<QByteArray>> installedManifest; // absent: not installed
        bool installed;
        bool update;
    };
    const Case cases[] = {
        {"not installed", version("1.0"), std::nullopt, false, false},
        {"1.10 over 1.2", version("1.10"), version("1.2"), true, true},
        {"equal", version("1.10"), version("1.10"), true, false},
        {"installed newer", version("1.2"), version("1.10"), true, false},
        {"installed without manifest", version("1.0"), std::optional<QByteArray>(), true, true},
        {"installed version not a string", version("1.0"), QByteArray("{\"version\": 2}"), true, true},
        {"installed manifest not an object", version("1.0"), QByteArray("[\"1.0\"]"), true, true},
        {"carried without version", QByteArray("{}"), version("1.0"), true, false},
    };
    PTScriptablePluginSketch plugin;
    for (const Case& c : cases) {
        clear();
        makeBundle(carried(), c.carriedManifest);
        if (c.installedManifest)
            makeBundle(PTScriptablePluginSketch::installedLocation(), *c.installedManifest);
        EXPECT_EQ(plugin.installed(), c.installed) << c.name;
        EXPECT_EQ(plugin.updateAvailable(), c.update) << c.name;
    }
}

TEST_F(SketchPluginTest, VersionsComeOnlyFromPluginBundlesWithAStringVersion)
{
    QTemporaryDir temp;
    const QString plugin = temp.filePath(QStringLiteral("A.sketchplugin"));
    const QString other = temp.filePath(QStringLiteral("A.bundle"));
    makeBundle(plugin, version("2.3"));
    makeBundle(other, version("2.3"));
    EXPECT_EQ(PTScriptablePluginSketch::versionNumberForPluginAtURL(QUrl::fromLocalFile(plugin)), QStringLiteral("2.3"));
    EXPECT_EQ(PTScriptablePluginSketch::versionNumberForPluginAtURL(QUrl::fromLocalFile(other)), QString());
    makeBundle(plugin, QByteArray("{\"version\": 2}"));
    EXPECT_EQ(PTScriptablePluginSketch::versionNumberForPluginAtURL(QUrl::fromLocalFile(plugin)), QString());
    makeBundle(plugin, QByteArray("not json"));
    EXPECT_EQ(PTScriptablePluginSketch::versionNumberForPluginAtURL(QUrl::fromLocalFile(plugin)), QString());
}

// With no desktop entry for the design application (as here), installing copies the carried bundle into its
// plug-in folder; an update replaces the old bundle only once the copy is whole.
TEST_F(SketchPluginTest, InstallingCopiesAndReplacesAndAFailureKeepsTheOldBundle)
{
    ASSERT_FALSE(PTScriptablePluginSketch::host());
    makeBundle(carried(), version("1.10"));
    PTScriptablePluginSketch plugin;
    const auto install = [&plugin] {
        std::optional<pt::Error> result;
        plugin.install([&result](const pt::Error& error) { result = error; });
        EXPECT_TRUE(pt::test::runMainQueueUntil([&] { return result.has_value(); }));
        return result.value_or(pt::Error());
    };
    EXPECT_TRUE(install().isNull());
    EXPECT_TRUE(plugin.installed());
    EXPECT_FALSE(plugin.updateAvailable());

    makeBundle(PTScriptablePluginSketch::installedLocation(), version("1.2"));
    EXPECT_TRUE(plugin.updateAvailable());
    EXPECT_TRUE(install().isNull());
    EXPECT_EQ(PTScriptablePluginSketch::versionNumberForPluginAtURL(
                  QUrl::fromLocalFile(PTScriptablePluginSketch::installedLocation())),
              QStringLiteral("1.10"));

    makeBundle(PTScriptablePluginSketch::installedLocation(), version("1.2"));
    QDir(QFileInfo(carried()).absolutePath()).removeRecursively();
    EXPECT_FALSE(install().isNull());
    EXPECT_EQ(PTScriptablePluginSketch::versionNumberForPluginAtURL(
                  QUrl::fromLocalFile(PTScriptablePluginSketch::installedLocation())),
              QStringLiteral("1.2"));
}

// Run by its own test entry, whose data folders hold a desktop entry of the design application that records what
// it is asked to open (PICTERN_FAKE_HOST_RECORD names the record file). The carried bundle goes to it.
TEST_F(SketchPluginTest, AHostEntryReceivesTheBundle)
{
    const QString record = qEnvironmentVariable("PICTERN_FAKE_HOST_RECORD");
    if (record.isEmpty())
        GTEST_SKIP() << "needs the desktop entry of its own test run";
    QFile::remove(record);
    ASSERT_TRUE(PTScriptablePluginSketch::host());
    makeBundle(carried(), version("1.10"));
    PTScriptablePluginSketch plugin;
    std::optional<pt::Error> result;
    plugin.install([&result](const pt::Error& error) { result = error; });
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return result.has_value(); }));
    EXPECT_TRUE(result->isNull());
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return QFile::exists(record); }, 10000));
    QFile file(record);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(file.readAll()).trimmed(), carried());
    EXPECT_FALSE(plugin.installed()) << "the host installs it, not Pictern";
}

// The plug-in notice shows the design application's icon when the desktop has its entry and the icon it names is
// there, Pictern's own otherwise. Its own test entry holds the host's entry, whose icon file this test writes.
TEST_F(SketchPluginTest, TheNoticeShowsTheHostsIconWhenTheDesktopHasIt)
{
    const auto noticeImage = [] {
        PTNoticeController notices;
        const PTNotice* notice = notices.notices().value(0);
        EXPECT_EQ(notice->title(), PTNoticeController::SketchPluginTitle);
        return notice->image();
    };
    const QImage own = PTApplicationIcon::image(64);
    ASSERT_FALSE(own.isNull());
    const std::optional<PTApplicationInfo> host = PTScriptablePluginSketch::host();
    if (!host) {
        EXPECT_EQ(noticeImage(), own) << "no host on this desktop";
        return;
    }
    ASSERT_TRUE(QFileInfo(host->iconName).isAbsolute()) << host->iconName.toStdString();
    QFile::remove(host->iconName);
    EXPECT_EQ(noticeImage(), own) << "the host's icon file is missing";

    QImage red(64, 64, QImage::Format_ARGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(host->iconName, "PNG"));
    const QImage shown = noticeImage();
    ASSERT_FALSE(shown.isNull());
    EXPECT_EQ(shown.pixelColor(shown.rect().center()), QColor(Qt::red));
    QFile::remove(host->iconName);
}
