#pragma once

#include "foundation/SSZipEntryInfo.h"
#include "platform/runtime/Error.h"

#include <QString>
#include <QStringList>

#include <functional>

class SSZipArchiveDelegate;

// Reading and writing zip archives (minizip). Archives come from outside, so unzipping is hardened: names that
// are absolute or climb out with ".." refuse the whole archive before anything is written; symbolic-link
// entries are not created; nothing is written through a symbolic link; modes are masked to 0777; nested
// archives unpack at most two levels deep, into the folder that holds them and in their place (one whose
// contents cannot all join that folder stays packed); total output and entry count are capped; a short read,
// a bad CRC or a short write fails the unzip. Extraction is not transactional: files finished before a failure
// stay (a file cut short by it is removed).
class SSZipArchive {
public:
    static inline const QString ErrorDomain = QStringLiteral("SSZipArchiveErrorDomain");
    // Errors of the operating system (code = errno; 28 is no space left).
    static inline const QString POSIXErrorDomain = QStringLiteral("PTPOSIXErrorDomain");
    enum ErrorCode {
        ErrorFailedOpenZipFile = -1,     // "failed to open zip file"
        ErrorFailedOpenFileInZip = -2,   // "failed to open first file in zip file" / "failed to open file in zip file"
        ErrorFileInfoNotLoadable = -3,   // "failed to retrieve info for file" / "crc check failed for file"
        ErrorFileContentNotReadable = -4, // "failed to read contents of file entry"
        ErrorUnsafeEntry = -5,           // a name or a link that would reach outside the destination
        ErrorArchiveTooLarge = -6,       // output or entry count over the limit
        ErrorFailedWriteFile = -7,       // an output file or folder could not be made or written
    };

    // (entry name, entry information, entry number from 1, entry count)
    using ProgressHandler = std::function<void(const QString&, const SSZipEntryInfo&, qint64, qint64)>;
    // (archive path, or empty when it could not be opened or holds no entry; succeeded; error or a null error)
    using CompletionHandler = std::function<void(const QString&, bool, const pt::Error&)>;
    // (items done, items in all)
    using WriteProgressHandler = std::function<void(quint64, quint64)>;

    struct UnzipOptions {
        bool preserveAttributes = true; // entry dates and masked modes
        bool overwrite = true;          // off: existing files are left and their entries skipped
        QByteArray password;            // for entries under the traditional zip encryption; empty: none
        SSZipArchiveDelegate* delegate = nullptr;
        qint64 maxTotalBytes = qint64(4) << 30; // over all nested archives too
        qint64 maxEntries = 200000;
        int maxNestingDepth = 2;
    };

    // Unpacks the archive into the destination folder (created when missing) on the calling thread; progress
    // and completion run on this thread before it returns. The error, when asked for, is null on success.
    static bool unzipFileAtPath(const QString& path, const QString& destination, const UnzipOptions& options,
                                pt::Error* error = nullptr, const ProgressHandler& progress = {},
                                const CompletionHandler& completion = {});
    static bool unzipFileAtPath(const QString& path, const QString& destination);
    static bool unzipFileAtPath(const QString& path, const QString& destination, const ProgressHandler& progress,
                                const CompletionHandler& completion);
    // The same unzip on a worker thread; progress (at most ~30 reports a second, always the last entry) and the
    // completion arrive on the main queue.
    static void unzipFileAtPathInBackground(const QString& path, const QString& destination,
                                            const UnzipOptions& options, ProgressHandler progress,
                                            CompletionHandler completion);

    // True when some entry is encrypted. Without the right password the unzip fails at such an entry with
    // "failed to open file in zip file".
    static bool isFilePasswordProtectedAtPath(const QString& path);
    // True when the password opens the first encrypted entry, checked to its CRC (or there is none); false
    // without an error for a wrong password, with one when the archive cannot be read.
    static bool isPasswordValidForArchiveAtPath(const QString& path, const QByteArray& password,
                                                pt::Error* error = nullptr);

    // Writing: a new archive at the path, entries added between open() and close(), made on UNIX (so modes
    // carry over). With a password an entry gets the traditional zip encryption.
    explicit SSZipArchive(const QString& path);
    ~SSZipArchive();
    SSZipArchive(const SSZipArchive&) = delete;
    SSZipArchive& operator=(const SSZipArchive&) = delete;

    bool open();
    // The file under its own name, or under fileName when given, with its date and mode.
    bool writeFile(const QString& path, const QByteArray& password = {});
    bool writeFileAtPath(const QString& path, const QString& fileName, const QByteArray& password = {});
    // An empty folder entry "folderName/" with the folder's date and mode.
    bool writeFolderAtPath(const QString& path, const QString& folderName, const QByteArray& password = {});
    bool writeData(const QByteArray& data, const QString& fileName, const QByteArray& password = {});
    bool close();

    static bool createZipFileAtPath(const QString& path, const QStringList& files, const QByteArray& password = {});
    // Every file below the folder under its relative path (prefixed with the folder's name when keepParent);
    // empty folders keep an entry of their own.
    static bool createZipFileAtPath(const QString& path, const QString& directory, bool keepParent = false,
                                    const QByteArray& password = {}, const WriteProgressHandler& progress = {});

private:
    bool writeEntry(const QString& name, const QByteArray& data, qint64 modified, quint32 mode,
                    const QByteArray& password, int level);
    bool writeChunks(const QByteArray& data);

    QString path_;
    void* zip_ = nullptr;
};
