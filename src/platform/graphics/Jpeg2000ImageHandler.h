#pragma once

#include <QImageIOHandler>

namespace pt {

// Reads JPEG 2000 pictures through libopenjp2, both the JP2 file format and a bare codestream, as the larger
// elements of ICNS files hold them. The data is untrusted: its length and the picture's dimensions are capped
// before anything is allocated, and a stream that does not decode to its end is unreadable, never a partial
// picture.
class Jpeg2000ImageHandler : public QImageIOHandler {
public:
    // The most bytes one picture may have, and the most samples (pixels times components): the decoder keeps
    // four bytes a sample, so this bounds its memory as the other decoders' pixel caps bound theirs.
    static constexpr qint64 MaximumBytes = qint64(64) << 20;
    static constexpr qint64 MaximumSamples = qint64(1) << 26;

    bool canRead() const override;
    // Decodes the whole device into an ARGB32 picture (RGB32 without an alpha component).
    bool read(QImage* image) override;

    // Whether the device's next bytes start JPEG 2000 data of either form; reads nothing away.
    static bool canRead(QIODevice* device);
};

} // namespace pt
