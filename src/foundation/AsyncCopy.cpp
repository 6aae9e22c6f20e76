#include "foundation/AsyncCopy.h"

#include "foundation/FileCopyJob.h"
#include "foundation/SystemError.h"
#include "platform/runtime/DispatchQueue.h"

#include <QFile>

#include <cerrno>
#include <memory>

namespace fs = std::filesystem;

namespace asyncCopy {

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
    // A folder copied into itself would grow for ever.
    const fs::path canonicalFrom = fs::weakly_canonical(from, error);
    const fs::path canonicalTo = fs::weakly_canonical(to, error);
    const auto [end, _] = std::mismatch(canonicalFrom.begin(), canonicalFrom.end(), canonicalTo.begin(), canonicalTo.end());
    if (end == canonicalFrom.end())
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
