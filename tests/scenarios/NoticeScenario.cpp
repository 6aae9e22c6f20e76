#include "ScenarioTest.h"

#include "TestSupport.h"

#include "app/PTWindow.h"
#include "app/scripting/PTScriptingAdaptor.h"
#include "browser/grid/PTGridView.h"
#include "library/upkeep/PTImportValidation.h"
#include "sidebar/inspector/PTOpenInControl.h"
#include "ui/controls/PTSidebarSegmentedControl.h"

#include <QDBusMessage>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The scenarios' session bus has no notification server: what Pictern tells the user must show in the window.
using NoticeScenario = ScenarioTest;

// Requests Pictern refuses, handed over by the desktop, each say why in the window's notices.
TEST_F(NoticeScenario, RefusedRequestsAreToldInTheWindow)
{
    struct Case {
        QString url;
        QString title;
        QString inMessage;
    };
    const Case cases[] = {
        {QStringLiteral("file:///etc/passwd"), QStringLiteral("Cannot Open"), QStringLiteral("passwd")},
        {QStringLiteral("pictern://garbage"), QStringLiteral("Cannot Open"), QStringLiteral("pictern://garbage")},
        {QStringLiteral("pictern://download?url=ftp://example.com/icons.zip"), QStringLiteral("Cannot Download"),
         QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url.toStdString());
        openItems({QUrl(c.url)});
        ASSERT_TRUE(waitFor([&] { return shownNotices().contains(c.title); }))
            << "shown: " << shownNotices().join(QStringLiteral(" | ")).toStdString();
        const QStringList texts = shownNotices();
        EXPECT_EQ(texts.size(), 2) << "the title and one message: " << texts.join(QStringLiteral(" | ")).toStdString();
        EXPECT_TRUE(texts.value(1).contains(c.inMessage)) << texts.value(1).toStdString();
        dismissNotice(c.title);
    }
}

// A script's Import of a file Pictern cannot import is refused with the reason, and no sheet opens with nothing
// to import.
TEST_F(NoticeScenario, AScriptedImportOfANonIconFileIsRefusedBeforeAnySheet)
{
    const QDBusMessage reply = scriptedImport({QStringLiteral("/etc/passwd")}, QStringLiteral("Script"));
    EXPECT_EQ(reply.errorName(), PTScriptingAdaptor::InvalidArgumentError);
    EXPECT_EQ(reply.errorMessage(), PTScriptingAdaptor::UnimportableFileMessage.arg(QStringLiteral("/etc/passwd")));
    QTest::qWait(200);
    EXPECT_EQ(visibleWidget(QStringLiteral("Import Icons")), nullptr) << "no sheet opened";
    EXPECT_TRUE(modals.isEmpty()) << modals.join(QStringLiteral(", ")).toStdString();
}

const QString ViewerId = QStringLiteral("pictern-scenario-viewer.desktop");

// Two applications for SVG files, written before Pictern starts: a viewer (the default) and one that runs in a
// terminal. No terminal can be found for the whole scenario, whatever this machine has installed: the search
// path holds nothing and no terminal is chosen.
class OpenInScenario : public ScenarioTest {
protected:
    void SetUp() override
    {
        savedPath_ = qgetenv("PATH");
        savedTerminal_ = qgetenv("TERMINAL");
        qputenv("PATH", QFile::encodeName(noPrograms_.path()));
        qunsetenv("TERMINAL");
        const QDir home = QDir::home();
        home.mkpath(QStringLiteral(".local/share/applications"));
        home.mkpath(QStringLiteral(".config"));
        const auto write = [&home](const QString& relative, const QByteArray& text) {
            QFile file(home.filePath(relative));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(text);
        };
        write(QStringLiteral(".local/share/applications/") + ViewerId,
              "[Desktop Entry]\nType=Application\nName=Scenario Viewer\nExec=/bin/true %U\nMimeType=image/svg+xml;\n");
        write(QStringLiteral(".local/share/applications/pictern-scenario-console.desktop"),
              "[Desktop Entry]\nType=Application\nName=Scenario Console\nExec=/bin/true %U\nTerminal=true\n"
              "MimeType=image/svg+xml;\n");
        // What update-desktop-database would write: GIO finds an application's types there.
        write(QStringLiteral(".local/share/applications/mimeinfo.cache"),
              "[MIME Cache]\nimage/svg+xml=" + ViewerId.toUtf8() + ";pictern-scenario-console.desktop;\n");
        write(QStringLiteral(".config/mimeapps.list"), "[Default Applications]\nimage/svg+xml=" + ViewerId.toUtf8() + "\n");
        ScenarioTest::SetUp();
    }

    void TearDown() override
    {
        ScenarioTest::TearDown();
        qputenv("PATH", savedPath_);
        if (savedTerminal_.isNull())
            qunsetenv("TERMINAL");
        else
            qputenv("TERMINAL", savedTerminal_);
    }

    PTOpenInControl* openInControl() const
    {
        for (PTOpenInControl* control : window()->findChildren<PTOpenInControl*>())
            if (control->isVisible())
                return control;
        return nullptr;
    }

private:
    QTemporaryDir noPrograms_;
    QByteArray savedPath_;
    QByteArray savedTerminal_;
};

QStringList menuTexts(const QMenu* menu)
{
    QStringList texts;
    for (const QAction* action : menu->actions())
        texts << action->text();
    return texts;
}

// On a desktop without a terminal the terminal application is not offered; an offered application that cannot be
// started says so in the window.
TEST_F(OpenInScenario, OffersOnlyWhatCanRunAndTellsAFailedLaunch)
{
    importFolder(QStringLiteral("shapes"), QStringLiteral("Shapes"));
    clickGridItem(QStringLiteral("Circle"));

    ASSERT_TRUE(waitFor([this] { return openInControl() != nullptr; })) << "the inspector shows the icon";
    PTOpenInControl* control = openInControl();
    ASSERT_NE(control->menu(), nullptr);
    const QStringList offered = menuTexts(control->menu());
    EXPECT_TRUE(offered.contains(QStringLiteral("Scenario Viewer"))) << offered.join(QStringLiteral(", ")).toStdString();
    EXPECT_FALSE(offered.contains(QStringLiteral("Scenario Console"))) << "no terminal to run it in";
    ASSERT_EQ(control->selectedApplication(), ViewerId);

    // The viewer is uninstalled while Pictern shows it; opening in it fails, and the window says so.
    ASSERT_TRUE(QFile::remove(QDir::home().filePath(QStringLiteral(".local/share/applications/") + ViewerId)));
    PTSidebarSegmentedControl* segment = control->segmentedControl();
    QTest::mouseClick(segment, Qt::LeftButton, {}, QPoint(segment->width() / 4, segment->height() / 2));
    ASSERT_TRUE(waitFor([] { return shownNotices().contains(PTOpenInControl::LaunchFailedTitle); }))
        << "shown: " << shownNotices().join(QStringLiteral(" | ")).toStdString();
    // Beside the import's own notice, the failure, naming the application and why.
    EXPECT_TRUE(shownNotices().contains(QStringLiteral("Scenario Viewer could not be started. The application is not installed.")))
        << shownNotices().join(QStringLiteral(" | ")).toStdString();
    dismissNotice(PTOpenInControl::LaunchFailedTitle);
}

} // namespace
