#pragma once

#include "platform/runtime/Error.h"

#include <QString>

namespace pt::store {

// Copies of a store file that are safe while the store is open and being written.
class StoreFileCopy {
public:
    // Copies the database at `source` to `destination` with SQLite's online backup: the copy is one consistent
    // snapshot of everything committed (also commits still in the write-ahead log), never a torn file. The copy
    // is written beside the destination and renamed into place when whole and checked; on failure nothing is
    // left at the destination.
    static pt::Result<void> copy(const QString& source, const QString& destination);
    // The store's companion files (-wal, -shm, -journal) next to the path.
    static QStringList companionPaths(const QString& path);
};

} // namespace pt::store
