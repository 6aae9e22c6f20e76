#include "platform/store/SqliteDatabase.h"

#include "platform/store/StoreError.h"

#include <QUrl>

#include <sqlite3.h>

namespace pt::store {

pt::Result<std::unique_ptr<SqliteDatabase>> SqliteDatabase::open(const QString& path, bool readOnly)
{
    return openWith(path, path.toUtf8(), readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
}

pt::Result<std::unique_ptr<SqliteDatabase>> SqliteDatabase::openImmutable(const QString& path)
{
    const QByteArray uri = QUrl::fromLocalFile(path).toEncoded() + QByteArrayLiteral("?immutable=1");
    return openWith(path, uri, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI);
}

pt::Result<std::unique_ptr<SqliteDatabase>> SqliteDatabase::openWith(const QString& path, const QByteArray& name,
                                                                     int flags)
{
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(name.constData(), &db, flags | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_EXRESCODE, nullptr);
    if (rc != SQLITE_OK) {
        const QString message = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close(db);
        return storeError(StoreOpenFailed, QStringLiteral("Cannot open %1: %2").arg(path, message));
    }
    return std::unique_ptr<SqliteDatabase>(new SqliteDatabase(db));
}

SqliteDatabase::~SqliteDatabase()
{
    for (sqlite3_stmt* statement : std::as_const(cache_))
        sqlite3_finalize(statement);
    sqlite3_close(db_);
}

pt::Result<void> SqliteDatabase::exec(const QString& sql)
{
    char* message = nullptr;
    if (sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK) {
        const QString text = QString::fromUtf8(message);
        sqlite3_free(message);
        return storeError(StoreSqlFailed, QStringLiteral("%1: %2").arg(sql.left(80), text));
    }
    return {};
}

SqliteStatement SqliteDatabase::statement(const QString& sql)
{
    sqlite3_stmt* statement = cache_.value(sql);
    if (!statement) {
        const QByteArray utf8 = sql.toUtf8();
        if (sqlite3_prepare_v3(db_, utf8.constData(), int(utf8.size()), SQLITE_PREPARE_PERSISTENT, &statement,
                               nullptr) != SQLITE_OK)
            return SqliteStatement(nullptr);
        cache_.insert(sql, statement);
    }
    return SqliteStatement(statement);
}

SqliteStatement SqliteDatabase::statement(const QString& sql, sqlite3_stmt*& slot)
{
    if (!slot) {
        if (!statement(sql).isValid())
            return SqliteStatement(nullptr);
        slot = cache_.value(sql);
    }
    return SqliteStatement(slot);
}

pt::Error SqliteDatabase::error(const QString& doing) const
{
    return storeError(StoreSqlFailed, QStringLiteral("%1: %2 (%3)")
                                          .arg(doing, QString::fromUtf8(sqlite3_errmsg(db_)))
                                          .arg(sqlite3_extended_errcode(db_)));
}

int SqliteDatabase::lastErrorCode() const
{
    return sqlite3_errcode(db_) & 0xff;
}

pt::Result<QString> SqliteDatabase::queryText(const QString& sql)
{
    SqliteStatement query = statement(sql);
    if (!query.isValid())
        return error(sql);
    const int rc = query.step();
    if (rc == SQLITE_ROW)
        return query.value(0, AttributeType::String).toString();
    if (rc == SQLITE_DONE)
        return QString();
    return error(sql);
}

} // namespace pt::store
