#include "library/upkeep/PDFDocumentCheck.h"

#include <QFile>

#include <poppler.h>

namespace pdfDocumentCheck {

bool hasFirstPage(const QString& path)
{
    gchar* uri = g_filename_to_uri(QFile::encodeName(path).constData(), nullptr, nullptr);
    if (!uri)
        return false;
    GError* error = nullptr;
    PopplerDocument* document = poppler_document_new_from_file(uri, nullptr, &error);
    g_free(uri);
    if (!document) {
        g_clear_error(&error);
        return false;
    }
    PopplerPage* page = poppler_document_get_n_pages(document) > 0 ? poppler_document_get_page(document, 0) : nullptr;
    const bool valid = page != nullptr;
    if (page)
        g_object_unref(page);
    g_object_unref(document);
    return valid;
}

} // namespace pdfDocumentCheck
