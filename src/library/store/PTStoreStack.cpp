#include "library/store/PTStoreStack.h"

#include "library/entities/PTModel.h"
#include "platform/runtime/Logging.h"
#include "platform/store/ProgressiveMigrator.h"
#include "platform/store/StoreError.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <filesystem>

using pt::store::ObjectContext;
using pt::store::StoreCoordinator;

namespace {

std::mutex sharedMutex;
std::unique_ptr<PTStoreStack> sharedStack;

} // namespace

pt::Error PTStoreStack::initializeError()
{
    return pt::Error::withDescription(PTStoreStack::ErrorDomain, PTStoreStack::InitializeErrorCode,
                                      QStringLiteral("Failed to initialize the store"),
                                      QStringLiteral("There was an error building up the data file."));
}

pt::Error PTStoreStack::readOnlyError(const QString& storePath)
{
    return pt::Error::withDescription(
        pt::store::StoreErrorDomain, pt::store::StoreReadOnly, QStringLiteral("The Library is read-only"),
        QStringLiteral("The Library at %1 cannot be written, so it was opened for viewing only and changes will not "
                       "be saved. Move it to a place you can write to, or switch to another Library.")
            .arg(QFileInfo(QFileInfo(storePath).path()).absoluteFilePath()));
}

pt::Result<QString> PTStoreStack::applicationFilesDirectory()
{
    const QString path =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Pictern");
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(QFile::encodeName(path).toStdString()), ec);
    if (!ec && QFileInfo(path).isDir())
        return path;
    // A file where the folder belongs shows up as one of these, or as no error at all when it is the last part.
    const bool blocked = !ec || ec == std::errc::file_exists || ec == std::errc::not_a_directory;
    const int code = ec ? ec.value() : ENOTDIR;
    const QString reason =
        blocked ? QStringLiteral("A file stands where the folder “%1” (or a folder above it) belongs. Move or rename "
                                 "that file, then try again.")
                      .arg(path)
                : QStringLiteral("%1: %2.").arg(path, QString::fromLocal8Bit(ec.message()));
    pt::Error error = pt::Error::withDescription(QStringLiteral("NSPOSIXErrorDomain"), code,
                                                 QStringLiteral("Pictern could not create its data folder."), reason);
    error.userInfo.insert(pt::Error::FilePathKey, path);
    return error;
}

void PTStoreStack::setHost(std::shared_ptr<PTStoreStackHost> host)
{
    std::lock_guard lock(sharedMutex);
    sharedStack = host ? std::make_unique<PTStoreStack>(std::move(host)) : nullptr;
}

PTStoreStack* PTStoreStack::shared()
{
    std::lock_guard lock(sharedMutex);
    return sharedStack.get();
}

PTStoreStack::PTStoreStack(std::shared_ptr<PTStoreStackHost> host)
    : host_(std::move(host))
{
}

PTStoreStack::~PTStoreStack() = default;

std::shared_ptr<const pt::store::ObjectModel> PTStoreStack::managedObjectModel() const
{
    return PTModel::current();
}

bool PTStoreStack::migrationIsNeeded() const
{
    const QString path = host_->storePath();
    // A process killed while migrating may have left the store beside its place: take it back rather than let
    // the open start an empty store with a new identity.
    pt::store::ProgressiveMigrator::recover(path);
    if (!QFileInfo(path).isFile())
        return false;
    // Metadata that cannot be read is not a migration: opening the store reports it.
    auto metadata = StoreCoordinator::metadataForStore(path);
    return metadata && !StoreCoordinator::isCompatible(*metadata, *managedObjectModel());
}

void PTStoreStack::present(const QVector<pt::Error>& errors)
{
    for (const pt::Error& error : errors)
        host_->presentError(error);
}

std::shared_ptr<StoreCoordinator> PTStoreStack::persistentStoreCoordinator()
{
    QVector<pt::Error> errors;
    std::shared_ptr<StoreCoordinator> coordinator;
    {
        std::lock_guard lock(mutex_);
        coordinator = coordinatorLocked(errors);
    }
    present(errors);
    return coordinator;
}

ObjectContext* PTStoreStack::managedObjectContext()
{
    QVector<pt::Error> errors;
    ObjectContext* context = nullptr;
    {
        std::lock_guard lock(mutex_);
        context = contextsLocked(errors);
    }
    present(errors);
    return context;
}

std::shared_ptr<StoreCoordinator> PTStoreStack::coordinatorLocked(QVector<pt::Error>& errors)
{
    if (coordinator_)
        return coordinator_;
    auto model = managedObjectModel();
    if (!model) {
        qCWarning(lcLibrary) << "PTStoreStack:persistentStoreCoordinator No model to generate a store from";
        return nullptr;
    }
    StoreCoordinator::Options options;
    options.journalMode = migrationIsNeeded() ? StoreCoordinator::JournalMode::Delete : StoreCoordinator::JournalMode::Wal;
    auto coordinator = StoreCoordinator::open(host_->storePath(), model, options);
    if (!coordinator) {
        qCWarning(lcLibrary).noquote() << coordinator.error().toString();
        errors.append(coordinator.error());
        return nullptr;
    }
    coordinator_ = *coordinator;
    if (coordinator_->isReadOnly())
        errors.append(readOnlyError(host_->storePath()));
    return coordinator_;
}

ObjectContext* PTStoreStack::contextsLocked(QVector<pt::Error>& errors)
{
    if (mainContext_)
        return mainContext_.get();
    auto coordinator = coordinatorLocked(errors);
    if (!coordinator) {
        errors.append(initializeError());
        return nullptr;
    }
    privateContext_ = std::make_shared<ObjectContext>(ObjectContext::Kind::PrivateQueue, coordinator);
    privateContext_->setMergePolicy(pt::store::MergePolicy::ObjectTrumpByProperty);
    mainContext_ = std::make_shared<ObjectContext>(ObjectContext::Kind::MainQueue, privateContext_);
    mainContext_->setMergePolicy(pt::store::MergePolicy::ObjectTrumpByProperty);
    return mainContext_.get();
}

ObjectContext* PTStoreStack::privateManagedObjectContext() const
{
    std::lock_guard lock(mutex_);
    return privateContext_.get();
}

bool PTStoreStack::hasManagedObjectContext() const
{
    std::lock_guard lock(mutex_);
    return mainContext_ != nullptr;
}

void PTStoreStack::save(SaveCompletion completion)
{
    std::shared_ptr<ObjectContext> main;
    std::shared_ptr<ObjectContext> writer;
    {
        std::lock_guard lock(mutex_);
        main = mainContext_;
        writer = privateContext_;
    }
    const std::shared_ptr<PTStoreStackHost> host = host_;
    const auto finish = [host, completion](const pt::Error& error) {
        if (!error.isNull()) {
            qCWarning(lcLibrary).noquote() << error.toString();
            host->saveFailed(error);
        }
        if (completion)
            completion(error);
    };
    if (!main) {
        pt::DispatchQueue::main().async([finish] { finish(initializeError()); });
        return;
    }
    main->perform([main, writer, finish] {
        const auto inserted = main->insertedObjects();
        if (!inserted.isEmpty())
            if (auto r = main->obtainPermanentIDs(inserted); !r)
                qCWarning(lcLibrary).noquote() << r.error().toString();
        if (auto r = main->save(); !r) {
            finish(r.error());
            return;
        }
        writer->perform([main, writer, finish] {
            auto r = writer->save();
            const pt::Error error = r ? pt::Error() : r.error();
            main->perform([finish, error] { finish(error); });
        });
    });
}

pt::Result<void> PTStoreStack::closeStore()
{
    std::shared_ptr<StoreCoordinator> coordinator;
    {
        std::lock_guard lock(mutex_);
        coordinator = coordinator_;
    }
    return coordinator ? coordinator->close() : pt::Result<void>();
}
