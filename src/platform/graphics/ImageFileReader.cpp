#include "platform/graphics/ImageFileReader.h"

#include "platform/graphics/Jpeg2000ImageHandler.h"

#include <QFile>
#include <QtEndian>

#include <algorithm>

namespace pt {

namespace {

constexpr qint64 HeaderBytes = 8; // a four-letter type, then the big-endian length including the header
const QByteArray IcnsType("icns");
const QByteArray TableOfContentsType("TOC ");
const QByteArray CodestreamStart("\xff\x4f\xff\x51", 4); // SOC, then SIZ
constexpr qsizetype SizBytes = 45;                       // SOC, SIZ up to the first component's precision

quint32 bigEndian32(const char* bytes)
{
    return qFromBigEndian<quint32>(bytes);
}

QByteArray bigEndian(quint32 value, int bytes)
{
    QByteArray out;
    for (int shift = (bytes - 1) * 8; shift >= 0; shift -= 8)
        out.append(char((value >> shift) & 0xff));
    return out;
}

// A JP2 box: its length, then its type.
QByteArray box(const char* type, const QByteArray& contents)
{
    return bigEndian(quint32(HeaderBytes + contents.size()), 4) + QByteArray(type, 4) + contents;
}

// An ICNS element, or the file itself: its type, then its length.
QByteArray element(const QByteArray& type, const QByteArray& contents)
{
    return type + bigEndian(quint32(HeaderBytes + contents.size()), 4);
}

// The codestream in a JP2 file: the signature, the file type, the image header and the colour box the
// JP2 reader needs (from the codestream's SIZ marker), then the codestream itself.
QByteArray asJP2(const QByteArray& codestream)
{
    const char* siz = codestream.constData();
    const quint32 width = bigEndian32(siz + 8) - bigEndian32(siz + 16);
    const quint32 height = bigEndian32(siz + 12) - bigEndian32(siz + 20);
    const quint32 components = qFromBigEndian<quint16>(siz + 40);
    if (components == 0 || codestream.size() < SizBytes + 3 * qsizetype(components - 1))
        return {};
    QByteArray precisions;
    for (quint32 index = 0; index < components; ++index)
        precisions.append(siz[42 + 3 * index]);
    const bool samePrecision = precisions.count(precisions.front()) == precisions.size();
    const QByteArray header = bigEndian(height, 4) + bigEndian(width, 4) + bigEndian(components, 2)
        + (samePrecision ? precisions.left(1) : QByteArray(1, '\xff')) + QByteArray("\x07\x00\x00", 3);
    // Enumerated colour space: sRGB for colour, greyscale otherwise.
    const QByteArray colour = QByteArray("\x01\x00\x00", 3) + bigEndian(components >= 3 ? 16 : 17, 4);
    const QByteArray imageHeader = box("ihdr", header) + (samePrecision ? QByteArray() : box("bpcc", precisions))
        + box("colr", colour);
    return QByteArray("\x00\x00\x00\x0cjP  \x0d\x0a\x87\x0a", 12) + box("ftyp", QByteArray("jp2 \0\0\0\0jp2 ", 12))
        + box("jp2h", imageHeader) + box("jp2c", codestream);
}

// Whether the ICNS file holds an element that is a bare codestream, from the elements' headers alone.
bool holdsCodestream(QFile& file)
{
    const QByteArray head = file.read(HeaderBytes);
    if (head.size() < HeaderBytes || !head.startsWith(IcnsType))
        return false;
    const qint64 end = std::min<qint64>(bigEndian32(head.constData() + 4), file.size());
    for (qint64 position = HeaderBytes; position + HeaderBytes <= end;) {
        if (!file.seek(position))
            return false;
        const QByteArray element = file.read(HeaderBytes + CodestreamStart.size());
        const quint32 length = element.size() >= HeaderBytes ? bigEndian32(element.constData() + 4) : 0;
        if (length < HeaderBytes)
            return false;
        if (element.mid(HeaderBytes).startsWith(CodestreamStart))
            return true;
        position += length;
    }
    return false;
}

} // namespace

QByteArray ImageFileReader::withCodestreamsAsJP2(const QByteArray& icns)
{
    if (icns.size() < HeaderBytes || !icns.startsWith(IcnsType))
        return {};
    const qint64 end = std::min<qint64>(bigEndian32(icns.constData() + 4), icns.size());
    QByteArray elements;
    bool rewritten = false;
    qint64 position = HeaderBytes;
    while (position + HeaderBytes <= end) {
        const QByteArray type = icns.mid(position, 4);
        const quint32 length = bigEndian32(icns.constData() + position + 4);
        if (length < HeaderBytes || position + length > end)
            return {};
        const QByteArray data = icns.mid(position + HeaderBytes, length - HeaderBytes);
        position += length;
        if (type == TableOfContentsType)
            continue;
        QByteArray jp2;
        if (data.startsWith(CodestreamStart) && data.size() >= SizBytes)
            jp2 = asJP2(data);
        if (!jp2.isEmpty() && jp2.size() <= Jpeg2000ImageHandler::MaximumBytes) {
            rewritten = true;
            elements += element(type, jp2) + jp2;
        } else {
            elements += icns.mid(position - length, length);
        }
    }
    return rewritten ? element(IcnsType, elements) + elements : QByteArray();
}

ImageFileReader::ImageFileReader(const QString& path)
{
    QFile file(path);
    if (file.open(QIODevice::ReadOnly) && file.size() <= MaximumIcnsBytes && holdsCodestream(file) && file.seek(0)) {
        buffer_.setData(withCodestreamsAsJP2(file.readAll()));
        if (!buffer_.data().isEmpty()) {
            buffer_.open(QIODevice::ReadOnly);
            reader_.setDevice(&buffer_);
            reader_.setFormat("icns");
            return;
        }
    }
    reader_.setFileName(path);
}

} // namespace pt
