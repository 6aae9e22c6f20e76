#include "ExportTestFiles.h"

#include "TestSupport.h"

#include <QFile>
#include <QProcess>

#include <cairo-pdf.h>
#include <gtest/gtest.h>

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
