#pragma once

#include <QByteArray>

class QImage;

// Images as PDF documents.
namespace PDF {

// A one-page PDF document whose media box is the image's size in points, the image drawn over all of it. Empty
// for a null image.
QByteArray PDFData(const QImage& image);

} // namespace PDF
