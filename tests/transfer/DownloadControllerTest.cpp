#include "transfer/PTDownloadController.h"
#include "transfer/PTFileOpenURLDownloadHandlerOperation.h"

#include "DownloadTestSupport.h"
#include "FakeLibraryShell.h"
#include "LoopbackHTTPServer.h"
#include "TestSupport.h"

#include "transfer/import/PTFileOpenHandler.h"
#include "transfer/import/PTFileOpenSink.h"
#include "ui/controls/PTToolbarSegmentedControl.h"
#include "ui/sheets/PTProgressSheetWindow.h"
#include "ui/theme/PTThemeController.h"

#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLocale>
#include <QTcpSocket>
#include <QWidget>
#include <QUrlQuery>

#include <gtest/gtest.h>

namespace {

const QByteArray kSVG = "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 8 8\"><path d=\"M0 0h8v8z\"/></svg>";

// Stands for the import's icon operation: takes SVG files and records what it was given.
QList<QUrl>& opened()
{
    static QList<QUrl> urls;
    return urls;
}

class RecordingOperation : public PTFileOpenHandlerOperation {
public:
    static bool handlesURL(const QUrl& url) { return url.isLocalFile() && url.fileName().endsWith(".svg"); }

protected:
    void executeWithDone(const Done& done) override
    {
        opened() << urls();
        done();
    }
};

struct DownloadControllerTest : ::testing::Test {
    std::shared_ptr<pt::test::FakeLibraryShell> shell = std::make_shared<pt::test::FakeLibraryShell>();
    PTDownloadController& controller = PTDownloadController::sharedController();
    LoopbackHTTPServer server{[](const LoopbackHTTPServer::Request& request, QTcpSocket* socket) {
        if (request.path == "/slow.svg") {
            const QByteArray response = LoopbackHTTPServer::response(200, QByteArray(100000, ' '));
            socket->write(response.left(response.size() / 2));
            return;
        }
        socket->write(request.path.endsWith(".svg") ? LoopbackHTTPServer::response(200, kSVG)
                                                    : LoopbackHTTPServer::response(200, "plain text"));
        socket->disconnectFromHost();
    }};

    static void SetUpTestSuite()
    {
        PTFileOpenHandler& handler = PTFileOpenHandler::sharedController();
        handler.registerOperationClass<RecordingOperation>(QStringLiteral("RecordingOperation"),
                                                           PTFileOpenHandler::IconRank);
        PTDownloadController::registerAll(handler);
        handler.applicationDidFinishLaunching();
    }
    void SetUp() override
    {
        PTLibraryShell::install(shell);
        opened().clear();
    }
    void TearDown() override
    {
        if (controller.isBusy())
            controller.cancelCurrentDownload();
        PTLibraryShell::install(nullptr);
    }
    bool waitUntilOver()
    {
        return pt::test::runMainQueueUntil([&] { return controller.openControl()->isEnabled(); }, 20000);
    }
};

} // namespace

TEST_F(DownloadControllerTest, ADownloadedIconOpensOnTheUsersWord)
{
    controller.queueURL(server.url(QStringLiteral("/star.svg")), {}, nullptr);
    ASSERT_TRUE(controller.isBusy());
    EXPECT_EQ(controller.sheet()->title(), PTDownloadController::DownloadingTitle);
    ASSERT_TRUE(waitUntilOver());
    EXPECT_EQ(controller.sheet()->title(), PTDownloadController::CompleteTitle);
    EXPECT_EQ(controller.sheet()->subTitle(), QStringLiteral("star.svg"));
    EXPECT_TRUE(opened().isEmpty()) << "nothing opens before the user says so";
    const QUrl file = controller.downloadedFile();

    // The finished sheet: its two controls side by side at the bottom right, Open enabled, once the new subtitle
    // has been laid out.
    pt::test::runMainQueueFor(50);
    QWidget* window = controller.sheet()->window();
    const QImage image = window->grab().toImage();
    EXPECT_TRUE(pt::test::writeScreenshot(image, QStringLiteral("download-sheet")));
    const QRect open(controller.openControl()->mapTo(window, QPoint()), controller.openControl()->size());
    const QRect cancel(controller.cancelControl()->mapTo(window, QPoint()), controller.cancelControl()->size());
    EXPECT_GE(open.width(), 60);
    EXPECT_GE(open.left(), cancel.right());
    EXPECT_GT(open.right(), window->width() * 3 / 4);

    controller.openControl()->performClick();
    EXPECT_FALSE(controller.isBusy());
    ASSERT_TRUE(pt::test::runMainQueueUntil([] { return !opened().isEmpty(); }));
    EXPECT_EQ(opened(), QList<QUrl>{file});
}

TEST_F(DownloadControllerTest, AFileNothingOpensEndsInAnErrorThatOnlyCloses)
{
    controller.queueURL(server.url(QStringLiteral("/notes.txt")), {}, nullptr);
    ASSERT_TRUE(waitUntilOver());
    EXPECT_EQ(controller.sheet()->title(), PTDownloadController::ErrorTitle);
    EXPECT_EQ(controller.sheet()->subTitle(), PTDownloadController::UnsupportedFileType);
    EXPECT_EQ(controller.openControl()->label(0), QStringLiteral("OK"));
    controller.openControl()->performClick();
    EXPECT_FALSE(controller.isBusy());
    pt::test::runMainQueueFor(50);
    EXPECT_TRUE(opened().isEmpty());
}

// An archive whose entry leads outside the download folder is refused in a sentence that starts with a capital and
// wraps inside the sheet, in both themes, rather than running off its edge.
TEST_F(DownloadControllerTest, AnUnsafeArchiveIsRefusedInAWrappedSentence)
{
    const QString escaping = QStringLiteral("../../../../leaving/the/downloads/folder/for/somewhere/else/entirely/icon.svg");
    const QByteArray slip = pt::test::zipOf({{QStringLiteral("fine.svg"), kSVG}, {escaping, kSVG}});
    LoopbackHTTPServer archives([&slip](const LoopbackHTTPServer::Request&, QTcpSocket* socket) {
        socket->write(LoopbackHTTPServer::response(200, slip));
        socket->disconnectFromHost();
    });
    controller.queueURL(archives.url(QStringLiteral("/icons.zip")), {}, nullptr);
    ASSERT_TRUE(waitUntilOver());
    EXPECT_EQ(controller.sheet()->title(), PTDownloadController::ErrorTitle);
    const QString reason = controller.sheet()->subTitle();
    EXPECT_TRUE(reason.startsWith(QStringLiteral("Refused an entry outside the destination"))) << reason.toStdString();
    EXPECT_TRUE(reason.contains(escaping));

    QWidget* window = controller.sheet()->window();
    const QLabel* subtitle = nullptr;
    for (const QLabel* label : window->findChildren<QLabel*>())
        if (label->accessibleName() == QStringLiteral("Subtitle"))
            subtitle = label;
    ASSERT_NE(subtitle, nullptr);
    const int before = PTThemeController::defaultController().appearance();
    for (int appearance : {PTAppearanceAqua, PTAppearanceDark}) {
        PTThemeController::defaultController().setAppearance(appearance);
        pt::test::runMainQueueFor(50);
        const QImage image = window->grab().toImage();
        const QString theme = appearance == PTAppearanceDark ? QStringLiteral("dark") : QStringLiteral("light");
        EXPECT_TRUE(pt::test::writeScreenshot(image, QStringLiteral("download-refused-archive-") + theme));

        // Every line of the reason lies inside the sheet, with the band's margin to spare on the right.
        const QRect shown(subtitle->mapTo(window, QPoint()), subtitle->size());
        const int line = subtitle->fontMetrics().lineSpacing();
        EXPECT_GE(shown.height(), 2 * line) << "wrapped onto more than one line";
        EXPECT_LE(shown.right(), window->width() - 15);
        // Ink (text pixels far from the band's colour beside the text) on the first and on a later line, and
        // none in the margin right of the text.
        const qreal ratio = image.devicePixelRatio();
        const QColor band = image.pixelColor(QPoint(int((shown.left() - 8) * ratio), int(shown.center().y() * ratio)));
        const auto inkIn = [&](const QRect& area) {
            int ink = 0;
            for (int y = int(area.top() * ratio); y <= int(area.bottom() * ratio); ++y)
                for (int x = int(area.left() * ratio); x <= int(area.right() * ratio); ++x) {
                    const QColor pixel = image.pixelColor(x, y);
                    ink += std::abs(pixel.lightness() - band.lightness()) > 60 ? 1 : 0;
                }
            return ink;
        };
        EXPECT_GT(inkIn(QRect(shown.left(), shown.top(), shown.width(), line)), 20) << theme.toStdString();
        EXPECT_GT(inkIn(QRect(shown.left(), shown.bottom() - line + 1, shown.width(), line)), 20) << theme.toStdString();
        EXPECT_EQ(inkIn(QRect(shown.right() + 1, shown.top(), window->width() - shown.right() - 2, shown.height())), 0)
            << theme.toStdString();
    }
    PTThemeController::defaultController().setAppearance(before);
}

TEST_F(DownloadControllerTest, ASecondRequestWhileBusyAndARefusedOneStartNothing)
{
    controller.queueURL(server.url(QStringLiteral("/slow.svg")), {}, nullptr);
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return server.connections() == 1; }));
    controller.queueURL(server.url(QStringLiteral("/other.svg")), {}, nullptr);
    pt::test::runMainQueueFor(100);
    EXPECT_EQ(server.requests().size(), 1);
    controller.cancelControl()->performClick();
    EXPECT_FALSE(controller.isBusy());
    pt::test::runMainQueueFor(50);

    controller.queueURL(QUrl(QStringLiteral("file:///etc/passwd")), {}, nullptr);
    EXPECT_FALSE(controller.isBusy());
    ASSERT_EQ(shell->notices.size(), 1);
    EXPECT_TRUE(shell->notices.first().startsWith(PTDownloadController::RefusedTitle));
}

// Cancel while a large archive unpacks: the unzip stops soon after, and once it has, nothing of the download is
// left.
TEST_F(DownloadControllerTest, CancelWhileUnzippingStopsTheUnzipAndLeavesNothing)
{
    constexpr int kEntries = 20000;
    const QByteArray zip = pt::test::zipWithManyEntries(kEntries);
    LoopbackHTTPServer zipServer([&](const LoopbackHTTPServer::Request&, QTcpSocket* socket) {
        socket->write(LoopbackHTTPServer::response(200, zip));
        socket->disconnectFromHost();
    });
    QDir(PTURLDownloader::downloadsFolder()).removeRecursively();
    controller.queueURL(zipServer.url(QStringLiteral("/many.zip")), {}, nullptr);
    QString unpacking;
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return !(unpacking = pt::test::unpackingFolder()).isEmpty(); },
                                            20000));
    pt::test::CreationCounter created(unpacking);
    ASSERT_TRUE(created.isWatching());
    controller.cancelControl()->performClick();
    EXPECT_FALSE(controller.isBusy());
    ASSERT_TRUE(pt::test::runMainQueueUntil([] { return pt::test::downloadFolders().isEmpty(); }, 20000));
    EXPECT_LT(created.count(), kEntries / 4) << "the unzip went on after the cancel";
}

// pictern://download requests as they arrive from outside: the header fields reach the server; malformed ones
// reach nothing.
TEST_F(DownloadControllerTest, DownloadRequestsOfTheURLScheme)
{
    const auto request = [&](const QString& query) {
        return QUrl(QStringLiteral("pictern://download?") + query);
    };
    const QString address = QString::fromLatin1(QUrl::toPercentEncoding(server.url(QStringLiteral("/a.svg")).toString()));
    EXPECT_FALSE(PTFileOpenURLDownloadHandlerOperation::handlesURL(request(QStringLiteral("url[0]=") + address)));
    EXPECT_TRUE(PTFileOpenURLDownloadHandlerOperation::handlesURL(request(QStringLiteral("url=") + address)));

    PTFileOpenHandler::sharedController().queueItems(
        {request(QStringLiteral("url=%1&headers=plain").arg(address))});
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return !shell->notices.isEmpty(); }));
    EXPECT_FALSE(controller.isBusy());

    PTFileOpenHandler::sharedController().queueItems(
        {request(QStringLiteral("url=%1&headers[X-Token]=secret").arg(address))});
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return controller.isBusy(); }));
    ASSERT_TRUE(waitUntilOver());
    ASSERT_EQ(server.requests().size(), 1);
    EXPECT_EQ(server.requests().first().headers.value("x-token"), QByteArray("secret"));
}

// Requests from other programs that would take the application down or freeze it: nested past any use, or
// carrying more header fields than a download may. Each arrives as opened items do and is refused as not valid.
TEST_F(DownloadControllerTest, HostileRequestsFromOutsideAreRefusedAsNotValid)
{
    const QString address = QString::fromLatin1(QUrl::toPercentEncoding(server.url(QStringLiteral("/a.svg")).toString()));
    QString deep = QStringLiteral("pictern://download?url=%1&headers").arg(address);
    for (int i = 0; i < 60000; ++i)
        deep += QStringLiteral("[]");
    QString crowded = QStringLiteral("pictern://download?url=%1").arg(address);
    for (int i = 0; i < 10000; ++i)
        crowded += QStringLiteral("&headers[]=v");
    PTOpenedItemsSink::install(std::make_shared<PTFileOpenSink>());
    for (const QString& request : {deep + QStringLiteral("=v"), crowded}) {
        shell->notices.clear();
        PTOpenedItemsSink::deliver({QUrl(request)});
        ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return !shell->notices.isEmpty(); }));
        EXPECT_EQ(shell->notices, QStringList{PTDownloadController::RefusedTitle + QStringLiteral(" | ") +
                                              PTFileOpenURLDownloadHandlerOperation::InvalidRequestMessage});
        EXPECT_FALSE(controller.isBusy());
    }
    PTOpenedItemsSink::install(nullptr);
    EXPECT_TRUE(server.requests().isEmpty());
}

TEST(DownloadByteLabel, CountsInDecimalUnits)
{
    // In the user's language; English here.
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::English));
    EXPECT_EQ(PTDownloadController::byteLabel(1500, 3000000), QStringLiteral("1.5 kB of 3.0 MB"));
    EXPECT_EQ(PTDownloadController::byteLabel(5, -1), QStringLiteral("5 bytes of Unknown"));
    QLocale::setDefault(previous);
}
