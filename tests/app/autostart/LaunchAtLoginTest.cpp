#include "app/autostart/DesktopEntry.h"
#include "app/autostart/LaunchAtLoginController.h"
#include "app/preferences/PTPreferencesGeneralViewController.h"
#include "ui/controls/PTSwitchControl.h"

#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

void writeFile(const QString& path, const QByteArray& contents)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

// A fresh user and system configuration, and an executable whose path needs quoting.
class LaunchAtLoginTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedHome = qgetenv("XDG_CONFIG_HOME");
        savedDirs = qgetenv("XDG_CONFIG_DIRS");
        qputenv("XDG_CONFIG_HOME", root.filePath("home").toUtf8());
        qputenv("XDG_CONFIG_DIRS", (root.filePath("none") + ":" + root.filePath("system")).toUtf8());
        executable = root.filePath(R"(my "apps" $HOME/pic tern%1)");
        writeFile(executable, "#!/bin/sh\n");
    }
    void TearDown() override
    {
        qputenv("XDG_CONFIG_HOME", savedHome);
        qputenv("XDG_CONFIG_DIRS", savedDirs);
    }
    QString userDir() const { return root.filePath("home/autostart"); }
    QString systemEntry() const { return root.filePath("system/autostart/") + LaunchAtLoginController::EntryName; }

    QTemporaryDir root;
    QByteArray savedHome;
    QByteArray savedDirs;
    QString executable;
};

} // namespace

TEST(DesktopEntryTest, ExecArgumentsRoundTripThroughQuotingAndStringEscapes)
{
    const QStringList arguments{"/usr/bin/pictern", "with space", R"(a "quote")", "$HOME", R"(back\slash)",
                                "100%", "`tick`", "plain"};
    QTemporaryDir dir;
    const QString path = dir.filePath("x.desktop");
    writeFile(path, "[Other]\nExec=wrong\n[Desktop Entry]\nExec=" + DesktopEntry::execValue(arguments).toUtf8() + "\n");
    EXPECT_EQ(DesktopEntry::splitExec(DesktopEntry::readFile(path).value("Exec")), arguments);
    EXPECT_EQ(DesktopEntry::quoteArgument("plain"), "plain");
    EXPECT_EQ(DesktopEntry::splitExec("pictern %U --flag"), QStringList({"pictern", "--flag"}));
}

TEST_F(LaunchAtLoginTest, TurningOnTwiceWritesOneEntryThatStartsThisExecutable)
{
    LaunchAtLoginController controller(nullptr, executable);
    EXPECT_FALSE(controller.launchAtLogin());
    QSignalSpy changed(&controller, &LaunchAtLoginController::launchAtLoginChanged);
    ASSERT_TRUE(controller.setLaunchAtLogin(true));
    ASSERT_TRUE(controller.setLaunchAtLogin(true));
    EXPECT_TRUE(controller.launchAtLogin());
    EXPECT_EQ(QDir(userDir()).entryList(QDir::Files), QStringList{LaunchAtLoginController::EntryName});
    EXPECT_EQ(changed.count(), 1);

    ASSERT_TRUE(controller.setLaunchAtLogin(false));
    EXPECT_FALSE(QFile::exists(LaunchAtLoginController::userEntryPath()));
    EXPECT_FALSE(controller.launchAtLogin());
}

// Whatever the executable's path holds, the entry written for it reads back as ours and is a valid desktop entry.
TEST_F(LaunchAtLoginTest, EntriesForAnyExecutablePathReadBackAsOnAndValidate)
{
    const QString validator = QStandardPaths::findExecutable("desktop-file-validate");
    ASSERT_FALSE(validator.isEmpty());
    const struct {
        const char* name;
        QString file;
    } cases[] = {
        {"plain", "pictern"},
        {"spaces", "pic tern app"},
        {"newline", "pic\ntern"},
        {"tab and carriage return", "pic\tter\rn"},
        {"quote and backslash", R"(pic"ter\n)"},
        {"dollar and backtick", "$HOME`pictern`"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = root.filePath("bin/" + c.file);
        writeFile(path, "#!/bin/sh\n");
        ASSERT_TRUE(QFile::exists(path));
        LaunchAtLoginController controller(nullptr, path);
        ASSERT_TRUE(controller.setLaunchAtLogin(true));
        EXPECT_TRUE(controller.launchAtLogin());
        QProcess validate;
        validate.start(validator, {LaunchAtLoginController::userEntryPath()});
        ASSERT_TRUE(validate.waitForFinished());
        EXPECT_EQ(validate.exitCode(), 0) << validate.readAllStandardOutput().toStdString();
        ASSERT_TRUE(controller.setLaunchAtLogin(false));
    }
}

TEST_F(LaunchAtLoginTest, TurningOffWhenAbsentWritesNothing)
{
    LaunchAtLoginController controller(nullptr, executable);
    ASSERT_TRUE(controller.setLaunchAtLogin(false));
    EXPECT_FALSE(QFileInfo::exists(userDir()));
    EXPECT_FALSE(controller.launchAtLogin());
}

TEST_F(LaunchAtLoginTest, EntriesThatAreOffOrForeignNeverReadAsOurs)
{
    LaunchAtLoginController controller(nullptr, executable);
    const QByteArray ours = "Exec=" + DesktopEntry::execValue({executable}).toUtf8() + "\n";
    const struct {
        const char* name;
        QByteArray body;
        bool on;
    } cases[] = {
        {"ours", ours, true},
        {"hidden", ours + "Hidden=true\n", false},
        {"disabled", ours + "X-GNOME-Autostart-enabled=false\n", false},
        {"another program", "Exec=/bin/sh\n", false},
        {"no exec", "Name=Pictern\n", false},
        {"other group", "[Desktop Action x]\n" + ours, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(LaunchAtLoginController::userEntryPath(), "[Desktop Entry]\nType=Application\n" + c.body);
        EXPECT_EQ(controller.launchAtLogin(), c.on);
    }
}

TEST_F(LaunchAtLoginTest, ASystemEntryIsHiddenByOneOfOursAndLeftInPlace)
{
    const QByteArray system = "[Desktop Entry]\nExec=" + DesktopEntry::execValue({executable}).toUtf8() + "\n";
    writeFile(systemEntry(), system);
    LaunchAtLoginController controller(nullptr, executable);
    EXPECT_TRUE(controller.launchAtLogin());

    ASSERT_TRUE(controller.setLaunchAtLogin(false));
    EXPECT_FALSE(controller.launchAtLogin());
    EXPECT_EQ(DesktopEntry::readFile(LaunchAtLoginController::userEntryPath()).value("Hidden"), "true");
    QFile file(systemEntry());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), system);

    ASSERT_TRUE(controller.setLaunchAtLogin(true));
    EXPECT_TRUE(controller.launchAtLogin());
}

TEST_F(LaunchAtLoginTest, ADeletionFromOutsideIsAnnounced)
{
    LaunchAtLoginController controller(nullptr, executable);
    ASSERT_TRUE(controller.setLaunchAtLogin(true));
    QSignalSpy changed(&controller, &LaunchAtLoginController::launchAtLoginChanged);
    ASSERT_TRUE(QFile::remove(LaunchAtLoginController::userEntryPath()));
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return changed.count() == 1; }));
    EXPECT_FALSE(changed.first().first().toBool());
}

TEST_F(LaunchAtLoginTest, TheGeneralPaneSwitchFollowsTheEntry)
{
    PTPreferencesGeneralViewController pane;
    PTSwitchControl* control = pane.launchAtLoginSwitch();
    EXPECT_FALSE(control->isChecked());
    QTest::keyClick(control, Qt::Key_Space);
    EXPECT_TRUE(pane.launchAtLoginController()->launchAtLogin());
    EXPECT_TRUE(QFile::exists(LaunchAtLoginController::userEntryPath()));

    ASSERT_TRUE(QFile::remove(LaunchAtLoginController::userEntryPath()));
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return !control->isChecked(); }));
}
