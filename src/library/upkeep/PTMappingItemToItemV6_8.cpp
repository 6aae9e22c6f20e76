#include "library/upkeep/PTMappingItemToItemV6_8.h"

#include "foundation/StringAdditions.h"
#include "library/controllers/PTTagController.h"
#include "platform/store/SqliteDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

using pt::store::AttributeType;
using pt::store::SqliteDatabase;
using pt::store::SqliteStatement;

QString PTMappingItemToItemV6_8::tagsStringForItem(const QStringList& tagNames, const QString& name)
{
    QStringList tags;
    for (const QString& tag : tagNames)
        if (!tags.contains(tag))
            tags << tag;
    if (tags.isEmpty()) {
        tags = PTTagController::tagsForString(name).values();
        tags.sort();
    }
    return tags.join(u',');
}

QString PTMappingItemToItemV6_8::normalizedString(const QString& string)
{
    return string.isNull() ? QString() : stringAdditions::normalizedString(string);
}

pt::store::MigrationStep::EntityPolicy PTMappingItemToItemV6_8::policy()
{
    return [](SqliteDatabase& db) -> pt::Result<void> {
        QHash<qint64, QStringList> tagsOfItem;
        {
            SqliteStatement tags = db.statement(QStringLiteral(
                "SELECT j.item, t.name FROM source.PTTags j JOIN source.PTTag t ON t.pk = j.tag "
                "WHERE j.item IS NOT NULL AND t.name IS NOT NULL ORDER BY j.pk"));
            if (!tags.isValid())
                return db.error(QStringLiteral("reading the tags"));
            int rc;
            while ((rc = tags.step()) == SQLITE_ROW)
                tagsOfItem[tags.int64(0)] << tags.value(1, AttributeType::String).toString();
            if (rc != SQLITE_DONE)
                return db.error(QStringLiteral("reading the tags"));
        }
        struct Row {
            qint64 key;
            QString name;
            QString informativeText;
        };
        QVector<Row> rows;
        {
            SqliteStatement items = db.statement(QStringLiteral("SELECT pk, name, informativeText FROM main.PTItem"));
            int rc;
            while ((rc = items.step()) == SQLITE_ROW)
                rows.append({items.int64(0), items.value(1, AttributeType::String).toString(),
                             items.value(2, AttributeType::String).toString()});
            if (rc != SQLITE_DONE)
                return db.error(QStringLiteral("reading the items"));
        }
        for (const Row& row : std::as_const(rows)) {
            const QString tags = tagsStringForItem(tagsOfItem.value(row.key), row.name);
            SqliteStatement update = db.statement(QStringLiteral(
                "UPDATE main.PTItem SET tagsString = ?, tagsStringNormalized = ?, nameNormalized = ?, "
                "informativeTextNormalized = ? WHERE pk = ?"));
            update.bind(1, tags);
            update.bind(2, normalizedString(tags));
            update.bind(3, normalizedString(row.name));
            update.bind(4, normalizedString(row.informativeText));
            update.bind(5, row.key);
            if (update.step() != SQLITE_DONE)
                return db.error(QStringLiteral("writing the tags of the items"));
        }
        return {};
    };
}

void PTMappingItemToItemV6_8::endEntityMapping(const QString& storePath)
{
    const QString index = QDir(QFileInfo(storePath).path()).filePath(SearchIndexFileName);
    if (QFileInfo::exists(index))
        QFile::remove(index);
}
