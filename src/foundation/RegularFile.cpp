#include "foundation/RegularFile.h"

#include "foundation/SystemError.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace regularFile {

namespace {

const QString Domain = QStringLiteral("RegularFile");

} // namespace

int open(const QString& path, Links links)
{
    const QByteArray name = QFile::encodeName(path);
    const int flags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY | (links == Links::Refuse ? O_NOFOLLOW : 0);
    const int fd = ::open(name.constData(), flags);
    if (fd < 0)
        return -1;
    struct stat status;
    int failure = 0;
    if (::fstat(fd, &status) != 0)
        failure = errno;
    else if (!S_ISREG(status.st_mode))
        failure = EINVAL;
    else if (::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0)
        failure = errno;
    if (failure != 0) {
        ::close(fd);
        errno = failure;
        return -1;
    }
    return fd;
}

pt::Result<QByteArray> read(const QString& path, qint64 maxBytes, Links links)
{
    const int fd = open(path, links);
    if (fd < 0)
        return systemError(Domain, errno, path);
    struct stat status;
    if (::fstat(fd, &status) != 0 || status.st_size > maxBytes) {
        const int failure = status.st_size > maxBytes ? EFBIG : errno;
        ::close(fd);
        return systemError(Domain, failure, path);
    }
    QByteArray data(qsizetype(status.st_size), Qt::Uninitialized);
    qsizetype done = 0;
    int failure = 0;
    while (done < data.size()) {
        const ssize_t count = ::read(fd, data.data() + done, size_t(data.size() - done));
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0) { // a file that shrank while read is a failure, never a part of it
            failure = count < 0 ? errno : EIO;
            break;
        }
        done += count;
    }
    ::close(fd);
    if (failure != 0)
        return systemError(Domain, failure, path);
    return data;
}

} // namespace regularFile
