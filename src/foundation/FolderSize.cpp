#include "foundation/FolderSize.h"

#include "platform/runtime/DispatchQueue.h"

#include <QFile>

#include <atomic>
#include <filesystem>
#include <memory>

namespace fs = std::filesystem;

namespace folderSize {

namespace {

// The item's own size without following a link: a link counts the length of its target text.
quint64 ownSize(const fs::path& path, const fs::file_status& status)
{
    std::error_code error;
    if (fs::is_symlink(status)) {
        const fs::path target = fs::read_symlink(path, error);
        return error ? 0 : target.native().size();
    }
    if (!fs::is_regular_file(status))
        return 0;
    const auto size = fs::file_size(path, error);
    return error ? 0 : size;
}

quint64 contentsSize(const fs::path& folder)
{
    quint64 total = 0;
    std::error_code error;
    // The recursive iterator does not descend into links to folders unless told to.
    for (auto it = fs::recursive_directory_iterator(folder, fs::directory_options::skip_permission_denied, error);
         !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        std::error_code statusError;
        const fs::file_status status = it->symlink_status(statusError);
        if (!statusError)
            total += ownSize(it->path(), status);
    }
    return total;
}

fs::path toPath(const QString& path)
{
    return fs::path(QFile::encodeName(path).toStdString());
}

void onWorker(std::function<quint64()> work, SizeCallback callback)
{
    pt::DispatchQueue::global(pt::QueuePriority::High).async([work = std::move(work), callback = std::move(callback)] {
        const quint64 size = work();
        pt::DispatchQueue::main().async([callback, size] { callback(size); });
    });
}

} // namespace

quint64 sizeOfFileWithURL(const QUrl& url)
{
    const fs::path path = toPath(url.toLocalFile());
    std::error_code error;
    const fs::file_status status = fs::symlink_status(path, error);
    if (error)
        return 0;
    return fs::is_directory(status) ? contentsSize(path) : ownSize(path, status);
}

void sizeOfFilesWithURLs(const QList<QUrl>& urls, SizeCallback callback)
{
    onWorker(
        [urls] {
            quint64 total = 0;
            for (const QUrl& url : urls)
                total += sizeOfFileWithURL(url);
            return total;
        },
        std::move(callback));
}

quint64 sizeOfFolderAtPath(const QString& path)
{
    std::error_code error;
    return fs::is_directory(toPath(path), error) ? contentsSize(toPath(path)) : 0;
}

void sizeOfFolderAtPath(const QString& path, SizeCallback callback)
{
    onWorker([path] { return sizeOfFolderAtPath(path); }, std::move(callback));
}

quint64 sizeOfFoldersAtPaths(const QStringList& paths)
{
    quint64 total = 0;
    for (const QString& path : paths)
        total += sizeOfFolderAtPath(path);
    return total;
}

void sizeOfFoldersAtPaths(const QStringList& paths, SizeCallback callback)
{
    if (paths.isEmpty()) {
        pt::DispatchQueue::main().async([callback = std::move(callback)] { callback(0); });
        return;
    }
    // One task per folder; the last to finish reports, so no thread waits for the others.
    struct Sum {
        std::atomic<quint64> total{0};
        std::atomic<qsizetype> left{0};
        SizeCallback callback;
    };
    auto sum = std::make_shared<Sum>();
    sum->left = paths.size();
    sum->callback = std::move(callback);
    for (const QString& path : paths) {
        pt::DispatchQueue::global(pt::QueuePriority::High).async([sum, path] {
            sum->total += sizeOfFolderAtPath(path);
            if (--sum->left == 0)
                pt::DispatchQueue::main().async([sum] { sum->callback(sum->total.load()); });
        });
    }
}

} // namespace folderSize
