// Checking item files against their types, over real files of every kind.
#include "LibraryTestSupport.h"

#include "TestSupport.h"
#include "foundation/PDF.h"
#include "foundation/WebP.h"
#include "library/controllers/PTCollectionController.h"
#include "library/upkeep/PTIconItegrityController.h"
#include "library/upkeep/PTSVGFileCheck.h"
#include "svg/PTSVG.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QSet>

#include <atomic>

namespace {

// The SVG engine's parser, as the application installs it.
class ParserCheck : public PTSVGFileCheck {
public:
    bool isValidSVGFile(const QString& path) const override { return PTSVG::svgWithFile(path, false).ok(); }
};

// The parser, counting the files it reads.
class CountingCheck : public ParserCheck {
public:
    bool isValidSVGFile(const QString& path) const override
    {
        ++reads;
        return ParserCheck::isValidSVGFile(path);
    }
    mutable std::atomic<int> reads = 0;
};

class IntegrityTest : public pt::test::LibraryTest {
protected:
    void SetUp() override
    {
        LibraryTest::SetUp();
        PTSVGFileCheck::install(std::make_shared<ParserCheck>());
        set = PTCollectionController::sharedController().createCollectionWithName("Checked", nullptr);
        QImage image(24, 16, QImage::Format_ARGB32);
        image.fill(QColor(200, 40, 90, 180));
        QBuffer buffer(&png);
        ASSERT_TRUE(buffer.open(QIODevice::WriteOnly) && image.save(&buffer, "PNG"));
        ASSERT_TRUE(image.save(dir.filePath("icon.ico"), "ICO"));
        ico = read(dir.filePath("icon.ico"));
        webp = WebP::webPRepresentationWithPreset(image, 0, 80);
        pdf = PDF::PDFData(image);
    }
    void TearDown() override
    {
        PTSVGFileCheck::install(nullptr);
        LibraryTest::TearDown();
    }

    static QByteArray read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // An item of the type whose file holds the bytes; a null array leaves the file missing.
    PTItem* item(const QString& fileName, qint64 type, const QByteArray& bytes)
    {
        PTItem* made = PTItem::insert(context());
        made->setName(fileName);
        made->setNewFileName(fileName);
        made->setType(type);
        made->setCollection(set);
        if (!bytes.isNull()) {
            QFile file(made->fileURL().toLocalFile());
            EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        }
        return made;
    }

    PTCollection* set = nullptr;
    QByteArray png, ico, webp, pdf;
};

} // namespace

TEST_F(IntegrityTest, EachTypeIsDecodedByItsOwnReader)
{
    ASSERT_FALSE(webp.isEmpty());
    ASSERT_FALSE(pdf.isEmpty());
    struct Case {
        const char* fileName;
        qint64 type;
        QByteArray bytes;
        bool valid;
    };
    QByteArray brokenWebP = webp;
    brokenWebP.resize(40);
    const QByteArray svg = read(pt::test::themeIcon());
    const std::vector<Case> cases{
        {"fine.png", PTItem::PNG, png, true},
        {"missing.png", PTItem::PNG, QByteArray(), false},
        {"truncated.png", PTItem::PNG, png.left(png.size() / 2), false},
        {"png-named-gif.gif", PTItem::GIF, png, true},
        {"fine.svg", PTItem::SVG, svg, true},
        {"broken.svg", PTItem::SVG, "<svg xmlns='http://www.w3.org/2000/svg'><path d='M0 0", false},
        {"not-svg.svg", PTItem::SVG, png, false},
        {"fine.webp", PTItem::WEBP, webp, true},
        {"truncated.webp", PTItem::WEBP, brokenWebP, false},
        {"png-named-webp.webp", PTItem::WEBP, png, false},
        {"fine.pdf", PTItem::PDF, pdf, true},
        {"header-only.pdf", PTItem::PDF, "%PDF-1.4\n%%EOF\n", false},
        // Made with png2icns from a 32 x 32 PNG.
        {"fine.icns", PTItem::ICNS, read(pt::test::fixturePath("icon32.icns")), true},
        {"fine.ico", PTItem::ICO, ico, true},
        {"empty.ico", PTItem::ICO, QByteArray(""), false},
    };
    QVector<PTItem*> items;
    QSet<QString> expectedInvalid;
    for (const Case& c : cases) {
        items << item(c.fileName, c.type, c.bytes);
        if (!c.valid)
            expectedInvalid.insert(items.last()->fileURL().toLocalFile());
    }

    PTIconItegrityController controller(items);
    EXPECT_FALSE(controller.checkIntegrity());
    ASSERT_EQ(controller.invalidItems().size(), controller.invalidURLs().size());
    QSet<QString> invalid;
    for (int i = 0; i < controller.invalidURLs().size(); ++i) {
        EXPECT_EQ(controller.invalidItems()[i]->fileURL(), controller.invalidURLs()[i]);
        invalid.insert(controller.invalidURLs()[i].toLocalFile());
    }
    EXPECT_EQ(invalid, expectedInvalid);
}

TEST_F(IntegrityTest, TheFirstAnswerIsKept)
{
    PTItem* fine = item("fine.png", PTItem::PNG, png);
    PTIconItegrityController controller({fine});
    EXPECT_TRUE(controller.checkIntegrity());
    ASSERT_TRUE(QFile::remove(fine->fileURL().toLocalFile()));
    EXPECT_TRUE(controller.checkIntegrity());
    EXPECT_TRUE(controller.invalidURLs().isEmpty());

    PTIconItegrityController again({fine});
    EXPECT_FALSE(again.checkIntegrity());
    EXPECT_EQ(again.invalidURLs(), QVector<QUrl>{fine->fileURL()});
    EXPECT_TRUE(PTIconItegrityController({}).checkIntegrity());
}

TEST_F(IntegrityTest, AnUnchangedValidFileIsNotReadAgainButARewrittenOneIs)
{
    auto counting = std::make_shared<CountingCheck>();
    PTSVGFileCheck::install(counting);
    const QByteArray svg = read(pt::test::themeIcon());
    PTItem* fine = item("fine.svg", PTItem::SVG, svg);
    PTItem* broken = item("broken.svg", PTItem::SVG, "<svg");
    EXPECT_FALSE(PTIconItegrityController({fine, broken}).checkIntegrity());
    EXPECT_EQ(counting->reads, 2);
    EXPECT_FALSE(PTIconItegrityController({fine, broken}).checkIntegrity()) << "a failure is checked again";
    EXPECT_EQ(counting->reads, 3);

    // Spoilt with the same size: only the modification time tells.
    const QString path = fine->fileURL().toLocalFile();
    const QDateTime written = QFileInfo(path).lastModified();
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.write(QByteArray(svg.size(), 'x')) == svg.size() && file.flush());
        ASSERT_TRUE(file.setFileTime(written.addSecs(1), QFileDevice::FileModificationTime));
    }
    PTIconItegrityController spoilt({fine});
    EXPECT_FALSE(spoilt.checkIntegrity());
    EXPECT_EQ(spoilt.invalidItems(), QVector<PTItem*>{fine});
}

// An item whose file name would not stay inside its set's folder has no file to check.
TEST_F(IntegrityTest, AnItemWithoutAFileFails)
{
    PTItem* nameless = item("x", PTItem::PNG, QByteArray());
    nameless->setNewFileName("../escape.png");
    PTIconItegrityController controller({nameless});
    EXPECT_FALSE(controller.checkIntegrity());
    EXPECT_EQ(controller.invalidItems(), QVector<PTItem*>{nameless});
    EXPECT_EQ(controller.invalidURLs(), QVector<QUrl>{QUrl()});
}
