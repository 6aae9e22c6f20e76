#pragma once

#include "platform/runtime/Error.h"
#include "platform/store/ChangeSet.h"
#include "platform/store/DidSave.h"
#include "platform/store/ObjectModel.h"
#include "platform/store/Predicate.h"
#include "platform/store/StoreMetadata.h"

#include <QSet>
#include <QString>

#include <memory>
#include <mutex>
#include <optional>

struct sqlite3_stmt;

namespace pt::store {

class SqliteDatabase;

// The store file of one model version, behind one serialised connection.
//
// Storage contract: every write is one BEGIN IMMEDIATE transaction that commits completely or not at all, in
// WAL mode with synchronous=NORMAL (a crash never corrupts the file nor leaves half a save; the last commits
// before a power loss may be lost). Primary keys come from pt_primarykey and are never reused, so a URI names
// one object for the life of the library; the store UUID in pt_metadata survives copies, so URIs stay valid in
// backups. Each row carries a version (opt) that writes check and bump.
class StoreCoordinator {
public:
    enum class JournalMode { Wal, Delete };
    struct Options {
        JournalMode journalMode = JournalMode::Wal;
        int busyTimeoutMs = 5000;
    };
    struct WriteResult {
        // The rows as stored after the write, for every inserted and updated object that still exists.
        QHash<ObjectID, StoreRow> rows;
        // Updated or deleted objects whose rows another writer had already deleted.
        QSet<ObjectID> vanished;
        // Inserted or updated objects stored with other values than were sent (a column the store kept, a key
        // whose target was gone).
        QSet<ObjectID> adjusted;
    };

    // Opens the store, creating it (with a new store UUID) when the file is new or empty. A store of another
    // model version is refused with StoreIncompatible; a database that is not a store with StoreNotAStore, and a
    // file that is not a database (however short) with StoreOpenFailed, untouched. A store whose file or folder
    // cannot be written opens read-only (isReadOnly; every write fails).
    static pt::Result<std::shared_ptr<StoreCoordinator>> open(const QString& path,
                                                              std::shared_ptr<const ObjectModel> model,
                                                              const Options& options);
    static pt::Result<std::shared_ptr<StoreCoordinator>> open(const QString& path,
                                                              std::shared_ptr<const ObjectModel> model);
    ~StoreCoordinator();

    // Reads the metadata through a read-only connection.
    static pt::Result<StoreMetadata> metadataForStore(const QString& path);
    static bool isCompatible(const StoreMetadata& metadata, const ObjectModel& model);
    // Creates the tables, keys and metadata of the model in an empty database, inside the caller's transaction.
    static pt::Result<void> writeSchema(SqliteDatabase& db, const ObjectModel& model, const QString& storeUuid,
                                        const QString& created);

    const ObjectModel& model() const { return *model_; }
    std::shared_ptr<const ObjectModel> sharedModel() const { return model_; }
    const QString& path() const { return path_; }
    const QString& storeUuid() const { return storeUuid_; }
    bool isReadOnly() const { return readOnly_; }
    // The connection's journal mode ("wal" or "delete").
    QString journalMode();

    // Checkpoints the log into the store file and closes the connection; later calls fail with
    // StoreNoCoordinator. Used before the store's files are moved or copied as files.
    pt::Result<void> close();

    // Resolution of a URI string of this store; never throws and reads no row.
    std::optional<ObjectID> objectIDForUri(QStringView uri) const;
    bool exists(const ObjectID& id);
    ObjectID idFor(const EntityDescription* entity, qint64 primaryKey) const
    {
        return ObjectID::permanent(entity, primaryKey, storeUuid_);
    }

    // Reserves `count` new primary keys of the entity in a short transaction of its own; answers the first.
    pt::Result<qint64> reservePrimaryKeys(const EntityDescription& entity, int count);

    pt::Result<std::optional<StoreRow>> readRow(const EntityDescription& entity, qint64 primaryKey);
    pt::Result<QVector<std::pair<qint64, StoreRow>>> fetchRows(const EntityDescription& entity,
                                                               const Predicate& predicate);
    pt::Result<QVector<qint64>> fetchKeys(const EntityDescription& entity, const Predicate& predicate);
    // The keys of the matching rows with the values of a few attributes and to-one keys (0 for none), in that
    // order: what a long list needs first, without reading whole rows.
    pt::Result<QVector<std::pair<qint64, QVector<QVariant>>>> fetchColumns(const EntityDescription& entity,
                                                                         const Predicate& predicate,
                                                                         const QVector<int>& attributes,
                                                                         const QVector<int>& relationships);
    pt::Result<qint64> count(const EntityDescription& entity, const Predicate& predicate);

    // Writes the changes in one transaction. An update whose row changed since it was read (another opt) is a
    // conflict: ObjectTrump writes the changed columns anyway; StoreTrump keeps every changed column whose
    // stored value differs from the one the change was made against. Keys of targets that no longer exist are
    // written as NULL, as a delete would have nullified them. On failure nothing is written.
    pt::Result<WriteResult> write(const ChangeSet& changes, MergePolicy policy);

private:
    StoreCoordinator(QString path, std::shared_ptr<const ObjectModel> model, std::unique_ptr<SqliteDatabase> db);
    pt::Result<void> prepare(const Options& options);
    pt::Result<void> setJournalMode(const Options& options);
    pt::Result<void> openReadOnly();
    pt::Result<void> createSchema();
    pt::Result<void> writeLocked(const ChangeSet& changes, MergePolicy policy, WriteResult& result);
    // The SQL of one entity's tables, made once.
    struct EntitySql {
        QString columns; // opt, the attributes, the key columns
        QString selectByKey;
        QString insert;
        sqlite3_stmt* selectByKeyStatement = nullptr;
        sqlite3_stmt* insertStatement = nullptr;
    };
    EntitySql& sqlFor(const EntityDescription& entity);
    StoreRow readRowColumns(class SqliteStatement& statement, const EntityDescription& entity, int first) const;

    QString path_;
    std::shared_ptr<const ObjectModel> model_;
    std::unique_ptr<SqliteDatabase> db_;
    QString storeUuid_;
    bool readOnly_ = false;
    std::mutex mutex_;
    QHash<const EntityDescription*, EntitySql> sql_;
    // Entities whose SearchIndex the store holds.
    QSet<const EntityDescription*> searchIndexed_;
};

} // namespace pt::store
