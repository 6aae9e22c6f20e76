#include "transfer/export/PTGIFEncoder.h"

#include <QHash>

#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <climits>
#include <vector>

namespace {

constexpr int kPaletteColours = 255;
constexpr int kOpaqueAlpha = 128;

struct Entry {
    QRgb colour;
    qint64 count;
};

int channel(QRgb colour, int axis)
{
    return axis == 0 ? qRed(colour) : axis == 1 ? qGreen(colour) : qBlue(colour);
}

// Cuts the colour histogram into at most `colours` boxes, always splitting the box with the widest channel
// range at its weighted median; each box gives its weighted mean.
std::vector<QRgb> medianCut(std::vector<Entry> entries, int colours)
{
    struct Box {
        size_t begin, end;
        int axis = 0, range = 0;
    };
    const auto measure = [&entries](Box& box) {
        std::array<int, 3> low{255, 255, 255}, high{0, 0, 0};
        for (size_t i = box.begin; i < box.end; ++i)
            for (int axis = 0; axis < 3; ++axis) {
                low[axis] = std::min(low[axis], channel(entries[i].colour, axis));
                high[axis] = std::max(high[axis], channel(entries[i].colour, axis));
            }
        box.range = -1;
        for (int axis = 0; axis < 3; ++axis)
            if (high[axis] - low[axis] > box.range) {
                box.range = high[axis] - low[axis];
                box.axis = axis;
            }
    };
    std::vector<Box> boxes{{0, entries.size()}};
    measure(boxes[0]);
    while (int(boxes.size()) < colours) {
        auto widest = std::max_element(boxes.begin(), boxes.end(),
                                       [](const Box& a, const Box& b) { return a.range < b.range; });
        if (widest->range <= 0 || widest->end - widest->begin < 2)
            break;
        Box box = *widest;
        std::sort(entries.begin() + box.begin, entries.begin() + box.end, [axis = box.axis](const Entry& a, const Entry& b) {
            return channel(a.colour, axis) < channel(b.colour, axis);
        });
        qint64 total = 0;
        for (size_t i = box.begin; i < box.end; ++i)
            total += entries[i].count;
        qint64 running = 0;
        size_t cut = box.begin + 1;
        for (size_t i = box.begin; i < box.end - 1; ++i) {
            running += entries[i].count;
            cut = i + 1;
            if (running * 2 >= total)
                break;
        }
        Box lower{box.begin, cut}, upper{cut, box.end};
        measure(lower);
        measure(upper);
        *widest = lower;
        boxes.push_back(upper);
    }
    std::vector<QRgb> palette;
    for (const Box& box : boxes) {
        qint64 sums[3] = {0, 0, 0}, total = 0;
        for (size_t i = box.begin; i < box.end; ++i) {
            for (int axis = 0; axis < 3; ++axis)
                sums[axis] += channel(entries[i].colour, axis) * entries[i].count;
            total += entries[i].count;
        }
        palette.push_back(qRgb(int(sums[0] / total), int(sums[1] / total), int(sums[2] / total)));
    }
    return palette;
}

int nearest(const std::vector<QRgb>& palette, QRgb colour)
{
    int best = 0;
    int bestDistance = INT_MAX;
    for (size_t i = 0; i < palette.size(); ++i) {
        int distance = 0;
        for (int axis = 0; axis < 3; ++axis) {
            const int d = channel(palette[i], axis) - channel(colour, axis);
            distance += d * d;
        }
        if (distance < bestDistance) {
            bestDistance = distance;
            best = int(i);
        }
    }
    return best;
}

int appendBytes(GifFileType* gif, const GifByteType* bytes, int length)
{
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(bytes), length);
    return length;
}

} // namespace

QByteArray PTGIFEncoder::GIFData(const QImage& source)
{
    if (source.isNull())
        return {};
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int width = image.width(), height = image.height();
    QHash<QRgb, qint64> histogram;
    bool transparent = false;
    for (int y = 0; y < height; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            if (qAlpha(line[x]) < kOpaqueAlpha)
                transparent = true;
            else
                ++histogram[line[x] | 0xff000000u];
        }
    }
    std::vector<QRgb> palette;
    QHash<QRgb, int> indexes;
    if (histogram.size() <= kPaletteColours) {
        for (auto it = histogram.begin(); it != histogram.end(); ++it) {
            indexes.insert(it.key(), int(palette.size()));
            palette.push_back(it.key());
        }
    } else {
        std::vector<Entry> entries;
        entries.reserve(histogram.size());
        for (auto it = histogram.begin(); it != histogram.end(); ++it)
            entries.push_back({it.key(), it.value()});
        palette = medianCut(std::move(entries), kPaletteColours);
        for (auto it = histogram.begin(); it != histogram.end(); ++it)
            indexes.insert(it.key(), nearest(palette, it.key()));
    }
    const int transparentIndex = int(palette.size());
    int mapSize = 2;
    while (mapSize < transparentIndex + 1)
        mapSize *= 2;
    std::vector<GifColorType> colours(mapSize, GifColorType{0, 0, 0});
    for (size_t i = 0; i < palette.size(); ++i)
        colours[i] = {GifByteType(qRed(palette[i])), GifByteType(qGreen(palette[i])), GifByteType(qBlue(palette[i]))};

    QByteArray data;
    int error = 0;
    GifFileType* gif = EGifOpen(&data, appendBytes, &error);
    if (!gif)
        return {};
    ColorMapObject* map = GifMakeMapObject(mapSize, colours.data());
    bool ok = map && EGifPutScreenDesc(gif, width, height, 8, 0, map) == GIF_OK;
    if (ok && transparent) {
        GraphicsControlBlock control{};
        control.DisposalMode = DISPOSAL_UNSPECIFIED;
        control.TransparentColor = transparentIndex;
        GifByteType extension[4];
        const size_t length = EGifGCBToExtension(&control, extension);
        ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(length), extension) == GIF_OK;
    }
    ok = ok && EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr) == GIF_OK;
    std::vector<GifPixelType> row(width);
    for (int y = 0; ok && y < height; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < width; ++x)
            row[x] = GifPixelType(qAlpha(line[x]) < kOpaqueAlpha ? transparentIndex
                                                                  : indexes.value(line[x] | 0xff000000u));
        ok = EGifPutLine(gif, row.data(), width) == GIF_OK;
    }
    GifFreeMapObject(map);
    if (EGifCloseFile(gif, &error) != GIF_OK)
        ok = false;
    return ok ? data : QByteArray();
}
