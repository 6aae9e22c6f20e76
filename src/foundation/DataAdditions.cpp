#include "foundation/DataAdditions.h"

#include <zlib.h>

#include <cmath>
#include <limits>

namespace dataAdditions {

namespace {

constexpr int GzipWindowBits = 15 + 16;      // 32 KB window, gzip header and trailer
constexpr int AutoDetectWindowBits = 15 + 32; // gzip or zlib header
constexpr qint64 GrowStep = 16384;
// zlib counts in 32-bit units; feed larger inputs in slices.
constexpr qint64 MaxSlice = std::numeric_limits<uInt>::max() / 2;

pt::Error gzipError(GzipErrorCode code, const QString& description)
{
    return pt::Error::withDescription(GzipErrorDomain, code, description);
}

} // namespace

bool isGzippedData(const QByteArray& data)
{
    return data.size() >= 2 && static_cast<unsigned char>(data.at(0)) == 0x1F
        && static_cast<unsigned char>(data.at(1)) == 0x8B;
}

pt::Result<QByteArray> gzippedDataWithCompressionLevel(const QByteArray& data, float level)
{
    if (data.isEmpty() || isGzippedData(data))
        return data;
    const int zlibLevel = level < 0 ? Z_DEFAULT_COMPRESSION : static_cast<int>(std::lround(level * 9.0f));
    z_stream stream{};
    if (deflateInit2(&stream, zlibLevel, Z_DEFLATED, GzipWindowBits, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return gzipError(GzipStreamSetupFailed, QStringLiteral("The compressor could not be set up."));

    QByteArray output;
    output.resize(qint64(deflateBound(&stream, uLong(std::min<qint64>(data.size(), MaxSlice)))) + GrowStep);
    qint64 consumed = 0;
    qint64 produced = 0;
    int status = Z_OK;
    while (status != Z_STREAM_END) {
        if (stream.avail_in == 0 && consumed < data.size()) {
            const qint64 slice = std::min(data.size() - consumed, MaxSlice);
            stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData() + consumed));
            stream.avail_in = uInt(slice);
            consumed += slice;
        }
        if (produced == output.size())
            output.resize(output.size() + std::max(GrowStep, output.size() / 2));
        const qint64 room = std::min(output.size() - produced, MaxSlice);
        stream.next_out = reinterpret_cast<Bytef*>(output.data() + produced);
        stream.avail_out = uInt(room);
        status = deflate(&stream, consumed == data.size() ? Z_FINISH : Z_NO_FLUSH);
        produced += room - stream.avail_out;
        if (status != Z_OK && status != Z_STREAM_END && status != Z_BUF_ERROR) {
            deflateEnd(&stream);
            return gzipError(GzipCorruptData, QStringLiteral("Compression failed (zlib %1).").arg(status));
        }
    }
    if (deflateEnd(&stream) != Z_OK)
        return gzipError(GzipCorruptData, QStringLiteral("Compression did not end cleanly."));
    output.resize(produced);
    return output;
}

pt::Result<QByteArray> gzippedData(const QByteArray& data)
{
    return gzippedDataWithCompressionLevel(data, -1.0f);
}

pt::Result<QByteArray> gunzippedData(const QByteArray& data, qint64 maxOutput)
{
    if (!isGzippedData(data))
        return data;
    z_stream stream{};
    if (inflateInit2(&stream, AutoDetectWindowBits) != Z_OK)
        return gzipError(GzipStreamSetupFailed, QStringLiteral("The decompressor could not be set up."));
    auto fail = [&](GzipErrorCode code, const QString& text) {
        inflateEnd(&stream);
        return pt::Result<QByteArray>(gzipError(code, text));
    };

    QByteArray output;
    output.resize(std::min(maxOutput, std::max(GrowStep, data.size() * 2)));
    qint64 consumed = 0;
    qint64 produced = 0;
    for (;;) {
        if (stream.avail_in == 0 && consumed < data.size()) {
            const qint64 slice = std::min(data.size() - consumed, MaxSlice);
            stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData() + consumed));
            stream.avail_in = uInt(slice);
            consumed += slice;
        }
        if (produced == output.size() && output.size() < maxOutput)
            output.resize(std::min(maxOutput, output.size() + std::max(GrowStep, output.size() / 2)));
        // At the limit inflate gets one spare byte: the stream may still end there, but any output is too much.
        char spare = 0;
        const bool atLimit = produced == output.size();
        const qint64 room = atLimit ? 1 : std::min(output.size() - produced, MaxSlice);
        stream.next_out = reinterpret_cast<Bytef*>(atLimit ? &spare : output.data() + produced);
        stream.avail_out = uInt(room);
        const int status = inflate(&stream, Z_NO_FLUSH);
        if (atLimit && stream.avail_out == 0)
            return fail(GzipOutputTooLarge, QStringLiteral("The data inflates to more than %1 bytes.").arg(maxOutput));
        if (!atLimit)
            produced += room - stream.avail_out;
        if (status == Z_STREAM_END) {
            // gzip itself reads concatenated members as one file; anything else after a member is ignored.
            const qint64 left = qint64(stream.avail_in) + (data.size() - consumed);
            if (!isGzippedData(data.mid(data.size() - left, 2)))
                break;
            if (inflateReset(&stream) != Z_OK)
                return fail(GzipCorruptData, QStringLiteral("The next gzip member could not be read."));
            continue;
        }
        if (status == Z_BUF_ERROR && stream.avail_in == 0 && consumed == data.size())
            return fail(GzipCorruptData, QStringLiteral("The gzip data is truncated."));
        if (status != Z_OK && status != Z_BUF_ERROR)
            return fail(GzipCorruptData, QStringLiteral("The gzip data is corrupt (zlib %1).").arg(status));
    }
    if (inflateEnd(&stream) != Z_OK)
        return gzipError(GzipCorruptData, QStringLiteral("Decompression did not end cleanly."));
    output.resize(produced);
    return output;
}

} // namespace dataAdditions
