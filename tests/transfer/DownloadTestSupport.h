#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

namespace pt::test {

// The download folders under the downloads folder, by name.
QStringList downloadFolders();
// The folder an unzip of a download writes into, once it holds its first entry; empty before.
QString unpackingFolder();
// A zip of `count` tiny files side by side, made in the test.
QByteArray zipWithManyEntries(int count);
// A zip of the entries, by name (as given, "../" and all) and contents.
QByteArray zipOf(const QList<std::pair<QString, QByteArray>>& entries);

// Counts what is created directly inside a folder from now on. The kernel keeps the count even after the folder
// is gone, so an unzip that went on writing after it was told to stop shows here.
class CreationCounter {
public:
    explicit CreationCounter(const QString& folder);
    ~CreationCounter();
    CreationCounter(const CreationCounter&) = delete;
    CreationCounter& operator=(const CreationCounter&) = delete;

    bool isWatching() const { return watch_ >= 0; }
    // Creations so far; a queue that overflowed counts as more than any test archive holds.
    qint64 count();

private:
    int fd_ = -1;
    int watch_ = -1;
    qint64 count_ = 0;
};

} // namespace pt::test
