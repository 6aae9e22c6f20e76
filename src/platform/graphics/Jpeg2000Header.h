#pragma once

#include <QByteArray>

namespace pt {

// The markers of a JPEG 2000 picture (a JP2 file or a bare codestream), read before libopenjp2 sees them.
// libopenjp2 sets up coding parameters for every tile and component as it reads a header, and bookkeeping for
// every code-block, precinct and packet as it decodes a tile, whatever the samples; a header of a hundred bytes
// can cost it gigabytes. So the counts are checked here against what an icon needs, and a stream that does not
// hold every tile of its grid is refused too: libopenjp2 would leave the missing tiles black.
class Jpeg2000Header {
public:
    enum class Form { Unknown, JP2, Codestream };

    // Icons are grey, grey and alpha, RGB or RGBA, after any palette.
    static constexpr qint64 MaximumComponents = 4;
    // The most samples (pixels times components): the decoder keeps four bytes a sample, so this bounds its
    // memory as the other decoders' pixel caps bound theirs.
    static constexpr qint64 MaximumSamples = qint64(1) << 26;
    // The decoder sets up some 10 KB of coding parameters for each tile of the grid. Encoders put an icon in one
    // tile or a few; 1024 tiles (a 1024-pixel picture in 32-pixel tiles) costs some 13 MB.
    static constexpr qint64 MaximumTiles = 1024;
    // Each code-block and precinct costs the decoder some 300 bytes, however few samples it covers. A picture may
    // have one for every 32 samples (encoders use code-blocks of 1024 to 4096 samples), under ten bytes a sample,
    // about what the samples themselves take in the decode; and any picture may have the allowance, enough for
    // small pictures in 4 x 4 blocks and for many small tiles.
    static constexpr qint64 SamplesPerCodeBlock = 32;
    static constexpr qint64 CodeBlockAllowance = qint64(1) << 16;
    // The decoder keeps a two-byte entry for every packet a tile could have (layers plus one, times the most
    // resolutions, the components and the most precincts of a resolution) and visits them all. Icons have a few
    // layers and a precinct or a few a resolution; this caps the table at 8 MB and the visits at four million.
    static constexpr qint64 MaximumPackets = qint64(1) << 22;

    // Which form the data starts with, from its first FormBytes bytes.
    static constexpr int FormBytes = 12;
    static Form formOf(const QByteArray& head);

    // Reads the markers of the whole data.
    explicit Jpeg2000Header(const QByteArray& data);

    // Whether the markers are well formed, every tile of the grid is in the stream whole, and every count is
    // within the bounds above: only then may libopenjp2 read the data.
    bool isAcceptable() const { return acceptable_; }

private:
    bool acceptable_ = false;
};

} // namespace pt
