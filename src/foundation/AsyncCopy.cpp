#include "foundation/AsyncCopy.h"

#include "foundation/FileCopyJob.h"
#include "foundation/SystemError.h"
#include "platform/runtime/DispatchQueue.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <memory>

namespace fs = std::filesystem;

namespace asyncCopy {

bool pathsOverlap(const QString& first, const QString& second)
{
    const auto resolved = [](const QString& path) {
        std::error_code error;
        fs::path result = fs::weakly_canonical(fs::path(QFile::encodeName(path).toStdString()), error);
        return result.has_filename() ? result : result.parent_path(); // no empty last part from a trailing "/"
    };
    const fs::path one = resolved(first);
    const fs::path other = resolved(second);
    // Compared part by part, so that "/a/b" does not count as holding "/a/bc".
    const auto [oneEnd, otherEnd] = std::mismatch(one.begin(), one.end(), other.begin(), other.end());
    return oneEnd == one.end() || otherEnd == other.end();
}

pt::Result<CancelBlock> asynchronousCopyFileAtPath(const QString& source, const QString& destination,
                                                   StatusHandler handler)
{
    const fs::path from(QFile::encodeName(source).toStdString());
    const fs::path to = fs::path(QFile::encodeName(destination).toStdString()).lexically_normal();
    std::error_code error;
    if (!fs::exists(fs::symlink_status(from, error)))
        return systemError(ErrorDomain, ENOENT, source);
    if (!to.has_filename() || !fs::is_directory(to.parent_path(), error))
        return systemError(ErrorDomain, ENOENT, destination);
    if (pathsOverlap(source, destination))
        return systemError(ErrorDomain, EINVAL, destination);

    auto job = std::make_shared<FileCopyJob>(from, to, std::move(handler));
    pt::DispatchQueue::global().async([job] { job->run(); });
    std::weak_ptr<FileCopyJob> weak = job;
    return CancelBlock([weak] {
        if (auto running = weak.lock())
            running->cancel();
    });
}

} // namespace asyncCopy
