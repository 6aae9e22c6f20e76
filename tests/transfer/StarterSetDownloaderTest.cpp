#include "transfer/PTStarterSetDownloader.h"

#include "DownloadTestSupport.h"
#include "ImportTestSupport.h"
#include "LoopbackHTTPServer.h"
#include "TestSupport.h"

#include "foundation/SSZipArchive.h"
#include "transfer/PTURLDownloader.h"
#include "library/bundle/PTTernExporter.h"
#include "library/controllers/PTCollectionController.h"
#include "library/entities/PTCollection.h"

#include <QDir>
#include <QFile>
#include <QTcpSocket>

#include <gtest/gtest.h>

#include <optional>

namespace pt::test {

class StarterSetTest : public ImportTest {};

// The starter set as a new user gets it: a zip holding one exchange bundle, imported into the library; anything
// else ends with nothing imported and says so once.
TEST_F(StarterSetTest, AZippedBundleIsImportedAndAnythingElseIsNot)
{
    PTCollection* set = makeSet(QStringLiteral("Starter Icons"));
    makeItem(set, QStringLiteral("next"), QStringLiteral("next.svg"));
    saveAndWait();
    bool exported = false;
    const QString bundle = sources.filePath(QStringLiteral("Starter.pictern"));
    const auto exporter = PTTernExporter::create(set, bundle);
    exporter->setCompletionHandler([&exported] { exported = true; });
    exporter->begin();
    ASSERT_TRUE(runMainQueueUntil([&] { return exported; }));
    ASSERT_TRUE(SSZipArchive::createZipFileAtPath(sources.filePath(QStringLiteral("starter.zip")), bundle, true));
    QFile zip(sources.filePath(QStringLiteral("starter.zip")));
    ASSERT_TRUE(zip.open(QIODevice::ReadOnly));
    const QByteArray zipped = zip.readAll();

    LoopbackHTTPServer server([&](const LoopbackHTTPServer::Request& request, QTcpSocket* socket) {
        socket->write(request.path == "/starter.zip" ? LoopbackHTTPServer::response(200, zipped)
                                                     : LoopbackHTTPServer::response(200, "not a bundle"));
        socket->disconnectFromHost();
    });
    PTStarterSetDownloader downloader;
    const auto run = [&](const QString& path, QList<double>* progress) {
        std::optional<bool> imported;
        int calls = 0;
        downloader.downloadStarterSet(
            server.url(path), [progress](double fraction) { progress->append(fraction); },
            [&](bool result) {
                imported = result;
                ++calls;
            });
        EXPECT_TRUE(runMainQueueUntil([&] { return imported.has_value(); }, 20000)) << path.toStdString();
        runMainQueueFor(50);
        EXPECT_EQ(calls, 1) << path.toStdString();
        return imported.value_or(false);
    };

    QList<double> progress;
    EXPECT_TRUE(run(QStringLiteral("/starter.zip"), &progress));
    ASSERT_FALSE(progress.isEmpty());
    EXPECT_EQ(progress.last(), -1) << "the import follows the download";
    int named = 0;
    for (PTCollection* collection : PTCollectionController::sharedController().collections())
        named += collection->name() == QStringLiteral("Starter Icons") ? 1 : 0;
    EXPECT_EQ(named, 2);

    progress.clear();
    EXPECT_FALSE(run(QStringLiteral("/notes.txt"), &progress));
}

// A downloader that goes while its archive unpacks: the unzip stops soon after, and once it has, nothing of the
// download is left.
TEST_F(StarterSetTest, ADownloaderDestroyedWhileUnzippingLeavesNothing)
{
    constexpr int kEntries = 20000;
    const QByteArray zip = zipWithManyEntries(kEntries);
    LoopbackHTTPServer server([&](const LoopbackHTTPServer::Request&, QTcpSocket* socket) {
        socket->write(LoopbackHTTPServer::response(200, zip));
        socket->disconnectFromHost();
    });
    QDir(PTURLDownloader::downloadsFolder()).removeRecursively();
    auto downloader = std::make_unique<PTStarterSetDownloader>();
    downloader->downloadStarterSet(server.url(QStringLiteral("/starter.zip")), {}, [](bool) {});
    QString unpacking;
    ASSERT_TRUE(runMainQueueUntil([&] { return !(unpacking = unpackingFolder()).isEmpty(); }, 20000));
    CreationCounter created(unpacking);
    ASSERT_TRUE(created.isWatching());
    downloader.reset();
    ASSERT_TRUE(runMainQueueUntil([] { return downloadFolders().isEmpty(); }, 20000));
    EXPECT_LT(created.count(), kEntries / 4) << "the unzip went on after the downloader was gone";
}

} // namespace pt::test
