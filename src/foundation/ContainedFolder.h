#pragma once

#include <QStringList>

// A destination folder that is written into without ever leaving it: each path part below it is created and
// opened relative to its parent, never following a symbolic link, so a link planted in the destination cannot
// redirect a write.
class ContainedFolder {
public:
    ContainedFolder() = default;
    ~ContainedFolder();
    ContainedFolder(const ContainedFolder&) = delete;
    ContainedFolder& operator=(const ContainedFolder&) = delete;

    // Creates the folder (with its parents) and opens it; false with errno set when that fails.
    bool open(const QString& path);
    const QString& path() const { return path_; }

    // Opens the folder at the parts below the root, creating missing ones: a descriptor the caller closes, or
    // -1 with errno set (ELOOP when a part is a symbolic link, ENOTDIR when it is a file).
    int openFolder(const QStringList& parts) const;

private:
    QString path_;
    int fd_ = -1;
};
