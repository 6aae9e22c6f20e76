#include "app/updates/FeedUpdater.h"
#include "app/updates/UsageReporter.h"
#include "app/PTBuildInfo.h"
#include "app/PTNotice.h"
#include "app/PTNoticeController.h"
#include "app/PTUpdateController.h"

#include "platform/runtime/Defaults.h"
#include "platform/ui/ModalRunner.h"

#include "TestSupport.h"

#include <QDesktopServices>
#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QUrlQuery>

#include "preferences/PreferencesTestDefaults.h"

#include <gtest/gtest.h>

using pt::FeedUpdater;
using pt::Updater;

namespace {

// Takes the web addresses the application opens, in place of the desktop's browser.
class OpenedPages : public QObject {
    Q_OBJECT
public:
    OpenedPages()
    {
        for (const char* scheme : {"http", "https", "mailto"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "open");
    }
    ~OpenedPages() override
    {
        for (const char* scheme : {"http", "https", "mailto"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
    QList<QUrl> opened;

public Q_SLOTS:
    void open(const QUrl& url) { opened << url; }
};

// A loopback web server that answers every request with one canned response, or holds it unanswered.
class FeedServer : public QObject {
public:
    explicit FeedServer(QByteArray response) : response_(std::move(response))
    {
        server_.listen(QHostAddress::LocalHost);
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            QTcpSocket* socket = server_.nextPendingConnection();
            connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                const QByteArray chunk = socket->readAll();
                received += chunk;
                if (!chunk.contains("\r\n\r\n"))
                    return;
                ++requests;
                if (!response_.isEmpty())
                    socket->write(response_);
                socket->flush();
            });
        });
    }
    static QByteArray ok(const QByteArray& body)
    {
        return "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nConnection: close\r\nContent-Length: " +
               QByteArray::number(body.size()) + "\r\n\r\n" + body;
    }
    QUrl url() const { return QUrl(QStringLiteral("http://127.0.0.1:%1/feed.json").arg(server_.serverPort())); }
    int requests = 0;
    // Every byte of every request, bodies included.
    QByteArray received;

private:
    QTcpServer server_;
    QByteArray response_;
};

class FeedUpdaterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        usePreferencesTestDefaults(dir);
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(FeedUpdaterTest, ANewerReleaseIsReportedOnceWithItsFields)
{
    FeedServer server(FeedServer::ok(R"j({"version":"1.10","displayVersion":"1.10 (Autumn)",)j"
                                     R"("url":"https://pictern.example/releases/1.10"})"));
    FeedUpdater updater(server.url(), QStringLiteral("1.9"));
    QSignalSpy found(&updater, &Updater::didFindValidUpdate);
    QSignalSpy finished(&updater, &Updater::checkFinished);
    updater.checkForUpdates();
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return finished.count() == 1; }));
    ASSERT_EQ(found.count(), 1);
    const auto item = found.first().first().value<pt::UpdateItem>();
    EXPECT_EQ(item.version, "1.10");
    EXPECT_EQ(item.displayVersion, "1.10 (Autumn)");
    EXPECT_EQ(item.url, QUrl("https://pictern.example/releases/1.10"));
    EXPECT_EQ(finished.first().first().value<Updater::CheckResult>(), Updater::CheckResult::Found);
    EXPECT_TRUE(updater.lastUpdateCheckDate().isValid());
}

TEST_F(FeedUpdaterTest, FeedsThatAreNotANewerValidReleaseGiveNothing)
{
    const QByteArray page = R"("url":"https://pictern.example/r")";
    const struct {
        const char* name;
        QByteArray response;
        Updater::CheckResult result;
    } cases[] = {
        {"equal", FeedServer::ok(R"({"version":"2.0",)" + page + "}"), Updater::CheckResult::UpToDate},
        {"older", FeedServer::ok(R"({"version":"1.9.9",)" + page + "}"), Updater::CheckResult::UpToDate},
        {"malformed", FeedServer::ok(R"({"version":"3.0",)"), Updater::CheckResult::Failed},
        {"number version", FeedServer::ok(R"({"version":3,)" + page + "}"), Updater::CheckResult::Failed},
        {"file page", FeedServer::ok(R"({"version":"3.0","url":"file:///etc/passwd"})"),
         Updater::CheckResult::Failed},
        {"server error", "HTTP/1.1 500 Oops\r\nContent-Length: 0\r\nConnection: close\r\n\r\n",
         Updater::CheckResult::Failed},
        {"oversized", FeedServer::ok(R"({"version":"3.0",)" + page + R"(,"pad":")" +
                                     QByteArray(FeedUpdater::MaximumFeedBytes, 'x') + "\"}"),
         Updater::CheckResult::Failed},
        {"stalled", QByteArray(), Updater::CheckResult::Failed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FeedServer server(c.response);
        FeedUpdater updater(server.url(), QStringLiteral("2.0"));
        updater.setTimeout(300);
        QSignalSpy found(&updater, &Updater::didFindValidUpdate);
        QSignalSpy finished(&updater, &Updater::checkFinished);
        updater.checkForUpdates();
        ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return finished.count() == 1; }));
        EXPECT_EQ(found.count(), 0);
        EXPECT_EQ(finished.first().first().value<Updater::CheckResult>(), c.result);
    }
}

TEST_F(FeedUpdaterTest, WithoutAFeedNothingLeavesTheMachineAndTheUserIsTold)
{
    FeedUpdater updater(QUrl(), QStringLiteral("1.0"));
    QSignalSpy finished(&updater, &Updater::checkFinished);
    updater.checkForUpdateInformation();
    EXPECT_EQ(finished.count(), 0);
    updater.checkForUpdates();
    ASSERT_EQ(finished.count(), 1);
    EXPECT_EQ(finished.first().first().value<Updater::CheckResult>(), Updater::CheckResult::NotConfigured);
}

TEST_F(FeedUpdaterTest, TheLaunchCheckFollowsTheSwitchAndPublishesAFoundRelease)
{
    for (const bool automatic : {false, true}) {
        SCOPED_TRACE(automatic);
        FeedServer server(FeedServer::ok(R"({"version":"9.0","url":"https://pictern.example/9"})"));
        PTUpdateController controller(std::make_unique<FeedUpdater>(server.url(), QStringLiteral("1.0")),
                                      QString());
        controller.updater().setAutomaticallyChecksForUpdates(automatic);
        QSignalSpy available(&controller, &PTUpdateController::updateAvailableChanged);
        QMenu help;
        controller.setup(&help);
        if (automatic) {
            ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return available.count() == 1; }));
            EXPECT_EQ(controller.updateAppcastItem().displayVersionString, "9.0");
        } else {
            pt::test::runMainQueueFor(200);
            EXPECT_EQ(server.requests, 0);
        }
        EXPECT_EQ(controller.updateAvailable(), automatic);
    }
}

TEST_F(FeedUpdaterTest, FeedbackItemsWriteMailOnlyWithASupportAddress)
{
    QMenu help;
    PTUpdateController without(std::make_unique<FeedUpdater>(QUrl(), QStringLiteral("1.0")), QString());
    without.setup(&help);
    without.setup(&help);
    QStringList names;
    for (QAction* action : help.actions())
        names << action->objectName();
    EXPECT_EQ(names.filter("Action").size(), 1) << names.join(',').toStdString();
    EXPECT_TRUE(help.findChild<QAction*>("checkForUpdatesAction"));
    EXPECT_FALSE(help.findChild<QAction*>("feedbackAction"));

    QMenu other;
    PTUpdateController with(std::make_unique<FeedUpdater>(QUrl(), QStringLiteral("1.0")), "help@pictern.example");
    with.setup(&other);
    for (const char* name : {"feedbackAction", "reportBugAction", "supportRequestAction"})
        EXPECT_TRUE(other.findChild<QAction*>(name)) << name;

    const QUrl mail = PTUpdateController::feedbackURL(PTUpdateController::BugReport, "help@pictern.example");
    EXPECT_EQ(mail.scheme(), "mailto");
    EXPECT_EQ(mail.path(), "help@pictern.example");
    const QUrlQuery query(mail);
    EXPECT_EQ(query.queryItemValue("subject", QUrl::FullyDecoded), "Pictern Bug Report");
    EXPECT_TRUE(query.queryItemValue("body", QUrl::FullyDecoded).contains("Qt " + QString(qVersion())));
}

TEST_F(FeedUpdaterTest, TheUpdateNoticeOpensTheReleasePageFoundOrChecksFirst)
{
    OpenedPages pages;
    FeedServer server(FeedServer::ok(R"({"version":"9.0","url":"https://pictern.example/9"})"));
    PTUpdateController controller(std::make_unique<FeedUpdater>(server.url(), QStringLiteral("1.0")), QString());
    controller.checkForUpdatesInBackground();
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return !pages.opened.isEmpty(); }));
    EXPECT_EQ(pages.opened, QList<QUrl>{QUrl("https://pictern.example/9")});
    EXPECT_TRUE(controller.updateAvailable());

    controller.checkForUpdatesInBackground();
    EXPECT_EQ(pages.opened.size(), 2) << "a release already found opens at once";
    EXPECT_EQ(server.requests, 1);
}

// The feed is not ours: a version that looks like markup shows as the characters it is, in the alert of an
// interactive check and in the update notice.
TEST_F(FeedUpdaterTest, FeedTextShowsAsWrittenInTheAlertAndTheNotice)
{
    FeedServer server(FeedServer::ok(R"({"version":"<b>9</b>","url":"https://pictern.example/9"})"));
    PTUpdateController controller(std::make_unique<FeedUpdater>(server.url(), QStringLiteral("1.0")), QString());
    PTNoticeController notices(controller);
    // What the window's labels show a reader, markup rendered.
    const auto shownTexts = [](const QWidget* widget) {
        QStringList shown;
        for (const QLabel* label : widget->findChildren<QLabel*>()) {
            const bool markup = label->textFormat() == Qt::RichText ||
                                (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(label->text()));
            QTextDocument document;
            document.setHtml(label->text());
            shown << (markup ? document.toPlainText() : label->text());
        }
        return shown.join(u'\n');
    };

    QString alert;
    pt::ModalRunner::setHook([&](QWidget* window) {
        alert = shownTexts(window);
        window->close();
    });
    controller.checkForUpdates();
    const bool alerted = pt::test::runMainQueueUntil([&] { return !alert.isEmpty(); });
    pt::ModalRunner::setHook({});
    ASSERT_TRUE(alerted);
    EXPECT_TRUE(alert.contains("Pictern <b>9</b> is out")) << alert.toStdString();

    ASSERT_TRUE(controller.updateAvailable());
    QWidget parent;
    const QString notice = shownTexts(notices.notices().last()->makeView(&parent));
    EXPECT_TRUE(notice.contains("Pictern <b>9</b> (<b>9</b>) is now available")) << notice.toStdString();
}

#include "FeedUpdaterTest.moc"

// The usage report leaves only by the user's choice, and only to an address the build has.
TEST_F(FeedUpdaterTest, TheUsageReportIsSentOnlyWhenTurnedOnAndAddressed)
{
    FeedServer server(FeedServer::ok("{}"));
    pt::UsageReporter unaddressed{QUrl()};
    unaddressed.setSendsUsageReport(true);
    EXPECT_FALSE(unaddressed.sendsUsageReport());
    EXPECT_FALSE(unaddressed.sendTrackingReport());

    PTUpdateController controller(std::make_unique<FeedUpdater>(QUrl(), QStringLiteral("1.0")), QString(),
                                  std::make_unique<pt::UsageReporter>(server.url()));
    pt::UsageReporter& usage = controller.usageReporter();
    EXPECT_FALSE(usage.sendsUsageReport());
    controller.setup(nullptr);
    pt::test::runMainQueueFor(200);
    EXPECT_EQ(server.requests, 0);

    QSignalSpy changed(&usage, &pt::UsageReporter::sendsUsageReportChanged);
    usage.setSendsUsageReport(true);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_TRUE(pt::Defaults::standard().boolForKey(pt::UsageReporter::SendsUsageReportKey));
    controller.setup(nullptr);
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return server.received.contains("\"version\""); }));
    EXPECT_EQ(server.requests, 1);
    EXPECT_TRUE(server.received.startsWith("POST /feed.json"));
    EXPECT_TRUE(server.received.endsWith(pt::UsageReporter::report()));
    EXPECT_TRUE(pt::UsageReporter::report().contains("\"version\":\"" + PTBuildInfo::version().toUtf8() + "\""));
}
