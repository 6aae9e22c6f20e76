#pragma once

#include <QImageIOHandler>

namespace pt {

// Reads JPEG 2000 pictures through libopenjp2, both the JP2 file format and a bare codestream, as the larger
// elements of ICNS files hold them. The data is untrusted: its length is capped, and its header is checked
// (Jpeg2000Header) before libopenjp2 reads it; a stream that does not decode to its end, or lacks a tile, is
// unreadable, never a partial picture.
class Jpeg2000ImageHandler : public QImageIOHandler {
public:
    // The most bytes one picture may have.
    static constexpr qint64 MaximumBytes = qint64(64) << 20;

    bool canRead() const override;
    // Decodes the whole device into an ARGB32 picture (RGB32 without an alpha component).
    bool read(QImage* image) override;

    // Whether the device's next bytes start JPEG 2000 data of either form; reads nothing away.
    static bool canRead(QIODevice* device);
};

} // namespace pt
