#pragma once

#include <QBuffer>
#include <QImageReader>
#include <QString>

namespace pt {

// An image reader over a file, with the pictures of ICNS files that Qt's ICNS reader leaves out made readable.
// That reader passes on only elements in the JP2 file format, but icon tools also store the larger sizes as bare
// JPEG 2000 codestreams; such a file is read from memory, each codestream put in the few boxes of a JP2 file, and
// decoded by our JPEG 2000 reader under its bounds. Other files are read from the file as they are.
class ImageFileReader {
public:
    // The most bytes an ICNS file read from memory may have; a larger one is read as it is.
    static constexpr qint64 MaximumIcnsBytes = qint64(64) << 20;

    explicit ImageFileReader(const QString& path);
    ImageFileReader(const ImageFileReader&) = delete;
    ImageFileReader& operator=(const ImageFileReader&) = delete;

    QImageReader& reader() { return reader_; }

    // The ICNS data with each element holding a bare codestream rewritten as a JP2 file and the table of contents
    // (which would list the old lengths) left out; empty when the data holds no such element or is not a whole
    // ICNS file.
    static QByteArray withCodestreamsAsJP2(const QByteArray& icns);

private:
    QBuffer buffer_;
    QImageReader reader_;
};

} // namespace pt
