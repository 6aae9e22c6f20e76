#pragma once

#include "platform/runtime/Error.h"

#include <QSet>
#include <QString>
#include <QStringList>

namespace pt::store {

class EntityDescription;
class ObjectModel;
class SqliteDatabase;

// A trigram index over an entity's search columns (the attributes kept folded), so that CONTAINS[cd] on them
// looks up candidate rows instead of reading every row. It only narrows: the exact comparison still runs on the
// candidates, so results are the same with or without it. The store's writes index the rows they insert
// (indexInserted, once per batch); triggers follow updates and deletes, whoever makes them. A store made before
// the index existed gets it built when it is opened for writing.
class SearchIndex {
public:
    // The entity's search columns, in model order; empty when it has none.
    static QStringList columns(const EntityDescription& entity);
    static QString tableName(const EntityDescription& entity);
    // Creates and fills the index of every entity with search columns where it is missing, in one transaction.
    static pt::Result<void> ensure(SqliteDatabase& db, const ObjectModel& model);
    // The entities whose index the database holds.
    static pt::Result<QSet<const EntityDescription*>> present(SqliteDatabase& db, const ObjectModel& model);
    // Indexes the rows of these keys that the current transaction inserted; rows already indexed must not be
    // among them.
    static pt::Result<void> indexInserted(SqliteDatabase& db, const EntityDescription& entity, const QVector<qint64>& keys);
    // Trigrams need three characters; a shorter text can only be compared row by row.
    static bool canServe(const QString& foldedText);
    // The MATCH expression for rows holding every trigram of the text in their search columns: all the rows that
    // hold the text, and perhaps some more.
    static QString matchExpression(const QString& foldedText);

private:
    // Insert triggers left by an older store, which indexed row by row.
    static pt::Result<QStringList> rowTriggers(SqliteDatabase& db, const ObjectModel& model);
};

} // namespace pt::store
