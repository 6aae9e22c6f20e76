#include "platform/store/SqliteStatement.h"

#include <QDateTime>
#include <QTimeZone>

#include <cmath>
#include <sqlite3.h>

namespace pt::store {

SqliteStatement::~SqliteStatement()
{
    if (statement_) {
        sqlite3_reset(statement_);
        sqlite3_clear_bindings(statement_);
    }
}

void SqliteStatement::bind(int position, const QVariant& value)
{
    if (!value.isValid() || value.isNull()) {
        sqlite3_bind_null(statement_, position);
        return;
    }
    switch (value.typeId()) {
    case QMetaType::QString: {
        const QByteArray utf8 = static_cast<const QString*>(value.constData())->toUtf8();
        sqlite3_bind_text(statement_, position, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        return;
    }
    case QMetaType::Double:
    case QMetaType::Float:
        sqlite3_bind_double(statement_, position, value.toDouble());
        return;
    case QMetaType::QDateTime:
        sqlite3_bind_double(statement_, position, double(value.toDateTime().toMSecsSinceEpoch()) / 1000.0);
        return;
    default:
        sqlite3_bind_int64(statement_, position, value.toLongLong());
        return;
    }
}

void SqliteStatement::bind(int position, qint64 value)
{
    sqlite3_bind_int64(statement_, position, value);
}

void SqliteStatement::bindKey(int position, qint64 key)
{
    if (key == 0)
        sqlite3_bind_null(statement_, position);
    else
        sqlite3_bind_int64(statement_, position, key);
}

int SqliteStatement::step()
{
    return sqlite3_step(statement_);
}

bool SqliteStatement::isNull(int column) const
{
    return sqlite3_column_type(statement_, column) == SQLITE_NULL;
}

qint64 SqliteStatement::int64(int column) const
{
    return sqlite3_column_int64(statement_, column);
}

QVariant SqliteStatement::value(int column, AttributeType type) const
{
    if (isNull(column))
        return {};
    switch (type) {
    case AttributeType::String: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
        return QString::fromUtf8(text, sqlite3_column_bytes(statement_, column));
    }
    case AttributeType::Int64:
        return qlonglong(sqlite3_column_int64(statement_, column));
    case AttributeType::Double:
        return sqlite3_column_double(statement_, column);
    case AttributeType::Date:
        return QDateTime::fromMSecsSinceEpoch(std::llround(sqlite3_column_double(statement_, column) * 1000.0),
                                              Qt::UTC);
    case AttributeType::Bool:
        return sqlite3_column_int64(statement_, column) != 0;
    }
    return {};
}

} // namespace pt::store
