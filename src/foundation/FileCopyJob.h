#pragma once

#include "foundation/AsyncCopy.h"

#include <QElapsedTimer>

#include <atomic>
#include <filesystem>

// The worker side of one asynchronous copy: counts the objects, copies them into a hidden sibling of the
// destination and swaps it into place.
class FileCopyJob {
public:
    FileCopyJob(std::filesystem::path source, std::filesystem::path destination, asyncCopy::StatusHandler handler);

    void cancel() { cancelled_ = true; }
    // Runs the whole copy on the calling thread, reporting through the main queue.
    void run();

private:
    qint64 countObjects(const std::filesystem::path& path) const;
    bool copyObject(const std::filesystem::path& from, const std::filesystem::path& to);
    bool copyFile(const std::filesystem::path& from, const std::filesystem::path& to);
    bool moveIntoPlace(const std::filesystem::path& staged);
    void objectDone();
    void report(asyncCopy::Stage stage, asyncCopy::Outcome outcome = asyncCopy::Outcome::Pending);
    bool fail(int errorNumber, const std::filesystem::path& path);

    std::filesystem::path source_;
    std::filesystem::path destination_;
    asyncCopy::StatusHandler handler_;
    std::atomic<bool> cancelled_{false};
    qint64 completed_ = 0;
    qint64 total_ = 0;
    pt::Error error_;
    QElapsedTimer sinceReport_;
};
