#include "app/PTLibraryLock.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>

#include <algorithm>

namespace {

// How often a lock that names no owner yet is looked at again while its grace runs.
constexpr qint64 UnnamedLockPollMilliseconds = 100;

QString runtimeFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return runtime;
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

} // namespace

PTLibraryLock::PTLibraryLock(const QString& libraryPath)
{
    const QFileInfo info(libraryPath);
    const QString canonical = info.exists() ? info.canonicalFilePath() : QDir::cleanPath(info.absoluteFilePath());
    const QByteArray key = QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha1).toHex();
    path_ = QDir(runtimeFolder()).filePath(QStringLiteral("pictern-library-%1.lock").arg(QString::fromLatin1(key)));
    lock_ = std::make_unique<QLockFile>(path_);
    // Only a dead owner makes the lock stale, never its age: a library stays open for days.
    lock_->setStaleLockTime(0);
}

PTLibraryLock::~PTLibraryLock() = default;

std::optional<qint64> PTLibraryLock::unnamedLockAge() const
{
    qint64 pid = 0;
    QString hostname;
    QString application;
    if (lock_->error() != QLockFile::LockFailedError || lock_->getLockInfo(&pid, &hostname, &application))
        return std::nullopt;
    const QDateTime modified = QFileInfo(path_).lastModified();
    return modified.isValid() ? std::abs(modified.msecsTo(QDateTime::currentDateTime())) : 0;
}

bool PTLibraryLock::tryLock()
{
    // Qt takes over the lock of a dead owner by itself; one that names no owner it never does, as its age is all
    // that tells a launch writing its name from one killed before it could.
    const QDeadlineTimer deadline(UnnamedLockGrace + std::chrono::milliseconds(UnnamedLockPollMilliseconds));
    for (;;) {
        if (lock_->tryLock(0))
            return true;
        const std::optional<qint64> age = unnamedLockAge();
        if (!age)
            return false;
        if (*age >= UnnamedLockGrace.count()) {
            // Two launches may find the same file stale. The removal opens and unlinks by name, so one that ran
            // late would unlink the lock the other has just made: take-overs go one at a time, under the second
            // lock Qt's own take-over uses, and each looks again under it.
            QLockFile takeOver(path_ + TakeOverSuffix);
            if (takeOver.tryLock(0)) {
                const std::optional<qint64> stillAge = unnamedLockAge();
                // Fails while a living process holds the file open, as one writing its name does.
                if (stillAge && *stillAge >= UnnamedLockGrace.count() && !lock_->removeStaleLockFile())
                    return false;
                continue;
            }
        }
        if (deadline.hasExpired())
            return false;
        const qint64 graceLeft = UnnamedLockGrace.count() - *age;
        QThread::msleep(graceLeft > 0 ? std::min(UnnamedLockPollMilliseconds, graceLeft) : UnnamedLockPollMilliseconds);
    }
}

QString PTLibraryLock::lockFilePath() const
{
    return path_;
}

bool PTLibraryLock::acquire(const QString& libraryPath)
{
    static std::unique_ptr<PTLibraryLock> held;
    auto lock = std::make_unique<PTLibraryLock>(libraryPath);
    if (!lock->tryLock())
        return false;
    held = std::move(lock);
    return true;
}
