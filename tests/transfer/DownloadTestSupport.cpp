#include "DownloadTestSupport.h"

#include "foundation/SSZipArchive.h"
#include "transfer/PTURLDownloader.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <limits>
#include <minizip/zip.h>
#include <sys/inotify.h>
#include <unistd.h>

namespace pt::test {

QStringList downloadFolders()
{
    return QDir(PTURLDownloader::downloadsFolder()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
}

QString unpackingFolder()
{
    const QDir downloads(PTURLDownloader::downloadsFolder());
    for (const QString& download : downloadFolders()) {
        const QDir folder(downloads.filePath(download));
        for (const QString& unpacked : folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            const QString path = folder.filePath(unpacked);
            if (QDirIterator(path, QDir::AllEntries | QDir::NoDotAndDotDot).hasNext())
                return path;
        }
    }
    return {};
}

QByteArray zipOf(const QList<std::pair<QString, QByteArray>>& entries)
{
    QTemporaryDir temp;
    const QString path = temp.filePath(QStringLiteral("made.zip"));
    SSZipArchive zip(path);
    EXPECT_TRUE(zip.open());
    for (const auto& [name, data] : entries)
        EXPECT_TRUE(zip.writeData(data, name));
    EXPECT_TRUE(zip.close());
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

QByteArray zipWithManyEntries(int count)
{
    QTemporaryDir temp;
    const QString path = temp.filePath(QStringLiteral("many.zip"));
    zipFile zip = zipOpen64(QFile::encodeName(path).constData(), APPEND_STATUS_CREATE);
    EXPECT_TRUE(zip);
    // Stored, not deflated: a deflate stream per entry would make the archive slower to write than to unpack.
    for (int i = 0; i < count && zip; ++i) {
        const QByteArray name = "entry-" + QByteArray::number(i) + ".txt";
        const QByteArray data = QByteArray::number(i);
        const zip_fileinfo info{};
        EXPECT_EQ(zipOpenNewFileInZip64(zip, name.constData(), &info, nullptr, 0, nullptr, 0, nullptr, 0, 0, 0), ZIP_OK);
        EXPECT_EQ(zipWriteInFileInZip(zip, data.constData(), unsigned(data.size())), ZIP_OK);
        EXPECT_EQ(zipCloseFileInZip(zip), ZIP_OK);
    }
    EXPECT_EQ(zipClose(zip, nullptr), ZIP_OK);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

CreationCounter::CreationCounter(const QString& folder) : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
{
    if (fd_ >= 0)
        watch_ = inotify_add_watch(fd_, QFile::encodeName(folder).constData(), IN_CREATE);
}

CreationCounter::~CreationCounter()
{
    if (fd_ >= 0)
        ::close(fd_);
}

qint64 CreationCounter::count()
{
    alignas(inotify_event) char buffer[64 * 1024];
    for (;;) {
        const ssize_t read = ::read(fd_, buffer, sizeof buffer);
        if (read <= 0)
            return count_;
        for (ssize_t at = 0; at < read;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            if (event->mask & IN_Q_OVERFLOW)
                count_ = std::numeric_limits<qint64>::max() / 2;
            else if (event->mask & IN_CREATE)
                ++count_;
            at += ssize_t(sizeof(inotify_event)) + event->len;
        }
    }
}

} // namespace pt::test
