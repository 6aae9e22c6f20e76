#include "foundation/PTUtils.h"

#include "TestSupport.h"
#include "FileFixtures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using fixtures::run;
using fixtures::writeFile;

namespace {

const QString Viewer = QStringLiteral("pictern-test-viewer.desktop");
const QString Editor = QStringLiteral("pictern-test-editor.desktop");
const QString Texter = QStringLiteral("pictern-test-texter.desktop");
const QString Console = QStringLiteral("pictern-test-console.desktop");

// A desktop of our own: applications, their MIME registrations (mimeinfo.cache by update-desktop-database) and a
// default in mimeapps.list, with nothing of the machine's own applications visible.
class Applications : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        root = new QTemporaryDir;
        const QString data = root->filePath("data");
        const QString script = root->filePath("record.sh");
        writeFile(script, "#!/bin/sh\nout=\"$1\"; shift\nprintf '%s\\n' \"$@\" > \"$out.tmp\" && mv \"$out.tmp\" \"$out\"\n");
        QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        auto desktopFile = [&](const QString& id, const QString& name, const QString& types, const QString& more = {}) {
            writeFile(data + "/applications/" + id,
                      QStringLiteral("[Desktop Entry]\nType=Application\nName=%1\nExec=%2 %3 %U\nIcon=%4\nMimeType=%5\n%6")
                          .arg(name, script, root->filePath(id + ".args"), id.section('.', 0, 0), types, more)
                          .toUtf8());
        };
        desktopFile(Viewer, "Test Viewer", "image/svg+xml;image/png;x-scheme-handler/pictern;");
        desktopFile(Editor, "Test Editor", "image/svg+xml;");
        desktopFile(Texter, "Test Texter", "application/pdf;");
        desktopFile(Console, "Test Console", "image/gif;", "Terminal=true\n");
        // A terminal that records how it was asked to run the command, then runs it.
        const QString terminal = root->filePath("terminal.sh");
        writeFile(terminal, QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$@\" > %1.tmp && mv %1.tmp %1\n"
                                           "[ \"$1\" = -e ] && shift\nexec \"$@\"\n")
                                .arg(root->filePath("terminal.args"))
                                .toUtf8());
        QFile::setPermissions(terminal, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QDir(root->path()).mkpath("no-terminals");
        writeFile(root->filePath("files/icon.gif"), QByteArray("GIF89a\x01\x00\x01\x00\x00\x00\x00;", 14));
        run(root->path(), {"update-desktop-database", data + "/applications"});
        ASSERT_TRUE(QFile::exists(data + "/applications/mimeinfo.cache"));
        ASSERT_TRUE(QFile::link("/usr/share/mime", data + "/mime")); // the MIME database, without its applications
        writeFile(root->filePath("config/mimeapps.list"), "[Default Applications]\nimage/svg+xml=pictern-test-editor.desktop\n");
        writeFile(root->filePath("files/icon.svg"), "<svg xmlns=\"http://www.w3.org/2000/svg\"/>");
        writeFile(root->filePath("files/second.svg"), "<svg xmlns=\"http://www.w3.org/2000/svg\"/>");
        writeFile(root->filePath("files/blob.unknownext"), QByteArray("\x01\x02\x03\x00\xff", 5));

        // GLib reads these once, on first use; nothing in this process has used it before.
        qputenv("XDG_DATA_HOME", root->filePath("home-data").toUtf8());
        qputenv("XDG_DATA_DIRS", data.toUtf8());
        qputenv("XDG_CONFIG_HOME", root->filePath("config").toUtf8());
        qputenv("XDG_CONFIG_DIRS", root->filePath("config-sys").toUtf8());
    }
    static void TearDownTestSuite()
    {
        delete root;
        root = nullptr;
    }

    static QUrl file(const QString& name) { return QUrl::fromLocalFile(root->filePath("files/" + name)); }
    static QStringList ids(const QList<PTApplicationInfo>& applications)
    {
        QStringList result;
        for (const auto& application : applications)
            result.append(application.identifier);
        return result;
    }
    static QStringList argsOf(const QString& id)
    {
        const QString path = root->filePath(id + ".args");
        if (!pt::test::runMainQueueUntil([&] { return QFile::exists(path); }, 10000))
            return {};
        QFile args(path);
        EXPECT_TRUE(args.open(QIODevice::ReadOnly));
        return QString::fromUtf8(args.readAll()).split('\n', Qt::SkipEmptyParts);
    }

    static inline QTemporaryDir* root = nullptr;
};

} // namespace

TEST_F(Applications, ListsAndDefaultFollowTheRegistrations)
{
    const QList<PTApplicationInfo> forSvg = PTApplicationURLsForURL(file("icon.svg"));
    EXPECT_EQ(ids(forSvg), (QStringList{Editor, Viewer})) << "the default first, nothing for other types";
    EXPECT_EQ(forSvg.value(1).name, QStringLiteral("Test Viewer"));
    EXPECT_EQ(forSvg.value(1).iconName, QStringLiteral("pictern-test-viewer"));
    EXPECT_TRUE(forSvg.value(1).desktopFilePath.endsWith("applications/" + Viewer));

    const auto byDefault = PTDefaultApplicationURLForURL(file("icon.svg"));
    ASSERT_TRUE(byDefault);
    EXPECT_EQ(byDefault->identifier, Editor);

    EXPECT_EQ(ids(PTApplicationURLsForURL(QUrl("pictern://download?url=x"))), QStringList{Viewer});
    EXPECT_EQ(ids(PTApplicationURLsForURL(file("not-there.svg"))), (QStringList{Editor, Viewer})) << "typed by its name";

    EXPECT_TRUE(PTApplicationURLsForURL(file("blob.unknownext")).isEmpty());
    EXPECT_FALSE(PTDefaultApplicationURLForURL(file("blob.unknownext")));
}

TEST_F(Applications, OpensFilesTogetherInTheChosenApplication)
{
    struct Item {
        QUrl url;
        QUrl fileURL() const { return url; }
    };
    const Item first{file("icon.svg")};
    const Item second{file("second.svg")};
    ASSERT_TRUE(PTUtils::openItems(QList<const Item*>{&first, &second}, Viewer));
    EXPECT_EQ(argsOf(Viewer), (QStringList{file("icon.svg").toLocalFile(), file("second.svg").toLocalFile()}))
        << "local files arrive as paths";

    EXPECT_FALSE(PTUtils::openURLs({file("icon.svg")}, "no-such-application.desktop"));
}

// An application that runs in a terminal is offered only while the desktop has a terminal, and runs inside it.
TEST_F(Applications, TerminalApplicationsNeedAndUseTheDesktopsTerminal)
{
    const QByteArray path = qgetenv("PATH");
    qunsetenv("TERMINAL");
    qputenv("PATH", root->filePath("no-terminals").toUtf8());
    EXPECT_TRUE(PTUtils::terminalCommand().isEmpty());
    EXPECT_TRUE(PTApplicationURLsForURL(file("icon.gif")).isEmpty()) << "nothing here could run it";
    EXPECT_FALSE(PTUtils::applicationForIdentifier(Console));
    EXPECT_FALSE(ids(PTUtils::allApplications()).contains(Console));
    QString reason;
    EXPECT_FALSE(PTUtils::openURLs({file("icon.gif")}, Console, &reason));
    EXPECT_FALSE(reason.isEmpty());
    qputenv("PATH", path);

    qputenv("TERMINAL", root->filePath("terminal.sh").toUtf8());
    EXPECT_EQ(PTUtils::terminalCommand(), (QStringList{root->filePath("terminal.sh"), "-e"}));
    EXPECT_EQ(ids(PTApplicationURLsForURL(file("icon.gif"))), QStringList{Console});
    ASSERT_TRUE(PTUtils::openURLs({file("icon.gif")}, Console, &reason)) << reason.toStdString();
    EXPECT_EQ(argsOf(Console), QStringList{file("icon.gif").toLocalFile()}) << "the files reach the application";
    const QStringList terminalArgs = argsOf("terminal");
    EXPECT_EQ(terminalArgs.value(0), "-e");
    EXPECT_EQ(terminalArgs.value(1), root->filePath("record.sh")) << "the application's command follows";
    qunsetenv("TERMINAL");
}
