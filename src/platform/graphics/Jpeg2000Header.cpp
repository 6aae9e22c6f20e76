#include "platform/graphics/Jpeg2000Header.h"

#include <algorithm>
#include <array>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace pt {

namespace {

const QByteArray JP2Signature("\x00\x00\x00\x0cjP  \x0d\x0a\x87\x0a", 12);
const QByteArray CodestreamStart("\xff\x4f\xff\x51", 4); // SOC, then SIZ

constexpr quint16 SOC = 0xff4f, SIZ = 0xff51, COD = 0xff52, COC = 0xff53, SOT = 0xff90, SOD = 0xff93, EOC = 0xffd9;
// The other marker segments of the core coding system (and the capability markers of its extensions) that may
// stand in the main header and in tile-part headers; none of them changes what the decoder sets up. Any other
// marker is refused, so that the decoder reads no segment that was not read here.
constexpr quint16 MainHeaderMarkers[] = {
    0xff50 /* CAP */, 0xff55 /* TLM */, 0xff57 /* PLM */, 0xff59 /* CPF */, 0xff5c /* QCD */, 0xff5d /* QCC */,
    0xff5e /* RGN */, 0xff5f /* POC */, 0xff60 /* PPM */, 0xff63 /* CRG */, 0xff64 /* COM */};
constexpr quint16 TilePartMarkers[] = {0xff58 /* PLT */, 0xff5c, 0xff5d, 0xff5e, 0xff5f, 0xff61 /* PPT */, 0xff64};

constexpr quint32 boxType(const char (&name)[5])
{
    return quint32(quint8(name[0])) << 24 | quint32(quint8(name[1])) << 16 | quint32(quint8(name[2])) << 8
         | quint32(quint8(name[3]));
}

qint64 ceilDivision(qint64 value, qint64 divisor)
{
    return (value + divisor - 1) / divisor;
}

// value / 2^shift rounded up, negative values included (the shift is arithmetic).
qint64 ceilShift(qint64 value, int shift)
{
    return (value + (qint64(1) << shift) - 1) >> shift;
}

// How many cells of a grid of 2^exponent from zero the span [begin, end) touches.
qint64 cellsOver(qint64 begin, qint64 end, int exponent)
{
    return end > begin ? ceilShift(end, exponent) - (begin >> exponent) : 0;
}

// Big-endian numbers from a span of the data. Past the span's end it reads zeros and remembers that it ran out.
class Reader {
public:
    Reader(const QByteArray& data, qsizetype position, qsizetype end) : data_(data), position_(position), end_(end) {}

    quint64 next(int bytes)
    {
        if (end_ - position_ < bytes) {
            failed_ = true;
            position_ = end_;
            return 0;
        }
        quint64 value = 0;
        for (int index = 0; index < bytes; ++index)
            value = value << 8 | quint8(data_[position_++]);
        return value;
    }

    // The marker segment whose length field starts here, which the reader passes; none when it does not fit.
    std::optional<Reader> segment()
    {
        const auto length = qsizetype(next(2));
        if (failed_ || length < 2 || end_ - position_ < length - 2)
            return std::nullopt;
        const Reader contents(data_, position_, position_ + length - 2);
        position_ += length - 2;
        return contents;
    }

    void seek(qsizetype position) { position_ = position; }
    qsizetype position() const { return position_; }
    qsizetype end() const { return end_; }
    bool failed() const { return failed_; }
    // Whether the span was read exactly to its end.
    bool isFinished() const { return !failed_ && position_ == end_; }

private:
    const QByteArray& data_;
    qsizetype position_, end_;
    bool failed_ = false;
};

// A box of a JP2 file: its type and the span of its contents.
struct Box {
    quint32 type;
    qsizetype contents, end;
};

// The box at the reader's position, within the reader's span, which the reader passes; none when its length does
// not fit. A length of zero runs to the end of the span, a length of one is followed by a 64-bit length.
std::optional<Box> nextBox(Reader& reader)
{
    const qsizetype start = reader.position();
    quint64 length = reader.next(4);
    const auto type = quint32(reader.next(4));
    if (length == 1)
        length = reader.next(8);
    else if (length == 0)
        length = quint64(reader.end() - start);
    if (reader.failed() || length < quint64(reader.position() - start) || length > quint64(reader.end() - start))
        return std::nullopt;
    const Box box{type, reader.position(), start + qsizetype(length)};
    reader.seek(box.end);
    return box;
}

// A coding style (COD or COC): decomposition levels, code-block exponents, precinct exponents a resolution (the
// width's in the low nibble, the height's in the high one) and, in a COD, the quality layers.
struct CodingStyle {
    int levels = 0;
    int blockWidth = 0, blockHeight = 0;
    std::array<quint8, 33> precincts{};
    int layers = 0;
};

// The style's fields after the segment's own (SPcod, SPcoc), to the segment's end; none when out of range.
std::optional<CodingStyle> readStyle(Reader& segment, bool hasPrecincts)
{
    CodingStyle style;
    style.levels = int(segment.next(1));
    const int width = int(segment.next(1)), height = int(segment.next(1));
    segment.next(2); // code-block style, wavelet
    // Code-blocks of 4 to 1024 samples a side and 4096 at most.
    if (style.levels > 32 || width > 8 || height > 8 || width + height > 8)
        return std::nullopt;
    style.blockWidth = width + 2;
    style.blockHeight = height + 2;
    for (int resolution = 0; resolution <= style.levels; ++resolution) {
        const auto exponents = hasPrecincts ? quint8(segment.next(1)) : quint8(0xff);
        // Only the lowest resolution may have precincts of one sample.
        if (resolution > 0 && ((exponents & 0xf) == 0 || (exponents >> 4) == 0))
            return std::nullopt;
        style.precincts[size_t(resolution)] = exponents;
    }
    if (!segment.isFinished())
        return std::nullopt;
    return style;
}

// What the decoder sets up for a tile-component in a style: its code-blocks and precincts, its resolutions and
// the most precincts of one of them.
struct Bookkeeping {
    qint64 blocks = 0, resolutions = 0, mostPrecincts = 0;
};

// The offsets of a resolution's bands: the lowest resolution's one band, then the three of each higher one.
constexpr std::pair<int, int> BandOffsets[] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};

// The tile-component spans [x0, x1) x [y0, y1) of its own samples.
Bookkeeping bookkeepingOf(const CodingStyle& style, qint64 x0, qint64 y0, qint64 x1, qint64 y1)
{
    Bookkeeping result{0, style.levels + 1, 0};
    for (int resolution = 0; resolution <= style.levels; ++resolution) {
        const int shift = style.levels - resolution;
        const int precinctWidth = style.precincts[size_t(resolution)] & 0xf;
        const int precinctHeight = style.precincts[size_t(resolution)] >> 4;
        const qint64 precincts = cellsOver(ceilShift(x0, shift), ceilShift(x1, shift), precinctWidth)
                               * cellsOver(ceilShift(y0, shift), ceilShift(y1, shift), precinctHeight);
        result.mostPrecincts = std::max(result.mostPrecincts, precincts);
        // Above the lowest resolution, each band is half the resolution's size and so are its precincts, whose
        // count it has; a code-block never crosses a precinct.
        const bool lowest = resolution == 0;
        const int bandShift = lowest ? shift : shift + 1;
        const int blockWidth = std::min(style.blockWidth, lowest ? precinctWidth : precinctWidth - 1);
        const int blockHeight = std::min(style.blockHeight, lowest ? precinctHeight : precinctHeight - 1);
        for (const auto& [right, below] : std::span(BandOffsets).subspan(lowest ? 0 : 1, lowest ? 1 : 3)) {
            const qint64 dx = qint64(right) << shift, dy = qint64(below) << shift;
            result.blocks += precincts
                           + cellsOver(ceilShift(x0 - dx, bandShift), ceilShift(x1 - dx, bandShift), blockWidth)
                                 * cellsOver(ceilShift(y0 - dy, bandShift), ceilShift(y1 - dy, bandShift), blockHeight);
        }
    }
    return result;
}

using ComponentStyles = std::array<std::optional<CodingStyle>, Jpeg2000Header::MaximumComponents>;

struct Tile {
    int parts = 0;
    int declaredParts = 0;
    qint64 bytes = 0;
    std::optional<CodingStyle> style;
    ComponentStyles componentStyles;
};

// Reads the boxes and markers once, front to back, keeping what the checks need.
class MarkerReader {
public:
    explicit MarkerReader(const QByteArray& data) : data_(data) {}

    bool readJp2();
    // The position after the codestream's EOC marker; none when it is malformed or beyond the bounds.
    std::optional<qsizetype> readCodestream(qsizetype start);
    bool holdsEveryTile() const;
    bool fitsItsBookkeeping() const;

private:
    bool readImageHeader(const Box& header);
    bool readSize(Reader& segment);
    bool readHeaderMarker(quint16 marker, Reader& segment, std::optional<CodingStyle>& style,
                          ComponentStyles& componentStyles, std::span<const quint16> passed) const;
    bool readTilePart(Reader& reader);

    const QByteArray& data_;
    int paletteColumns_ = 0;
    qint64 x0_ = 0, y0_ = 0, x1_ = 0, y1_ = 0;
    qint64 tileX0_ = 0, tileY0_ = 0, tileWidth_ = 0, tileHeight_ = 0, tilesAcross_ = 0;
    std::vector<std::pair<qint64, qint64>> subsampling_; // of each component
    std::optional<CodingStyle> style_;
    ComponentStyles componentStyles_;
    std::vector<Tile> tiles_;
};

bool MarkerReader::readJp2()
{
    Reader reader(data_, JP2Signature.size(), data_.size());
    for (;;) {
        const std::optional<Box> box = nextBox(reader);
        if (!box)
            return false;
        if (box->type == boxType("jp2c")) {
            const std::optional<qsizetype> end = readCodestream(box->contents);
            return end && *end <= box->end;
        }
        if (box->type == boxType("jp2h") && !readImageHeader(*box))
            return false;
    }
}

// The palette in the header box: the decoder turns each of its columns into a component of the picture's size.
bool MarkerReader::readImageHeader(const Box& header)
{
    Reader reader(data_, header.contents, header.end);
    while (reader.position() < header.end) {
        const std::optional<Box> box = nextBox(reader);
        if (!box)
            return false;
        if (box->type == boxType("pclr")) {
            Reader palette(data_, box->contents, box->end);
            palette.next(2); // entries
            paletteColumns_ = std::max(paletteColumns_, int(palette.next(1)));
            if (palette.failed())
                return false;
        }
    }
    return true;
}

std::optional<qsizetype> MarkerReader::readCodestream(qsizetype start)
{
    Reader reader(data_, start, data_.size());
    if (reader.next(2) != SOC || reader.next(2) != SIZ)
        return std::nullopt;
    std::optional<Reader> size = reader.segment();
    if (!size || !readSize(*size))
        return std::nullopt;
    quint64 marker = reader.next(2);
    for (; marker != SOT; marker = reader.next(2)) {
        std::optional<Reader> segment = reader.segment();
        if (!segment || !readHeaderMarker(quint16(marker), *segment, style_, componentStyles_, MainHeaderMarkers))
            return std::nullopt;
    }
    if (!style_)
        return std::nullopt;
    for (; marker == SOT; marker = reader.next(2))
        if (!readTilePart(reader))
            return std::nullopt;
    if (marker != EOC)
        return std::nullopt;
    return reader.position();
}

bool MarkerReader::readSize(Reader& segment)
{
    segment.next(2); // capabilities
    x1_ = qint64(segment.next(4));
    y1_ = qint64(segment.next(4));
    x0_ = qint64(segment.next(4));
    y0_ = qint64(segment.next(4));
    tileWidth_ = qint64(segment.next(4));
    tileHeight_ = qint64(segment.next(4));
    tileX0_ = qint64(segment.next(4));
    tileY0_ = qint64(segment.next(4));
    const auto count = qint64(segment.next(2));
    // The tile grid starts at or before the picture, and its first tile overlaps it.
    if (segment.failed() || count < 1 || x1_ <= x0_ || y1_ <= y0_ || tileWidth_ == 0 || tileHeight_ == 0
        || tileX0_ > x0_ || tileY0_ > y0_ || tileX0_ + tileWidth_ <= x0_ || tileY0_ + tileHeight_ <= y0_)
        return false;
    const qint64 components = std::max(count, qint64(paletteColumns_));
    const qint64 width = x1_ - x0_, height = y1_ - y0_;
    if (components > Jpeg2000Header::MaximumComponents || width > Jpeg2000Header::MaximumSamples
        || height > Jpeg2000Header::MaximumSamples || width * height * components > Jpeg2000Header::MaximumSamples)
        return false;
    tilesAcross_ = ceilDivision(x1_ - tileX0_, tileWidth_);
    const qint64 tilesDown = ceilDivision(y1_ - tileY0_, tileHeight_);
    if (tilesAcross_ > Jpeg2000Header::MaximumTiles || tilesDown > Jpeg2000Header::MaximumTiles
        || tilesAcross_ * tilesDown > Jpeg2000Header::MaximumTiles)
        return false;
    for (qint64 component = 0; component < count; ++component) {
        segment.next(1); // precision and sign
        const auto dx = qint64(segment.next(1)), dy = qint64(segment.next(1));
        if (dx == 0 || dy == 0)
            return false;
        subsampling_.emplace_back(dx, dy);
    }
    tiles_.resize(size_t(tilesAcross_ * tilesDown));
    return segment.isFinished();
}

bool MarkerReader::readHeaderMarker(quint16 marker, Reader& segment, std::optional<CodingStyle>& style,
                                    ComponentStyles& componentStyles, std::span<const quint16> passed) const
{
    if (marker == COD) {
        const bool precincts = segment.next(1) & 1;
        segment.next(1); // progression order
        const auto layers = int(segment.next(2));
        segment.next(1); // component transform
        // One COD a header, as the decoder requires.
        if (style || layers == 0)
            return false;
        style = readStyle(segment, precincts);
        if (style)
            style->layers = layers;
        return style.has_value();
    }
    if (marker == COC) {
        const auto component = size_t(segment.next(1));
        const bool precincts = segment.next(1) & 1;
        if (component >= subsampling_.size() || componentStyles[component])
            return false;
        componentStyles[component] = readStyle(segment, precincts);
        return componentStyles[component].has_value();
    }
    return std::find(passed.begin(), passed.end(), marker) != passed.end();
}

// From just after a tile-part's SOT marker to just before the next marker.
bool MarkerReader::readTilePart(Reader& reader)
{
    const qsizetype start = reader.position() - 2;
    std::optional<Reader> header = reader.segment();
    if (!header)
        return false;
    const auto index = size_t(header->next(2));
    const auto length = qsizetype(header->next(4));
    const auto part = int(header->next(1)), parts = int(header->next(1));
    if (!header->isFinished() || index >= tiles_.size())
        return false;
    Tile& tile = tiles_[index];
    // A tile's tile-parts come in order and agree on their number, as the decoder requires.
    const bool declaredAlike = tile.declaredParts == 0 || parts == tile.declaredParts;
    if (part != tile.parts || (parts != 0 && (part >= parts || !declaredAlike)))
        return false;
    ++tile.parts;
    if (parts != 0)
        tile.declaredParts = parts;
    quint64 marker = reader.next(2);
    for (; marker != SOD; marker = reader.next(2)) {
        std::optional<Reader> segment = reader.segment();
        if (!segment || !readHeaderMarker(quint16(marker), *segment, tile.style, tile.componentStyles, TilePartMarkers))
            return false;
    }
    // A length of zero: the last tile-part, running to the EOC marker at the end of the data.
    const qsizetype end = length != 0 ? start + length : data_.size() - 2;
    if (end < reader.position() || end > data_.size())
        return false;
    tile.bytes += end - reader.position();
    reader.seek(end);
    return true;
}

// Every tile with all the tile-parts it declares, and data in them: the decoder passes over a tile without data.
bool MarkerReader::holdsEveryTile() const
{
    return std::all_of(tiles_.begin(), tiles_.end(), [](const Tile& tile) {
        return tile.bytes > 0 && (tile.declaredParts == 0 || tile.parts == tile.declaredParts);
    });
}

// Counts tile by tile what the decoder sets up. Where a tile or component has a style of its own, the one that
// costs most is counted, whatever the order of precedence.
bool MarkerReader::fitsItsBookkeeping() const
{
    const auto components = qint64(subsampling_.size());
    const qint64 samples = (x1_ - x0_) * (y1_ - y0_) * components;
    const qint64 maximumBlocks =
        std::max(Jpeg2000Header::CodeBlockAllowance, samples / Jpeg2000Header::SamplesPerCodeBlock);
    qint64 blocks = 0, packets = 0;
    for (size_t index = 0; index < tiles_.size(); ++index) {
        const Tile& tile = tiles_[index];
        const qint64 column = qint64(index) % tilesAcross_, row = qint64(index) / tilesAcross_;
        const qint64 x0 = std::max(tileX0_ + column * tileWidth_, x0_);
        const qint64 y0 = std::max(tileY0_ + row * tileHeight_, y0_);
        const qint64 x1 = std::min(tileX0_ + (column + 1) * tileWidth_, x1_);
        const qint64 y1 = std::min(tileY0_ + (row + 1) * tileHeight_, y1_);
        qint64 resolutions = 0, mostPrecincts = 0;
        for (size_t component = 0; component < subsampling_.size(); ++component) {
            const auto [dx, dy] = subsampling_[component];
            qint64 mostBlocks = 0;
            for (const std::optional<CodingStyle>* style :
                 {&style_, &componentStyles_[component], &tile.style, &tile.componentStyles[component]}) {
                if (!*style)
                    continue;
                const Bookkeeping costs = bookkeepingOf(**style, ceilDivision(x0, dx), ceilDivision(y0, dy),
                                                        ceilDivision(x1, dx), ceilDivision(y1, dy));
                mostBlocks = std::max(mostBlocks, costs.blocks);
                resolutions = std::max(resolutions, costs.resolutions);
                mostPrecincts = std::max(mostPrecincts, costs.mostPrecincts);
            }
            blocks += mostBlocks;
        }
        const int layers = std::max(style_->layers, tile.style ? tile.style->layers : 0);
        packets += (layers + 1) * resolutions * components * mostPrecincts;
        // Checked tile by tile, so that the sums stay far from overflowing.
        if (blocks > maximumBlocks || packets > Jpeg2000Header::MaximumPackets)
            return false;
    }
    return true;
}

} // namespace

Jpeg2000Header::Form Jpeg2000Header::formOf(const QByteArray& head)
{
    if (head.startsWith(JP2Signature))
        return Form::JP2;
    if (head.startsWith(CodestreamStart))
        return Form::Codestream;
    return Form::Unknown;
}

Jpeg2000Header::Jpeg2000Header(const QByteArray& data)
{
    MarkerReader reader(data);
    const Form form = formOf(data);
    const bool wellFormed = form == Form::JP2 ? reader.readJp2() : form == Form::Codestream && reader.readCodestream(0);
    acceptable_ = wellFormed && reader.holdsEveryTile() && reader.fitsItsBookkeeping();
}

} // namespace pt
