#include "foundation/FileCopyJob.h"

#include "foundation/SystemError.h"
#include "platform/runtime/DispatchQueue.h"
#include "platform/runtime/Logging.h"

#include <QFile>
#include <QUuid>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using asyncCopy::Outcome;
using asyncCopy::Stage;

namespace {

constexpr qint64 ReportIntervalMs = 1000;
constexpr size_t ChunkSize = 1 << 20;

QString displayPath(const fs::path& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

// Copies the mode (permission bits only) and the modification time of one object onto another.
void copyAttributes(const struct stat& from, const fs::path& to, bool isLink)
{
    const timespec times[2] = {{0, UTIME_OMIT}, from.st_mtim};
    ::utimensat(AT_FDCWD, to.c_str(), times, AT_SYMLINK_NOFOLLOW);
    if (!isLink)
        ::chmod(to.c_str(), from.st_mode & 0777);
}

} // namespace

FileCopyJob::FileCopyJob(fs::path source, fs::path destination, asyncCopy::StatusHandler handler)
    : source_(std::move(source)), destination_(std::move(destination)), handler_(std::move(handler))
{
}

void FileCopyJob::run()
{
    report(Stage::Preflighting);
    total_ = countObjects(source_);
    sinceReport_.start();
    const fs::path staged = destination_.parent_path()
        / ("." + destination_.filename().native() + ".copy-" + QUuid::createUuid().toString(QUuid::Id128).toStdString());
    const bool copied = copyObject(source_, staged) && !cancelled_ && moveIntoPlace(staged);
    std::error_code ignored;
    fs::remove_all(staged, ignored);
    if (copied)
        report(Stage::Complete, Outcome::Done);
    else
        report(Stage::Complete, cancelled_ && error_.isNull() ? Outcome::Cancelled : Outcome::Failed);
}

qint64 FileCopyJob::countObjects(const fs::path& path) const
{
    qint64 count = 1;
    std::error_code error;
    if (!fs::is_directory(fs::symlink_status(path, error)))
        return count;
    for (auto it = fs::recursive_directory_iterator(path, error); !error && it != fs::recursive_directory_iterator();
         it.increment(error)) {
        ++count;
    }
    return count;
}

bool FileCopyJob::copyObject(const fs::path& from, const fs::path& to)
{
    if (cancelled_)
        return false;
    struct stat status;
    if (::lstat(from.c_str(), &status) != 0)
        return fail(errno, from);
    if (S_ISLNK(status.st_mode)) {
        std::error_code error;
        fs::copy_symlink(from, to, error);
        if (error)
            return fail(error.value(), to);
        copyAttributes(status, to, true);
    } else if (S_ISDIR(status.st_mode)) {
        if (::mkdir(to.c_str(), 0700) != 0)
            return fail(errno, to);
        std::error_code error;
        for (fs::directory_iterator it(from, error); !error && it != fs::directory_iterator(); it.increment(error)) {
            if (!copyObject(it->path(), to / it->path().filename()))
                return false;
        }
        if (error)
            return fail(error.value(), from);
        // Last, so that a read-only folder could still be filled and its date is not touched again.
        copyAttributes(status, to, false);
    } else if (S_ISREG(status.st_mode)) {
        if (!copyFile(from, to))
            return false;
        copyAttributes(status, to, false);
    } else {
        qCWarning(lcFoundation) << "Copy skips special file" << displayPath(from);
    }
    objectDone();
    return true;
}

bool FileCopyJob::copyFile(const fs::path& from, const fs::path& to)
{
    const int input = ::open(from.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (input < 0)
        return fail(errno, from);
    const int output = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (output < 0) {
        const int saved = errno;
        ::close(input);
        return fail(saved, to);
    }
    bool ok = true;
    int failure = 0;
    std::vector<char> buffer(ChunkSize);
    while (ok && !cancelled_) {
        const ssize_t read = ::read(input, buffer.data(), buffer.size());
        if (read == 0)
            break;
        if (read < 0) {
            if (errno == EINTR)
                continue;
            failure = errno;
            ok = false;
            break;
        }
        for (ssize_t done = 0; done < read;) {
            const ssize_t written = ::write(output, buffer.data() + done, size_t(read - done));
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0) {
                failure = written < 0 ? errno : EIO;
                ok = false;
                break;
            }
            done += written;
        }
    }
    ::close(input);
    if (::close(output) != 0 && ok) {
        failure = errno;
        ok = false;
    }
    if (!ok)
        return fail(failure, to);
    return !cancelled_;
}

bool FileCopyJob::moveIntoPlace(const fs::path& staged)
{
    // The old item steps aside first and goes only once the new one is in place.
    const fs::path old = staged.native() + ".old";
    std::error_code error;
    const bool hadOld = fs::exists(fs::symlink_status(destination_, error));
    if (hadOld && ::rename(destination_.c_str(), old.c_str()) != 0)
        return fail(errno, destination_);
    if (::rename(staged.c_str(), destination_.c_str()) != 0) {
        const int saved = errno;
        if (hadOld)
            ::rename(old.c_str(), destination_.c_str());
        return fail(saved, destination_);
    }
    fs::remove_all(old, error);
    return true;
}

void FileCopyJob::objectDone()
{
    ++completed_;
    if (sinceReport_.elapsed() >= ReportIntervalMs) {
        sinceReport_.restart();
        report(Stage::Running);
    }
}

void FileCopyJob::report(Stage stage, Outcome outcome)
{
    if (!handler_)
        return;
    asyncCopy::CopyStatus status{stage, completed_, total_, outcome, outcome == Outcome::Failed ? error_ : pt::Error()};
    pt::DispatchQueue::main().async([handler = handler_, status] { handler(status); });
}

bool FileCopyJob::fail(int errorNumber, const fs::path& path)
{
    error_ = systemError(asyncCopy::ErrorDomain, errorNumber, displayPath(path));
    qCWarning(lcFoundation) << "Copy failed:" << error_.toString() << displayPath(path);
    return false;
}
