#include "foundation/SSZipArchive.h"

#include "foundation/ZipCrypto.h"
#include "foundation/ZipEntryReader.h"
#include "foundation/ZipExtractor.h"
#include "platform/runtime/DispatchQueue.h"
#include "platform/runtime/Logging.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <minizip/unzip.h>
#include <minizip/zip.h>
#include <zlib.h>

#include <sys/stat.h>

#include <optional>
#include <vector>

namespace {

constexpr int CopyChunk = 16384;
constexpr int ProgressIntervalMs = 33;
constexpr quint32 RegularFileType = 0100000;
constexpr quint32 FolderType = 0040000;
constexpr uLong UnixMadeBy = 3 << 8 | 30; // UNIX, zip format version 3.0
constexpr uLong EncryptedFlag = 1;

zip_fileinfo fileInfo(const QDateTime& modified, quint32 mode)
{
    zip_fileinfo info{};
    const QDateTime local = modified.toLocalTime();
    info.tmz_date.tm_sec = uInt(local.time().second());
    info.tmz_date.tm_min = uInt(local.time().minute());
    info.tmz_date.tm_hour = uInt(local.time().hour());
    info.tmz_date.tm_mday = uInt(local.date().day());
    info.tmz_date.tm_mon = uInt(local.date().month() - 1);
    info.tmz_date.tm_year = uInt(local.date().year());
    info.external_fa = uLong(mode) << 16;
    return info;
}

// Raw deflate of the whole block, for entries that minizip is handed already compressed.
std::optional<QByteArray> rawDeflate(const QByteArray& data, int level)
{
    z_stream stream{};
    if (deflateInit2(&stream, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return std::nullopt;
    QByteArray output(qsizetype(deflateBound(&stream, uLong(data.size()))), Qt::Uninitialized);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
    stream.avail_in = uInt(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(output.data());
    stream.avail_out = uInt(output.size());
    const int status = deflate(&stream, Z_FINISH);
    output.resize(qsizetype(stream.total_out));
    if (deflateEnd(&stream) != Z_OK || status != Z_STREAM_END)
        return std::nullopt;
    return output;
}

quint32 permissionsOf(const QString& path)
{
    struct stat status;
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? quint32(status.st_mode & 0777) : 0644;
}

} // namespace

bool SSZipArchive::unzipFileAtPath(const QString& path, const QString& destination, const UnzipOptions& options,
                                   pt::Error* error, const ProgressHandler& progress,
                                   const CompletionHandler& completion)
{
    ZipExtractor extractor(options, progress);
    pt::Error failure;
    const bool success = extractor.run(path, destination, &failure);
    if (error)
        *error = failure;
    if (!success && failure.isNull())
        qCInfo(lcFoundation) << "[SSZipArchive] Unzip of" << path << "stopped by its delegate";
    else if (!success)
        qCWarning(lcFoundation) << "[SSZipArchive] Unzip of" << path << "failed:" << failure.toString();
    if (completion)
        completion(extractor.reachedEntries() ? path : QString(), success, failure);
    return success;
}

bool SSZipArchive::unzipFileAtPath(const QString& path, const QString& destination)
{
    return unzipFileAtPath(path, destination, UnzipOptions());
}

bool SSZipArchive::unzipFileAtPath(const QString& path, const QString& destination, const ProgressHandler& progress,
                                   const CompletionHandler& completion)
{
    return unzipFileAtPath(path, destination, UnzipOptions(), nullptr, progress, completion);
}

void SSZipArchive::unzipFileAtPathInBackground(const QString& path, const QString& destination,
                                               const UnzipOptions& options, ProgressHandler progress,
                                               CompletionHandler completion)
{
    pt::DispatchQueue::global(pt::QueuePriority::High).async([=] {
        // Reports reach the main queue at most every 33 ms; the last entry always does.
        QElapsedTimer clock;
        clock.start();
        bool first = true;
        ProgressHandler throttled;
        if (progress) {
            throttled = [&](const QString& name, const SSZipEntryInfo& info, qint64 number, qint64 total) {
                if (!first && number != total && clock.elapsed() < ProgressIntervalMs)
                    return;
                first = false;
                clock.restart();
                pt::DispatchQueue::main().async([=] { progress(name, info, number, total); });
            };
        }
        CompletionHandler deliver;
        if (completion) {
            deliver = [&](const QString& archive, bool succeeded, const pt::Error& error) {
                pt::DispatchQueue::main().async([=] { completion(archive, succeeded, error); });
            };
        }
        unzipFileAtPath(path, destination, options, nullptr, throttled, deliver);
    });
}

bool SSZipArchive::isFilePasswordProtectedAtPath(const QString& path)
{
    unzFile zip = unzOpen64(QFile::encodeName(path).constData());
    if (!zip)
        return false;
    bool encrypted = false;
    for (int rc = unzGoToFirstFile(zip); rc == UNZ_OK && !encrypted; rc = unzGoToNextFile(zip)) {
        unz_file_info64 info{};
        if (unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
            break;
        encrypted = info.flag & 1;
    }
    unzClose(zip);
    return encrypted;
}

bool SSZipArchive::isPasswordValidForArchiveAtPath(const QString& path, const QByteArray& password, pt::Error* error)
{
    if (error)
        *error = pt::Error();
    unzFile zip = unzOpen64(QFile::encodeName(path).constData());
    auto answer = [&](bool valid, int code, const char* text) {
        if (error && code != 0)
            *error = pt::Error::withDescription(ErrorDomain, code, QString::fromLatin1(text));
        if (zip)
            unzClose(zip);
        return valid;
    };
    if (!zip)
        return answer(false, ErrorFailedOpenZipFile, "failed to open zip file");
    for (int rc = unzGoToFirstFile(zip); rc == UNZ_OK; rc = unzGoToNextFile(zip)) {
        SSZipEntryInfo info;
        QByteArray name;
        if (!ZipEntryReader::currentEntry(zip, &info, &name))
            return answer(false, ErrorFileInfoNotLoadable, "failed to retrieve info for file");
        if (!info.isEncrypted())
            continue;
        ZipEntryReader reader(zip, info, password);
        const ZipEntryReader::OpenResult opened = reader.open();
        if (opened == ZipEntryReader::OpenResult::BadPassword)
            return answer(false, 0, nullptr);
        if (opened == ZipEntryReader::OpenResult::Failed)
            return answer(false, ErrorFailedOpenFileInZip, "failed to open first file in zip file");
        // The header check lets one wrong password in 256 through; the entry's CRC settles it.
        std::vector<char> buffer(64 * 1024);
        int read = 0;
        while ((read = reader.read(buffer.data(), int(buffer.size()))) > 0) {
        }
        const bool intact = reader.close();
        if (read == 0)
            return answer(intact, 0, nullptr);
        if (read == Z_DATA_ERROR)
            return answer(false, 0, nullptr);
        return answer(false, ErrorFileContentNotReadable, "failed to read contents of file entry");
    }
    return answer(true, 0, nullptr);
}

SSZipArchive::SSZipArchive(const QString& path) : path_(path) {}

SSZipArchive::~SSZipArchive()
{
    if (zip_)
        close();
}

bool SSZipArchive::open()
{
    zip_ = zipOpen64(QFile::encodeName(path_).constData(), APPEND_STATUS_CREATE);
    return zip_ != nullptr;
}

bool SSZipArchive::close()
{
    if (!zip_)
        return false;
    const bool closed = zipClose(zip_, nullptr) == ZIP_OK;
    zip_ = nullptr;
    return closed;
}

bool SSZipArchive::writeChunks(const QByteArray& data)
{
    for (qint64 offset = 0; offset < data.size(); offset += CopyChunk) {
        const qint64 chunk = std::min<qint64>(CopyChunk, data.size() - offset);
        if (zipWriteInFileInZip(zip_, data.constData() + offset, unsigned(chunk)) != ZIP_OK)
            return false;
    }
    return true;
}

bool SSZipArchive::writeEntry(const QString& name, const QByteArray& data, qint64 modified, quint32 mode,
                              const QByteArray& password, int level)
{
    if (!zip_)
        return false;
    const zip_fileinfo info = fileInfo(QDateTime::fromSecsSinceEpoch(modified), mode);
    const QByteArray entryName = name.toUtf8();
    const int zip64 = data.size() >= 0xffffffffLL ? 1 : 0;
    if (password.isEmpty()) {
        return zipOpenNewFileInZip4_64(zip_, entryName.constData(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                                       level, 0, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY, nullptr, 0, UnixMadeBy, 0, zip64)
                == ZIP_OK
            && writeChunks(data) && zipCloseFileInZip(zip_) == ZIP_OK;
    }
    // The system's minizip cannot encrypt: deflate and encrypt here and hand minizip the finished bytes.
    const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(data.constData()), uInt(data.size()));
    const std::optional<QByteArray> compressed = rawDeflate(data, level);
    if (!compressed)
        return false;
    ZipCrypto crypto(password);
    QByteArray body = crypto.makeHeader(quint8(crc >> 24));
    const qsizetype headerSize = body.size();
    body += *compressed;
    crypto.encrypt(body.data() + headerSize, body.size() - headerSize);
    return zipOpenNewFileInZip4_64(zip_, entryName.constData(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                                   level, 1, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY, nullptr, 0, UnixMadeBy, EncryptedFlag,
                                   zip64)
            == ZIP_OK
        && writeChunks(body) && zipCloseFileInZipRaw64(zip_, ZPOS64_T(data.size()), crc) == ZIP_OK;
}

bool SSZipArchive::writeFile(const QString& path, const QByteArray& password)
{
    return writeFileAtPath(path, QString(), password);
}

bool SSZipArchive::writeFileAtPath(const QString& path, const QString& fileName, const QByteArray& password)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    const QFileInfo info(path);
    return writeEntry(fileName.isNull() ? info.fileName() : fileName, data, info.lastModified().toSecsSinceEpoch(),
                      RegularFileType | permissionsOf(path), password, Z_DEFAULT_COMPRESSION);
}

bool SSZipArchive::writeFolderAtPath(const QString& path, const QString& folderName, const QByteArray& password)
{
    const QFileInfo info(path);
    return writeEntry(folderName + u'/', QByteArray(), info.lastModified().toSecsSinceEpoch(),
                      FolderType | permissionsOf(path), password, Z_NO_COMPRESSION);
}

bool SSZipArchive::writeData(const QByteArray& data, const QString& fileName, const QByteArray& password)
{
    return writeEntry(fileName, data, QDateTime::currentSecsSinceEpoch(), RegularFileType | 0644, password,
                      Z_DEFAULT_COMPRESSION);
}

bool SSZipArchive::createZipFileAtPath(const QString& path, const QStringList& files, const QByteArray& password)
{
    SSZipArchive archive(path);
    if (!archive.open())
        return false;
    bool written = true;
    for (const QString& file : files)
        written = archive.writeFile(file, password) && written;
    return archive.close() && written;
}

bool SSZipArchive::createZipFileAtPath(const QString& path, const QString& directory, bool keepParent,
                                       const QByteArray& password, const WriteProgressHandler& progress)
{
    SSZipArchive archive(path);
    if (!archive.open())
        return false;
    const QDir root(directory);
    const QString prefix = keepParent ? root.dirName() + u'/' : QString();
    QStringList items;
    QDirIterator it(directory, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        items.append(it.next());
    items.sort();
    bool written = true;
    quint64 done = 0;
    for (const QString& item : items) {
        const QFileInfo info(item);
        const QString name = prefix + root.relativeFilePath(item);
        if (info.isDir() && !info.isSymLink()) {
            if (QDir(item).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
                written = archive.writeFolderAtPath(item, name, password) && written;
        } else {
            written = archive.writeFileAtPath(item, name, password) && written;
        }
        if (progress)
            progress(++done, quint64(items.size()));
    }
    return archive.close() && written;
}
