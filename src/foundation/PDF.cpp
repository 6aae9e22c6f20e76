#include "foundation/PDF.h"

#include "platform/graphics/ImageSurface.h"

#include <QImage>

#include <cairo-pdf.h>
#include <cairo.h>

namespace PDF {

namespace {

cairo_status_t appendToByteArray(void* closure, const unsigned char* data, unsigned int length)
{
    static_cast<QByteArray*>(closure)->append(reinterpret_cast<const char*>(data), qsizetype(length));
    return CAIRO_STATUS_SUCCESS;
}

} // namespace

QByteArray PDFData(const QImage& image)
{
    const pt::ImageSurface pixels(image);
    if (pixels.isNull())
        return {};
    const QSizeF points = image.deviceIndependentSize();
    QByteArray data;
    cairo_surface_t* pdf = cairo_pdf_surface_create_for_stream(appendToByteArray, &data, points.width(),
                                                               points.height());
    cairo_t* cr = cairo_create(pdf);
    const double ratio = image.devicePixelRatio();
    cairo_scale(cr, 1 / ratio, 1 / ratio);
    cairo_set_source_surface(cr, pixels.surface(), 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_finish(pdf);
    const bool failed = cairo_surface_status(pdf) != CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(pdf);
    return failed ? QByteArray() : data;
}

} // namespace PDF
