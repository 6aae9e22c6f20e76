#pragma once

#include <QString>
#include <QVector>

// The entries of one folder, read by their bytes. QDir leaves out names that are no valid UTF-8; here they come
// back apart, under a readable stand-in path, so that the import can tell about them instead of passing over them.
// Sorted by name, "." and ".." left out; empty for a folder that does not read. Safe from any thread.
class PTImportFolderListing {
public:
    struct Entry {
        QString name;
        QString path;
        // A folder, or a link to one.
        bool folder = false;
    };

    explicit PTImportFolderListing(const QString& folder);

    const QVector<Entry>& entries() const { return entries_; }
    // The names that do not decode, their bytes replaced: no file can be opened by these paths.
    const QVector<Entry>& undecodable() const { return undecodable_; }

private:
    QVector<Entry> entries_;
    QVector<Entry> undecodable_;
};
