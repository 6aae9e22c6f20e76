#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

// A set folder of a library package, opened without following links, and what the tidying of an interrupted
// import does in it, relative to it: a package from elsewhere may hold a set folder (or a sets folder) that is a
// link to the user's documents, and no removal may lead there. A folder that is a link is not opened at all.
class PackageSetFolder {
public:
    PackageSetFolder(const QString& libraryPath, const QString& name);
    ~PackageSetFolder();
    PackageSetFolder(const PackageSetFolder&) = delete;
    PackageSetFolder& operator=(const PackageSetFolder&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    // When the entry of that name in the folder last changed, the entry itself and not what a link names;
    // nothing when there is no such entry.
    std::optional<QDateTime> changeTime(const QString& fileName) const;
    bool remove(const QString& fileName) const;
    // Removes the folder itself when it is empty.
    bool removeIfEmpty() const;

private:
    QByteArray name_;
    int sets_ = -1;
    int fd_ = -1;
};
