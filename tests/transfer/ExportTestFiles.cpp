#include "ExportTestFiles.h"

#include "TestSupport.h"

#include <QFile>
#include <QProcess>

#include <QtEndian>

#include <cairo-pdf.h>
#include <gtest/gtest.h>
#include <zlib.h>

namespace pt::test {

QString writePNG(const QString& path, QSize size, const QColor& colour)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(colour);
    EXPECT_TRUE(image.save(path, "PNG"));
    return path;
}

QString writeSVG(const QString& path, QSize size, const QColor& colour)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 %1 %2\">"
                              "<rect width=\"%1\" height=\"%2\" fill=\"%3\"/></svg>")
                   .arg(size.width())
                   .arg(size.height())
                   .arg(colour.name())
                   .toUtf8());
    return path;
}

QString writeTwoPagePDF(const QString& path)
{
    cairo_surface_t* surface = cairo_pdf_surface_create(QFile::encodeName(path).constData(), 40, 20);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 1, 0, 0);
    cairo_paint(cr);
    cairo_show_page(cr);
    cairo_pdf_surface_set_size(surface, 100, 100);
    cairo_set_source_rgb(cr, 0, 1, 0);
    cairo_paint(cr);
    cairo_show_page(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return path;
}

namespace {

QByteArray bigEndian(quint32 value)
{
    QByteArray bytes(4, Qt::Uninitialized);
    qToBigEndian(value, bytes.data());
    return bytes;
}

QByteArray littleEndian16(quint16 value)
{
    QByteArray bytes(2, Qt::Uninitialized);
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray littleEndian32(quint32 value)
{
    QByteArray bytes(4, Qt::Uninitialized);
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray chunk(const char* type, const QByteArray& data)
{
    const QByteArray typed = QByteArray(type) + data;
    return bigEndian(quint32(data.size())) + typed
           + bigEndian(quint32(crc32(0, reinterpret_cast<const Bytef*>(typed.constData()), uInt(typed.size()))));
}

} // namespace

QByteArray oneColourPNG(QSize size, const QColor& colour)
{
    // 8-bit RGBA rows under the "Sub" filter: the first pixel, then zeros, which run-length coding packs tight.
    QByteArray row(1 + 4 * size.width(), '\0');
    row[0] = 1;
    row[1] = char(colour.red());
    row[2] = char(colour.green());
    row[3] = char(colour.blue());
    row[4] = char(colour.alpha());
    z_stream stream{};
    EXPECT_EQ(deflateInit2(&stream, Z_BEST_SPEED, Z_DEFLATED, 15, 8, Z_RLE), Z_OK);
    QByteArray compressed;
    QByteArray buffer(1 << 16, Qt::Uninitialized);
    for (int y = 0; y < size.height(); ++y) {
        stream.next_in = reinterpret_cast<Bytef*>(row.data());
        stream.avail_in = uInt(row.size());
        const int flush = y + 1 == size.height() ? Z_FINISH : Z_NO_FLUSH;
        do {
            stream.next_out = reinterpret_cast<Bytef*>(buffer.data());
            stream.avail_out = uInt(buffer.size());
            deflate(&stream, flush);
            compressed.append(buffer.constData(), buffer.size() - qsizetype(stream.avail_out));
        } while (stream.avail_out == 0 || stream.avail_in > 0);
    }
    deflateEnd(&stream);
    const QByteArray header = bigEndian(quint32(size.width())) + bigEndian(quint32(size.height()))
                              + QByteArray("\x08\x06\x00\x00\x00", 5);
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header) + chunk("IDAT", compressed)
           + chunk("IEND", {});
}

QByteArray icoOfPNGs(const QList<QByteArray>& pngs)
{
    QByteArray directory = littleEndian16(0) + littleEndian16(1) + littleEndian16(quint16(pngs.size()));
    QByteArray pictures;
    quint32 offset = quint32(6 + 16 * pngs.size());
    for (const QByteArray& png : pngs) {
        const quint32 width = qFromBigEndian<quint32>(png.constData() + 16);
        const quint32 height = qFromBigEndian<quint32>(png.constData() + 20);
        directory += char(width >= 256 ? 0 : width);
        directory += char(height >= 256 ? 0 : height);
        directory += QByteArray(2, '\0') + littleEndian16(1) + littleEndian16(32);
        directory += littleEndian32(quint32(png.size())) + littleEndian32(offset);
        offset += quint32(png.size());
        pictures += png;
    }
    return directory + pictures;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray runTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(30000)) << program.toStdString();
    EXPECT_EQ(process.exitCode(), 0) << program.toStdString() << ": " << process.readAllStandardError().toStdString();
    return process.readAllStandardOutput();
}

PTExporter::Result runExport(PTExporter& exporter)
{
    PTExporter::Result result;
    bool done = false;
    exporter.completionHandler = [&](const PTExporter::Result& r) {
        result = r;
        done = true;
    };
    exporter.begin();
    EXPECT_TRUE(runMainQueueUntil([&] { return done; }, 60000));
    return result;
}

} // namespace pt::test
