#pragma once

#include <QString>

#include <chrono>
#include <memory>
#include <optional>

class QLockFile;

// Keeps a second process from opening the same library's store, also where no session bus tells the
// instances apart: a lock file in the runtime folder named after the library's canonical path.
class PTLibraryLock {
public:
    // How long a lock file may name no owner before it counts as left by a launch that died while writing it.
    static constexpr std::chrono::milliseconds UnnamedLockGrace{3000};
    // The lock a take-over of a stale lock file is made under, beside the lock file.
    static inline const QString TakeOverSuffix = QStringLiteral(".rmlock");

    explicit PTLibraryLock(const QString& libraryPath);
    ~PTLibraryLock();

    // False while another living process holds it; a lock left by a dead process is taken over, and so is one
    // naming no owner once it is older than the grace. A younger one is waited out, up to the grace, since its
    // owner may be writing its name.
    bool tryLock();
    QString lockFilePath() const;

    // The process-wide lock of the current library, kept until exit.
    static bool acquire(const QString& libraryPath);

private:
    // How old the lock file is when it names no owner after a failed attempt; nothing when it names one.
    std::optional<qint64> unnamedLockAge() const;

    std::unique_ptr<QLockFile> lock_;
    QString path_;
};
