#pragma once

#include "svg/write/PTSVGExportOptions.h"
#include "transfer/export/PTExportSource.h"

#include <QByteArray>
#include <QString>

#include <functional>

typedef struct _cairo cairo_t;

// The bytes of one output: raster formats through QImageWriter (PNG, TIFF, JPG, ICO), GIF through our own
// encoder, WebP through libwebp, PDF and EPS through cairo surfaces, SVG through the SVG writer. Runs on any
// thread; empty bytes mean the output could not be made.
namespace PTExportEncoder {

// "png" for PNG, for the original file's format and for unknown numbers.
QString extensionForOutputFormat(qint64 format);
QByteArray dataForOption(const PTExportOutputOption& option, const PTExportSource::Object& object, QSizeF size,
                         PTSVGExportOptions svgOptions);
// A one-page PDF or EPS document of that size in points, drawn by the block (y down).
QByteArray PDFDataWithSize(QSizeF size, const std::function<void(cairo_t*)>& draw);
QByteArray EPSDataWithSize(QSizeF size, const std::function<void(cairo_t*)>& draw);

} // namespace PTExportEncoder
