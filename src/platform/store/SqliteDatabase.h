#pragma once

#include "platform/runtime/Error.h"
#include "platform/store/SqliteStatement.h"

#include <QHash>
#include <QString>

#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace pt::store {

// One sqlite3 connection with a cache of prepared statements. Not thread-safe: the owner serialises use.
class SqliteDatabase {
public:
    static pt::Result<std::unique_ptr<SqliteDatabase>> open(const QString& path, bool readOnly);
    // A read-only connection that takes the file as unchanging: no locks, no log files (a read-only medium,
    // where the shared-memory file of a log cannot be made).
    static pt::Result<std::unique_ptr<SqliteDatabase>> openImmutable(const QString& path);
    ~SqliteDatabase();
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    sqlite3* handle() const { return db_; }
    pt::Result<void> exec(const QString& sql);
    // A prepared statement from the cache; invalid (check isValid) when the SQL does not compile.
    SqliteStatement statement(const QString& sql);
    // The same, kept in the caller's slot so that hot paths skip the cache look-up.
    SqliteStatement statement(const QString& sql, sqlite3_stmt*& slot);
    // The connection's last error as a store error, with what was being done.
    pt::Error error(const QString& doing) const;
    // Runs one statement and answers its first column of the first row as text (for pragmas).
    pt::Result<QString> queryText(const QString& sql);

    // The primary result code of the connection's last failure (SQLITE_BUSY, ...).
    int lastErrorCode() const;

private:
    explicit SqliteDatabase(sqlite3* db) : db_(db) {}
    static pt::Result<std::unique_ptr<SqliteDatabase>> openWith(const QString& path, const QByteArray& name, int flags);
    sqlite3* db_;
    QHash<QString, sqlite3_stmt*> cache_;
};

} // namespace pt::store
