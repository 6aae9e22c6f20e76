#include "foundation/ContainedFolder.h"

#include <QDir>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

ContainedFolder::~ContainedFolder()
{
    closeLast();
    if (fd_ >= 0)
        ::close(fd_);
}

void ContainedFolder::closeLast()
{
    if (lastFd_ >= 0)
        ::close(lastFd_);
    lastFd_ = -1;
    lastParts_.clear();
}

bool ContainedFolder::open(const QString& path)
{
    path_ = QDir::cleanPath(path);
    if (!QDir().mkpath(path_)) {
        if (errno == 0)
            errno = EACCES;
        return false;
    }
    fd_ = ::open(QFile::encodeName(path_).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    return fd_ >= 0;
}

int ContainedFolder::openFolder(const QStringList& parts)
{
    if (lastFd_ >= 0 && parts == lastParts_)
        return lastFd_;
    closeLast();
    int fd = ::fcntl(fd_, F_DUPFD_CLOEXEC, 0);
    for (const QString& part : parts) {
        if (fd < 0)
            return -1;
        const QByteArray name = QFile::encodeName(part);
        if (::mkdirat(fd, name.constData(), 0777) != 0 && errno != EEXIST) {
            const int saved = errno;
            ::close(fd);
            errno = saved;
            return -1;
        }
        const int child = ::openat(fd, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        int saved = errno;
        struct stat status;
        if (child < 0 && ::fstatat(fd, name.constData(), &status, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(status.st_mode))
            saved = ELOOP; // the kernel answers ENOTDIR for a link to a folder
        ::close(fd);
        errno = saved;
        fd = child;
    }
    if (fd >= 0) {
        lastFd_ = fd;
        lastParts_ = parts;
    }
    return fd;
}
