#include "TestSupport.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray bigEndian32(quint32 value)
{
    const char bytes[] = {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
    return QByteArray(bytes, 4);
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
