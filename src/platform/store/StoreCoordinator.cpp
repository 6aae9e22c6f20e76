#include "platform/store/StoreCoordinator.h"

#include "platform/runtime/Logging.h"
#include "platform/store/SearchIndex.h"
#include "platform/store/SqliteDatabase.h"
#include "platform/store/StoreError.h"
#include "platform/store/TextFold.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <sqlite3.h>

namespace pt::store {

namespace {

void foldFunction(sqlite3_context* context, int, sqlite3_value** arguments)
{
    if (sqlite3_value_type(arguments[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(arguments[0]));
    const QByteArray folded = foldCaseAndDiacritics(QString::fromUtf8(text, sqlite3_value_bytes(arguments[0]))).toUtf8();
    sqlite3_result_text(context, folded.constData(), int(folded.size()), SQLITE_TRANSIENT);
}

// Rolls back unless committed; keeps every exit of a write path from leaving a transaction open.
class Transaction {
public:
    explicit Transaction(SqliteDatabase& db) : db_(db) {}
    ~Transaction()
    {
        if (open_)
            db_.exec(QStringLiteral("ROLLBACK"));
    }
    pt::Result<void> begin()
    {
        auto r = db_.exec(QStringLiteral("BEGIN IMMEDIATE"));
        open_ = r.ok();
        return r;
    }
    pt::Result<void> commit()
    {
        auto r = db_.exec(QStringLiteral("COMMIT"));
        if (r)
            open_ = false;
        return r;
    }

private:
    SqliteDatabase& db_;
    bool open_ = false;
};

pt::Error closedError()
{
    return storeError(StoreNoCoordinator, QStringLiteral("The store is closed"));
}

// SQLite takes a file shorter than its header for a new, empty database and writes over it.
bool hasDatabaseHeader(const QString& path)
{
    static const QByteArray magic("SQLite format 3", 16);
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(magic.size()) == magic;
}

bool bit(quint64 mask, int index)
{
    return mask & (quint64(1) << index);
}

} // namespace

StoreCoordinator::StoreCoordinator(QString path, std::shared_ptr<const ObjectModel> model,
                                   std::unique_ptr<SqliteDatabase> db)
    : path_(std::move(path))
    , model_(std::move(model))
    , db_(std::move(db))
{
}

StoreCoordinator::~StoreCoordinator() = default;

pt::Result<std::shared_ptr<StoreCoordinator>> StoreCoordinator::open(const QString& path,
                                                                     std::shared_ptr<const ObjectModel> model)
{
    return open(path, std::move(model), Options{});
}

pt::Result<std::shared_ptr<StoreCoordinator>> StoreCoordinator::open(const QString& path,
                                                                     std::shared_ptr<const ObjectModel> model,
                                                                     const Options& options)
{
    const QFileInfo file(path);
    if (file.size() > 0 && !hasDatabaseHeader(path))
        return storeError(StoreOpenFailed, QStringLiteral("%1 is not a database").arg(path));
    // A file or folder that cannot be written (a read-only medium, another user's library) is read where it is.
    const bool readOnly = file.exists() && (!file.isWritable() || !QFileInfo(file.path()).isWritable());
    auto db = SqliteDatabase::open(path, readOnly);
    if (!db)
        return db.error();
    std::shared_ptr<StoreCoordinator> coordinator(new StoreCoordinator(path, std::move(model), std::move(*db)));
    coordinator->readOnly_ = readOnly;
    if (auto r = coordinator->prepare(options); !r)
        return r.error();
    return coordinator;
}

pt::Result<void> StoreCoordinator::setJournalMode(const Options& options)
{
    const QString wanted = options.journalMode == JournalMode::Wal ? QStringLiteral("wal") : QStringLiteral("delete");
    // Changing the mode needs the file to itself, and SQLite does not wait for a process that creates the same
    // store at the same moment (waiting could deadlock): try again until the busy timeout has passed.
    QDeadlineTimer deadline(options.busyTimeoutMs);
    auto mode = db_->queryText(QStringLiteral("PRAGMA journal_mode=%1").arg(wanted));
    while (!mode && db_->lastErrorCode() == SQLITE_BUSY && !deadline.hasExpired()) {
        sqlite3_sleep(10);
        mode = db_->queryText(QStringLiteral("PRAGMA journal_mode=%1").arg(wanted));
    }
    if (!mode)
        return storeError(StoreOpenFailed, QStringLiteral("%1 is not a store: %2").arg(path_, mode.error().localizedDescription()));
    if (mode->toLower() != wanted)
        return storeError(StoreOpenFailed, QStringLiteral("%1 cannot use journal mode %2").arg(path_, wanted));
    return {};
}

pt::Result<void> StoreCoordinator::openReadOnly()
{
    if (db_->queryText(QStringLiteral("SELECT count(*) FROM sqlite_master")))
        return {};
    // A store in write-ahead-log mode needs its shared-memory file, which a read-only folder cannot hold.
    auto immutable = SqliteDatabase::openImmutable(path_);
    if (!immutable)
        return immutable.error();
    db_ = std::move(*immutable);
    if (auto r = db_->queryText(QStringLiteral("SELECT count(*) FROM sqlite_master")); !r)
        return storeError(StoreOpenFailed, QStringLiteral("%1 cannot be read: %2").arg(path_, r.error().localizedDescription()));
    return {};
}

pt::Result<void> StoreCoordinator::prepare(const Options& options)
{
    sqlite3_busy_timeout(db_->handle(), options.busyTimeoutMs);
    if (auto r = readOnly_ ? openReadOnly() : setJournalMode(options); !r)
        return r;
    sqlite3_busy_timeout(db_->handle(), options.busyTimeoutMs);
    for (const char* pragma : {"PRAGMA synchronous=NORMAL", "PRAGMA foreign_keys=ON"})
        if (auto r = db_->exec(QString::fromLatin1(pragma)); !r)
            return r;
    sqlite3_create_function_v2(db_->handle(), "pt_fold", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                               foldFunction, nullptr, nullptr, nullptr);

    auto hasMetadata = db_->queryText(
        QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type='table' AND name='pt_metadata'"));
    if (!hasMetadata)
        return hasMetadata.error();
    if (*hasMetadata == QLatin1String("0")) {
        if (readOnly_)
            return storeError(StoreNotAStore, QStringLiteral("%1 is not a store and cannot be written").arg(path_));
        if (auto r = createSchema(); !r)
            return r;
    }
    StoreMetadata metadata;
    SqliteStatement read = db_->statement(QStringLiteral("SELECT key, value FROM pt_metadata"));
    if (!read.isValid())
        return storeError(StoreNotAStore, QStringLiteral("%1 is not a store").arg(path_));
    while (read.step() == SQLITE_ROW) {
        const QString key = read.value(0, AttributeType::String).toString();
        const QString value = read.value(1, AttributeType::String).toString();
        if (key == QLatin1String("store_uuid"))
            storeUuid_ = value;
        else if (key == QLatin1String("model_hash"))
            metadata.modelHash = value;
        else if (key == QLatin1String("model_name"))
            metadata.modelName = value;
    }
    if (storeUuid_.isEmpty())
        return storeError(StoreNotAStore, QStringLiteral("%1 has no store identity").arg(path_));
    if (metadata.modelHash != model_->hash())
        return storeError(StoreIncompatible, QStringLiteral("%1 was made by model %2, not %3")
                                                 .arg(path_, metadata.modelName, model_->name()));
    // Searches work without the index, only slower: a store that cannot get one still opens.
    if (!readOnly_)
        if (auto r = SearchIndex::ensure(*db_, *model_); !r)
            qCWarning(lcStore) << "no search index for" << path_ << ":" << r.error().localizedDescription();
    if (auto indexed = SearchIndex::present(*db_, *model_))
        searchIndexed_ = *indexed;
    return {};
}

pt::Result<void> StoreCoordinator::createSchema()
{
    Transaction transaction(*db_);
    if (auto r = transaction.begin(); !r)
        return r;
    // Another connection may have created it while this one waited for the lock.
    auto tables = db_->queryText(QStringLiteral("SELECT count(*) FROM sqlite_master"));
    if (!tables)
        return tables.error();
    if (*tables != QLatin1String("0")) {
        auto hasMetadata = db_->queryText(
            QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type='table' AND name='pt_metadata'"));
        if (hasMetadata && *hasMetadata == QLatin1String("1"))
            return {};
        return storeError(StoreNotAStore, QStringLiteral("%1 holds a database that is not a store").arg(path_));
    }
    const QString created = QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
    if (auto r = writeSchema(*db_, *model_, QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper(), created); !r)
        return r;
    return transaction.commit();
}

pt::Result<void> StoreCoordinator::writeSchema(SqliteDatabase& db, const ObjectModel& model, const QString& storeUuid,
                                              const QString& created)
{
    QStringList statements{
        QStringLiteral("CREATE TABLE pt_metadata(key TEXT PRIMARY KEY, value TEXT NOT NULL) STRICT"),
        QStringLiteral("CREATE TABLE pt_primarykey(entity TEXT PRIMARY KEY, max INTEGER NOT NULL) STRICT"),
        QStringLiteral("PRAGMA user_version = %1").arg(model.version()),
    };
    statements << model.schemaStatements();
    for (const QString& statement : statements)
        if (auto r = db.exec(statement); !r)
            return r;
    const QVector<std::pair<QString, QString>> metadata{
        {QStringLiteral("store_uuid"), storeUuid},
        {QStringLiteral("model_name"), model.name()},
        {QStringLiteral("model_hash"), model.hash()},
        {QStringLiteral("created"), created},
    };
    for (const auto& [key, value] : metadata) {
        SqliteStatement insert = db.statement(QStringLiteral("INSERT INTO pt_metadata(key, value) VALUES(?, ?)"));
        insert.bind(1, key);
        insert.bind(2, value);
        if (insert.step() != SQLITE_DONE)
            return db.error(QStringLiteral("writing the store metadata"));
    }
    for (const auto& entity : model.entities()) {
        SqliteStatement insert = db.statement(QStringLiteral("INSERT INTO pt_primarykey(entity, max) VALUES(?, 0)"));
        insert.bind(1, entity->name());
        if (insert.step() != SQLITE_DONE)
            return db.error(QStringLiteral("writing the key table"));
    }
    return {};
}

pt::Result<StoreMetadata> StoreCoordinator::metadataForStore(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return storeError(StoreOpenFailed, QStringLiteral("No store at %1").arg(path));
    auto db = SqliteDatabase::open(path, true);
    if (!db)
        return db.error();
    StoreMetadata metadata;
    SqliteStatement read = (*db)->statement(QStringLiteral("SELECT key, value FROM pt_metadata"));
    if (!read.isValid())
        return storeError(StoreNotAStore, QStringLiteral("%1 is not a store").arg(path));
    int rc;
    while ((rc = read.step()) == SQLITE_ROW) {
        const QString key = read.value(0, AttributeType::String).toString();
        const QString value = read.value(1, AttributeType::String).toString();
        if (key == QLatin1String("store_uuid"))
            metadata.storeUuid = value;
        else if (key == QLatin1String("model_name"))
            metadata.modelName = value;
        else if (key == QLatin1String("model_hash"))
            metadata.modelHash = value;
        else if (key == QLatin1String("created"))
            metadata.created = value;
    }
    if (rc != SQLITE_DONE)
        return (*db)->error(QStringLiteral("reading the metadata of %1").arg(path));
    if (auto version = (*db)->queryText(QStringLiteral("PRAGMA user_version")))
        metadata.version = version->toInt();
    if (metadata.storeUuid.isEmpty())
        return storeError(StoreNotAStore, QStringLiteral("%1 has no store identity").arg(path));
    return metadata;
}

bool StoreCoordinator::isCompatible(const StoreMetadata& metadata, const ObjectModel& model)
{
    return !metadata.modelHash.isEmpty() && metadata.modelHash == model.hash();
}

QString StoreCoordinator::journalMode()
{
    std::lock_guard lock(mutex_);
    if (!db_)
        return {};
    return db_->queryText(QStringLiteral("PRAGMA journal_mode")).valueOr(QString()).toLower();
}

std::optional<ObjectID> StoreCoordinator::objectIDForUri(QStringView uri) const
{
    return ObjectID::fromUri(uri, *model_, storeUuid_);
}

bool StoreCoordinator::exists(const ObjectID& id)
{
    if (id.isNull() || id.isTemporary() || id.storeUuid() != storeUuid_ || id.entity()->model() != model_.get())
        return false;
    std::lock_guard lock(mutex_);
    if (!db_)
        return false;
    SqliteStatement query = db_->statement(QStringLiteral("SELECT 1 FROM %1 WHERE pk = ?").arg(id.entity()->name()));
    query.bind(1, id.primaryKey());
    return query.step() == SQLITE_ROW;
}

pt::Result<qint64> StoreCoordinator::reservePrimaryKeys(const EntityDescription& entity, int count)
{
    std::lock_guard lock(mutex_);
    if (!db_)
        return closedError();
    Transaction transaction(*db_);
    if (auto r = transaction.begin(); !r)
        return r.error();
    qint64 last = 0;
    {
        SqliteStatement update = db_->statement(
            QStringLiteral("UPDATE pt_primarykey SET max = max + ? WHERE entity = ? RETURNING max"));
        update.bind(1, qint64(count));
        update.bind(2, entity.name());
        if (update.step() != SQLITE_ROW)
            return db_->error(QStringLiteral("reserving keys of %1").arg(entity.name()));
        last = update.int64(0);
    }
    if (auto r = transaction.commit(); !r)
        return r.error();
    return last - count + 1;
}

StoreCoordinator::EntitySql& StoreCoordinator::sqlFor(const EntityDescription& entity)
{
    auto found = sql_.find(&entity);
    if (found != sql_.end())
        return *found;
    QStringList columns{QStringLiteral("opt")};
    for (const auto& attribute : entity.attributes())
        columns << attribute.name;
    for (const auto& relationship : entity.relationships())
        if (relationship.hasColumn())
            columns << relationship.column;
    EntitySql sql;
    sql.columns = columns.join(QStringLiteral(", "));
    sql.selectByKey = QStringLiteral("SELECT %1 FROM %2 WHERE pk = ?").arg(sql.columns, entity.name());
    QStringList marks(columns.size(), QStringLiteral("?"));
    marks.front() = QStringLiteral("1");
    sql.insert = QStringLiteral("INSERT INTO %1(pk, %2) VALUES(?, %3)")
                     .arg(entity.name(), sql.columns, marks.join(QStringLiteral(", ")));
    return *sql_.insert(&entity, std::move(sql));
}

StoreRow StoreCoordinator::readRowColumns(SqliteStatement& statement, const EntityDescription& entity, int first) const
{
    StoreRow row;
    row.opt = statement.int64(first);
    int column = first + 1;
    row.values.resize(entity.attributes().size());
    QVariant* values = row.values.data();
    for (const auto& attribute : entity.attributes())
        *values++ = statement.value(column++, attribute.type);
    row.keys.resize(entity.relationships().size(), 0);
    for (int i = 0; i < entity.relationships().size(); ++i)
        if (entity.relationships()[i].hasColumn())
            row.keys[i] = statement.int64(column++);
    return row;
}

pt::Result<void> StoreCoordinator::close()
{
    std::lock_guard lock(mutex_);
    if (!db_)
        return {};
    // Folds the log into the file and empties it, so that the file alone holds every commit.
    auto checkpoint = db_->queryText(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    sql_.clear();
    db_.reset();
    if (!checkpoint)
        return checkpoint.error();
    return {};
}

pt::Result<std::optional<StoreRow>> StoreCoordinator::readRow(const EntityDescription& entity, qint64 primaryKey)
{
    std::lock_guard lock(mutex_);
    if (!db_)
        return closedError();
    EntitySql& sql = sqlFor(entity);
    SqliteStatement query = db_->statement(sql.selectByKey, sql.selectByKeyStatement);
    if (!query.isValid())
        return db_->error(QStringLiteral("reading %1").arg(entity.name()));
    query.bind(1, primaryKey);
    const int rc = query.step();
    if (rc == SQLITE_ROW)
        return std::optional<StoreRow>(readRowColumns(query, entity, 0));
    if (rc == SQLITE_DONE)
        return std::optional<StoreRow>();
    return db_->error(QStringLiteral("reading %1").arg(entity.name()));
}

pt::Result<QVector<std::pair<qint64, StoreRow>>> StoreCoordinator::fetchRows(const EntityDescription& entity,
                                                                            const Predicate& predicate)
{
    QString where;
    QVector<QVariant> bindings;
    if (auto r = predicate.toSql(entity, where, bindings, searchIndexed_.contains(&entity)); !r)
        return r.error();
    std::lock_guard lock(mutex_);
    if (!db_)
        return closedError();
    SqliteStatement query = db_->statement(
        QStringLiteral("SELECT pk, %1 FROM %2 WHERE %3").arg(sqlFor(entity).columns, entity.name(), where));
    if (!query.isValid())
        return db_->error(QStringLiteral("fetching %1").arg(entity.name()));
    for (int i = 0; i < bindings.size(); ++i)
        query.bind(i + 1, bindings[i]);
    QVector<std::pair<qint64, StoreRow>> rows;
    int rc;
    while ((rc = query.step()) == SQLITE_ROW)
        rows.append({query.int64(0), readRowColumns(query, entity, 1)});
    if (rc != SQLITE_DONE)
        return db_->error(QStringLiteral("fetching %1").arg(entity.name()));
    return rows;
}

pt::Result<QVector<qint64>> StoreCoordinator::fetchKeys(const EntityDescription& entity, const Predicate& predicate)
{
    QString where;
    QVector<QVariant> bindings;
    if (auto r = predicate.toSql(entity, where, bindings, searchIndexed_.contains(&entity)); !r)
        return r.error();
    std::lock_guard lock(mutex_);
    if (!db_)
        return closedError();
    SqliteStatement query = db_->statement(QStringLiteral("SELECT pk FROM %1 WHERE %2").arg(entity.name(), where));
    if (!query.isValid())
        return db_->error(QStringLiteral("fetching %1").arg(entity.name()));
    for (int i = 0; i < bindings.size(); ++i)
        query.bind(i + 1, bindings[i]);
    QVector<qint64> keys;
    int rc;
    while ((rc = query.step()) == SQLITE_ROW)
        keys.append(query.int64(0));
    if (rc != SQLITE_DONE)
        return db_->error(QStringLiteral("fetching %1").arg(entity.name()));
    return keys;
}

pt::Result<QVector<std::pair<qint64, QVector<QVariant>>>> StoreCoordinator::fetchColumns(
    const EntityDescription& entity, const Predicate& predicate, const QVector<int>& attributes,
    const QVector<int>& relationships)
{
    QString where;
    QVector<QVariant> bindings;
    if (auto r = predicate.toSql(entity, where, bindings, searchIndexed_.contains(&entity)); !r)
        return r.error();
    QString columns = QStringLiteral("pk");
    for (int attribute : attributes)
        columns += QStringLiteral(", ") + entity.attributes()[attribute].name;
    for (int relationship : relationships) {
        Q_ASSERT(entity.relationships()[relationship].hasColumn());
        columns += QStringLiteral(", ") + entity.relationships()[relationship].column;
    }
    std::lock_guard lock(mutex_);
    if (!db_)
        return closedError();
    SqliteStatement query = db_->statement(QStringLiteral("SELECT %1 FROM %2 WHERE %3").arg(columns, entity.name(), where));
    if (!query.isValid())
        return db_->error(QStringLiteral("fetching %1").arg(entity.name()));
    for (int i = 0; i < bindings.size(); ++i)
        query.bind(i + 1, bindings[i]);
    QVector<std::pair<qint64, QVector<QVariant>>> rows;
    int rc;
    while ((rc = query.step()) == SQLITE_ROW) {
        QVector<QVariant> values;
        values.reserve(attributes.size() + relationships.size());
        int column = 1;
        for (int attribute : attributes)
            values.append(query.value(column++, entity.attributes()[attribute].type));
        for (qsizetype i = 0; i < relationships.size(); ++i)
            values.append(query.int64(column++));
        rows.append({query.int64(0), std::move(values)});
    }
    if (rc != SQLITE_DONE)
        return db_->error(QStringLiteral("fetching %1").arg(entity.name()));
    return rows;
}

pt::Result<qint64> StoreCoordinator::count(const EntityDescription& entity, const Predicate& predicate)
{
    QString where;
    QVector<QVariant> bindings;
    if (auto r = predicate.toSql(entity, where, bindings, searchIndexed_.contains(&entity)); !r)
        return r.error();
    std::lock_guard lock(mutex_);
    if (!db_)
        return closedError();
    SqliteStatement query = db_->statement(QStringLiteral("SELECT count(*) FROM %1 WHERE %2").arg(entity.name(), where));
    if (!query.isValid())
        return db_->error(QStringLiteral("counting %1").arg(entity.name()));
    for (int i = 0; i < bindings.size(); ++i)
        query.bind(i + 1, bindings[i]);
    if (query.step() != SQLITE_ROW)
        return db_->error(QStringLiteral("counting %1").arg(entity.name()));
    return query.int64(0);
}

pt::Result<StoreCoordinator::WriteResult> StoreCoordinator::write(const ChangeSet& changes, MergePolicy policy)
{
    WriteResult result;
    if (changes.isEmpty())
        return result;
    std::lock_guard lock(mutex_);
    if (!db_)
        return closedError();
    if (auto r = writeLocked(changes, policy, result); !r)
        return r.error();
    return result;
}

pt::Result<void> StoreCoordinator::writeLocked(const ChangeSet& changes, MergePolicy policy, WriteResult& result)
{
    struct KeyCheck {
        ObjectID source;
        int relationship;
        ObjectID target;
    };
    QVector<KeyCheck> checks;
    checks.reserve(qsizetype(changes.entries().size()) * 2);
    result.rows.reserve(qsizetype(changes.entries().size()));
    const auto addChecks = [&](const ChangeEntry& entry, const StoreRow& row, quint64 mask) {
        const EntityDescription& entity = *entry.id.entity();
        for (int i = 0; i < row.keys.size(); ++i)
            if (row.keys[i] != 0 && bit(mask, i))
                checks.append({entry.id, i, idFor(entity.target(i), row.keys[i])});
    };

    // Inserted rows of indexed entities, indexed together once every row is written.
    QHash<const EntityDescription*, QVector<qint64>> toIndex;

    Transaction transaction(*db_);
    if (auto r = transaction.begin(); !r)
        return r;
    for (const ChangeEntry& entry : changes.entries()) {
        const EntityDescription& entity = *entry.id.entity();
        Q_ASSERT(!entry.id.isTemporary());
        if (entry.kind == ChangeEntry::Kind::Insert) {
            EntitySql& sql = sqlFor(entity);
            SqliteStatement insert = db_->statement(sql.insert, sql.insertStatement);
            if (!insert.isValid())
                return db_->error(QStringLiteral("inserting into %1").arg(entity.name()));
            int position = 1;
            insert.bind(position++, entry.id.primaryKey());
            // Entries carry every column; at() binds them without copying each value first.
            Q_ASSERT(entry.values.values.size() == entity.attributes().size());
            for (int i = 0; i < entity.attributes().size(); ++i)
                insert.bind(position++, entry.values.values.at(i));
            for (int i = 0; i < entity.relationships().size(); ++i)
                if (entity.relationships()[i].hasColumn())
                    insert.bindKey(position++, entry.values.keys.value(i));
            if (insert.step() != SQLITE_DONE)
                return db_->error(QStringLiteral("inserting into %1").arg(entity.name()));
            if (searchIndexed_.contains(&entity))
                toIndex[&entity].append(entry.id.primaryKey());
            StoreRow row = entry.values;
            row.opt = 1;
            addChecks(entry, row, ~quint64(0));
            result.rows.emplace(entry.id, std::move(row));
        } else if (entry.kind == ChangeEntry::Kind::Update) {
            std::optional<StoreRow> stored;
            {
                EntitySql& sql = sqlFor(entity);
                SqliteStatement read = db_->statement(sql.selectByKey, sql.selectByKeyStatement);
                read.bind(1, entry.id.primaryKey());
                const int rc = read.step();
                if (rc == SQLITE_ROW)
                    stored = readRowColumns(read, entity, 0);
                else if (rc != SQLITE_DONE)
                    return db_->error(QStringLiteral("reading %1").arg(entity.name()));
            }
            if (!stored) {
                result.vanished.insert(entry.id);
                continue;
            }
            const bool conflict = stored->opt != entry.original.opt;
            const bool storeWins = conflict && policy == MergePolicy::StoreTrumpByProperty;
            StoreRow row = *stored;
            QString assignments;
            QVector<QVariant> bound;
            quint64 writtenKeys = 0;
            for (int i = 0; i < entity.attributes().size(); ++i) {
                if (!bit(entry.changedAttributes, i))
                    continue;
                if (storeWins && stored->values.value(i) != entry.original.values.value(i)) {
                    result.adjusted.insert(entry.id);
                    continue;
                }
                row.values[i] = entry.values.values.value(i);
                assignments += entity.attributes()[i].name + QStringLiteral(" = ?, ");
                bound.append(row.values[i]);
            }
            for (int i = 0; i < entity.relationships().size(); ++i) {
                if (!bit(entry.changedRelationships, i) || !entity.relationships()[i].hasColumn())
                    continue;
                if (storeWins && stored->keys.value(i) != entry.original.keys.value(i)) {
                    result.adjusted.insert(entry.id);
                    continue;
                }
                row.keys[i] = entry.values.keys.value(i);
                assignments += entity.relationships()[i].column + QStringLiteral(" = ?, ");
                bound.append(row.keys[i] == 0 ? QVariant() : QVariant(row.keys[i]));
                writtenKeys |= quint64(1) << i;
            }
            if (!assignments.isEmpty()) {
                SqliteStatement update = db_->statement(
                    QStringLiteral("UPDATE %1 SET %2opt = opt + 1 WHERE pk = ?").arg(entity.name(), assignments));
                if (!update.isValid())
                    return db_->error(QStringLiteral("updating %1").arg(entity.name()));
                for (int i = 0; i < bound.size(); ++i)
                    update.bind(i + 1, bound[i]);
                update.bind(int(bound.size()) + 1, entry.id.primaryKey());
                if (update.step() != SQLITE_DONE)
                    return db_->error(QStringLiteral("updating %1").arg(entity.name()));
                ++row.opt;
            }
            addChecks(entry, row, writtenKeys);
            result.rows.insert(entry.id, std::move(row));
        }
    }
    for (auto batch = toIndex.cbegin(); batch != toIndex.cend(); ++batch)
        if (auto r = SearchIndex::indexInserted(*db_, *batch.key(), batch.value()); !r)
            return r;
    // Deletes last, so that keys written above that point at deleted rows are caught by the checks below.
    for (const ChangeEntry& entry : changes.entries()) {
        if (entry.kind != ChangeEntry::Kind::Delete)
            continue;
        SqliteStatement remove = db_->statement(QStringLiteral("DELETE FROM %1 WHERE pk = ?").arg(entry.id.entity()->name()));
        remove.bind(1, entry.id.primaryKey());
        if (remove.step() != SQLITE_DONE)
            return db_->error(QStringLiteral("deleting from %1").arg(entry.id.entity()->name()));
        if (sqlite3_changes(db_->handle()) == 0)
            result.vanished.insert(entry.id);
    }
    // Whether a key's target row exists once this transaction commits.
    QHash<ObjectID, bool> known;
    const auto targetExists = [&](const ObjectID& target) {
        if (const ChangeEntry* change = changes.find(target); change && change->kind != ChangeEntry::Kind::Update)
            return change->kind == ChangeEntry::Kind::Insert;
        auto found = known.constFind(target);
        if (found == known.cend()) {
            SqliteStatement query = db_->statement(QStringLiteral("SELECT 1 FROM %1 WHERE pk = ?").arg(target.entity()->name()));
            query.bind(1, target.primaryKey());
            found = known.insert(target, query.step() == SQLITE_ROW);
        }
        return *found;
    };
    for (const KeyCheck& check : checks) {
        if (targetExists(check.target))
            continue;
        const EntityDescription& entity = *check.source.entity();
        qCWarning(lcStore) << "nullifying" << entity.relationships()[check.relationship].name << "of"
                           << check.source.uriString() << ": its target no longer exists";
        SqliteStatement clear = db_->statement(QStringLiteral("UPDATE %1 SET %2 = NULL WHERE pk = ?")
                                                   .arg(entity.name(), entity.relationships()[check.relationship].column));
        clear.bind(1, check.source.primaryKey());
        if (clear.step() != SQLITE_DONE)
            return db_->error(QStringLiteral("updating %1").arg(entity.name()));
        result.rows[check.source].keys[check.relationship] = 0;
        result.adjusted.insert(check.source);
    }
    return transaction.commit();
}

} // namespace pt::store
