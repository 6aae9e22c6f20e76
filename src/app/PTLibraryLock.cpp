#include "app/PTLibraryLock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

namespace {

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

bool PTLibraryLock::tryLock()
{
    return lock_->tryLock(0);
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
