#include "transfer/import/PackageSetFolder.h"

#include "library/PTLibraryController.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int FolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

} // namespace

PackageSetFolder::PackageSetFolder(const QString& libraryPath, const QString& name) : name_(QFile::encodeName(name))
{
    // The package itself may be reached through a link of the user's; nothing below it is.
    const int package = ::open(QFile::encodeName(libraryPath).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (package < 0)
        return;
    sets_ = ::openat(package, QFile::encodeName(PTLibraryController::SetsFolderName).constData(), FolderFlags);
    ::close(package);
    if (sets_ >= 0 && !name_.isEmpty() && !name_.contains('/') && name_ != "." && name_ != "..")
        fd_ = ::openat(sets_, name_.constData(), FolderFlags);
}

PackageSetFolder::~PackageSetFolder()
{
    if (fd_ >= 0)
        ::close(fd_);
    if (sets_ >= 0)
        ::close(sets_);
}

std::optional<QDateTime> PackageSetFolder::changeTime(const QString& fileName) const
{
    struct stat status;
    if (fd_ < 0 || ::fstatat(fd_, QFile::encodeName(fileName).constData(), &status, AT_SYMLINK_NOFOLLOW) != 0)
        return std::nullopt;
    return QDateTime::fromMSecsSinceEpoch(qint64(status.st_ctim.tv_sec) * 1000 + status.st_ctim.tv_nsec / 1000000);
}

bool PackageSetFolder::remove(const QString& fileName) const
{
    return fd_ >= 0 && ::unlinkat(fd_, QFile::encodeName(fileName).constData(), 0) == 0;
}

bool PackageSetFolder::removeIfEmpty() const
{
    return fd_ >= 0 && ::unlinkat(sets_, name_.constData(), AT_REMOVEDIR) == 0;
}
