#include "foundation/ZipEntryReader.h"

#include <minizip/unzip.h>
#include <zlib.h>

namespace {

constexpr int InputChunk = 64 * 1024;

} // namespace

ZipEntryReader::ZipEntryReader(void* zip, const SSZipEntryInfo& info, QByteArray password)
    : zip_(zip), info_(info), password_(std::move(password))
{
}

ZipEntryReader::~ZipEntryReader()
{
    if (opened_)
        close();
}

bool ZipEntryReader::currentEntry(void* zip, SSZipEntryInfo* info, QByteArray* name)
{
    unz_file_info64 raw{};
    if (unzGetCurrentFileInfo64(zip, &raw, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
        return false;
    name->resize(raw.size_filename);
    if (raw.size_filename > 0
        && unzGetCurrentFileInfo64(zip, &raw, name->data(), raw.size_filename, nullptr, 0, nullptr, 0) != UNZ_OK) {
        return false;
    }
    *info = SSZipEntryInfo{quint16(raw.version), quint16(raw.flag),        quint32(raw.dosDate),
                           quint32(raw.crc),     raw.compressed_size,      raw.uncompressed_size,
                           quint32(raw.size_filename), quint32(raw.external_fa)};
    return true;
}

ZipEntryReader::OpenResult ZipEntryReader::open()
{
    encrypted_ = info_.isEncrypted();
    if (!encrypted_) {
        opened_ = unzOpenCurrentFile(zip_) == UNZ_OK;
        return opened_ ? OpenResult::Opened : OpenResult::Failed;
    }
    if (password_.isEmpty())
        return OpenResult::BadPassword;
    int method = 0;
    int level = 0;
    if (unzOpenCurrentFile2(zip_, &method, &level, 1) != UNZ_OK)
        return OpenResult::Failed;
    opened_ = true;
    if (method != 0 && method != Z_DEFLATED)
        return OpenResult::Failed;
    deflated_ = method == Z_DEFLATED;

    crypto_.emplace(password_);
    char header[ZipCrypto::HeaderSize];
    if (unzReadCurrentFile(zip_, header, ZipCrypto::HeaderSize) != ZipCrypto::HeaderSize)
        return OpenResult::Failed;
    crypto_->decrypt(header, ZipCrypto::HeaderSize);
    const quint8 check = quint8(header[ZipCrypto::HeaderSize - 1]);
    // The last header byte repeats the CRC's high byte, or the time's when the sizes follow the data.
    const quint8 expected = info_.hasDataDescriptor() ? quint8(info_.dosDate >> 8) : quint8(info_.crc >> 24);
    if (check != expected)
        return OpenResult::BadPassword;

    if (deflated_) {
        auto* stream = new z_stream{};
        if (inflateInit2(stream, -MAX_WBITS) != Z_OK) {
            delete stream;
            return OpenResult::Failed;
        }
        inflater_ = stream;
    }
    input_.reserve(InputChunk);
    return OpenResult::Opened;
}

int ZipEntryReader::read(char* buffer, int size)
{
    if (!encrypted_)
        return unzReadCurrentFile(zip_, buffer, unsigned(size));
    const int produced = readEncrypted(buffer, size);
    finished_ = finished_ || produced == 0;
    if (produced > 0) {
        crc_ = quint32(crc32(crc_, reinterpret_cast<const Bytef*>(buffer), uInt(produced)));
        produced_ += quint64(produced);
    }
    return produced;
}

int ZipEntryReader::readEncrypted(char* buffer, int size)
{
    auto fill = [&]() -> int {
        input_.resize(InputChunk);
        const int got = unzReadCurrentFile(zip_, input_.data(), InputChunk);
        if (got < 0)
            return got;
        input_.resize(size_t(got));
        crypto_->decrypt(input_.data(), got);
        inputDone_ = got == 0;
        return got;
    };
    if (!deflated_) {
        const int got = unzReadCurrentFile(zip_, buffer, unsigned(size));
        if (got > 0)
            crypto_->decrypt(buffer, got);
        return got;
    }
    auto* stream = static_cast<z_stream*>(inflater_);
    stream->next_out = reinterpret_cast<Bytef*>(buffer);
    stream->avail_out = uInt(size);
    while (stream->avail_out == uInt(size) && !streamEnded_) {
        if (stream->avail_in == 0) {
            if (inputDone_)
                return Z_DATA_ERROR; // the data ended before the stream did
            const int got = fill();
            if (got < 0)
                return got;
            stream->next_in = reinterpret_cast<Bytef*>(input_.data());
            stream->avail_in = uInt(input_.size());
            if (got == 0)
                continue;
        }
        const int status = inflate(stream, Z_NO_FLUSH);
        if (status == Z_STREAM_END)
            streamEnded_ = true;
        else if (status != Z_OK)
            return status < 0 ? status : Z_DATA_ERROR;
    }
    return size - int(stream->avail_out);
}

bool ZipEntryReader::close()
{
    if (!opened_)
        return true;
    opened_ = false;
    if (inflater_) {
        inflateEnd(static_cast<z_stream*>(inflater_));
        delete static_cast<z_stream*>(inflater_);
        inflater_ = nullptr;
    }
    const int closed = unzCloseCurrentFile(zip_);
    if (!encrypted_)
        return closed != UNZ_CRCERROR;
    return !finished_ || (crc_ == info_.crc && produced_ == info_.uncompressedSize);
}
