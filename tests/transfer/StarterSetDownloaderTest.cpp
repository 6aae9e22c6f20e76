#include "transfer/PTStarterSetDownloader.h"

#include "ImportTestSupport.h"
#include "LoopbackHTTPServer.h"
#include "TestSupport.h"

#include "foundation/SSZipArchive.h"
#include "library/bundle/PTTernExporter.h"
#include "library/controllers/PTCollectionController.h"
#include "library/entities/PTCollection.h"

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

} // namespace pt::test
