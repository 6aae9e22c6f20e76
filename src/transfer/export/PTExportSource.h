#pragma once

#include "transfer/export/PTExportOutputOption.h"

#include <QImage>
#include <QSizeF>
#include <QString>

#include <memory>

class PTExportPDFSource;
class PTSVG;
class PTSVGParser;

// One item's file, read once for all the outputs of an export: an SVG is parsed once (never through the shared
// document cache) and each output draws its own document over that tree; a PDF is measured and drawn from its
// first page; multi-image files (ICNS, ICO) give, per output, their smallest image at least as large as the
// output, else their largest. Images larger than the output are read scaled down where their format allows, so
// that a huge picture costs the output's memory. Belongs to the thread that made it.
class PTExportSource {
public:
    // What an output is made from: a document or PDF page that stays vector, or an image.
    struct Object {
        std::shared_ptr<PTSVG> svg;
        std::shared_ptr<PTExportPDFSource> pdf;
        QImage image;
        bool isNull() const { return !svg && !pdf && image.isNull(); }
    };

    // type is the item's file type (PTItem::Type).
    PTExportSource(const QString& path, qint64 type);
    ~PTExportSource();

    // The source's own size; zero when it cannot be read.
    QSizeF size() const { return size_; }
    // The source at the output's size with the output's colours: an SVG keeps its vectors for PDF, EPS and SVG
    // outputs and a PDF for PDF and EPS; everything else is an image of the size, the source fitted and centred,
    // tinted when the output has a fill colour and no replacements.
    Object objectForOption(const PTExportOutputOption& option, QSizeF size) const;

    // The image drawn in the fill colour at the colour's opacity, its shape kept.
    static QImage tinted(const QImage& image, const QColor& fill);
    // The image centred on a transparent canvas of the size; an odd leftover pixel goes to the bottom and left.
    static QImage centred(const QImage& image, QSize canvas);

private:
    QImage bitmapForSize(QSize size) const;

    QString path_;
    qint64 type_;
    QSizeF size_;
    std::shared_ptr<const PTSVGParser> tree_;
    std::shared_ptr<PTExportPDFSource> pdf_;
};
