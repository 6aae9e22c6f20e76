#include "transfer/import/PTImportFolderListing.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

PTImportFolderListing::PTImportFolderListing(const QString& folder)
{
    DIR* dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return;
    const QDir parent(folder);
    while (const dirent* entry = ::readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
            continue;
        const QByteArray bytes(entry->d_name);
        const QString name = QFile::decodeName(bytes);
        bool isFolder = entry->d_type == DT_DIR;
        // Links and file systems that give no type are asked about the target.
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat status;
            isFolder = ::fstatat(::dirfd(dir), entry->d_name, &status, 0) == 0 && S_ISDIR(status.st_mode);
        }
        (QFile::encodeName(name) == bytes ? entries_ : undecodable_).append({name, parent.filePath(name), isFolder});
    }
    ::closedir(dir);
    const auto byName = [](const Entry& a, const Entry& b) { return a.name < b.name; };
    std::sort(entries_.begin(), entries_.end(), byName);
    std::sort(undecodable_.begin(), undecodable_.end(), byName);
}
