#include "AppTestWidgets.h"
#include "FakeDesktopServices.h"
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
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrlQuery>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct CrashCase {
    const char* mode;
    int signal;
    const char* signalName;
    const char* reason; // expected on the report's "Reason:" line, or null for none
};

class CrashReportTest : public ::testing::TestWithParam<CrashCase> {};

// The child's report: dead of the signal, and exactly one report in the state folder, named after the time and
// the process (two crashes in one second must not share a name).
QString runChildAndReadReport(const CrashCase& crash, const QTemporaryDir& state)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_STATE_HOME"), state.path());
    child.setProcessEnvironment(environment);
    child.start(QStringLiteral(PICTERN_CRASH_CHILD), {QString::fromLatin1(crash.mode)});
    const qint64 pid = child.processId();
    EXPECT_TRUE(child.waitForFinished(30000));
    EXPECT_EQ(child.exitStatus(), QProcess::CrashExit) << child.readAllStandardError().toStdString();
    EXPECT_EQ(child.exitCode(), crash.signal);
    const QStringList reports = pt::IssueReporter::pendingReports(QDir(state.path()).filePath("pictern"));
    EXPECT_EQ(reports.size(), 1);
    EXPECT_TRUE(QDir(state.path()).filePath("pictern") == QFileInfo(reports.value(0)).absolutePath());
    const QRegularExpression name(QStringLiteral("^crash-\\d{8}-\\d{6}-%1\\.new\\.txt$").arg(pid));
    EXPECT_TRUE(name.match(QFileInfo(reports.value(0)).fileName()).hasMatch()) << reports.value(0).toStdString();
    EXPECT_TRUE(QDir(QDir(state.path()).filePath("pictern")).entryList({".crash-*"}, QDir::Files | QDir::Hidden).isEmpty());
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

// Untrusted files are decoded on the worker pool: a picture that recurses too deep must be reported from there too.
TEST(CrashReportStackTest, AnOverflowOnAPoolThreadIsReported)
{
    QTemporaryDir state;
    const QString report = runChildAndReadReport({"pool-overflow", SIGSEGV, "SIGSEGV", nullptr}, state);
    EXPECT_TRUE(report.contains("Signal: SIGSEGV (11)"));
    EXPECT_GE(report.section("\nBacktrace:\n", 1).count('\n'), 32);
}

// A second thread that faults while the first writes its report waits for it: the report is finished and the
// process still dies of the signal.
TEST(CrashReportThreadsTest, ASecondThreadCrashingMeanwhileWaitsForTheReport)
{
    QTemporaryDir state;
    const QString report = runChildAndReadReport({"two-threads", SIGSEGV, "SIGSEGV", nullptr}, state);
    EXPECT_TRUE(report.contains("Signal: SIGSEGV (11)"));
    EXPECT_TRUE(report.contains("\nBacktrace:\n"));
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
    UrlCatcher catcher;
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

// What else a reports folder may hold: reports a crash left half-written, and names of reports that are not
// regular files (links, pipes), which must neither block the launch nor be offered.
class IssueReportLeftoversTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return QDir(folder.path()).filePath(name); }
    QString writeFile(const QString& path) const
    {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("Pictern crash report\n");
        return path;
    }
    static void makePipe(const QString& path) { ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0); }
    static qint64 deadProcess()
    {
        const pid_t pid = ::fork();
        if (pid == 0)
            ::_exit(0);
        ::waitpid(pid, nullptr, 0);
        return pid;
    }

    QTemporaryDir folder;
    QTemporaryDir outside;
};

TEST_F(IssueReportLeftoversTest, PartialReportsOfProcessesThatAreGoneAreRemovedAtLaunch)
{
    const QString dead = writeFile(path(QStringLiteral(".crash-20261211-073512-%1.partial").arg(deadProcess())));
    // This process is alive, and so may still be writing it.
    const QString alive = writeFile(path(QStringLiteral(".crash-20261211-073512-%1.partial").arg(::getpid())));
    const QString unnamed = writeFile(path(QStringLiteral(".crash-20261211-073512-x.partial")));
    EXPECT_EQ(PTIssueReportController(folder.path(), QString()).offerPendingReport(),
              PTIssueReportController::Answer::NothingPending);
    EXPECT_FALSE(QFileInfo::exists(dead));
    EXPECT_TRUE(QFileInfo::exists(alive));
    EXPECT_TRUE(QFileInfo::exists(unnamed));
}

TEST_F(IssueReportLeftoversTest, OnlyRegularFilesArePendingAndTheRestIsRemoved)
{
    const QString report = writeFile(path("crash-20261210-101010-7.new.txt"));
    const QString pipe = outside.filePath("pipe");
    makePipe(pipe);
    const QString elsewhere = writeFile(outside.filePath("report.txt"));
    ASSERT_TRUE(QFile::link(pipe, path("crash-20261212-000000-1.new.txt")));
    makePipe(path("crash-20261212-000000-2.new.txt"));
    ASSERT_TRUE(QFile::link(elsewhere, path("crash-20261212-000000-3.new.txt")));
    ASSERT_TRUE(QFile::link(outside.filePath("gone"), path("crash-20261212-000000-4.new.txt")));

    EXPECT_EQ(pt::IssueReporter::pendingReports(folder.path()), QStringList{report});
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"crash-20261210-101010-7.new.txt"});
    // What the links pointed at is not ours.
    EXPECT_TRUE(QFileInfo::exists(pipe));
    EXPECT_TRUE(QFileInfo::exists(elsewhere));
}

TEST_F(IssueReportLeftoversTest, ALinkToAPipeDoesNotBlockTheLaunch)
{
    const QString pipe = outside.filePath("pipe");
    makePipe(pipe);
    const QString link = path("crash-20261212-000000-1.new.txt");
    ASSERT_TRUE(QFile::link(pipe, link));
    EXPECT_EQ(pt::test::runInBoundedChild(qint64(256) << 20, 10, [&] {
        const auto answer = PTIssueReportController(folder.path(), QString()).offerPendingReport();
        return answer == PTIssueReportController::Answer::NothingPending ? 0 : 1;
    }), 0);
    EXPECT_FALSE(QFileInfo(link).isSymLink());
    EXPECT_TRUE(QFileInfo::exists(pipe));
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
