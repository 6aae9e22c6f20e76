#include "TestSupport.h"
#include "platform/graphics/ImageFileReader.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray bigEndian16(quint16 value)
{
    const char bytes[] = {char(value >> 8), char(value)};
    return QByteArray(bytes, 2);
}

QByteArray bigEndian32(quint32 value)
{
    return bigEndian16(quint16(value >> 16)) + bigEndian16(quint16(value));
}

// An ICNS file of one element of the type holding the data.
QByteArray icnsWith(const QByteArray& type, const QByteArray& data)
{
    const QByteArray element = type + bigEndian32(quint32(8 + data.size())) + data;
    return "icns" + bigEndian32(quint32(8 + element.size())) + element;
}

QImage read(const QByteArray& data, const char* format = nullptr)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    return reader.read();
}

// Four quadrants of their own colours, one of them translucent, on a picture wider than high: a flip, a swapped
// channel, a lost alpha or swapped sides all show.
QImage quadrants()
{
    QImage image(24, 16, QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, y < 8 ? (x < 12 ? qRgba(255, 0, 0, 255) : qRgba(0, 200, 40, 255))
                                       : (x < 12 ? qRgba(10, 20, 250, 128) : qRgba(250, 250, 250, 255)));
    return image;
}

QImage grayRamp()
{
    QImage image(16, 4, QImage::Format_Grayscale8);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x * 16, x * 16, x * 16));
    return image;
}

// A marker segment of a codestream: the marker, the length, the payload.
QByteArray segment(quint16 marker, const QByteArray& payload)
{
    return bigEndian16(marker) + bigEndian16(quint16(payload.size() + 2)) + payload;
}

// A coding style segment (COD) with code-blocks of 2^blockExponent a side; precincts, when given, one byte a
// resolution.
QByteArray codingStyle(int levels, int blockExponent, int layers = 1, const QByteArray& precincts = {})
{
    const char flags = precincts.isEmpty() ? 0 : 1;
    const char block = char(blockExponent - 2);
    return segment(0xff52, QByteArray(1, flags) + '\0' + bigEndian16(quint16(layers))
                               + QByteArray("\0", 1) + char(levels) + block + block + '\0' + '\1' + precincts);
}

// A codestream built by hand: 8-bit components coded losslessly in empty packets, so that every tile the stream
// holds decodes to mid grey. The cases vary what the decoder sets up for the header.
struct Codestream {
    quint32 width = 64, height = 64, tileWidth = 64, tileHeight = 64;
    int components = 1;
    int levels = 0;
    int blockExponent = 6;
    int layers = 1;
    QByteArray precincts;
    // The tile-parts in the stream, in order: the tile, the part's index and the tile's number of parts.
    struct TilePart {
        int tile, part = 0, parts = 1;
    };
    QList<TilePart> tileParts{{0}};
    // Markers of each tile-part header, and the bytes of each tile-part's body (one empty packet for each
    // layer, resolution and component unless set).
    QByteArray tileHeader;
    std::optional<QByteArray> body;

    QByteArray bytes() const
    {
        QByteArray size = bigEndian16(0) + bigEndian32(width) + bigEndian32(height) + bigEndian32(0) + bigEndian32(0)
                        + bigEndian32(tileWidth) + bigEndian32(tileHeight) + bigEndian32(0) + bigEndian32(0)
                        + bigEndian16(quint16(components));
        for (int c = 0; c < components; ++c)
            size += QByteArray("\x07\x01\x01", 3);
        QByteArray stream = QByteArray("\xff\x4f", 2) + segment(0xff51, size)
                          + codingStyle(levels, blockExponent, layers, precincts)
                          + segment(0xff5c, QByteArray(1 + 3 * levels + 1, '\x40'));
        const QByteArray packets = body.value_or(QByteArray(components * layers * (levels + 1), '\0'));
        for (const TilePart& part : tileParts)
            stream += bigEndian16(0xff90) + bigEndian16(10) + bigEndian16(quint16(part.tile))
                    + bigEndian32(quint32(14 + tileHeader.size() + packets.size())) + char(part.part)
                    + char(part.parts) + tileHeader + QByteArray("\xff\x93", 2) + packets;
        return stream + QByteArray("\xff\xd9", 2);
    }
};

// One tile-part for each tile of a grid.
QList<Codestream::TilePart> everyTile(int tiles)
{
    QList<Codestream::TilePart> parts;
    for (int tile = 0; tile < tiles; ++tile)
        parts.append(Codestream::TilePart{tile});
    return parts;
}

QByteArray box(const char* type, const QByteArray& payload)
{
    return bigEndian32(quint32(8 + payload.size())) + type + payload;
}

// A JP2 file up to its codestream box: signature, file type and a header of the codestream's size and
// components, with the boxes given.
QByteArray jp2Head(const Codestream& stream, const QByteArray& headerBoxes = {})
{
    const QByteArray header = bigEndian32(stream.height) + bigEndian32(stream.width)
                            + bigEndian16(quint16(stream.components)) + QByteArray("\x07\x07\0\0", 4);
    const QByteArray colour = QByteArray("\x01\0\0", 3) + bigEndian32(stream.components < 3 ? 17 : 16);
    return QByteArray("\0\0\0\x0cjP  \x0d\x0a\x87\x0a", 12) + box("ftyp", "jp2 " + bigEndian32(0) + "jp2 ")
         + box("jp2h", box("ihdr", header) + box("colr", colour) + headerBoxes);
}

QByteArray jp2(const Codestream& stream, const QByteArray& headerBoxes = {})
{
    return jp2Head(stream, headerBoxes) + box("jp2c", stream.bytes());
}

// The picture a hand-built codestream decodes to: mid grey, translucent with an alpha component.
QImage midGrey(const Codestream& stream)
{
    const bool alpha = stream.components == 2 || stream.components == 4;
    QImage image(int(stream.width), int(stream.height), alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    image.fill(qRgba(128, 128, 128, alpha ? 128 : 255));
    return image;
}

// A field of /proc/self/status, in KiB.
qint64 statusKiB(const QByteArray& field)
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed().split(' ').first().toLongLong();
    return -1;
}

struct BoundedRead {
    bool finished = false; // exited by itself, not stopped by a signal
    bool decoded = false;
    qint64 peakGrowthKiB = 0;
};

// Reads the data in a forked child under an address-space limit and a time bound, so that a decoder running away
// fails the test instead of taking the executable down. The child reports whether it decoded a picture and how
// far its resident memory rose above what it started with.
BoundedRead readInBoundedChild(const QByteArray& data, const char* format)
{
    constexpr rlim_t Headroom = rlim_t(512) << 20;
    constexpr unsigned Seconds = 30;
    int channel[2];
    if (pipe(channel) != 0)
        return {};
    const pid_t pid = fork();
    if (pid == 0) {
        close(channel[0]);
        const rlimit space{rlim_t(statusKiB("VmSize")) * 1024 + Headroom, RLIM_INFINITY};
        setrlimit(RLIMIT_AS, &space);
        alarm(Seconds);
        QFile peak("/proc/self/clear_refs"); // "5" restarts the peak from the resident size
        const bool cleared = peak.open(QIODevice::WriteOnly) && peak.write("5") == 1;
        peak.close();
        const qint64 before = statusKiB("VmHWM");
        BoundedRead result{true, !read(data, format).isNull(), statusKiB("VmHWM") - before};
        const bool written = cleared && write(channel[1], &result, sizeof result) == ssize_t(sizeof result);
        _exit(written ? 0 : 1);
    }
    close(channel[1]);
    BoundedRead result;
    const bool reported = pid > 0 && ::read(channel[0], &result, sizeof result) == ssize_t(sizeof result);
    close(channel[0]);
    int status = 0;
    if (pid > 0)
        waitpid(pid, &status, 0);
    result.finished = reported && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return result;
}

} // namespace

// Pictures written by the reference encoder (lossless), read back through Qt's image readers.
class Jpeg2000Image : public ::testing::Test {
protected:
    // The image encoded by opj_compress into a file of the extension ("jp2" or "j2k").
    QByteArray encoded(const QImage& image, const QString& extension)
    {
        const QString png = dir.filePath("source.png");
        const QString output = dir.filePath("encoded." + extension);
        EXPECT_TRUE(image.save(png));
        QProcess tool;
        // Few resolution levels: the default needs sides of 32 pixels and more.
        tool.start("opj_compress", {"-i", png, "-o", output, "-n", "3"});
        EXPECT_TRUE(tool.waitForFinished(30000) && tool.exitCode() == 0) << tool.readAllStandardError().toStdString();
        QFile file(output);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }

    QTemporaryDir dir;
};

TEST_F(Jpeg2000Image, BothFormsDecodeToTheEncodedPixels)
{
    const QImage colour = quadrants();
    const QImage gray = grayRamp().convertToFormat(QImage::Format_RGB32);
    for (const QString extension : {"jp2", "j2k"}) {
        SCOPED_TRACE(extension.toStdString());
        const QByteArray colourData = encoded(quadrants(), extension);
        // By name and by content alone.
        EXPECT_EQ(read(colourData, extension.toLatin1().constData()), colour);
        EXPECT_EQ(read(colourData), colour);
        EXPECT_EQ(read(encoded(grayRamp(), extension)), gray);
    }
}

TEST_F(Jpeg2000Image, IcnsElementsDecode)
{
    const QImage colour = quadrants();
    const QByteArray icns = icnsWith("ic07", encoded(colour, "jp2"));
    EXPECT_EQ(read(icns, "icns"), colour);
    EXPECT_EQ(read(icns), colour);
}

// Icon tools store an ICNS file's larger pictures as JP2 files or as bare codestreams; Qt's ICNS reader leaves
// the latter out, so the file reader hands them on as JP2 files, keeping every element in its place.
TEST_F(Jpeg2000Image, IcnsFilesOfBareCodestreamsAreRead)
{
    const QImage colour = quadrants();
    const QImage gray = grayRamp().convertToFormat(QImage::Format_RGB32);
    const QByteArray codestream = encoded(colour, "j2k");
    const QByteArray grayCodestream = encoded(grayRamp(), "j2k");
    const QByteArray jp2 = encoded(colour, "jp2");
    const auto element = [](const QByteArray& type, const QByteArray& data) {
        return type + bigEndian32(quint32(8 + data.size())) + data;
    };
    const auto icns = [](const QByteArray& elements) { return "icns" + bigEndian32(quint32(8 + elements.size())) + elements; };
    // A table of contents lists the elements' lengths, which change as codestreams become JP2 files.
    const QByteArray listed = element("ic07", codestream) + element("ic08", jp2);
    const QByteArray table = element("TOC ", "ic07" + bigEndian32(quint32(8 + codestream.size())) + "ic08"
                                                 + bigEndian32(quint32(8 + jp2.size())));
    const struct {
        const char* label;
        QByteArray file;
        QList<QImage> pictures;
    } cases[] = {
        {"one codestream", icns(element("ic07", codestream)), {colour}},
        {"a grey codestream", icns(element("ic10", grayCodestream)), {gray}},
        {"a codestream between a JP2 file and another", icns(element("ic08", jp2) + element("ic07", codestream)
                                                              + element("ic09", grayCodestream)),
         {colour, colour, gray}},
        {"with a table of contents", icns(table + listed), {colour, colour}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const QString path = dir.filePath("icon.icns");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(c.file);
        file.close();
        pt::ImageFileReader opened(path);
        QImageReader& reader = opened.reader();
        ASSERT_EQ(reader.imageCount(), c.pictures.size());
        for (int index = 0; index < c.pictures.size(); ++index) {
            ASSERT_TRUE(index == 0 || reader.jumpToImage(index));
            EXPECT_EQ(reader.read().convertToFormat(c.pictures[index].format()), c.pictures[index]) << index;
        }
    }
    // Damaged files and files without codestreams are left to Qt's reader as they are.
    EXPECT_TRUE(pt::ImageFileReader::withCodestreamsAsJP2(icns(element("ic08", jp2))).isEmpty());
    EXPECT_TRUE(pt::ImageFileReader::withCodestreamsAsJP2(icns(element("ic07", codestream)).chopped(1)).isEmpty());
    EXPECT_TRUE(pt::ImageFileReader::withCodestreamsAsJP2(icns(element("ic07", codestream.left(20)))).isEmpty());
}

TEST_F(Jpeg2000Image, DamagedOrOversizedDataIsUnreadable)
{
    const QByteArray jp2 = encoded(quadrants(), "jp2");
    const QByteArray j2k = encoded(quadrants(), "j2k");
    // The codestream's size marker: SOC, SIZ, its length and capabilities, then the width and height, the
    // offsets and the tile size; one tile, so that nothing but the size refuses it.
    QByteArray huge = j2k;
    huge.replace(8, 8, bigEndian32(60000) + bigEndian32(60000));
    huge.replace(24, 8, bigEndian32(60000) + bigEndian32(60000));
    QByteArray scrambled = j2k;
    for (qsizetype at = scrambled.size() / 3; at < scrambled.size() - 2; at += 7)
        scrambled[at] = char(0xff);
    const struct {
        const char* label;
        QByteArray data;
    } cases[] = {
        {"JP2 cut in half", jp2.left(jp2.size() / 2)},
        {"codestream cut short", j2k.left(j2k.size() - 16)},
        {"only the signature", jp2.left(12)},
        {"codestream of scrambled packets", scrambled},
        {"codestream claiming 60000 pixels a side", huge},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_TRUE(read(c.data).isNull());
        EXPECT_TRUE(read(c.data, "jp2").isNull());
        EXPECT_TRUE(read(icnsWith("ic08", c.data), "icns").isNull());
    }
}

// Headers declaring more than an icon needs are refused before libopenjp2 sets up coding parameters, code-block
// and packet bookkeeping for them; each of these cost it hundreds of megabytes to gigabytes from a few hundred
// bytes. Malformed markers are refused too.
TEST(Jpeg2000Header, HeadersBeyondAnIconAreRefusedBeforeDecoding)
{
    constexpr qint64 RefusalBudgetKiB = 8 * 1024;
    const Codestream tiles{.width = 65535, .height = 1, .tileWidth = 1, .tileHeight = 1, .components = 4};
    Codestream sixteen = tiles;
    sixteen.components = 16;
    const Codestream big{.width = 4096, .height = 4096, .tileWidth = 4096, .tileHeight = 4096};
    Codestream tinyBlocks = big;
    tinyBlocks.blockExponent = 2;
    Codestream tinyBlocksInTile = big;
    tinyBlocksInTile.tileHeader = codingStyle(0, 2);
    const Codestream picture{.width = 1024, .height = 1024, .tileWidth = 1024, .tileHeight = 1024};
    Codestream tinyPrecincts = picture;
    tinyPrecincts.levels = 1;
    tinyPrecincts.precincts = QByteArray("\x00\x11", 2);
    Codestream layers = picture;
    layers.levels = 5;
    layers.layers = 16383;
    layers.precincts = QByteArray(6, '\x55');
    // Each of 255 palette columns becomes a component of the whole picture's size.
    const Codestream grey{.width = 512, .height = 512, .tileWidth = 512, .tileHeight = 512};
    QByteArray palette = bigEndian16(1) + char(255) + QByteArray(255, '\x07') + QByteArray(255, '\x80');
    QByteArray mapping;
    for (int column = 0; column < 255; ++column)
        mapping += bigEndian16(0) + '\x01' + char(column);
    const QByteArray paletted = jp2(grey, box("pclr", palette) + box("cmap", mapping));

    const QByteArray valid = picture.bytes();
    Codestream outsideTheGrid = picture;
    outsideTheGrid.tileParts = {{5}};
    Codestream unknownMarker = picture;
    unknownMarker.tileHeader = segment(0xff6f, "??");
    QByteArray shortCodingStyle = valid;
    shortCodingStyle.replace(valid.indexOf("\xff\x52"), 14, segment(0xff52, QByteArray(5, '\x01')));
    const QByteArray longBox = jp2Head(picture) + bigEndian32(quint32(valid.size() + 9)) + "jp2c" + valid;
    const QByteArray shortExtendedBox =
        jp2Head(picture) + bigEndian32(1) + "jp2c" + bigEndian32(0) + bigEndian32(8) + valid;
    const struct {
        const char* label;
        QByteArray data;
        const char* format;
    } cases[] = {
        {"65,535 one-pixel tiles", tiles.bytes(), nullptr},
        {"the same in a JP2 file", jp2(tiles), nullptr},
        {"an ICNS element of 16 components in 65,535 tiles", icnsWith("ic10", jp2(sixteen)), "icns"},
        {"4096 x 4096 in code-blocks of 4 x 4", tinyBlocks.bytes(), nullptr},
        {"code-blocks of 4 x 4 set in the tile-part header", tinyBlocksInTile.bytes(), nullptr},
        {"precincts shrinking the code-blocks to one pixel", tinyPrecincts.bytes(), "j2k"},
        {"16,383 layers over 32-pixel precincts", layers.bytes(), nullptr},
        {"a palette of 255 columns", paletted, "jp2"},
        {"SIZ cut short", valid.left(30), nullptr},
        {"COD too short for its fields", shortCodingStyle, nullptr},
        {"a tile outside the grid", outsideTheGrid.bytes(), nullptr},
        {"an unknown marker in a tile-part header", unknownMarker.bytes(), nullptr},
        {"a codestream box longer than the file", longBox, "jp2"},
        {"an extended box length shorter than the box header", shortExtendedBox, "jp2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const BoundedRead result = readInBoundedChild(c.data, c.format);
        EXPECT_TRUE(result.finished);
        EXPECT_FALSE(result.decoded);
        EXPECT_LT(result.peakGrowthKiB, RefusalBudgetKiB);
    }
}

// A picture is readable only when the stream holds every tile of its grid in whole: the decoder leaves a missing
// tile black and reports success.
TEST(Jpeg2000Header, EveryTileOfTheGridMustBeInTheStream)
{
    Codestream oneOfSixteen{.tileWidth = 16, .tileHeight = 16};
    Codestream sixteen = oneOfSixteen;
    sixteen.tileParts = everyTile(16);
    Codestream secondPartMissing = sixteen;
    secondPartMissing.tileParts[3].parts = 2;
    Codestream emptyTilePart = sixteen;
    emptyTilePart.body = QByteArray();
    const struct {
        const char* label;
        QByteArray data;
    } cases[] = {
        {"16 tiles declared, one in the stream", oneOfSixteen.bytes()},
        {"the same in a JP2 file", jp2(oneOfSixteen)},
        {"a tile of two tile-parts with the second missing", secondPartMissing.bytes()},
        {"tile-parts without data", emptyTilePart.bytes()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_TRUE(read(c.data).isNull());
        EXPECT_TRUE(read(icnsWith("ic08", c.data), "icns").isNull());
    }
    EXPECT_EQ(read(sixteen.bytes()), midGrey(sixteen));
}

// What the bounds let through: small pictures in the smallest code-blocks, many tiles, boxes of extended or
// open length.
TEST(Jpeg2000Header, PicturesWithinTheBoundsDecode)
{
    Codestream tinyBlocks{.levels = 2, .blockExponent = 2};
    Codestream manyTiles{.width = 1024, .height = 1, .tileWidth = 1, .tileHeight = 1, .components = 4};
    manyTiles.tileParts = everyTile(1024);
    const Codestream colour{.components = 3};
    const QByteArray stream = colour.bytes();
    const QByteArray extended = jp2Head(colour) + bigEndian32(1) + "jp2c" + bigEndian32(0)
                              + bigEndian32(quint32(16 + stream.size())) + stream;
    const QByteArray open = jp2Head(colour) + bigEndian32(0) + "jp2c" + stream;
    const struct {
        const char* label;
        QByteArray data;
        QImage expected;
    } cases[] = {
        {"code-blocks of 4 x 4 on a 64-pixel icon", tinyBlocks.bytes(), midGrey(tinyBlocks)},
        {"1024 tiles of RGBA", manyTiles.bytes(), midGrey(manyTiles)},
        {"a codestream box of extended length", extended, midGrey(colour)},
        {"a codestream box running to the end of the file", open, midGrey(colour)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(read(c.data), c.expected);
    }
}
