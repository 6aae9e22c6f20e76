#include "library/upkeep/PTMigrationController.h"

#include "library/PTLibraryController.h"
#include "library/upkeep/PTLibraryShell.h"
#include "library/upkeep/PTMappingItemToItemV6_8.h"
#include "library/entities/PTModel.h"
#include "platform/runtime/Defaults.h"
#include "platform/runtime/Logging.h"
#include "platform/store/StoreCoordinator.h"
#include "platform/store/StoreError.h"

#include <QDir>
#include <QThread>

#include <atomic>

using pt::store::MigrationStep;
using pt::store::ProgressiveMigrator;
using pt::store::StoreCoordinator;

namespace {

std::atomic<bool> performed{false};

const QString PathKey = QStringLiteral("path");
const QString SourceKey = QStringLiteral("source");
const QString TargetKey = QStringLiteral("target");
const QString DescriptionKey = QStringLiteral("description");

QString storeModelHash(const QString& storePath)
{
    auto metadata = StoreCoordinator::metadataForStore(storePath);
    return metadata ? metadata->modelHash : QString();
}

} // namespace

PTMigrationController::PTMigrationController(const QString& storePath,
                                             std::shared_ptr<const pt::store::ObjectModel> model)
    : storePath_(storePath)
    , model_(std::move(model))
{
}

PTMigrationController::~PTMigrationController() = default;

ProgressiveMigrator PTMigrationController::migrator()
{
    MigrationStep tags{PTModel::version7(), PTModel::current(),
                       {{QStringLiteral("PTItem"), PTMappingItemToItemV6_8::policy()}},
                       &PTMappingItemToItemV6_8::endEntityMapping};
    return ProgressiveMigrator(PTModel::versions(), {tags});
}

bool PTMigrationController::migrationWasPerformed()
{
    return performed;
}

pt::Error PTMigrationController::rememberedFailure(const QString& storePath, const pt::store::ObjectModel& target)
{
    const QVariantMap failure = pt::Defaults::standard().dictionaryForKey(FailedMigrationKey);
    if (failure.value(PathKey).toString() != storePath || failure.value(TargetKey).toString() != target.hash()
        || failure.value(SourceKey).toString() != storeModelHash(storePath))
        return {};
    return pt::store::storeError(pt::store::StoreMigrationFailed, failure.value(DescriptionKey).toString());
}

void PTMigrationController::remember(const pt::Error& error)
{
    pt::Defaults::standard().set(FailedMigrationKey, QVariantMap{{PathKey, storePath_},
                                                                 {SourceKey, storeModelHash(storePath_)},
                                                                 {TargetKey, model_->hash()},
                                                                 {DescriptionKey, error.localizedDescription()}});
    pt::Defaults::standard().synchronize();
}

void PTMigrationController::fail(const pt::Error& error)
{
    error_ = error;
    qCWarning(lcLibrary).noquote() << "migration failed:" << error.toString();
}

void PTMigrationController::beginMigration()
{
    const auto shell = PTLibraryShell::installed();
    if (pt::Error earlier = rememberedFailure(storePath_, *model_); !earlier.isNull()) {
        // Tried before with these versions and failed: report it, and neither migrate nor restart again.
        fail(earlier);
        if (shell)
            shell->presentError(earlier);
        if (loadHandler)
            loadHandler();
        return;
    }
    if (shell) {
        sheet_ = shell->makeProgressSheet(QStringLiteral("Upgrading your Library..."));
        sheet_->setFloatingMode(true);
        sheet_->setSubTitle(QStringLiteral("Backing up Library..."));
        sheet_->show();
    }
    queue_ = std::make_unique<pt::DispatchQueue>(pt::DispatchQueue::serial(QueueLabel));
    queue_->async([this] {
        if (!backupLibrary())
            fail(pt::store::storeError(pt::store::StoreMigrationFailed,
                                       QStringLiteral("The library could not be backed up, so it was not upgraded.")));
    });
    queue_->async([this] {
        if (!error_.isNull())
            return;
        pt::DispatchQueue::main().sync([this] {
            if (sheet_)
                sheet_->setSubTitle(QStringLiteral("Upgrading Database..."));
        });
        performMigration();
        QThread::sleep(2);
    });
    queue_->async([this] { pt::DispatchQueue::main().async([this] { complete(); }); });
}

bool PTMigrationController::backupLibrary()
{
    PTLibraryController* library = PTLibraryController::currentLibrary();
    return library && library->backupLibraryWithMode(0, 0, false);
}

bool PTMigrationController::performMigration()
{
    ProgressiveMigrator migrating = migrator();
    migrating.stageHandler = [this](ProgressiveMigrator::Stage stage) {
        qCInfo(lcLibrary) << "migrating" << storePath_ << "reached stage" << int(stage);
    };
    auto passes = migrating.migrate(storePath_, *model_);
    if (!passes) {
        fail(passes.error());
        remember(passes.error());
        return false;
    }
    if (!passes->isEmpty())
        performed = true;
    // The backup made first holds the old library; parked stores would only swell the package and its backups.
    QDir(ProgressiveMigrator::parkingFolder(storePath_)).removeRecursively();
    return true;
}

void PTMigrationController::complete()
{
    if (loadHandler)
        loadHandler();
    if (!error_.isNull()) {
        if (sheet_)
            sheet_->hide();
        if (const auto shell = PTLibraryShell::installed())
            shell->presentError(error_);
        endMigration();
        return;
    }
    if (sheet_) {
        sheet_->setTitle(QStringLiteral("Upgrade Complete"));
        sheet_->setSubTitle(QStringLiteral("Relaunching..."));
    }
    pt::DispatchQueue::main().after(2.0, [this] {
        endMigration();
        if (completeHandler)
            completeHandler();
    });
}

void PTMigrationController::endMigration()
{
    queue_.reset();
}
