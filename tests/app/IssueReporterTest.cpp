#include "AppTestWidgets.h"
#include "TestSupport.h"

#include "app/PTIssueReportController.h"
#include "app/issues/IssueReporter.h"
#include "app/issues/SignalSafeWrite.h"
#include "platform/ui/ModalRunner.h"

#include <QAbstractButton>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrlQuery>

#include <gtest/gtest.h>

#include <csignal>

namespace {

struct CrashCase {
    const char* mode;
    int signal;
    const char* signalName;
    const char* reason; // expected on the report's "Reason:" line, or null for none
};

class CrashReportTest : public ::testing::TestWithParam<CrashCase> {};

// The child's report: dead of the signal, and exactly one report in the state folder.
QString runChildAndReadReport(const CrashCase& crash, const QTemporaryDir& state)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_STATE_HOME"), state.path());
    child.setProcessEnvironment(environment);
    child.start(QStringLiteral(PICTERN_CRASH_CHILD), {QString::fromLatin1(crash.mode)});
    EXPECT_TRUE(child.waitForFinished(30000));
    EXPECT_EQ(child.exitStatus(), QProcess::CrashExit) << child.readAllStandardError().toStdString();
    EXPECT_EQ(child.exitCode(), crash.signal);
    const QStringList reports = pt::IssueReporter::pendingReports(QDir(state.path()).filePath("pictern"));
    EXPECT_EQ(reports.size(), 1);
    EXPECT_TRUE(QDir(state.path()).filePath("pictern") == QFileInfo(reports.value(0)).absolutePath());
    QFile file(reports.value(0));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

TEST_P(CrashReportTest, TheChildDiesOfTheSignalAndLeavesAReport)
{
    const CrashCase crash = GetParam();
    QTemporaryDir state;
    const QString report = runChildAndReadReport(crash, state);
    SCOPED_TRACE(report.toStdString());

    EXPECT_TRUE(report.startsWith("Pictern crash report\nVersion: 9.8.7 (build 654)\n"));
    EXPECT_TRUE(report.contains(QStringLiteral("Signal: %1 (%2)\n").arg(crash.signalName).arg(crash.signal)));
    if (crash.reason)
        EXPECT_TRUE(report.contains(QStringLiteral("Reason: %1\n").arg(crash.reason)));
    else
        EXPECT_FALSE(report.contains("Reason:"));

    // The last lines logged, the earliest ones gone to make room.
    const QString recent = report.section("Recent log lines:\n", 1).section("\nBacktrace:\n", 0, 0);
    EXPECT_TRUE(recent.contains("child line 100\n"));
    EXPECT_TRUE(recent.contains("child line 50\n"));
    EXPECT_FALSE(recent.contains("child line 1\n"));
    EXPECT_LE(recent.count('\n'), 64);

    const QStringList frames = report.section("\nBacktrace:\n", 1).split('\n', Qt::SkipEmptyParts);
    EXPECT_GE(frames.size(), 3);
    EXPECT_TRUE(frames.filter("crash_child(").size() >= 1);
    EXPECT_TRUE(report.section("\nBacktrace:\n", 1).contains("crash_child(main+"));
    EXPECT_TRUE(QDir(QDir(state.path()).filePath("pictern")).entryList({".crash-*"}, QDir::Files | QDir::Hidden).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Signals, CrashReportTest,
    ::testing::Values(CrashCase{"segv-raise", SIGSEGV, "SIGSEGV", nullptr},
                      CrashCase{"segv-write", SIGSEGV, "SIGSEGV", nullptr},
                      CrashCase{"abort", SIGABRT, "SIGABRT", nullptr},
                      CrashCase{"terminate", SIGABRT, "SIGABRT", "Unhandled exception: the child gives up"},
                      CrashCase{"qfatal", SIGABRT, "SIGABRT", "Fatal message: the child cannot go on"},
                      CrashCase{"bus", SIGBUS, "SIGBUS", nullptr}, CrashCase{"fpe", SIGFPE, "SIGFPE", nullptr},
                      CrashCase{"ill", SIGILL, "SIGILL", nullptr}),
    [](const ::testing::TestParamInfo<CrashCase>& info) {
        return QString::fromLatin1(info.param.mode).remove('-').toStdString();
    });

TEST(CrashReportStackTest, AnOverflowedStackIsReportedFromAStackOfItsOwn)
{
    QTemporaryDir state;
    const QString report = runChildAndReadReport({"overflow", SIGSEGV, "SIGSEGV", nullptr}, state);
    EXPECT_TRUE(report.contains("Signal: SIGSEGV (11)"));
    // Written at all only from the handler's own stack; the frames are those of the recursion.
    EXPECT_GE(report.section("\nBacktrace:\n", 1).count('\n'), 32);
}

// The folder of a run that crashed: one report pending, or two (an older one too).
class IssueReportOfferTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = state.path();
        newest = writeReport("crash-20261211-073512-42.new.txt",
                             "Pictern crash report\nVersion: 9.8.7 (build 654)\nSignal: SIGSEGV (11)\n");
        older = writeReport("crash-20261210-101010-7.new.txt", "Pictern crash report\nolder\n");
        for (const char* scheme : {"file", "mailto"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &catcher, "open");
    }
    void TearDown() override
    {
        for (const char* scheme : {"file", "mailto"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
        pt::ModalRunner::setHook({});
    }
    QString writeReport(const char* name, const QByteArray& text) const
    {
        QFile file(QDir(folder).filePath(QString::fromLatin1(name)));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return file.fileName();
    }
    // Presses the button titled `text` in the alert, or closes the alert when empty; records the buttons it had.
    void answerWith(const QString& text)
    {
        pt::ModalRunner::setHook([this, text](QWidget* window) {
            ++alerts;
            auto* box = qobject_cast<QMessageBox*>(window);
            ASSERT_NE(box, nullptr);
            buttons.clear();
            for (QAbstractButton* button : box->buttons())
                buttons << button->text();
            // The box orders them as the platform does; its own details button is no answer.
            buttons.removeAll("Show Details...");
            buttons.sort();
            for (QAbstractButton* button : box->buttons()) {
                if (button->text() == text) {
                    button->click();
                    return;
                }
            }
            box->reject();
        });
    }
    static QString answered(const QString& pending) { return QString(pending).replace(".new.txt", ".txt"); }

    QTemporaryDir state;
    QString folder, newest, older;
    apptest::UrlCatcher catcher;
    int alerts = 0;
    QStringList buttons;
};

TEST_F(IssueReportOfferTest, DiscardRemovesTheReportsAndNothingIsOfferedAgain)
{
    answerWith("Discard");
    PTIssueReportController controller(folder, QString());
    EXPECT_EQ(controller.offerPendingReport(), PTIssueReportController::Answer::Discard);
    EXPECT_EQ(alerts, 1);
    EXPECT_TRUE(QDir(folder).entryList(QDir::Files).isEmpty());
    EXPECT_EQ(controller.offerPendingReport(), PTIssueReportController::Answer::NothingPending);
    EXPECT_EQ(alerts, 1);
    EXPECT_TRUE(catcher.urls.isEmpty());
}

TEST_F(IssueReportOfferTest, ShowKeepsTheReportsAndOpensTheirFolder)
{
    answerWith("Show Report");
    PTIssueReportController controller(folder, QString());
    EXPECT_EQ(controller.offerPendingReport(), PTIssueReportController::Answer::Show);
    // Without a file manager on the bus to select the file, its folder opens.
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return !catcher.urls.isEmpty(); }));
    EXPECT_EQ(catcher.urls, (QList<QUrl>{QUrl::fromLocalFile(QDir(folder).absolutePath())}));
    EXPECT_TRUE(QFile::exists(answered(newest)));
    EXPECT_TRUE(QFile::exists(answered(older)));
    EXPECT_TRUE(pt::IssueReporter::pendingReports(folder).isEmpty());
    EXPECT_EQ(controller.offerPendingReport(), PTIssueReportController::Answer::NothingPending);
    EXPECT_EQ(alerts, 1);
}

TEST_F(IssueReportOfferTest, SendMailsTheNewestReportToTheSupportAddress)
{
    answerWith("Send Report...");
    PTIssueReportController controller(folder, QStringLiteral("support@example.org"));
    EXPECT_EQ(controller.offerPendingReport(), PTIssueReportController::Answer::Send);
    EXPECT_EQ(buttons, (QStringList{"Discard", "Send Report...", "Show Report"}));
    ASSERT_EQ(catcher.urls.size(), 1);
    const QUrl mail = catcher.urls.first();
    EXPECT_EQ(mail.scheme(), "mailto");
    EXPECT_EQ(mail.path(), "support@example.org");
    const QUrlQuery query(mail);
    EXPECT_EQ(query.queryItemValue("subject", QUrl::FullyDecoded), "Pictern Crash Report");
    const QString body = query.queryItemValue("body", QUrl::FullyDecoded);
    EXPECT_TRUE(body.contains("Version: 9.8.7 (build 654)\nSignal: SIGSEGV (11)"));
    EXPECT_TRUE(body.contains(answered(newest)));
    EXPECT_FALSE(body.contains("older"));
    EXPECT_TRUE(QFile::exists(answered(newest)));
    EXPECT_EQ(controller.offerPendingReport(), PTIssueReportController::Answer::NothingPending);
    EXPECT_EQ(alerts, 1);
}

TEST_F(IssueReportOfferTest, WithoutASupportAddressNothingCanBeSent)
{
    answerWith(QString());
    PTIssueReportController controller(folder, QStringLiteral("  "));
    // Closing the alert keeps the reports, and is an answer all the same.
    EXPECT_EQ(controller.offerPendingReport(), PTIssueReportController::Answer::Dismissed);
    EXPECT_EQ(buttons, (QStringList{"Discard", "Show Report"}));
    EXPECT_TRUE(QFile::exists(answered(newest)));
    EXPECT_EQ(controller.offerPendingReport(), PTIssueReportController::Answer::NothingPending);
    EXPECT_EQ(alerts, 1);
    EXPECT_TRUE(catcher.urls.isEmpty());
}

TEST(IssueReportMailTest, ALongReportIsCutAndPointsToItsFile)
{
    const QString report = QString(PTIssueReportController::MaximumMailReportLength * 2, QLatin1Char('x'));
    const QUrl mail = PTIssueReportController::reportMailURL("a@example.org", "/state/pictern/crash-1.txt", report);
    const QString body = QUrlQuery(mail).queryItemValue("body", QUrl::FullyDecoded);
    EXPECT_LT(body.size(), PTIssueReportController::MaximumMailReportLength + 200);
    EXPECT_TRUE(body.contains("/state/pictern/crash-1.txt"));
    EXPECT_TRUE(body.endsWith("[...]"));
}

TEST(IssueReporterFolderTest, ReportsGoToTheStateFolder)
{
    const QByteArray saved = qgetenv("XDG_STATE_HOME");
    const QString fallback = QDir::home().filePath(".local/state/pictern");
    const struct {
        QByteArray variable;
        QString folder;
    } cases[] = {{"/tmp/state", "/tmp/state/pictern"}, {"", fallback}, {"relative/state", fallback}};
    for (const auto& c : cases) {
        qputenv("XDG_STATE_HOME", c.variable);
        EXPECT_EQ(pt::IssueReporter::reportsFolder(), c.folder) << c.variable.toStdString();
    }
    qputenv("XDG_STATE_HOME", saved);
}

// The handler names reports and dates them without the C library's time functions.
TEST(IssueReporterFolderTest, TimesAreWrittenAsTheCalendarHasThem)
{
    for (const char* when : {"1970-01-01T00:00:00Z", "2000-02-29T23:59:59Z", "2026-12-11T07:35:12Z",
                             "2100-03-01T12:00:00Z", "1969-12-31T23:59:58Z"}) {
        const QDateTime time = QDateTime::fromString(QString::fromLatin1(when), Qt::ISODate);
        char text[32];
        signalSafe::Buffer(text, sizeof text).appendTime(time.toSecsSinceEpoch(), false);
        EXPECT_EQ(QString::fromLatin1(text), time.toUTC().toString("yyyy-MM-dd HH:mm:ss")) << when;
        signalSafe::Buffer(text, sizeof text).appendTime(time.toSecsSinceEpoch(), true);
        EXPECT_EQ(QString::fromLatin1(text), time.toUTC().toString("yyyyMMdd-HHmmss")) << when;
    }
    char small[8];
    EXPECT_EQ(signalSafe::Buffer(small, sizeof small).append("a longer text").size(), 7u);
}

} // namespace
