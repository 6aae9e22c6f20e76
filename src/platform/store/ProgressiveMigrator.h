#pragma once

#include "platform/store/MigrationStep.h"

#include <QString>
#include <QVector>

namespace pt::store {

// Brings a store file up to a target model, one step at a time. Each pass folds the store's write-ahead log
// into its file, writes the next version beside it ("<store>.<model>.<extension>", in rollback-journal mode),
// then parks the old file with its companions in a folder of its own under the temporary folder and moves the
// new file into place. A failed pass removes what it wrote and leaves the store as it was. The store must not
// be open elsewhere while this runs.
class ProgressiveMigrator {
public:
    struct Pass {
        QString sourceModel;
        QString destinationModel;
        QString parkedFolder; // where the store of the version before this pass now lies
    };

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

    // "%@.%@.%@": the store path without its extension, the model name and the extension.
    static QString destinationPath(const QString& storePath, const QString& modelName);
    // Whether the destination only adds to the source (so every source row fits unchanged).
    static bool isAdditive(const ObjectModel& source, const ObjectModel& destination);
    // Parks the store and its companions in a new folder under the temporary folder and moves the destination
    // file to the store's path; answers the parked folder. On failure the parked files are moved back.
    static pt::Result<QString> swap(const QString& storePath, const QString& destinationPath);

private:
    pt::Result<Pass> runPass(const QString& storePath, const MigrationStep& step) const;

    QVector<std::shared_ptr<const ObjectModel>> models_;
    QVector<MigrationStep> steps_;
};

} // namespace pt::store
