#pragma once

#include <QList>
#include <QStringList>
#include <QUrl>

#include <functional>

// Sizes of files and folder trees in bytes of content. Links count as themselves and are never followed into,
// so a cycle of links cannot make a walk endless; what cannot be read counts 0.
namespace folderSize {

using SizeCallback = std::function<void(quint64)>;

// A file's size, or the sum over everything below a folder.
quint64 sizeOfFileWithURL(const QUrl& url);
// The sum over the URLs, computed on a worker; the callback runs on the main queue.
void sizeOfFilesWithURLs(const QList<QUrl>& urls, SizeCallback callback);

// The sum over a folder's contents (a path that is not a listable folder counts 0).
quint64 sizeOfFolderAtPath(const QString& path);
void sizeOfFolderAtPath(const QString& path, SizeCallback callback);
quint64 sizeOfFoldersAtPaths(const QStringList& paths);
// The folders are measured in parallel; the callback runs on the main queue with the total.
void sizeOfFoldersAtPaths(const QStringList& paths, SizeCallback callback);

} // namespace folderSize
