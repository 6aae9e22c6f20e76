#pragma once

#include "platform/store/AttributeDescription.h"

#include <QVariant>

struct sqlite3_stmt;

namespace pt::store {

// A use of one prepared statement: binds values, steps through rows, and resets the statement when it goes
// out of scope so that the connection's cache can hand it out again.
class SqliteStatement {
public:
    explicit SqliteStatement(sqlite3_stmt* statement) : statement_(statement) {}
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;
    ~SqliteStatement();

    bool isValid() const { return statement_ != nullptr; }
    // Binds by position, from 1. Invalid and null variants bind NULL.
    void bind(int position, const QVariant& value);
    void bind(int position, qint64 value);
    void bindKey(int position, qint64 key); // 0 binds NULL
    // SQLITE_ROW, SQLITE_DONE or an error code.
    int step();
    bool isNull(int column) const;
    qint64 int64(int column) const;
    QVariant value(int column, AttributeType type) const;

private:
    sqlite3_stmt* statement_;
};

} // namespace pt::store
