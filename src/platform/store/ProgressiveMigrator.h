#pragma once

#include "platform/store/MigrationStep.h"

#include <QString>
#include <QVector>

#include <functional>

namespace pt::store {

// Brings a store file up to a target model, one step at a time. Each pass folds the store's write-ahead log
// into its file, writes the next version beside it ("<store>.<model>.<extension>", in rollback-journal mode),
// parks the old file (a hard link, else a copy) in a folder of its own under the store's parking folder, then
// renames the new file over the store path in one step: whenever the process dies, the store path holds a whole
// store of the old or the new version. A failed pass removes what it wrote and leaves the store as it was. The
// store must not be open elsewhere while this runs.
class ProgressiveMigrator {
public:
    struct Pass {
        QString sourceModel;
        QString destinationModel;
        QString parkedFolder; // where the store of the version before this pass now lies
    };
    // The points a pass reaches, in order.
    enum class Stage { Folded, Written, Parked, Swapped };

    // `models`: every version the program knows, in the order in which destinations are tried; `steps`: the
    // registered steps. The first model after the store's own version that a registered or inferred step reaches
    // is the next version.
    ProgressiveMigrator(QVector<std::shared_ptr<const ObjectModel>> models, QVector<MigrationStep> steps);

    // The passes made (none when the store is already compatible); an error when no way leads on or a pass
    // failed. Passes that completed before a failing one stay done: each leaves a whole store of its version.
    pt::Result<QVector<Pass>> migrate(const QString& storePath, const ObjectModel& target) const;
    // The next step from the model; none when no known model can be reached.
    std::optional<MigrationStep> nextStep(const std::shared_ptr<const ObjectModel>& source) const;
    // The known model a store's metadata names; null when unknown.
    std::shared_ptr<const ObjectModel> modelForHash(const QString& hash) const;

    // Told of each stage a pass reaches (a pass that fails stops telling); runs on the migrating thread.
    std::function<void(Stage stage)> stageHandler;

    // "%@.%@.%@": the store path without its extension, the model name and the extension.
    static QString destinationPath(const QString& storePath, const QString& modelName);
    // ".<store file name>.parked" beside the store (inside the library package): the folder of parked stores.
    static QString parkingFolder(const QString& storePath);
    // When no store is at the path, moves the newest whole store that a migration wrote beside it or parked into
    // its place; answers where it came from, or empty when there was none (or there was a store).
    static QString recover(const QString& storePath);
    // Whether the destination only adds to the source (so every source row fits unchanged).
    static bool isAdditive(const ObjectModel& source, const ObjectModel& destination);
    // Parks the store and its companions in a new folder under the parking folder and renames the destination
    // file over the store's path; answers the parked folder. On failure the store stays and nothing is parked.
    pt::Result<QString> swap(const QString& storePath, const QString& destinationPath) const;

private:
    void reached(Stage stage) const;
    pt::Result<Pass> runPass(const QString& storePath, const MigrationStep& step) const;

    QVector<std::shared_ptr<const ObjectModel>> models_;
    QVector<MigrationStep> steps_;
};

} // namespace pt::store
