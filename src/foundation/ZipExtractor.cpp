#include "foundation/ZipExtractor.h"

#include "foundation/ContainedFolder.h"
#include "foundation/SSZipArchiveDelegate.h"
#include "foundation/SystemError.h"
#include "foundation/ZipEntryName.h"
#include "foundation/ZipEntryReader.h"
#include "platform/runtime/Logging.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <minizip/unzip.h>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int ChunkSize = 64 * 1024;

pt::Error zipError(int code, const QString& text, const QString& entry = {})
{
    pt::Error error = pt::Error::withDescription(SSZipArchive::ErrorDomain, code, text);
    if (!entry.isEmpty())
        error.userInfo.insert(pt::Error::FilePathKey, entry);
    return error;
}

// A failed open or write: no space is the operating system's error 28, a link in the way is a refusal, the
// rest is a failed write.
pt::Error writeError(int errorNumber, const QString& path)
{
    if (errorNumber == ENOSPC) {
        return systemError(SSZipArchive::POSIXErrorDomain, ENOSPC, path);
    }
    if (errorNumber == ELOOP)
        return zipError(SSZipArchive::ErrorUnsafeEntry, QStringLiteral("Refused to write through a symbolic link"),
                        path);
    return zipError(SSZipArchive::ErrorFailedWriteFile,
                    QStringLiteral("failed to write file: %1").arg(QString::fromLocal8Bit(std::strerror(errorNumber))),
                    path);
}

enum class Join { Joined, Refused, Broken };

struct Archive {
    explicit Archive(const QString& path) : handle(unzOpen64(QFile::encodeName(path).constData())) {}
    ~Archive()
    {
        if (handle)
            unzClose(handle);
    }
    unzFile handle;
};

// minizip cannot open an archive whose end record is its first byte, which is what an empty archive is; it
// is still an archive, only without a first entry.
bool isEmptyArchive(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.size() >= 22 && file.read(4) == QByteArray("PK\x05\x06", 4);
}

bool writeAll(int fd, const char* data, qint64 size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size_t(size));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}

bool dosTime(quint32 dosDate, timespec* time)
{
    const QDateTime date = ZipExtractor::dateWithMSDOSFormat(dosDate);
    if (!date.isValid())
        return false;
    time->tv_sec = date.toSecsSinceEpoch();
    time->tv_nsec = 0;
    return true;
}

// Moves every entry of the folder `from` into the folder `to`, joining folders both hold; a file already there is
// replaced when overwriting and kept otherwise. With `check` nothing moves: it answers whether everything
// could, counting the entry named `absent` as not there. False with errno set at an entry that cannot join: a
// file and a folder of one name, or a symbolic link in the way (ELOOP).
bool moveEntries(int from, int to, bool overwrite, bool check, const QByteArray& absent = {})
{
    // Listed first: entries leave the folder while it is walked.
    std::vector<QByteArray> names;
    DIR* dir = ::fdopendir(::fcntl(from, F_DUPFD_CLOEXEC, 0));
    if (!dir)
        return false;
    ::rewinddir(dir);
    while (const dirent* entry = ::readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            names.emplace_back(entry->d_name);
    }
    ::closedir(dir);
    for (const QByteArray& name : names) {
        struct stat mine;
        struct stat there;
        if (::fstatat(from, name.constData(), &mine, AT_SYMLINK_NOFOLLOW) != 0)
            return false;
        if (name == absent || ::fstatat(to, name.constData(), &there, AT_SYMLINK_NOFOLLOW) != 0) {
            if (name != absent && errno != ENOENT)
                return false;
            if (!check && ::renameat(from, name.constData(), to, name.constData()) != 0)
                return false;
        } else if (S_ISLNK(there.st_mode)) {
            errno = ELOOP;
            return false;
        } else if (S_ISDIR(mine.st_mode) != S_ISDIR(there.st_mode)) {
            errno = S_ISDIR(there.st_mode) ? EISDIR : ENOTDIR;
            return false;
        } else if (S_ISDIR(mine.st_mode)) {
            const int flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
            const int innerFrom = ::openat(from, name.constData(), flags);
            const int innerTo = ::openat(to, name.constData(), flags);
            const bool moved = innerFrom >= 0 && innerTo >= 0 && moveEntries(innerFrom, innerTo, overwrite, check);
            const int saved = errno;
            for (const int fd : {innerFrom, innerTo})
                if (fd >= 0)
                    ::close(fd);
            errno = saved;
            if (!moved)
                return false;
        } else if (overwrite && !check && ::renameat(from, name.constData(), to, name.constData()) != 0) {
            return false;
        }
    }
    return true;
}

// Moves what a nested archive unpacked into the fresh folder to the archive's own folder, in the archive's
// place: Refused (errno set) leaves the archive and moves nothing, Broken (errno set) when the archive is gone
// but not all of it moved.
Join joinArchiveFolder(const QString& fresh, const QFileInfo& archive, bool overwrite)
{
    const int from = ::open(QFile::encodeName(fresh).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const int to = ::open(QFile::encodeName(archive.path()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    Join joined = Join::Refused;
    if (from >= 0 && to >= 0 && moveEntries(from, to, overwrite, true, QFile::encodeName(archive.fileName()))
        && ::unlink(QFile::encodeName(archive.filePath()).constData()) == 0) {
        joined = moveEntries(from, to, overwrite, false) ? Join::Joined : Join::Broken;
    }
    const int saved = errno;
    for (const int fd : {from, to})
        if (fd >= 0)
            ::close(fd);
    errno = saved;
    return joined;
}

} // namespace

ZipExtractor::ZipExtractor(const SSZipArchive::UnzipOptions& options, SSZipArchive::ProgressHandler progress)
    : options_(options), progress_(std::move(progress))
{
}

QDateTime ZipExtractor::dateWithMSDOSFormat(quint32 value)
{
    const QDate date(int(value >> 25) + 1980, int((value >> 21) & 15), int((value >> 16) & 31));
    const QTime time(int((value >> 11) & 31), int((value >> 5) & 63), int(value & 31) * 2);
    return QDateTime(date, time, Qt::LocalTime);
}

bool ZipExtractor::run(const QString& path, const QString& destination, pt::Error* error)
{
    cancelled_ = false;
    reachedEntries_ = false;
    return unzip(path, destination, 0, error);
}

bool ZipExtractor::checkNames(void* zip, pt::Error* error)
{
    qint64 declared = 0;
    SSZipEntryInfo info;
    QByteArray raw;
    for (int rc = unzGoToFirstFile(zip); rc == UNZ_OK; rc = unzGoToNextFile(zip)) {
        if (!ZipEntryReader::currentEntry(zip, &info, &raw)) {
            *error = zipError(SSZipArchive::ErrorFileInfoNotLoadable, QStringLiteral("failed to retrieve info for file"));
            return false;
        }
        const ZipEntryName name(raw);
        if (name.isUnsafe()) {
            *error = zipError(SSZipArchive::ErrorUnsafeEntry,
                              QStringLiteral("Refused an entry outside the destination: %1").arg(name.name()),
                              name.name());
            return false;
        }
        // Counted entry by entry: the archive's own total may lie.
        ++entriesSeen_;
        declared += qint64(std::min<quint64>(info.uncompressedSize, quint64(options_.maxTotalBytes) + 1));
        if (bytesWritten_ + declared > options_.maxTotalBytes || entriesSeen_ > options_.maxEntries) {
            *error = zipError(SSZipArchive::ErrorArchiveTooLarge, QStringLiteral("the archive is too large to unpack"));
            return false;
        }
    }
    return true;
}

bool ZipExtractor::unzip(const QString& path, const QString& destination, int depth, pt::Error* error)
{
    pt::Error failure;
    auto finish = [&](bool success) {
        if (error)
            *error = success ? pt::Error() : failure;
        return success;
    };
    Archive archive(path);
    unzFile zip = archive.handle;
    unz_global_info64 global{};
    if (!zip || unzGetGlobalInfo64(zip, &global) != UNZ_OK) {
        failure = isEmptyArchive(path)
            ? zipError(SSZipArchive::ErrorFailedOpenFileInZip, QStringLiteral("failed to open first file in zip file"))
            : zipError(SSZipArchive::ErrorFailedOpenZipFile, QStringLiteral("failed to open zip file"));
        return finish(false);
    }
    const quint64 archiveSize = quint64(std::max<qint64>(0, QFileInfo(path).size()));
    const SSZipArchiveInfo archiveInfo{global.number_entry};
    const qint64 total = qint64(global.number_entry);
    if (unzGoToFirstFile(zip) != UNZ_OK) {
        failure = zipError(SSZipArchive::ErrorFailedOpenFileInZip,
                           QStringLiteral("failed to open first file in zip file"));
        return finish(false);
    }
    if (depth == 0)
        reachedEntries_ = true;
    // Names are checked before anything is written, so a hostile archive leaves no trace.
    if (!checkNames(zip, &failure) || unzGoToFirstFile(zip) != UNZ_OK)
        return finish(false);
    ContainedFolder folder;
    if (!folder.open(destination)) {
        failure = writeError(errno, destination);
        return finish(false);
    }

    SSZipArchiveDelegate* delegate = depth == 0 ? options_.delegate : nullptr;
    if (delegate) {
        delegate->zipArchiveWillUnzipArchiveAtPath(path, archiveInfo);
        delegate->zipArchiveProgressEvent(0, archiveSize);
    }
    bool success = true;
    qint64 counter = 0;
    quint64 position = 0;
    std::vector<Remembered> folders;
    for (;;) {
        SSZipEntryInfo info;
        QByteArray raw;
        if (!ZipEntryReader::currentEntry(zip, &info, &raw)) {
            failure = zipError(SSZipArchive::ErrorFileInfoNotLoadable, QStringLiteral("failed to retrieve info for file"));
            success = false;
            break;
        }
        ZipEntryReader reader(zip, info, options_.password);
        if (reader.open() != ZipEntryReader::OpenResult::Opened) {
            failure = zipError(SSZipArchive::ErrorFailedOpenFileInZip, QStringLiteral("failed to open file in zip file"));
            success = false;
            break;
        }
        position += info.compressedSize;
        // Asked inside nested archives too, so that a large one never holds up a stop.
        if (options_.delegate && !options_.delegate->zipArchiveShouldUnzipFileAtIndex(counter, total, path, info)) {
            success = false;
            cancelled_ = true;
            break;
        }
        if (delegate) {
            delegate->zipArchiveWillUnzipFileAtIndex(counter, total, path, info);
            delegate->zipArchiveProgressEvent(position, archiveSize);
        }

        const ZipEntryName entry(raw);
        const QString fullPath =
            entry.components().isEmpty() ? folder.path() : folder.path() + u'/' + entry.relativePath();
        const Step step = placeEntry(reader, folder, entry, fullPath, info, &folders, &failure);
        const bool intact = reader.close();
        if (step == Step::Stop) {
            success = false;
            break;
        }
        if (step == Step::Skipped) {
            if (unzGoToNextFile(zip) != UNZ_OK)
                break;
            continue;
        }
        if (!intact) {
            if (step == Step::Written)
                QFile::remove(fullPath); // damaged content must not pass for an icon
            failure = zipError(SSZipArchive::ErrorFileInfoNotLoadable, QStringLiteral("crc check failed for file"),
                               entry.name());
            success = false;
            break;
        }
        // Only an archive that arrived whole is opened in turn.
        if (step == Step::Written && fullPath.endsWith(QLatin1String(".zip"), Qt::CaseInsensitive)) {
            unzipNested(fullPath, depth, &failure);
            if (!failure.isNull() || cancelled_) {
                success = false;
                break;
            }
        }
        const int next = unzGoToNextFile(zip);
        if (delegate)
            delegate->zipArchiveDidUnzipFileAtIndex(counter, total, path, info, fullPath);
        ++counter;
        if (progress_ && depth == 0)
            progress_(entry.name(), info, counter, total);
        if (next != UNZ_OK)
            break;
    }

    if (success && options_.preserveAttributes) {
        for (const Remembered& remembered : folders) {
            timespec times[2] = {{0, UTIME_OMIT}, {}};
            if (!dosTime(remembered.dosDate, &times[1]))
                continue;
            if (::utimensat(AT_FDCWD, QFile::encodeName(remembered.path).constData(), times, AT_SYMLINK_NOFOLLOW) != 0)
                qCWarning(lcFoundation) << "[SSZipArchive] Set attributes failed for directory:" << remembered.path;
        }
    }
    if (delegate) {
        if (success)
            delegate->zipArchiveDidUnzipArchiveAtPath(path, archiveInfo, destination);
        if (!cancelled_)
            delegate->zipArchiveProgressEvent(archiveSize, archiveSize);
    }
    return finish(success);
}

ZipExtractor::Step ZipExtractor::placeEntry(ZipEntryReader& reader, ContainedFolder& folder, const ZipEntryName& entry,
                                            const QString& fullPath, const SSZipEntryInfo& info,
                                            std::vector<Remembered>* folders, pt::Error* error)
{
    const QStringList& parts = entry.components();
    if (info.isSymbolicLink()) {
        // A link could point anywhere; icon sets need the files, not the links.
        qCWarning(lcFoundation) << "[SSZipArchive] Refused symbolic link entry" << entry.name();
        return Step::Next;
    }
    if (parts.isEmpty())
        return Step::Next; // the destination itself
    const int folderFd = folder.openFolder(entry.isFolder() ? parts : parts.mid(0, parts.size() - 1));
    if (folderFd < 0) {
        *error = writeError(errno, fullPath);
        return Step::Stop;
    }
    if (entry.isFolder()) {
        if (options_.preserveAttributes)
            folders->push_back({fullPath, info.dosDate});
        return Step::Next;
    }
    struct stat existing;
    if (!options_.overwrite
        && ::fstatat(folderFd, QFile::encodeName(parts.last()).constData(), &existing, AT_SYMLINK_NOFOLLOW) == 0) {
        return Step::Skipped;
    }
    return writeFileEntry(reader, folderFd, parts.last(), fullPath, info, error);
}

ZipExtractor::Step ZipExtractor::writeFileEntry(ZipEntryReader& reader, int folderFd, const QString& leaf, const QString& fullPath,
                                                const SSZipEntryInfo& info, pt::Error* error)
{
    std::vector<char> buffer(ChunkSize);
    int read = reader.read(buffer.data(), ChunkSize);
    if (read < 0) {
        *error = zipError(SSZipArchive::ErrorFileContentNotReadable, QStringLiteral("failed to read contents of file entry"),
                          fullPath);
        return Step::Stop;
    }
    const QByteArray name = QFile::encodeName(leaf);
    const int fd = ::openat(folderFd, name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        *error = writeError(errno, fullPath);
        return Step::Stop;
    }
    auto abandon = [&](const pt::Error& reason) {
        ::close(fd);
        ::unlinkat(folderFd, name.constData(), 0); // a partial file would pass for a broken icon
        *error = reason;
        return Step::Stop;
    };
    while (read > 0) {
        bytesWritten_ += read;
        if (bytesWritten_ > options_.maxTotalBytes)
            return abandon(zipError(SSZipArchive::ErrorArchiveTooLarge, QStringLiteral("the archive is too large to unpack"),
                                    fullPath));
        if (!writeAll(fd, buffer.data(), read))
            return abandon(writeError(errno, fullPath));
        read = reader.read(buffer.data(), ChunkSize);
    }
    if (read < 0)
        return abandon(zipError(SSZipArchive::ErrorFileContentNotReadable,
                                QStringLiteral("failed to read contents of file entry"), fullPath));
    if (options_.preserveAttributes) {
        const quint32 mode = info.externalAttributes >> 16;
        if (mode != 0 && ::fchmod(fd, mode & 0777) != 0)
            qCWarning(lcFoundation) << "[SSZipArchive] Failed to set attributes - whilst setting permissions";
        timespec times[2] = {{0, UTIME_OMIT}, {}};
        if (info.dosDate != 0 && dosTime(info.dosDate, &times[1]) && ::futimens(fd, times) != 0)
            qCWarning(lcFoundation) << "[SSZipArchive] Failed to set attributes - whilst setting modification date";
    }
    if (::close(fd) != 0) {
        ::unlinkat(folderFd, name.constData(), 0);
        *error = writeError(errno, fullPath);
        return Step::Stop;
    }
    return Step::Written;
}

void ZipExtractor::unzipNested(const QString& fullPath, int depth, pt::Error* error)
{
    if (depth + 1 > options_.maxNestingDepth) {
        qCInfo(lcFoundation) << "[SSZipArchive] Nested archive left packed, too deep:" << fullPath;
        return;
    }
    qCInfo(lcFoundation).noquote() << "Unzipping nested .zip file: " << QFileInfo(fullPath).fileName();
    // Unpacked into a fresh folder first: the archive may hold an entry under its own name, which must neither
    // be written over the archive while it is read nor be deleted in its place.
    const QFileInfo archive(fullPath);
    const QString fresh = archive.dir().filePath(
        QStringLiteral(".%1.%2").arg(archive.fileName(), QUuid::createUuid().toString(QUuid::Id128)));
    pt::Error nested;
    if (!unzip(fullPath, fresh, depth + 1, &nested)) {
        QDir(fresh).removeRecursively();
        if (nested.domain == SSZipArchive::ErrorDomain && nested.code == SSZipArchive::ErrorArchiveTooLarge)
            *error = nested; // the budget is shared: the outer unzip cannot go on either
        else if (!cancelled_)
            qCWarning(lcFoundation) << "[SSZipArchive] Nested archive left packed:" << fullPath << nested.toString();
        return;
    }
    const Join joined = joinArchiveFolder(fresh, archive, options_.overwrite);
    if (joined == Join::Broken) {
        *error = writeError(errno, fullPath); // what did not move stays in the fresh folder
        return;
    }
    if (joined == Join::Refused)
        qCWarning(lcFoundation) << "[SSZipArchive] Nested archive left packed:" << fullPath
                                << writeError(errno, fullPath).toString();
    QDir(fresh).removeRecursively();
}
