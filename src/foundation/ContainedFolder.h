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

    // Opens the folder at the parts below the root, creating missing ones: a descriptor that stays valid until
    // the next call, or -1 with errno set (ELOOP when a part is a symbolic link, ENOTDIR when it is a file).
    // Archives list a folder's entries together, so the last folder is kept open for the next entry.
    int openFolder(const QStringList& parts);

private:
    void closeLast();

    QString path_;
    int fd_ = -1;
    QStringList lastParts_;
    int lastFd_ = -1;
};
