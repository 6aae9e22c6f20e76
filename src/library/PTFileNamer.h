#pragma once

#include <QHash>
#include <QString>

#include <functional>
#include <mutex>

// Hands out file names for one job that names many files (an import, an expansion, an export): "<stem>.<ext>",
// "<stem>.1.<ext>", "<stem>.2.<ext>", ... as PTUniqueFileName counts, but each stem's counter goes on from where
// the job last stopped in that folder instead of from the start, so n files of one name cost n lookups, not n²/2.
// Every answer is still looked up first, so names that others took meanwhile are passed over. Safe from any
// thread.
class PTFileNamer {
public:
    using TakenTest = std::function<bool(const QString& fileName)>;

    // The first name, counting on from this stem's and extension's last answer in the folder, that `taken`
    // does not refuse; the stem is cut so that every name fits in one file name. `folder` only tells folders
    // apart.
    QString nextFreeName(const QString& folder, const QString& stem, const QString& extension, const TakenTest& taken);

private:
    std::mutex mutex_;
    QHash<QString, qint64> next_;
};
