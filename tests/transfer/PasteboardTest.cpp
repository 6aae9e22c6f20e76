#include "ExportTestFiles.h"
#include "LibraryTestSupport.h"

#include "transfer/PTIconTransfer.h"
#include "transfer/pasteboard/PTPasteboardItemProvider.h"
#include "transfer/pasteboard/PTPasteboardMimeData.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QImageReader>
#include <QMimeData>

#include <gtest/gtest.h>

#include <memory>

using namespace pt::test;

namespace {

// Items of a real library whose files the providers read, exports landing in a runtime folder of the test's own.
class PasteboardTest : public LibraryTest {
protected:
    void SetUp() override
    {
        LibraryTest::SetUp();
        previousRuntime = qgetenv("XDG_RUNTIME_DIR");
        ASSERT_TRUE(runtime.isValid());
        qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
        set = makeSet(QStringLiteral("Icons"));
    }
    void TearDown() override
    {
        qputenv("XDG_RUNTIME_DIR", previousRuntime);
        LibraryTest::TearDown();
    }
    PTItem* item(const QString& name, PTItem::Type type, const QString& source = {})
    {
        const QString extension = PTItem::extensionForType(type);
        PTItem* made = makeItem(set, name, name + QLatin1Char('.') + extension, source);
        made->setType(type);
        return made;
    }
    PTItem* png(const QString& name, QSize size = QSize(48, 48))
    {
        return item(name, PTItem::PNG, writePNG(sources.filePath(name + ".png"), size, Qt::black));
    }
    QStringList exported() const
    {
        QStringList files;
        QDirIterator it(runtime.path(), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next();
        return files;
    }

    QTemporaryDir runtime;
    QTemporaryDir sources;
    QByteArray previousRuntime;
    PTCollection* set = nullptr;
    PTIconTransfer transfer;
};

QSize imageSize(const QUrl& url)
{
    return QImageReader(url.toLocalFile()).size();
}

} // namespace

TEST_F(PasteboardTest, ExportsOnlyWhenARenderingAsksForIt)
{
    PTItem* plain = png("plain");
    PTItem* vector = item("vector", PTItem::SVG);
    PTItem* document = item("document", PTItem::PDF, writeTwoPagePDF(sources.filePath("page.pdf")));
    struct Case {
        const char* name;
        PTItem* item;
        QColor color;
        QSizeF size;
        QString sizeFormat;
        bool internalRenderer;
        QString suffix; // empty: the library's own file
        QSize pixels;
    };
    const Case cases[] = {
        {"plain PNG", plain, {}, {}, {}, false, {}, {}},
        {"SVG without a renderer flag", vector, {}, {}, {}, false, {}, {}},
        {"SVG with the renderer flag", vector, {}, {}, {}, true, "svg", {}},
        {"PNG item with the renderer flag", plain, {}, {}, {}, true, {}, {}},
        {"PDF with a colour", document, Qt::red, {}, {}, false, "png", {40, 20}},
        {"square size", plain, {}, {24, 24}, {}, false, "png", {24, 24}},
        {"oblong size", plain, {}, {24, 12}, {}, false, "png", {24, 12}},
        {"size text wins", plain, {}, {24, 24}, "16s", false, "png", {16, 16}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PTPasteboardItemProvider provider(c.item);
        provider.color = c.color;
        provider.size = c.size;
        provider.sizeFormat = c.sizeFormat;
        provider.useInternalRenderer = c.internalRenderer;
        const QStringList before = exported();
        const QUrl url = QUrl::fromEncoded(provider.dataForType(PTPasteboardItemProvider::FileURLType));
        if (c.suffix.isEmpty()) {
            EXPECT_EQ(url, c.item->fileURL());
            EXPECT_EQ(exported(), before);
            continue;
        }
        ASSERT_NE(url, c.item->fileURL());
        EXPECT_EQ(exported().size(), before.size() + 1);
        const QFileInfo file(url.toLocalFile());
        EXPECT_EQ(file.suffix(), c.suffix);
        EXPECT_TRUE(file.absoluteFilePath().startsWith(runtime.path() + "/com.pictern.Pictern.pasteboard/"));
        if (c.pixels.isValid())
            EXPECT_EQ(imageSize(url), c.pixels);
    }
    // Both levels of the export folder are the user's alone.
    const QString root = runtime.filePath(PTPasteboardItemProvider::FolderName);
    const QFileInfo folder(exported().value(0));
    for (const QString& path : {root, folder.absolutePath()})
        EXPECT_EQ(QFileInfo(path).permissions() & 0x0077, 0) << path.toStdString();
}

TEST_F(PasteboardTest, NothingIsWrittenUntilAskedThenOnceForEveryType)
{
    PTItem* vector = item("vector", PTItem::SVG);
    std::unique_ptr<QMimeData> data(transfer.mimeDataForItems({vector}, {{Qt::red, {}, false}},
                                                               PTBrowserTransfer::Use::Drag));
    EXPECT_TRUE(data->hasUrls());
    EXPECT_TRUE(data->hasFormat(PTBrowserTransfer::ItemType));
    EXPECT_FALSE(data->hasFormat(PTPasteboardMimeData::GnomeCopiedFilesType));
    EXPECT_TRUE(exported().isEmpty());

    // The item type asked first still exports the file.
    EXPECT_EQ(PTBrowserTransfer::itemURIs(data->data(PTBrowserTransfer::ItemType)),
              QStringList{vector->objectID().uriString()});
    const QStringList written = exported();
    ASSERT_EQ(written.size(), 1);
    EXPECT_EQ(data->urls(), QList<QUrl>{QUrl::fromLocalFile(written.first())});
    EXPECT_EQ(data->urls(), QList<QUrl>{QUrl::fromLocalFile(written.first())});
    EXPECT_EQ(exported(), written);
    // Types it never promised give nothing and export nothing.
    EXPECT_TRUE(data->data("image/png").isEmpty());
}

TEST_F(PasteboardTest, ClipboardPayloadOfSeveralItemsAndRenderings)
{
    const QVector<PTItem*> items{png("one"), png("two"), png("three")};
    QStringList uris;
    for (PTItem* item : items)
        uris << item->objectID().uriString();

    std::unique_ptr<QMimeData> copy(transfer.mimeDataForItems(items, {{}}, PTBrowserTransfer::Use::Clipboard));
    EXPECT_EQ(PTBrowserTransfer::itemURIs(copy->data(PTBrowserTransfer::ItemType)), uris);
    const QList<QUrl> files{items[0]->fileURL(), items[1]->fileURL(), items[2]->fileURL()};
    EXPECT_EQ(copy->urls(), files);
    // File managers paste from this one.
    const QList<QByteArray> lines = copy->data(PTPasteboardMimeData::GnomeCopiedFilesType).split('\n');
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], "copy");
    EXPECT_EQ(QUrl::fromEncoded(lines[3]), files[2]);

    // One file per item and rendering, item by item; each item's URI once.
    std::unique_ptr<QMimeData> drag(transfer.mimeDataForItems(
        {items[0], items[1]}, {{{}, {16, 16}, false}, {{}, {32, 32}, false}}, PTBrowserTransfer::Use::Drag));
    const QList<QUrl> urls = drag->urls();
    ASSERT_EQ(urls.size(), 4);
    EXPECT_EQ(imageSize(urls[0]), QSize(16, 16));
    EXPECT_EQ(imageSize(urls[1]), QSize(32, 32));
    EXPECT_EQ(imageSize(urls[3]), QSize(32, 32));
    EXPECT_TRUE(QFileInfo(urls[2].toLocalFile()).fileName().startsWith("two"));
    EXPECT_EQ(PTBrowserTransfer::itemURIs(drag->data(PTBrowserTransfer::ItemType)), uris.mid(0, 2));
}

TEST_F(PasteboardTest, ExcludingTheItemTypeLeavesTheFilesAlone)
{
    std::vector<std::unique_ptr<PTPasteboardItemProvider>> providers;
    providers.push_back(std::make_unique<PTPasteboardItemProvider>(png("one")));
    PTPasteboardMimeData data(std::move(providers), false, {PTBrowserTransfer::ItemType});
    EXPECT_EQ(data.formats(), QStringList{"text/uri-list"});
    EXPECT_TRUE(data.data(PTBrowserTransfer::ItemType).isEmpty());
}

TEST_F(PasteboardTest, ACopyThatCannotBeMadeIsNeverTheUnmodifiedFile)
{
    // A name longer than a file name can be still gives the coloured copy.
    PTItem* named =
        makeItem(set, QString(300, u'l'), "long.png", writePNG(sources.filePath("long.png"), {48, 48}, Qt::black));
    named->setType(PTItem::PNG);
    PTPasteboardItemProvider coloured(named);
    coloured.color = Qt::red;
    const QUrl url = QUrl::fromEncoded(coloured.dataForType(PTPasteboardItemProvider::FileURLType));
    ASSERT_FALSE(url.isEmpty());
    ASSERT_NE(url, named->fileURL());
    EXPECT_EQ(QImage(url.toLocalFile()).pixel(24, 24), qRgb(255, 0, 0));

    // A size no file can have: no file is offered, and the item itself still is.
    PTItem* plain = png("plain");
    std::unique_ptr<QMimeData> data(transfer.mimeDataForItems(
        {plain}, {{Qt::red, {}, false, -1, "20000s", {}, false}}, PTBrowserTransfer::Use::Clipboard));
    EXPECT_TRUE(data->urls().isEmpty());
    EXPECT_FALSE(data->data(PTPasteboardMimeData::GnomeCopiedFilesType).contains(plain->fileURL().toEncoded()));
    EXPECT_EQ(PTBrowserTransfer::itemURIs(data->data(PTBrowserTransfer::ItemType)),
              QStringList{plain->objectID().uriString()});
    EXPECT_EQ(exported().size(), 1);
}
