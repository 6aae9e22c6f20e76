#include "FakeLibraryShell.h"
#include "TestSupport.h"
#include "library/PTLibraryController.h"
#include "platform/plist/KeyedArchive.h"
#include "platform/plist/PropertyList.h"
#include "platform/runtime/NotificationCenter.h"
#include "transfer/export/PTExportBuiltInPresets.h"
#include "transfer/export/PTExportPresetController.h"
#include "transfer/import/PTFileOpenHandler.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

QStringList describe(const PTExportOutputOptionSet& set)
{
    QStringList lines;
    for (const PTExportOutputOption& o : set.outputOptions())
        lines << QStringLiteral("%1|%2|%3|%4").arg(o.sizeFormat, o.prefix, o.suffix).arg(o.format);
    return lines;
}

TEST(ExportBuiltInPresetsTest, TableOfPresets)
{
    const QList<PTExportOutputOptionSet> presets = PTExportBuiltInPresets::all();
    QStringList seen;
    for (const auto& preset : presets) {
        EXPECT_TRUE(preset.outputOptions().isEmpty());
        seen << preset.name + QStringLiteral(" (") + preset.identifier + QLatin1Char(')');
        for (const auto& sub : preset.subsets()) {
            EXPECT_TRUE(sub.subsets().isEmpty());
            seen << QStringLiteral("  ") + sub.name + QStringLiteral(" (") + sub.identifier + QStringLiteral("): ")
                        + describe(sub).join(QStringLiteral("; "));
        }
    }
    const QStringList expected = {
        "Web (__PTBuiltInWebPreset)",
        "  Favicon (__PTBuiltInWebFavicon): 16s|||8",
        "macOS (__PTBuiltInMacOSPreset)",
        "  App Icon (__PTBuiltInMacOSPresetAppIcon): 16s|16x16-||0; 32s|16x16-|@2x|0; 32s|32x32-||0; "
        "64s|32x32-|@2x|0; 128s|128x128-||0; 256s|128x128-|@2x|0; 256s|256x256-||0; 512s|256x256-|@2x|0; "
        "512s|512x512-||0; 1024s|512x512-|@2x|0",
        "  Toolbar Icon (__PTBuiltInMacOSPresetToolbarIcon): 19s|||0; 24s|||0; 32s|||0",
        "  Sidebar Icon (__PTBuiltInMacOSPresetSidebarIcon): 16s|||0; 18s|||0; 32s||@2x|0",
        "  Menu Bar Icon (__PTBuiltInMacOSPresetMenuBarIcon): 22s|||0",
        "  Safari Extension Icon (__PTBuiltInMacOSPresetSafariExtensionIcon): 16s|||0; 32s||@2x|0; 48s||@3x|0",
        "iOS (__PTBuiltIniOSPreset)",
        "  Tab Bar Icon (__PTBuiltIniOSPresetTabBarIcon): 25s|||0; 50s||@2x|0; 75s||@3x|0",
        "  Toolbar & Navigation Icons (__PTBuiltIniOSPresetToolbarNavigationIcons): 22s|||0; 44s||@2x|0; 66s||@3x|0",
        "Android (__PTBuiltInAndroidPreset)",
        "  Small Contextual Icons (__PTBuiltInAndroidPresetSMallContextualIcons): 16s||-mdpi|0; 24s||-hdpi|0; "
        "32s||-xhdpi|0; 48s||-xxhdpi|0; 64s||-xxxhdpi|0",
        "  Notification Icons (__PTBuiltInAndroidPresetNoticationIcons): 22s||-mdpi|0; 33s||-hdpi|0; 44s||-xhdpi|0; "
        "66s||-xxhdpi|0; 88s||-xxxhdpi|0",
        "  Action Bar, Dialog & Tab Icons (__PTBuiltInAndroidPresetActionBarDialogTabIcons): 24s||-mdpi|0; "
        "36s||-hdpi|0; 48s||-xhdpi|0; 72s||-xxhdpi|0; 96s||-xxxhdpi|0",
        "Windows Phone (__PTBuiltInWPPreset)",
        "  Application Bar Icons (__PTBuiltInWPPresetTabbarIcon): 48s|||0",
    };
    EXPECT_EQ(seen, expected);
}

TEST(ExportBuiltInPresetsTest, CopiesAreIndependent)
{
    const PTExportOutputOptionSet builtIn = PTExportBuiltInPresets::all().first();
    PTExportOutputOptionSet copy = builtIn.copy();
    EXPECT_EQ(copy.identifier, builtIn.identifier);
    copy.addOutputOption(PTExportOutputOption());
    EXPECT_TRUE(builtIn.outputOptions().isEmpty());
}

PTExportOutputOption outputOf(const QString& size, qint64 format)
{
    PTExportOutputOption option;
    option.sizeFormat = size;
    option.format = format;
    return option;
}

TEST(ExportOptionSetTest, RemovingTakesEveryEqualEntryAndNothingElse)
{
    PTExportOutputOptionSet set;
    set.addOutputOption(outputOf("16s", PTExportFormatPNG));
    set.addOutputOption(outputOf("32s", PTExportFormatPNG));
    set.addOutputOption(outputOf("16s", PTExportFormatPNG));
    set.addOutputOption(outputOf("16s", PTExportFormatJPG));
    set.removeOutputOption(outputOf("16s", PTExportFormatPNG));
    EXPECT_EQ(describe(set), (QStringList{"32s|||0", "16s|||1"}));
    set.removeOutputOption(outputOf("64s", PTExportFormatPNG));
    EXPECT_EQ(describe(set).size(), 2);

    const QList<PTExportOutputOptionSet> builtIns = PTExportBuiltInPresets::all();
    PTExportOutputOptionSet macOS = builtIns[1];
    const PTExportOutputOptionSet toolbar = macOS.subsets()[1];
    macOS.addSubset(toolbar);
    // A set of the same identifier whose outputs differ is another set.
    PTExportOutputOptionSet changed = toolbar;
    changed.addOutputOption(outputOf("48s", PTExportFormatPNG));
    macOS.addSubset(changed);
    macOS.removeSubset(toolbar);
    QStringList names;
    for (const PTExportOutputOptionSet& subset : macOS.subsets())
        names << subset.name + ":" + QString::number(subset.outputOptions().size());
    EXPECT_EQ(names, (QStringList{"App Icon:10", "Sidebar Icon:3", "Menu Bar Icon:1", "Safari Extension Icon:3",
                                  "Toolbar Icon:4"}));
}

TEST(ExportOptionSetTest, ArchivedSetKeepsOutputsAndSubsetsOnly)
{
    PTExportOutputOptionSet outer = PTExportBuiltInPresets::all()[1];
    outer.addOutputOption(outputOf("2x", PTExportFormatWebP));
    PTExportOutputOptionSet nested = outer.subsets()[0];
    nested.addSubset(outer.subsets()[2]);
    outer.addSubset(nested);
    outer.sort = 7;

    const auto data = pt::PropertyList::toData(pt::KeyedArchive::archivedRoot(outer.archivedObject()),
                                               pt::PropertyList::Format::Binary);
    ASSERT_TRUE(data);
    const auto plist = pt::PropertyList::fromData(*data);
    ASSERT_TRUE(plist);
    const auto root = pt::KeyedArchive::unarchivedRoot(*plist);
    ASSERT_TRUE(root);
    const auto read = PTExportOutputOptionSet::fromArchivedObject(*root);
    ASSERT_TRUE(read);
    EXPECT_TRUE(read->name.isEmpty());
    EXPECT_TRUE(read->identifier.isEmpty());
    EXPECT_EQ(read->sort, 0);
    EXPECT_EQ(describe(*read), describe(outer));
    ASSERT_EQ(read->subsets().size(), outer.subsets().size());
    for (qsizetype index = 0; index < outer.subsets().size(); ++index) {
        SCOPED_TRACE(index);
        EXPECT_EQ(describe(read->subsets()[index]), describe(outer.subsets()[index]));
        EXPECT_EQ(read->subsets()[index].subsets().size(), outer.subsets()[index].subsets().size());
    }
    EXPECT_EQ(describe(read->subsets().last().subsets().first()), describe(outer.subsets()[2]));

    // Missing lists read as empty ones; a list of something else, or another class, as nothing.
    const QVariant bare = QVariantMap{{pt::KeyedArchive::ClassesKey, QStringList{"PTExportOutputOptionSet", "NSObject"}}};
    const auto empty = PTExportOutputOptionSet::fromArchivedObject(bare);
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->outputOptions().isEmpty() && empty->subsets().isEmpty());
    QVariantMap wrongList = bare.toMap();
    wrongList.insert("subsets", QVariantList{QStringLiteral("not a set")});
    EXPECT_FALSE(PTExportOutputOptionSet::fromArchivedObject(wrongList));
    QVariantMap otherClass = bare.toMap();
    otherClass.insert(pt::KeyedArchive::ClassesKey, QStringList{"PTExportOutputOption", "NSObject"});
    EXPECT_FALSE(PTExportOutputOptionSet::fromArchivedObject(otherClass));
}

// A current library in a temporary folder, as the presets' store resolves it.
class ExportPresetStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        PTLibraryController::setCurrentLibrary(
            PTLibraryController::initWithCreatingLibraryAtPath(dir.filePath(QStringLiteral("Test.ptlibrary"))));
        controller().reload();
    }
    void TearDown() override
    {
        PTLibraryController::setCurrentLibrary(nullptr);
        controller().reload();
    }
    static PTExportPresetController& controller() { return PTExportPresetController::sharedController(); }
    static QStringList files()
    {
        QStringList names = QDir(PTExportPresetController::saveLocation()).entryList(QDir::Files);
        names.sort();
        return names;
    }
    static PTExportOutputOptionSet named(const QString& name)
    {
        PTExportOutputOptionSet set;
        set.name = name;
        PTExportOutputOption option;
        option.sizeFormat = QStringLiteral("32s");
        set.addOutputOption(option);
        return set;
    }
    // Hands the file to the file-open handler, which must take it as a preset, and waits for the import.
    static void openAsTheDesktopWould(const QString& path)
    {
        PTFileOpenHandler handler;
        PTFileOpenHandler::registerAll(handler);
        QList<QUrl> unaccepted;
        auto operations = handler.operationsForFileURLs({QUrl::fromLocalFile(path)}, &unaccepted);
        ASSERT_EQ(operations.size(), 1u);
        EXPECT_TRUE(unaccepted.isEmpty());
        bool done = false;
        operations.front()->execute([&] { done = true; });
        ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return done; }, 8000));
    }
    QString writeArchive(const QString& name, const QVariant& archive)
    {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(pt::PropertyList::writeFile(archive, path, pt::PropertyList::Format::Binary).ok());
        return path;
    }

    QTemporaryDir dir;
};

TEST_F(ExportPresetStoreTest, SavingReplacesItsOwnFileAndNamesAreUnique)
{
    PTExportOutputOptionSet mine = named(QStringLiteral("My Icons"));
    ASSERT_TRUE(controller().savePreset(mine, true).ok());
    ASSERT_TRUE(controller().savePreset(mine, true).ok());
    EXPECT_EQ(files(), QStringList{"my-icons.ptpreset"});

    PTExportOutputOptionSet other = named(QStringLiteral("My Icons"));
    ASSERT_TRUE(controller().savePreset(other, true).ok());
    EXPECT_EQ(files(), (QStringList{"my-icons.1.ptpreset", "my-icons.ptpreset"}));

    mine.name = QStringLiteral("Renamed");
    ASSERT_TRUE(controller().savePreset(mine, true).ok());
    EXPECT_EQ(files(), (QStringList{"my-icons.1.ptpreset", "renamed.ptpreset"}));
    EXPECT_EQ(controller().presets().size(), 2);

    controller().deletePreset(other);
    EXPECT_EQ(files(), QStringList{"renamed.ptpreset"});
}

TEST_F(ExportPresetStoreTest, FilesReadBackWithEveryField)
{
    PTExportOutputOptionSet set = named(QStringLiteral("Иконки"));
    set.mutableOutputOptions()[0].format = PTExportFormatWebP;
    set.mutableOutputOptions()[0].quality = 0.7;
    ASSERT_TRUE(controller().savePreset(set, true).ok());
    const QList<PTExportOutputOptionSet> presets = controller().presets();
    ASSERT_EQ(presets.size(), 1);
    EXPECT_EQ(presets[0].name, QStringLiteral("Иконки"));
    EXPECT_EQ(presets[0].identifier, set.identifier);
    EXPECT_EQ(presets[0].filePath, set.filePath);
    EXPECT_TRUE(presets[0].requiresCompressionControl());
    EXPECT_FALSE(presets[0].requiresProgressiveControl());
    EXPECT_FLOAT_EQ(float(presets[0].outputOptions()[0].quality), 0.7f);

    // Other tools read the file as an ordinary property list.
    QProcess plistutil;
    plistutil.start(QStringLiteral("plistutil"), {QStringLiteral("-i"), set.filePath});
    ASSERT_TRUE(plistutil.waitForFinished());
    EXPECT_EQ(plistutil.exitCode(), 0);
    EXPECT_TRUE(plistutil.readAllStandardOutput().contains("PTExportOutputOption"));
}

TEST_F(ExportPresetStoreTest, ImportingTwiceGivesTwoPresetsAndLeavesTheSource)
{
    PTExportOutputOptionSet set = named(QStringLiteral("Shared"));
    const auto exported = PTExportPresetController::exportPresetToPath(set, dir.filePath(QStringLiteral("out.txt")));
    ASSERT_TRUE(exported.ok());
    EXPECT_TRUE(exported->endsWith(QStringLiteral("/out.ptpreset")));
    const QString junk = dir.filePath(QStringLiteral("junk.ptpreset"));
    QFile file(junk);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a preset");
    file.close();

    pt::ObserverToken token = pt::NotificationCenter::defaultCenter().addObserver(
        PTExportPresetController::PresetsWereImportedNotification, nullptr, [](const pt::Notification&) {});
    bool done = false;
    QStringList rejected;
    PTExportPresetController::importPresets({*exported, *exported, junk}, [&](const QStringList& notPresets) {
        rejected = notPresets;
        done = true;
    });
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return done; }, 8000));
    EXPECT_EQ(rejected, QStringList{"junk.ptpreset"});
    const QList<PTExportOutputOptionSet> presets = controller().presets();
    ASSERT_EQ(presets.size(), 2);
    EXPECT_NE(presets[0].identifier, presets[1].identifier);
    EXPECT_NE(presets[0].identifier, set.identifier);
    EXPECT_TRUE(QFile::exists(*exported));
}

// Exporting proposes a file name that can be written, whatever the preset is called, in a panel offering presets.
TEST_F(ExportPresetStoreTest, TheProposedFileNameCanBeWritten)
{
    auto shell = std::make_shared<pt::test::FakeLibraryShell>();
    PTLibraryShell::install(shell);
    for (const QString name : {QStringLiteral("Web/App"), QStringLiteral("a\\b: c"), QStringLiteral(".."),
                               QStringLiteral("/")}) {
        SCOPED_TRACE(name.toStdString());
        controller().exportPreset(named(name));
        const QString proposed = shell->lastRequest.proposedName;
        EXPECT_FALSE(proposed.contains(QLatin1Char('/'))) << proposed.toStdString();
        EXPECT_FALSE(proposed.startsWith(QLatin1Char('.'))) << proposed.toStdString();
        EXPECT_TRUE(proposed.endsWith(QStringLiteral(".ptpreset")));
        EXPECT_EQ(shell->lastRequest.allowedExtensions, QStringList{QStringLiteral("ptpreset")});
        const auto written = PTExportPresetController::exportPresetToPath(named(name), dir.filePath(proposed));
        ASSERT_TRUE(written.ok()) << proposed.toStdString();
        EXPECT_EQ(QFileInfo(*written).dir(), QDir(dir.path()));
    }
    PTLibraryShell::install(nullptr);
}

TEST_F(ExportPresetStoreTest, OpenedPresetFilesAreImported)
{
    const auto exported =
        PTExportPresetController::exportPresetToPath(named(QStringLiteral("Opened")), dir.filePath("opened.ptpreset"));
    ASSERT_TRUE(exported.ok());
    openAsTheDesktopWould(*exported);
    ASSERT_EQ(controller().presets().size(), 1);
    EXPECT_EQ(controller().presets().first().name, QStringLiteral("Opened"));
}

TEST_F(ExportPresetStoreTest, AFailedSaveKeepsTheOldFile)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
    PTExportOutputOptionSet set = named(QStringLiteral("Kept"));
    ASSERT_TRUE(controller().savePreset(set, true).ok());
    const QString folder = PTExportPresetController::saveLocation();
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    set.name = QStringLiteral("New Name");
    EXPECT_FALSE(controller().savePreset(set, true).ok());
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(files(), QStringList{"kept.ptpreset"});
}

TEST_F(ExportPresetStoreTest, HostileArchivesReadAsNoPreset)
{
    const QVariantMap uid0{{"CF$UID", qint64(0)}};
    const auto archive = [](const QVariantList& objects, qint64 root) {
        return QVariantMap{{"$archiver", "NSKeyedArchiver"},
                           {"$version", qint64(100000)},
                           {"$top", QVariantMap{{"root", QVariantMap{{"CF$UID", root}}}}},
                           {"$objects", objects}};
    };
    const auto ref = [](qint64 i) { return QVariantMap{{"CF$UID", i}}; };
    const QVariantMap dictClass{{"$classname", "NSDictionary"}, {"$classes", QStringList{"NSDictionary"}}};
    QVariantList deep{"$null", dictClass};
    for (int i = 0; i < 200; ++i)
        deep.append(QVariantMap{{"$class", ref(1)}, {"NS.keys", QVariantList{ref(deep.size() + 1)}},
                                {"NS.objects", QVariantList{ref(deep.size() + 1)}}});
    deep.append("end");
    const QVariantMap unknownClass{{"$classname", "NSURL"}, {"$classes", QStringList{"NSURL"}}};
    PTExportOutputOptionSet good = named(QStringLiteral("Good"));

    const struct {
        const char* name;
        QVariant archive;
    } cases[] = {
        {"out-of-range", archive({"$null"}, 7)},
        {"cycle",
         archive({"$null", dictClass, QVariantMap{{"$class", ref(1)}, {"NS.keys", QVariantList{ref(3)}},
                                                   {"NS.objects", QVariantList{ref(2)}}},
                  "name"},
                 2)},
        {"deep", archive(deep, 2)},
        {"unknown-class",
         archive({"$null", dictClass, unknownClass,
                  QVariantMap{{"$class", ref(1)}, {"NS.keys", QVariantList{ref(4)}},
                              {"NS.objects", QVariantList{ref(5)}}},
                  "options", QVariantMap{{"$class", ref(2)}}},
                 3)},
        {"not-an-archive", QVariantMap{{"name", "x"}}},
    };
    for (const auto& c : cases) {
        const QString path = writeArchive(QString::fromUtf8(c.name) + QStringLiteral(".ptpreset"), c.archive);
        EXPECT_FALSE(PTExportOutputOptionSet::fromFile(path).ok()) << c.name;
    }
    const QString goodPath = dir.filePath(QStringLiteral("good.ptpreset"));
    QFile out(goodPath);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    const QByteArray bytes = good.data();
    out.write(bytes.left(bytes.size() / 2));
    out.close();
    EXPECT_FALSE(PTExportOutputOptionSet::fromFile(goodPath).ok()) << "truncated";
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bytes);
    out.write(QByteArray(PTExportOutputOptionSet::MaximumFileSize, '\0'));
    out.close();
    EXPECT_FALSE(PTExportOutputOptionSet::fromFile(goodPath).ok()) << "oversized";
    const QString wrongExtension = dir.filePath(QStringLiteral("good.plist"));
    QFile::remove(goodPath);
    ASSERT_TRUE(PTExportPresetController::exportPresetToPath(good, goodPath).ok());
    EXPECT_TRUE(PTExportOutputOptionSet::fromFile(goodPath).ok());
    QFile::copy(goodPath, wrongExtension);
    EXPECT_FALSE(PTExportOutputOptionSet::fromFile(wrongExtension).ok());
}

TEST_F(ExportPresetStoreTest, DeeplyNestedFilesAreNotPresets)
{
    PTExportOutputOptionSet kept = named(QStringLiteral("Kept"));
    ASSERT_TRUE(controller().savePreset(kept, true).ok());
    const QString deep = QDir(PTExportPresetController::saveLocation()).filePath(QStringLiteral("deep.ptpreset"));
    QFile file(deep);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<plist version=\"1.0\">" + QByteArray("<array>").repeated(50000) + "<true/>"
               + QByteArray("</array>").repeated(50000) + "</plist>");
    file.close();

    controller().reload();
    ASSERT_EQ(controller().presets().size(), 1);
    EXPECT_EQ(controller().presets().first().name, QStringLiteral("Kept"));

    bool done = false;
    QStringList rejected;
    PTExportPresetController::importPresets({deep}, [&](const QStringList& notPresets) {
        rejected = notPresets;
        done = true;
    });
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return done; }, 8000));
    EXPECT_EQ(rejected, QStringList{"deep.ptpreset"});
    EXPECT_EQ(controller().presets().size(), 1);
}

TEST_F(ExportPresetStoreTest, MenuListsUserPresetsThenBuiltIns)
{
    QMenu* empty = controller().presetMenu(nullptr, {});
    ASSERT_FALSE(empty->actions().isEmpty());
    EXPECT_TRUE(empty->actions().first()->isSeparator());
    delete empty;

    for (const char* name : {"Zeta", "Alpha"}) {
        PTExportOutputOptionSet set = named(QString::fromUtf8(name));
        ASSERT_TRUE(controller().savePreset(set, true).ok());
    }
    QString chosen;
    QMenu* menu = controller().presetMenu(
        nullptr, [&](const PTExportOutputOptionSet& set) { chosen = set.name; }, QStringLiteral("grid"));
    QStringList titles, headers;
    for (QAction* action : menu->actions()) {
        titles << (action->isSeparator() ? QStringLiteral("---") : action->text().trimmed());
        if (!action->isSeparator() && !action->isEnabled())
            headers << action->text();
    }
    EXPECT_EQ(titles.mid(0, 4), (QStringList{"Your Presets", "Alpha", "Zeta", "---"}));
    EXPECT_EQ(headers, (QStringList{"Your Presets", "Android", "iOS", "macOS", "Web", "Windows Phone"}));
    const int action = titles.indexOf(QStringLiteral("Notification Icons"));
    ASSERT_GT(action, 0);
    QAction* notification = menu->actions()[action];
    EXPECT_EQ(notification->data().toString(), QStringLiteral("grid"));
    EXPECT_EQ(notification->property(PTExportPresetController::OutputSetProperty)
                  .value<PTExportOutputOptionSet>()
                  .identifier,
              QStringLiteral("__PTBuiltInAndroidPresetNoticationIcons"));
    notification->trigger();
    EXPECT_EQ(chosen, QStringLiteral("Notification Icons"));
    delete menu;
}

TEST_F(ExportPresetStoreTest, UpdatingKeepsTheFileItWasGiven)
{
    // Names whose files took a counter must not move on every save.
    for (const QString& name : {QStringLiteral("Icons"), QStringLiteral("Icons ").repeated(20).trimmed()}) {
        SCOPED_TRACE(name.left(20).toStdString());
        for (const QString& file : files())
            QFile::remove(QDir(PTExportPresetController::saveLocation()).filePath(file));
        PTExportOutputOptionSet first = named(name);
        PTExportOutputOptionSet second = named(name);
        ASSERT_TRUE(controller().savePreset(first, true).ok());
        ASSERT_TRUE(controller().savePreset(second, true).ok());
        const QStringList before = files();
        const QString own = second.filePath;
        for (const char* size : {"48s", "64s"}) {
            second.mutableOutputOptions()[0].sizeFormat = QString::fromLatin1(size);
            const auto saved = controller().savePreset(second, true);
            ASSERT_TRUE(saved.ok()) << saved.error().localizedFailureReason().toStdString();
            EXPECT_EQ(second.filePath, own);
            EXPECT_EQ(files(), before);
        }
        const auto read = PTExportOutputOptionSet::fromFile(own);
        ASSERT_TRUE(read.ok());
        EXPECT_EQ(read->identifier, second.identifier);
        EXPECT_EQ(read->outputOptions()[0].sizeFormat, QStringLiteral("64s"));
    }
}

TEST_F(ExportPresetStoreTest, UpperCaseExtensionsAreRead)
{
    PTExportOutputOptionSet set = named(QStringLiteral("Shouting"));
    const QString path = dir.filePath(QStringLiteral("SHOUTING.PTPRESET"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(set.data());
    file.close();

    const auto read = PTExportOutputOptionSet::fromFile(path);
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read->name, QStringLiteral("Shouting"));

    openAsTheDesktopWould(path);
    ASSERT_EQ(controller().presets().size(), 1);
    EXPECT_EQ(controller().presets().first().name, QStringLiteral("Shouting"));
}

TEST_F(ExportPresetStoreTest, MenuShowsAmpersandsInNames)
{
    for (const char* name : {"R&D", "Tom && Jerry", "&Start", "End&", "A & B"}) {
        PTExportOutputOptionSet set = named(QString::fromUtf8(name));
        ASSERT_TRUE(controller().savePreset(set, true).ok());
    }
    QMenu* menu = controller().presetMenu(nullptr, {});
    int checked = 0;
    for (QAction* action : menu->actions()) {
        const QVariant set = action->property(PTExportPresetController::OutputSetProperty);
        if (!set.isValid())
            continue;
        // The built-ins have names with "&" too.
        const QString name = set.value<PTExportOutputOptionSet>().name;
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(action->text().trimmed(), QString(name).replace(QStringLiteral("&"), QStringLiteral("&&")));
        EXPECT_TRUE(QKeySequence::mnemonic(action->text()).isEmpty());
        checked += name.contains(u'&');
    }
    EXPECT_EQ(checked, 7);
    delete menu;
}

} // namespace
