#include "platform/store/StoreFileCopy.h"

#include "platform/store/SqliteDatabase.h"
#include "platform/store/StoreError.h"

#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <sqlite3.h>

namespace pt::store {

QStringList StoreFileCopy::companionPaths(const QString& path)
{
    return {path + QStringLiteral("-wal"), path + QStringLiteral("-shm"), path + QStringLiteral("-journal")};
}

pt::Result<void> StoreFileCopy::copy(const QString& source, const QString& destination)
{
    if (!QFileInfo(source).isFile())
        return storeError(StoreOpenFailed, QStringLiteral("No store at %1").arg(source));
    auto from = SqliteDatabase::open(source, true);
    if (!from)
        return from.error();
    sqlite3_busy_timeout((*from)->handle(), 5000);
    const QString staging = QStringLiteral("%1.%2.partial")
                                .arg(destination, QUuid::createUuid().toString(QUuid::WithoutBraces));
    const auto discard = [&staging] {
        QFile::remove(staging);
        for (const QString& companion : companionPaths(staging))
            QFile::remove(companion);
    };
    {
        auto to = SqliteDatabase::open(staging, false);
        if (!to) {
            discard();
            return to.error();
        }
        sqlite3_backup* backup = sqlite3_backup_init((*to)->handle(), "main", (*from)->handle(), "main");
        if (!backup) {
            pt::Error error = (*to)->error(QStringLiteral("starting the copy of %1").arg(source));
            to->reset();
            discard();
            return error;
        }
        // All pages in one step: one read transaction on the source, so the copy is one snapshot.
        int rc;
        do {
            rc = sqlite3_backup_step(backup, -1);
            if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
                sqlite3_sleep(20);
        } while (rc == SQLITE_BUSY || rc == SQLITE_LOCKED || rc == SQLITE_OK);
        sqlite3_backup_finish(backup);
        if (rc != SQLITE_DONE) {
            const pt::Error error = storeError(StoreSqlFailed, QStringLiteral("Copying %1: %2")
                                                                   .arg(source, QString::fromUtf8(sqlite3_errstr(rc))));
            to->reset();
            discard();
            return error;
        }
        // A self-contained file: the copy keeps nothing in a log of its own.
        auto mode = (*to)->queryText(QStringLiteral("PRAGMA journal_mode=DELETE"));
        auto check = (*to)->queryText(QStringLiteral("PRAGMA quick_check"));
        if (!mode || !check || *check != QLatin1String("ok")) {
            to->reset();
            discard();
            return storeError(StoreSqlFailed, QStringLiteral("The copy of %1 does not check out").arg(source));
        }
    }
    QFile::remove(destination);
    for (const QString& companion : companionPaths(destination))
        QFile::remove(companion);
    if (!QFile::rename(staging, destination)) {
        discard();
        return storeError(StoreSqlFailed, QStringLiteral("Cannot move the copy to %1").arg(destination));
    }
    return {};
}

} // namespace pt::store
