#include "browser/cache/PDFThumbnailRenderer.h"

#include "browser/cache/PTImageCacheJob.h"
#include "platform/graphics/ImageSurface.h"

#include <QFile>

#include <poppler.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

struct GObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T>
using GObjectPtr = std::unique_ptr<T, GObjectUnref>;

// Above this a page claims a size no icon has; clamped before anything is allocated.
constexpr double MaximumSide = 8192;

GObjectPtr<PopplerPage> firstPage(const QString& path)
{
    gchar* uri = g_filename_to_uri(QFile::encodeName(path).constData(), nullptr, nullptr);
    if (!uri)
        return nullptr;
    GError* error = nullptr;
    GObjectPtr<PopplerDocument> document(poppler_document_new_from_file(uri, nullptr, &error));
    g_free(uri);
    g_clear_error(&error);
    if (!document || poppler_document_get_n_pages(document.get()) < 1)
        return nullptr;
    // The page keeps its document alive.
    return GObjectPtr<PopplerPage>(poppler_document_get_page(document.get(), 0));
}

} // namespace

QImage renderPDFThumbnail(const PTImageCacheJob& job)
{
    if (job.path.isEmpty())
        return {};
    const GObjectPtr<PopplerPage> page = firstPage(job.path);
    if (!page)
        return {};
    double width = 0;
    double height = 0;
    poppler_page_get_size(page.get(), &width, &height);
    if (!(width > 0 && height > 0 && std::isfinite(width) && std::isfinite(height)))
        return {};
    const double factor = job.allowEnlarge
        ? std::min(job.pixelSize.width() / width, job.pixelSize.height() / height)
        : std::min(job.scale, MaximumSide / std::max(width, height));
    const QSize pixels(std::clamp(static_cast<int>(std::lround(width * factor)), 1, int(MaximumSide)),
                       std::clamp(static_cast<int>(std::lround(height * factor)), 1, int(MaximumSide)));
    pt::ImageSurface surface(pixels);
    if (surface.isNull())
        return {};
    cairo_t* cr = cairo_create(surface.surface());
    cairo_scale(cr, pixels.width() / width, pixels.height() / height);
    poppler_page_render(page.get(), cr);
    const bool failed = cairo_status(cr) != CAIRO_STATUS_SUCCESS;
    cairo_destroy(cr);
    if (failed)
        return {};
    QImage image = surface.image();
    image.setDevicePixelRatio(job.scale);
    return image;
}
