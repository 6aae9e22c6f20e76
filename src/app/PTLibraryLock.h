#pragma once

#include <QString>

#include <memory>

class QLockFile;

// Keeps a second process from opening the same library's store, also where no session bus tells the
// instances apart: a lock file in the runtime folder named after the library's canonical path.
class PTLibraryLock {
public:
    explicit PTLibraryLock(const QString& libraryPath);
    ~PTLibraryLock();

    // False while another living process holds it; a lock left by a dead process is taken over.
    bool tryLock();
    QString lockFilePath() const;

    // The process-wide lock of the current library, kept until exit.
    static bool acquire(const QString& libraryPath);

private:
    std::unique_ptr<QLockFile> lock_;
    QString path_;
};
