#include "transfer/export/PTExportPDFSource.h"

#include "platform/graphics/ImageSurface.h"

#include <QFile>

#include <cairo.h>
#include <poppler.h>

struct PTExportPDFSource::Document {
    PopplerDocument* document = nullptr;
    PopplerPage* page = nullptr;
    ~Document()
    {
        if (page)
            g_object_unref(page);
        if (document)
            g_object_unref(document);
    }
};

std::shared_ptr<PTExportPDFSource> PTExportPDFSource::fromFile(const QString& path)
{
    gchar* uri = g_filename_to_uri(QFile::encodeName(path).constData(), nullptr, nullptr);
    if (!uri)
        return nullptr;
    auto document = std::make_unique<Document>();
    GError* error = nullptr;
    document->document = poppler_document_new_from_file(uri, nullptr, &error);
    g_free(uri);
    g_clear_error(&error);
    if (!document->document || poppler_document_get_n_pages(document->document) < 1)
        return nullptr;
    document->page = poppler_document_get_page(document->document, 0);
    if (!document->page)
        return nullptr;
    return std::shared_ptr<PTExportPDFSource>(new PTExportPDFSource(std::move(document)));
}

PTExportPDFSource::PTExportPDFSource(std::unique_ptr<Document> document)
    : document_(std::move(document))
{
}

PTExportPDFSource::~PTExportPDFSource() = default;

QSizeF PTExportPDFSource::pageSize() const
{
    double width = 0, height = 0;
    poppler_page_get_size(document_->page, &width, &height);
    return {width, height};
}

QImage PTExportPDFSource::imageWithSize(QSize size) const
{
    pt::ImageSurface surface(size);
    if (surface.isNull())
        return {};
    cairo_t* cr = cairo_create(surface.surface());
    drawInContext(cr, size);
    cairo_destroy(cr);
    return surface.image();
}

void PTExportPDFSource::drawInContext(cairo_t* cr, QSizeF size) const
{
    const QSizeF page = pageSize();
    if (page.isEmpty())
        return;
    cairo_save(cr);
    cairo_scale(cr, size.width() / page.width(), size.height() / page.height());
    poppler_page_render(document_->page, cr);
    cairo_restore(cr);
}
