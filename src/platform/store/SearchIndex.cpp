#include "platform/store/SearchIndex.h"

#include "platform/store/EntityDescription.h"
#include "platform/store/ObjectModel.h"
#include "platform/store/SqliteDatabase.h"

#include <sqlite3.h>

#include <algorithm>

namespace pt::store {

namespace {

QString prefixed(const QString& prefix, const QStringList& columns)
{
    QStringList result;
    for (const QString& column : columns)
        result << prefix + column;
    return result.join(QStringLiteral(", "));
}

QStringList creationStatements(const EntityDescription& entity)
{
    const QString table = entity.name();
    const QString index = SearchIndex::tableName(entity);
    const QStringList columns = SearchIndex::columns(entity);
    const QString list = columns.join(QStringLiteral(", "));
    // The columns are stored folded already, so the tokenizer compares code points as they are. Only which rows
    // hold a trigram is kept (no positions, no sizes): the exact comparison after it does the rest, and every
    // write to the table costs less. Inserted rows are indexed by the store's write, a batch in one statement
    // (a trigger per row costs four times as much); updates and deletes are rare and need the old values, so
    // triggers keep those.
    return {
        QStringLiteral("CREATE VIRTUAL TABLE %1 USING fts5(%2, content='%3', content_rowid='pk', "
                       "tokenize='trigram case_sensitive 1', detail=none, columnsize=0)").arg(index, list, table),
        QStringLiteral("CREATE TRIGGER %1_delete AFTER DELETE ON %2 BEGIN INSERT INTO %1(%1, rowid, %3) "
                       "VALUES('delete', old.pk, %4); END").arg(index, table, list, prefixed(QStringLiteral("old."), columns)),
        QStringLiteral("CREATE TRIGGER %1_update AFTER UPDATE OF %3 ON %2 BEGIN "
                       "INSERT INTO %1(%1, rowid, %3) VALUES('delete', old.pk, %4); "
                       "INSERT INTO %1(rowid, %3) VALUES(new.pk, %5); END")
            .arg(index, table, list, prefixed(QStringLiteral("old."), columns), prefixed(QStringLiteral("new."), columns)),
        QStringLiteral("INSERT INTO %1(%1) VALUES('rebuild')").arg(index),
    };
}

} // namespace

QStringList SearchIndex::columns(const EntityDescription& entity)
{
    QStringList result;
    for (const auto& attribute : entity.attributes())
        if (attribute.folded && attribute.type == AttributeType::String)
            result << attribute.name;
    return result;
}

QString SearchIndex::tableName(const EntityDescription& entity)
{
    return entity.name() + QStringLiteral("_search");
}

pt::Result<QSet<const EntityDescription*>> SearchIndex::present(SqliteDatabase& db, const ObjectModel& model)
{
    QSet<const EntityDescription*> found;
    for (const auto& entity : model.entities()) {
        if (columns(*entity).isEmpty())
            continue;
        SqliteStatement query = db.statement(QStringLiteral("SELECT 1 FROM sqlite_master WHERE name = ?"));
        query.bind(1, tableName(*entity));
        const int rc = query.step();
        if (rc == SQLITE_ROW)
            found.insert(entity.get());
        else if (rc != SQLITE_DONE)
            return db.error(QStringLiteral("looking for the search index"));
    }
    return found;
}

pt::Result<void> SearchIndex::ensure(SqliteDatabase& db, const ObjectModel& model)
{
    const auto missing = [&]() -> pt::Result<bool> {
        auto existing = present(db, model);
        if (!existing)
            return existing.error();
        auto triggers = rowTriggers(db, model);
        if (!triggers)
            return triggers.error();
        return !triggers->isEmpty() || std::any_of(model.entities().begin(), model.entities().end(), [&](const auto& entity) {
            return !columns(*entity).isEmpty() && !existing->contains(entity.get());
        });
    };
    // Most opens find it: no write lock for them.
    auto needed = missing();
    if (!needed)
        return needed.error();
    if (!*needed)
        return {};
    // Looked for again inside the write lock, so that two processes opening an older store build it once.
    if (auto r = db.exec(QStringLiteral("BEGIN IMMEDIATE")); !r)
        return r;
    auto body = [&]() -> pt::Result<void> {
        auto existing = present(db, model);
        if (!existing)
            return existing.error();
        auto triggers = rowTriggers(db, model);
        if (!triggers)
            return triggers.error();
        // An index kept by an insert trigger would take the store's batches twice.
        for (const QString& trigger : *triggers)
            if (auto r = db.exec(QStringLiteral("DROP TRIGGER %1").arg(trigger)); !r)
                return r;
        for (const auto& entity : model.entities()) {
            if (columns(*entity).isEmpty() || existing->contains(entity.get()))
                continue;
            for (const QString& statement : creationStatements(*entity))
                if (auto r = db.exec(statement); !r)
                    return r;
        }
        return {};
    }();
    if (!body) {
        db.exec(QStringLiteral("ROLLBACK"));
        return body;
    }
    return db.exec(QStringLiteral("COMMIT"));
}

pt::Result<QStringList> SearchIndex::rowTriggers(SqliteDatabase& db, const ObjectModel& model)
{
    QStringList found;
    for (const auto& entity : model.entities()) {
        if (columns(*entity).isEmpty())
            continue;
        SqliteStatement query = db.statement(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'trigger' AND name = ?"));
        const QString name = tableName(*entity) + QStringLiteral("_insert");
        query.bind(1, name);
        const int rc = query.step();
        if (rc == SQLITE_ROW)
            found << name;
        else if (rc != SQLITE_DONE)
            return db.error(QStringLiteral("looking for the search index"));
    }
    return found;
}

pt::Result<void> SearchIndex::indexInserted(SqliteDatabase& db, const EntityDescription& entity,
                                            const QVector<qint64>& keys)
{
    if (keys.isEmpty())
        return {};
    QByteArray list = "[";
    for (qint64 key : keys) {
        if (list.size() > 1)
            list += ',';
        list += QByteArray::number(key);
    }
    list += ']';
    const QString columnList = columns(entity).join(QStringLiteral(", "));
    SqliteStatement insert = db.statement(
        QStringLiteral("INSERT INTO %1(rowid, %2) SELECT pk, %2 FROM %3 WHERE pk IN (SELECT value FROM json_each(?)) "
                       "ORDER BY pk").arg(tableName(entity), columnList, entity.name()));
    insert.bind(1, QVariant(QString::fromLatin1(list)));
    if (insert.step() != SQLITE_DONE)
        return db.error(QStringLiteral("indexing %1").arg(entity.name()));
    return {};
}

bool SearchIndex::canServe(const QString& foldedText)
{
    return foldedText.toUcs4().size() >= 3;
}

QString SearchIndex::matchExpression(const QString& foldedText)
{
    const QList<uint> codePoints = foldedText.toUcs4();
    QStringList trigrams;
    for (qsizetype i = 0; i + 3 <= codePoints.size(); ++i) {
        QString trigram = QString::fromUcs4(reinterpret_cast<const char32_t*>(codePoints.constData() + i), 3);
        trigram.replace(u'"', QStringLiteral("\"\""));
        trigrams << u'"' + trigram + u'"';
    }
    trigrams.removeDuplicates();
    return trigrams.join(QStringLiteral(" AND "));
}

} // namespace pt::store
