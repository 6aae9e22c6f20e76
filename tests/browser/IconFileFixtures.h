#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QDataStream>
#include <QImage>
#include <QList>

#include <tuple>

// Files of several pictures (ICO, ICNS) written byte by byte, each picture filled with its own colour, so that a
// test tells by colour which picture was drawn.
namespace iconFixtures {

inline QImage filled(int width, int height, QColor color)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(color);
    return image;
}

inline QByteArray pngBytes(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// A 32-bit bitmap picture of an ICO: the header counts the mask rows below the colours, rows run bottom up.
inline QByteArray icoBitmap(const QImage& image)
{
    const QImage pixels = image.convertToFormat(QImage::Format_ARGB32);
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint32(40) << qint32(pixels.width()) << qint32(pixels.height() * 2) << quint16(1) << quint16(32)
        << quint32(0) << quint32(0) << qint32(0) << qint32(0) << quint32(0) << quint32(0);
    for (int y = pixels.height() - 1; y >= 0; --y)
        for (int x = 0; x < pixels.width(); ++x)
            out << quint32(pixels.pixel(x, y));
    const int maskRow = ((pixels.width() + 31) / 32) * 4;
    bytes.append(QByteArray(maskRow * pixels.height(), '\0'));
    return bytes;
}

// One picture of an ICO: the side its directory says (256 stands for 256 and larger) and its bytes.
struct IcoEntry {
    int side;
    QByteArray bytes;
};

// A square picture filled with the colour, stored as PNG from 256 pixels on and as a bitmap below.
inline IcoEntry filledEntry(int side, QColor colour)
{
    return {side, side >= 256 ? pngBytes(filled(side, side, colour)) : icoBitmap(filled(side, side, colour))};
}

inline QByteArray icoFile(const QList<IcoEntry>& entries)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint16(0) << quint16(1) << quint16(entries.size());
    quint32 offset = 6 + 16 * quint32(entries.size());
    for (const IcoEntry& entry : entries) {
        const quint8 side = entry.side >= 256 ? 0 : quint8(entry.side);
        out << side << side << quint8(0) << quint8(0) << quint16(1) << quint16(32) << quint32(entry.bytes.size())
            << offset;
        offset += quint32(entry.bytes.size());
    }
    for (const IcoEntry& entry : entries)
        out.writeRawData(entry.bytes.constData(), int(entry.bytes.size()));
    return bytes;
}

inline QByteArray bigEndian32(quint32 value)
{
    QByteArray bytes;
    QDataStream(&bytes, QIODevice::WriteOnly) << value;
    return bytes;
}

// A PNG whose header claims 100,000 pixels a side, more than anything may decode, over the data of one pixel.
inline QByteArray pngClaimingAHugeSize()
{
    QByteArray png = pngBytes(filled(1, 1, Qt::blue));
    png.replace(16, 8, bigEndian32(100000) + bigEndian32(100000));
    return png;
}

// An ICO of a red 16-pixel and a green 32-pixel picture, between which sits a huge PNG whose directory says 256.
inline QByteArray icoHidingAHugePicture()
{
    return icoFile({filledEntry(16, Qt::red), {256, pngClaimingAHugeSize()}, filledEntry(32, Qt::green)});
}

// An ICNS of PNG elements: the element type, the side and the colour of each.
inline QByteArray icnsFile(const QList<std::tuple<QByteArray, int, QColor>>& elements)
{
    QByteArray body;
    for (const auto& [type, side, colour] : elements) {
        const QByteArray png = pngBytes(filled(side, side, colour));
        body += type + bigEndian32(quint32(png.size() + 8)) + png;
    }
    return "icns" + bigEndian32(quint32(body.size() + 8)) + body;
}

} // namespace iconFixtures
