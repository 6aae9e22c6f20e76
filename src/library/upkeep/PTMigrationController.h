#pragma once

#include "platform/runtime/DispatchQueue.h"
#include "platform/store/ObjectModel.h"
#include "platform/store/ProgressiveMigrator.h"

#include <QString>

#include <functional>
#include <memory>

class PTProgressSheet;

// Upgrades the library's store from an older model version before the store is opened, under a progress
// sheet: a silent backup of the library first, then the store migrated step by step, then a restart. A
// migration that fails leaves the store as it was, is reported, and is remembered with the model versions it
// was between, so that later launches report it again instead of retrying (and restarting) in a loop; a newer
// program version, with other steps, tries again.
class PTMigrationController {
public:
    static inline const QString QueueLabel = QStringLiteral("com.pictern.migrate.queue");
    static inline const QString FailedMigrationKey = QStringLiteral("PTMigrationControllerFailedMigration");

    // The store file and the model it is to be brought to (there is one store type: SQLite).
    PTMigrationController(const QString& storePath, std::shared_ptr<const pt::store::ObjectModel> model);
    ~PTMigrationController();

    // Runs on the main queue once the migration has run (also after a failure, so the store stack can report).
    std::function<void()> loadHandler;
    // Runs on the main queue two seconds after "Upgrade Complete": the shell restarts the application here.
    std::function<void()> completeHandler;

    void beginMigration();
    // Makes the backup of the library that the migration starts from; false when it could not be made.
    bool backupLibrary();
    // Migrates the store; false (with the failure remembered) when it failed.
    bool performMigration();
    void complete();
    void endMigration();

    // The migrator over every model version of the library, with the library's own steps.
    static pt::store::ProgressiveMigrator migrator();
    // Whether this process migrated a store (the backup at quit is then skipped: the migration made one).
    static bool migrationWasPerformed();
    // The failure remembered for this store and target model, if any.
    static pt::Error rememberedFailure(const QString& storePath, const pt::store::ObjectModel& target);

    const pt::Error& error() const { return error_; }

private:
    void remember(const pt::Error& error);
    void fail(const pt::Error& error);

    QString storePath_;
    std::shared_ptr<const pt::store::ObjectModel> model_;
    std::shared_ptr<PTProgressSheet> sheet_;
    std::unique_ptr<pt::DispatchQueue> queue_;
    pt::Error error_;
};
