#include "browser/dictionary/DictdDataFile.h"

#include "browser/dictionary/DictdIndex.h"
#include "foundation/DataAdditions.h"
#include "foundation/RegularFile.h"
#include "platform/runtime/Logging.h"

#include <QFile>

#include <cerrno>
#include <unistd.h>
#include <zlib.h>

namespace pt {

namespace {

constexpr int GzipFlagHeaderCrc = 0x02;
constexpr int GzipFlagExtra = 0x04;
constexpr int GzipFlagName = 0x08;
constexpr int GzipFlagComment = 0x10;
// Room for the fixed header, the largest extra field and a generous file name and comment.
constexpr qint64 MaxHeaderBytes = 10 + 2 + 0xFFFF + 2 * 4096;

int le16(const QByteArray& bytes, qint64 at)
{
    return quint8(bytes[at]) | (quint8(bytes[at + 1]) << 8);
}

struct GzipHeader {
    qint64 dataStart = 0;
    int chunkLength = 0;
    QList<int> chunkSizes; // empty when the file has no random-access table
};

// Skips a zero-terminated field; false when it does not end inside the header bytes.
bool skipZeroTerminated(const QByteArray& header, qint64& at)
{
    const qint64 end = header.indexOf('\0', at);
    if (end < 0)
        return false;
    at = end + 1;
    return true;
}

std::optional<GzipHeader> parseHeader(const QByteArray& header)
{
    if (header.size() < 10 || quint8(header[0]) != 0x1F || quint8(header[1]) != 0x8B || header[2] != 8)
        return std::nullopt;
    const int flags = quint8(header[3]);
    GzipHeader parsed;
    qint64 at = 10;
    if (flags & GzipFlagExtra) {
        if (at + 2 > header.size())
            return std::nullopt;
        const qint64 extraEnd = at + 2 + le16(header, at);
        if (extraEnd > header.size())
            return std::nullopt;
        at += 2;
        while (at + 4 <= extraEnd) {
            const qint64 fieldLength = le16(header, at + 2);
            const qint64 body = at + 4;
            if (body + fieldLength > extraEnd)
                return std::nullopt;
            if (header[at] == 'R' && header[at + 1] == 'A' && fieldLength >= 6) {
                const int count = le16(header, body + 4);
                if (le16(header, body) != 1 || 6 + 2 * qint64(count) > fieldLength)
                    return std::nullopt;
                parsed.chunkLength = le16(header, body + 2);
                for (int i = 0; i < count; ++i)
                    parsed.chunkSizes.append(le16(header, body + 6 + 2 * i));
                if (parsed.chunkLength == 0)
                    return std::nullopt;
            }
            at = body + fieldLength;
        }
        at = extraEnd;
    }
    if ((flags & GzipFlagName) && !skipZeroTerminated(header, at))
        return std::nullopt;
    if ((flags & GzipFlagComment) && !skipZeroTerminated(header, at))
        return std::nullopt;
    if (flags & GzipFlagHeaderCrc)
        at += 2;
    if (at > header.size())
        return std::nullopt;
    parsed.dataStart = at;
    return parsed;
}

// One chunk is a run of raw deflate ended by a full flush, so it inflates on its own.
std::optional<QByteArray> inflateChunk(const QByteArray& compressed, int chunkLength)
{
    QByteArray out(chunkLength, Qt::Uninitialized);
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
        return std::nullopt;
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
    stream.avail_in = uInt(compressed.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = uInt(out.size());
    const int status = inflate(&stream, Z_SYNC_FLUSH);
    const bool consumed = stream.avail_in == 0;
    const qint64 produced = qint64(stream.total_out);
    inflateEnd(&stream);
    if ((status != Z_OK && status != Z_STREAM_END && status != Z_BUF_ERROR) || !consumed)
        return std::nullopt;
    out.truncate(produced);
    return out;
}

bool validRange(qint64 offset, qint64 length, qint64 size)
{
    return offset >= 0 && length >= 0 && offset <= size && length <= size - offset;
}

// Opens the file when it is a regular file or a link to one: a pipe or a device put in its place must neither
// block the reader nor be read without end. Checked on each opening, since the file may be replaced between.
bool openRegular(QFile& file, const QString& path)
{
    const int fd = regularFile::open(path, regularFile::Links::Follow);
    if (fd < 0)
        return false;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}

std::optional<QByteArray> readPlain(QFile& file, qint64 offset, qint64 length)
{
    if (!validRange(offset, length, file.size()) || !file.seek(offset))
        return std::nullopt;
    const QByteArray bytes = file.read(length);
    if (bytes.size() != length)
        return std::nullopt;
    return bytes;
}

} // namespace

std::optional<DictdDataFile> DictdDataFile::open(const QString& path)
{
    QFile file;
    if (!openRegular(file, path))
        return std::nullopt;
    DictdDataFile data;
    data.path_ = path;
    if (!path.endsWith(QLatin1String(".dz")))
        return data;
    const std::optional<GzipHeader> header = parseHeader(file.read(MaxHeaderBytes));
    if (!header)
        return std::nullopt;
    if (header->chunkSizes.isEmpty()) {
        data.kind_ = Kind::Gzip;
        return data;
    }
    data.kind_ = Kind::Chunked;
    data.chunkLength_ = header->chunkLength;
    qint64 start = header->dataStart;
    for (const int size : header->chunkSizes) {
        data.chunkStarts_.append(start);
        start += size;
    }
    data.chunkStarts_.append(start);
    if (start > file.size())
        return std::nullopt;
    return data;
}

QList<std::optional<QByteArray>> DictdDataFile::read(const QList<DictdRecord>& records) const
{
    QList<std::optional<QByteArray>> definitions(records.size());
    if (records.isEmpty())
        return definitions;
    if (kind_ == Kind::Gzip)
        return readWhole(records);
    QFile file;
    if (!openRegular(file, path_)) {
        qCWarning(lcBrowser) << "dictionary data not opened:" << path_ << qt_error_string(errno);
        return definitions;
    }
    for (qsizetype i = 0; i < records.size(); ++i) {
        const DictdRecord& record = records[i];
        definitions[i] = kind_ == Kind::Chunked ? readChunked(file, record.offset, record.length)
                                                : readPlain(file, record.offset, record.length);
    }
    return definitions;
}

std::optional<QByteArray> DictdDataFile::readChunked(QFile& file, qint64 offset, qint64 length) const
{
    const qint64 chunkCount = chunkStarts_.size() - 1;
    if (!validRange(offset, length, chunkCount * chunkLength_))
        return std::nullopt;
    if (length == 0)
        return QByteArray();
    const qint64 first = offset / chunkLength_;
    const qint64 last = (offset + length - 1) / chunkLength_;
    QByteArray text;
    for (qint64 i = first; i <= last; ++i) {
        const qint64 size = chunkStarts_[i + 1] - chunkStarts_[i];
        if (!file.seek(chunkStarts_[i]))
            return std::nullopt;
        const QByteArray compressed = file.read(size);
        if (compressed.size() != size)
            return std::nullopt;
        const std::optional<QByteArray> chunk = inflateChunk(compressed, int(chunkLength_));
        if (!chunk)
            return std::nullopt;
        // Text is found by its chunk's place, so a chunk of another length would shift all after it into other
        // words; only the last may be short.
        if (i + 1 < chunkCount && chunk->size() != chunkLength_) {
            qCWarning(lcBrowser) << "dictionary data damaged:" << path_ << "chunk" << i << "holds" << chunk->size()
                                 << "bytes, not" << chunkLength_;
            return std::nullopt;
        }
        text += *chunk;
    }
    const qint64 skip = offset - first * chunkLength_;
    // A short last chunk may not reach the end of the record.
    if (!validRange(skip, length, text.size()))
        return std::nullopt;
    return text.mid(skip, length);
}

QList<std::optional<QByteArray>> DictdDataFile::readWhole(const QList<DictdRecord>& records) const
{
    QList<std::optional<QByteArray>> definitions(records.size());
    const pt::Result<QByteArray> compressed = regularFile::read(path_, MaxWholeBytes, regularFile::Links::Follow);
    const pt::Result<QByteArray> text =
        compressed ? dataAdditions::gunzippedData(*compressed, MaxWholeBytes) : compressed.error();
    if (!text) {
        qCWarning(lcBrowser) << "dictionary data not read:" << path_ << text.error().toString();
        return definitions;
    }
    for (qsizetype i = 0; i < records.size(); ++i) {
        if (validRange(records[i].offset, records[i].length, text->size()))
            definitions[i] = text->mid(records[i].offset, records[i].length);
    }
    return definitions;
}

} // namespace pt
