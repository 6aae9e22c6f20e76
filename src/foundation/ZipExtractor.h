#pragma once

#include "foundation/SSZipArchive.h"

#include <QDateTime>

#include <vector>

class ContainedFolder;
class ZipEntryName;
class ZipEntryReader;

// One unzip, nested archives included: walks the entries of an archive and writes them below a destination.
// The budget of bytes and entries is shared by the nested archives it unpacks.
class ZipExtractor {
public:
    ZipExtractor(const SSZipArchive::UnzipOptions& options, SSZipArchive::ProgressHandler progress);

    bool run(const QString& path, const QString& destination, pt::Error* error);
    // False when the archive could not be opened or holds no entry.
    bool reachedEntries() const { return reachedEntries_; }

    // The local wall-clock time of an MS-DOS date and time (date in the high 16 bits).
    static QDateTime dateWithMSDOSFormat(quint32 value);

private:
    struct Remembered {
        QString path;
        quint32 dosDate;
    };
    enum class Step { Next, Written, Skipped, Stop };

    bool unzip(const QString& path, const QString& destination, int depth, pt::Error* error);
    bool checkNames(void* zip, pt::Error* error);
    // Creates what the entry stands for below the folder: Written for a file, Skipped for an existing file
    // with overwrite off.
    Step placeEntry(ZipEntryReader& reader, ContainedFolder& folder, const ZipEntryName& entry, const QString& fullPath,
                    const SSZipEntryInfo& info, std::vector<Remembered>* folders, pt::Error* error);
    Step writeFileEntry(ZipEntryReader& reader, int folderFd, const QString& leaf, const QString& fullPath,
                        const SSZipEntryInfo& info, pt::Error* error);
    void unzipNested(const QString& fullPath, int depth, pt::Error* error);

    SSZipArchive::UnzipOptions options_;
    SSZipArchive::ProgressHandler progress_;
    qint64 bytesWritten_ = 0;
    qint64 entriesSeen_ = 0;
    bool cancelled_ = false;
    bool reachedEntries_ = false;
};
