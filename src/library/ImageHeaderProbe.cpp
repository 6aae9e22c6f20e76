#include "library/ImageHeaderProbe.h"

#include <QFile>
#include <QHash>
#include <QtEndian>

#include <webp/decode.h>

namespace imageHeaderProbe {

namespace {

quint32 bigEndian32(const QByteArray& data, qsizetype at)
{
    const auto* bytes = reinterpret_cast<const uchar*>(data.constData()) + at;
    return (quint32(bytes[0]) << 24) | (quint32(bytes[1]) << 16) | (quint32(bytes[2]) << 8) | quint32(bytes[3]);
}

quint16 littleEndian16(const QByteArray& data, qsizetype at)
{
    const auto* bytes = reinterpret_cast<const uchar*>(data.constData()) + at;
    return quint16(bytes[0] | (bytes[1] << 8));
}

constexpr qsizetype IcoHeaderSize = 6;
constexpr qsizetype IcoEntrySize = 16;

std::optional<QSize> positive(qint64 width, qint64 height)
{
    if (width <= 0 || height <= 0 || width > INT_MAX || height > INT_MAX)
        return std::nullopt;
    return QSize(int(width), int(height));
}

// Reserved 0, type 1 (icon) or 2 (cursor), at least one entry.
bool isIcoHeader(const QByteArray& head)
{
    return head.size() >= IcoHeaderSize && littleEndian16(head, 0) == 0
           && (littleEndian16(head, 2) == 1 || littleEndian16(head, 2) == 2) && littleEndian16(head, 4) != 0;
}

// Elements that carry no image of their own, or only a mask.
bool isSkippedIcnsElement(const QByteArray& type)
{
    static const QList<QByteArray> skipped{"TOC ", "icnV", "name", "info", "s8mk", "l8mk", "h8mk", "t8mk"};
    return skipped.contains(type);
}

} // namespace

std::optional<QSize> pngSize(const QByteArray& head)
{
    static const QByteArray signature("\x89PNG\r\n\x1a\n", 8);
    if (head.size() < 24 || !head.startsWith(signature) || head.mid(12, 4) != "IHDR")
        return std::nullopt;
    return positive(bigEndian32(head, 16), bigEndian32(head, 20));
}

std::optional<QSize> gifSize(const QByteArray& head)
{
    if (head.size() < 10 || !(head.startsWith("GIF87a") || head.startsWith("GIF89a")))
        return std::nullopt;
    return positive(littleEndian16(head, 6), littleEndian16(head, 8));
}

std::optional<QSize> icoSize(const QByteArray& head)
{
    // A side of 0 stands for 256.
    if (head.size() < IcoHeaderSize + 2 || !isIcoHeader(head))
        return std::nullopt;
    const auto side = [&](qsizetype at) { return uchar(head.at(at)) == 0 ? 256 : int(uchar(head.at(at))); };
    return positive(side(6), side(7));
}

QList<IcoPicture> icoPictures(QIODevice& file)
{
    if (!file.seek(0))
        return {};
    const QByteArray header = file.read(IcoHeaderSize);
    if (!isIcoHeader(header))
        return {};
    const int count = littleEndian16(header, 4);
    const QByteArray directory = file.read(count * IcoEntrySize);
    QList<IcoPicture> pictures;
    for (qsizetype at = 0; at + IcoEntrySize <= directory.size(); at += IcoEntrySize) {
        IcoPicture picture;
        picture.length = qFromLittleEndian<quint32>(directory.constData() + at + 8);
        picture.offset = qFromLittleEndian<quint32>(directory.constData() + at + 12);
        QByteArray head;
        if (file.seek(picture.offset))
            head = file.read(24);
        if (const std::optional<QSize> png = pngSize(head)) {
            picture.size = *png;
            picture.png = true;
        } else if (head.size() >= 12 && qFromLittleEndian<quint32>(head.constData()) >= 40) {
            // A bitmap's header: its height counts the mask below the colours.
            picture.size = positive(qFromLittleEndian<qint32>(head.constData() + 4),
                                    qFromLittleEndian<qint32>(head.constData() + 8) / 2)
                               .value_or(QSize());
        }
        pictures.append(picture);
    }
    return pictures;
}

std::optional<IcnsGeometry> icnsGeometry(const QByteArray& type)
{
    static const QHash<QByteArray, IcnsGeometry> geometries{
        {"ICON", {32, 1}},  {"ICN#", {32, 1}},  {"icm#", {16, 1}}, {"icm4", {16, 1}}, {"icm8", {16, 1}},
        {"ics#", {16, 1}},  {"ics4", {16, 1}},  {"ics8", {16, 1}}, {"is32", {16, 1}}, {"icl4", {32, 1}},
        {"icl8", {32, 1}},  {"il32", {32, 1}},  {"ich#", {48, 1}}, {"ich4", {48, 1}}, {"ich8", {48, 1}},
        {"ih32", {48, 1}},  {"it32", {128, 1}}, {"icp4", {16, 1}}, {"icp5", {32, 1}}, {"icp6", {64, 1}},
        {"ic07", {128, 1}}, {"ic08", {256, 1}}, {"ic09", {512, 1}}, {"ic10", {512, 2}}, {"ic11", {16, 2}},
        {"ic12", {32, 2}},  {"ic13", {128, 2}}, {"ic14", {256, 2}}, {"ic04", {16, 1}}, {"ic05", {32, 1}},
        {"icsb", {18, 1}},  {"icsB", {18, 2}},  {"sb24", {24, 1}}, {"SB24", {24, 2}},
    };
    const auto found = geometries.constFind(type);
    if (found == geometries.constEnd())
        return std::nullopt;
    return *found;
}

std::optional<QSize> icnsSize(const QByteArray& head)
{
    if (head.size() < 16 || !head.startsWith("icns"))
        return std::nullopt;
    // Walk the elements within the head: the first one standing for an image gives the size.
    for (qsizetype at = 8; at + 8 <= head.size();) {
        const QByteArray type = head.mid(at, 4);
        const quint32 length = bigEndian32(head, at + 4);
        // A table of contents lists the elements in file order: its first entry is the first element.
        if (type == "TOC " && length >= 16 && at + 12 <= head.size()) {
            at += 8;
            continue;
        }
        if (!isSkippedIcnsElement(type)) {
            const std::optional<IcnsGeometry> geometry = icnsGeometry(type);
            if (!geometry)
                return std::nullopt;
            return positive(geometry->points * geometry->scale, geometry->points * geometry->scale);
        }
        if (length < 8)
            return std::nullopt;
        at += length;
    }
    return std::nullopt;
}

std::optional<QSize> webpSize(const QByteArray& head)
{
    int width = 0;
    int height = 0;
    if (!WebPGetInfo(reinterpret_cast<const uint8_t*>(head.constData()), size_t(head.size()), &width, &height))
        return std::nullopt;
    return positive(width, height);
}

QByteArray readHead(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.read(HeadSize);
}

} // namespace imageHeaderProbe
