#include "transfer/export/PTExportEncoder.h"

#include "foundation/WebP.h"
#include "platform/graphics/ImageSurface.h"
#include "svg/PTSVG.h"
#include "svg/write/PTSVGExporter.h"
#include "transfer/export/PTExportPDFSource.h"
#include "transfer/export/PTGIFEncoder.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPainter>

#include <cairo-pdf.h>
#include <cairo-ps.h>

#include <cmath>

namespace {

// Qt's PNG quality is inverse zlib effort; 10 is level 8, which keeps files below what a default PNG writer makes
// of the same pixels for a small share of the export's time.
constexpr int kPNGQuality = 10;

cairo_status_t appendBytes(void* closure, const unsigned char* data, unsigned int length)
{
    static_cast<QByteArray*>(closure)->append(reinterpret_cast<const char*>(data), qsizetype(length));
    return CAIRO_STATUS_SUCCESS;
}

enum class Vector { PDF, EPS };

QByteArray vectorData(Vector kind, QSizeF size, const std::function<void(cairo_t*)>& draw)
{
    QByteArray data;
    cairo_surface_t* surface =
        kind == Vector::PDF
            ? cairo_pdf_surface_create_for_stream(appendBytes, &data, size.width(), size.height())
            : cairo_ps_surface_create_for_stream(appendBytes, &data, size.width(), size.height());
    if (kind == Vector::EPS)
        cairo_ps_surface_set_eps(surface, true);
    cairo_t* cr = cairo_create(surface);
    if (draw)
        draw(cr);
    cairo_show_page(cr);
    const bool failed = cairo_status(cr) != CAIRO_STATUS_SUCCESS;
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    const bool finishFailed = cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return failed || finishFailed ? QByteArray() : data;
}

void drawImage(cairo_t* cr, const QImage& image, QSizeF size)
{
    const pt::ImageSurface pixels(image);
    if (pixels.isNull() || image.isNull())
        return;
    cairo_save(cr);
    cairo_scale(cr, size.width() / image.width(), size.height() / image.height());
    cairo_set_source_surface(cr, pixels.surface(), 0, 0);
    cairo_paint(cr);
    cairo_restore(cr);
}

std::function<void(cairo_t*)> drawing(const PTExportSource::Object& object, QSizeF size)
{
    if (object.pdf)
        return [&object, size](cairo_t* cr) { object.pdf->drawInContext(cr, size); };
    return [&object, size](cairo_t* cr) { drawImage(cr, object.image, size); };
}

QByteArray written(const QImage& image, const char* format, int quality = -1, bool progressive = false)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    writer.setProgressiveScanWrite(progressive);
    return writer.write(image) ? data : QByteArray();
}

// JPEG has no alpha: transparency is shown as white, which keeps dark icons visible.
QImage overWhite(const QImage& image)
{
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, image);
    return flat;
}

} // namespace

QString PTExportEncoder::extensionForOutputFormat(qint64 format)
{
    switch (format) {
    case PTExportFormatJPG: return QStringLiteral("jpg");
    case PTExportFormatGIF: return QStringLiteral("gif");
    case PTExportFormatTIFF: return QStringLiteral("tiff");
    case PTExportFormatWebP: return QStringLiteral("webp");
    case PTExportFormatPDF: return QStringLiteral("pdf");
    case PTExportFormatSVG: return QStringLiteral("svg");
    case PTExportFormatICO: return QStringLiteral("ico");
    case PTExportFormatEPS: return QStringLiteral("eps");
    default: return QStringLiteral("png");
    }
}

QByteArray PTExportEncoder::PDFDataWithSize(QSizeF size, const std::function<void(cairo_t*)>& draw)
{
    return vectorData(Vector::PDF, size, draw);
}

QByteArray PTExportEncoder::EPSDataWithSize(QSizeF size, const std::function<void(cairo_t*)>& draw)
{
    return vectorData(Vector::EPS, size, draw);
}

QByteArray PTExportEncoder::dataForOption(const PTExportOutputOption& option, const PTExportSource::Object& object,
                                          QSizeF size, PTSVGExportOptions svgOptions)
{
    const QRectF rect(QPointF(0, 0), size);
    switch (option.format) {
    case PTExportFormatPDF:
        return object.svg ? object.svg->PDFDataWithRect(rect) : PDFDataWithSize(size, drawing(object, size));
    case PTExportFormatEPS:
        return object.svg ? object.svg->EPSDataWithRect(rect) : EPSDataWithSize(size, drawing(object, size));
    case PTExportFormatSVG: {
        std::shared_ptr<PTSVG> svg = object.svg ? object.svg : PTSVG::svgWithImage(object.image);
        return svg ? PTSVGExporter(*svg, size, svgOptions).SVGData() : QByteArray();
    }
    default: break;
    }
    if (object.image.isNull())
        return {};
    const int quality = int(std::lround(option.quality * 100));
    switch (option.format) {
    case PTExportFormatWebP: return WebP::webPRepresentationWithPreset(object.image, 0, float(quality));
    case PTExportFormatJPG: return written(overWhite(object.image), "jpeg", quality, option.progressive);
    case PTExportFormatGIF: return PTGIFEncoder::GIFData(object.image);
    case PTExportFormatTIFF: return written(object.image, "tiff");
    case PTExportFormatICO: return written(object.image, "ico");
    default: return written(object.image, "png", kPNGQuality);
    }
}
