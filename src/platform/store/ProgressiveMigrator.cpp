#include "platform/store/ProgressiveMigrator.h"

#include "platform/runtime/Logging.h"
#include "platform/store/SqliteDatabase.h"
#include "platform/store/StoreCoordinator.h"
#include "platform/store/StoreError.h"
#include "platform/store/StoreFileCopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <sqlite3.h>

#include <filesystem>

namespace pt::store {

namespace {

pt::Error migrationError(const QString& description)
{
    return storeError(StoreMigrationFailed, description);
}

// The columns a destination entity takes over from the source entity of the same name.
QStringList sharedColumns(const EntityDescription& destination, const EntityDescription& source)
{
    QStringList columns{QStringLiteral("pk"), QStringLiteral("opt")};
    for (const auto& attribute : destination.attributes()) {
        const int index = source.attributeIndex(attribute.name);
        if (index >= 0 && source.attributes()[index].type == attribute.type)
            columns << attribute.name;
    }
    for (const auto& relationship : destination.relationships()) {
        if (!relationship.hasColumn())
            continue;
        const int index = source.relationshipIndex(relationship.name);
        if (index >= 0 && source.relationships()[index].hasColumn()
            && source.relationships()[index].column == relationship.column)
            columns << relationship.column;
    }
    return columns;
}

std::filesystem::path fsPath(const QString& path)
{
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

// rename(2): within one folder it replaces what is at `to` in one step.
pt::Result<void> moveFile(const QString& from, const QString& to)
{
    std::error_code ec;
    std::filesystem::rename(fsPath(from), fsPath(to), ec);
    if (ec)
        return migrationError(QStringLiteral("Cannot move %1 to %2: %3").arg(from, to, QString::fromStdString(ec.message())));
    return {};
}

QStringList withCompanions(const QString& path)
{
    return QStringList{path} + StoreFileCopy::companionPaths(path);
}

void removeWithCompanions(const QString& path)
{
    for (const QString& file : withCompanions(path))
        QFile::remove(file);
}

} // namespace

ProgressiveMigrator::ProgressiveMigrator(QVector<std::shared_ptr<const ObjectModel>> models,
                                         QVector<MigrationStep> steps)
    : models_(std::move(models))
    , steps_(std::move(steps))
{
}

QString ProgressiveMigrator::destinationPath(const QString& storePath, const QString& modelName)
{
    const QFileInfo info(storePath);
    return QDir(info.path()).filePath(
        QStringLiteral("%1.%2.%3").arg(info.completeBaseName(), modelName, info.suffix()));
}

bool ProgressiveMigrator::isAdditive(const ObjectModel& source, const ObjectModel& destination)
{
    if (source.hash() == destination.hash())
        return false;
    for (const auto& entity : source.entities()) {
        const EntityDescription* target = destination.entity(entity->name());
        if (!target)
            return false;
        for (const auto& attribute : entity->attributes()) {
            const int index = target->attributeIndex(attribute.name);
            if (index < 0 || target->attributes()[index].type != attribute.type
                || target->attributes()[index].folded != attribute.folded)
                return false;
        }
        for (const auto& relationship : entity->relationships()) {
            const int index = target->relationshipIndex(relationship.name);
            if (index < 0)
                return false;
            const RelationshipDescription& other = target->relationships()[index];
            if (other.targetEntity != relationship.targetEntity || other.toMany != relationship.toMany
                || other.column != relationship.column)
                return false;
        }
    }
    return true;
}

std::shared_ptr<const ObjectModel> ProgressiveMigrator::modelForHash(const QString& hash) const
{
    for (const auto& model : models_)
        if (model->hash() == hash)
            return model;
    return nullptr;
}

std::optional<MigrationStep> ProgressiveMigrator::nextStep(const std::shared_ptr<const ObjectModel>& source) const
{
    for (const auto& candidate : models_) {
        // Never back to an older version.
        if (candidate->version() <= source->version())
            continue;
        for (const MigrationStep& step : steps_)
            if (step.source->hash() == source->hash() && step.destination->hash() == candidate->hash())
                return step;
        if (isAdditive(*source, *candidate))
            return MigrationStep{source, candidate, {}, {}};
    }
    return std::nullopt;
}

pt::Result<QVector<ProgressiveMigrator::Pass>> ProgressiveMigrator::migrate(const QString& storePath,
                                                                            const ObjectModel& target) const
{
    QVector<Pass> passes;
    for (;;) {
        auto metadata = StoreCoordinator::metadataForStore(storePath);
        if (!metadata)
            return metadata.error();
        if (StoreCoordinator::isCompatible(*metadata, target))
            return passes;
        auto source = modelForHash(metadata->modelHash);
        if (!source)
            return migrationError(QStringLiteral("%1 was made by an unknown model (%2)").arg(storePath, metadata->modelName));
        auto step = nextStep(source);
        if (!step)
            return migrationError(QStringLiteral("No migration leads from %1 to %2").arg(source->name(), target.name()));
        auto pass = runPass(storePath, *step);
        if (!pass)
            return pass.error();
        qCInfo(lcStore) << "migrated" << storePath << "from" << pass->sourceModel << "to" << pass->destinationModel;
        passes.append(*pass);
    }
}

pt::Result<ProgressiveMigrator::Pass> ProgressiveMigrator::runPass(const QString& storePath,
                                                                  const MigrationStep& step) const
{
    const ObjectModel& destinationModel = *step.destination;
    // Fold the log into the file: what follows reads and parks the file alone.
    {
        auto db = SqliteDatabase::open(storePath, false);
        if (!db)
            return db.error();
        sqlite3_busy_timeout((*db)->handle(), 5000);
        auto mode = (*db)->queryText(QStringLiteral("PRAGMA journal_mode=DELETE"));
        if (!mode || mode->toLower() != QLatin1String("delete"))
            return migrationError(QStringLiteral("%1 is in use and cannot be migrated").arg(storePath));
    }
    reached(Stage::Folded);
    auto metadata = StoreCoordinator::metadataForStore(storePath);
    if (!metadata)
        return metadata.error();

    const QString destination = destinationPath(storePath, destinationModel.name());
    removeWithCompanions(destination);
    auto written = [&]() -> pt::Result<void> {
        auto db = SqliteDatabase::open(destination, false);
        if (!db)
            return db.error();
        SqliteDatabase& out = **db;
        if (auto r = out.exec(QStringLiteral("PRAGMA journal_mode=DELETE")); !r)
            return r;
        {
            SqliteStatement attach = out.statement(QStringLiteral("ATTACH DATABASE ? AS source"));
            attach.bind(1, storePath);
            if (attach.step() != SQLITE_DONE)
                return out.error(QStringLiteral("attaching %1").arg(storePath));
        }
        if (auto r = out.exec(QStringLiteral("BEGIN IMMEDIATE")); !r)
            return r;
        auto body = [&]() -> pt::Result<void> {
            if (auto r = StoreCoordinator::writeSchema(out, destinationModel, metadata->storeUuid, metadata->created); !r)
                return r;
            for (const auto& entity : destinationModel.entities()) {
                if (const EntityDescription* from = step.source->entity(entity->name())) {
                    const QString columns = sharedColumns(*entity, *from).join(QStringLiteral(", "));
                    if (auto r = out.exec(QStringLiteral("INSERT INTO main.%1(%2) SELECT %2 FROM source.%1")
                                              .arg(entity->name(), columns));
                        !r)
                        return r;
                }
                if (auto policy = step.policies.constFind(entity->name()); policy != step.policies.cend())
                    if (auto r = (*policy)(out); !r)
                        return r;
                // Keys are never reused: the counter carries over and never falls below a key in use.
                if (auto r = out.exec(QStringLiteral(
                        "UPDATE main.pt_primarykey SET max = max(ifnull((SELECT s.max FROM source.pt_primarykey s "
                        "WHERE s.entity = '%1'), 0), (SELECT ifnull(max(pk), 0) FROM main.%1)) WHERE entity = '%1'")
                                          .arg(entity->name()));
                    !r)
                    return r;
            }
            return {};
        }();
        if (!body) {
            out.exec(QStringLiteral("ROLLBACK"));
            return body;
        }
        if (auto r = out.exec(QStringLiteral("COMMIT")); !r)
            return r;
        return out.exec(QStringLiteral("DETACH DATABASE source"));
    }();
    if (!written) {
        removeWithCompanions(destination);
        return written.error();
    }
    reached(Stage::Written);
    auto parked = swap(storePath, destination);
    if (!parked) {
        removeWithCompanions(destination);
        return parked.error();
    }
    reached(Stage::Swapped);
    if (step.completed)
        step.completed(storePath);
    return Pass{step.source->name(), destinationModel.name(), *parked};
}

void ProgressiveMigrator::reached(Stage stage) const
{
    if (stageHandler)
        stageHandler(stage);
}

QString ProgressiveMigrator::parkingFolder(const QString& storePath)
{
    const QFileInfo info(storePath);
    return QDir(info.path()).filePath(QStringLiteral(".%1.parked").arg(info.fileName()));
}

pt::Result<QString> ProgressiveMigrator::swap(const QString& storePath, const QString& destinationPath) const
{
    if (!QFileInfo(destinationPath).isFile())
        return migrationError(QStringLiteral("No new store at %1").arg(destinationPath));
    const QString parked = QDir(parkingFolder(storePath)).filePath(QUuid::createUuid().toString(QUuid::WithoutBraces));
    if (!QDir().mkpath(parked))
        return migrationError(QStringLiteral("Cannot make %1").arg(parked));
    const QString name = QFileInfo(storePath).fileName();
    // The old store keeps its place until the new one takes it: what is parked is a second name for it.
    std::error_code ec;
    std::filesystem::create_hard_link(fsPath(storePath), fsPath(QDir(parked).filePath(name)), ec);
    if (ec && !QFile::copy(storePath, QDir(parked).filePath(name))) {
        QDir(parked).removeRecursively();
        return migrationError(QStringLiteral("Cannot park %1 in %2").arg(storePath, parked));
    }
    // The companions belong to the old file (the fold leaves none): a log left beside the new file would be
    // played into it.
    QStringList moved;
    const auto restore = [&] {
        for (const QString& companion : std::as_const(moved))
            QFile::rename(QDir(parked).filePath(QFileInfo(companion).fileName()), companion);
        QDir(parked).removeRecursively();
    };
    for (const QString& companion : StoreFileCopy::companionPaths(storePath)) {
        if (!QFileInfo::exists(companion))
            continue;
        if (auto r = moveFile(companion, QDir(parked).filePath(QFileInfo(companion).fileName())); !r) {
            restore();
            return r.error();
        }
        moved << companion;
    }
    reached(Stage::Parked);
    // One rename puts the new store in place: a crash leaves the old file or the new one there, never none.
    if (auto r = moveFile(destinationPath, storePath); !r) {
        restore();
        return r.error();
    }
    return parked;
}

QString ProgressiveMigrator::recover(const QString& storePath)
{
    const QFileInfo store(storePath);
    if (store.exists())
        return {};
    // Stores written beside the store come first: they are newer than any parked one of the same version.
    QStringList candidates;
    const QString written = QStringLiteral("%1.*.%2").arg(store.completeBaseName(), store.suffix());
    for (const QFileInfo& file : QDir(store.path()).entryInfoList({written}, QDir::Files))
        candidates << file.absoluteFilePath();
    for (const QFileInfo& folder : QDir(parkingFolder(storePath)).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot))
        candidates << QDir(folder.absoluteFilePath()).filePath(store.fileName());
    QString best;
    int bestVersion = -1;
    for (const QString& candidate : std::as_const(candidates)) {
        // A rollback journal beside a written store marks one whose writing never committed.
        if (QFileInfo::exists(candidate + QStringLiteral("-journal")))
            continue;
        auto metadata = StoreCoordinator::metadataForStore(candidate);
        if (metadata && metadata->version > bestVersion) {
            best = candidate;
            bestVersion = metadata->version;
        }
    }
    if (best.isEmpty())
        return {};
    // Companions first, so that the store never stands without its log.
    const QStringList from = withCompanions(best);
    const QStringList to = withCompanions(storePath);
    for (int i = from.size() - 1; i >= 0; --i) {
        if (!QFileInfo::exists(from[i]))
            continue;
        if (auto r = moveFile(from[i], to[i]); !r) {
            qCWarning(lcStore).noquote() << r.error().toString();
            return {};
        }
    }
    qCWarning(lcStore) << "no store at" << storePath << "; recovered the one at" << best;
    return best;
}

} // namespace pt::store
