#pragma once

#include <QImage>
#include <QSizeF>
#include <QString>

#include <memory>

typedef struct _cairo cairo_t;

// The first page of a PDF file, as export measures and draws it: every use reads the same page. Each source
// owns its document, so sources on different threads never share one.
class PTExportPDFSource {
public:
    // Null when the file is not a PDF with at least one page.
    static std::shared_ptr<PTExportPDFSource> fromFile(const QString& path);
    ~PTExportPDFSource();
    PTExportPDFSource(const PTExportPDFSource&) = delete;
    PTExportPDFSource& operator=(const PTExportPDFSource&) = delete;

    // The page's size in points.
    QSizeF pageSize() const;
    // The page rasterised at exactly that many pixels, on transparency.
    QImage imageWithSize(QSize size) const;
    // Draws the page as vectors, scaled into (0, 0, size).
    void drawInContext(cairo_t* cr, QSizeF size) const;

private:
    struct Document;
    explicit PTExportPDFSource(std::unique_ptr<Document> document);
    std::unique_ptr<Document> document_;
};
