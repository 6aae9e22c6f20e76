#pragma once

#include "library/store/PTStoreStackHost.h"
#include "platform/store/ObjectContext.h"

#include <functional>
#include <memory>
#include <mutex>

// The library's object-store stack: the model, one coordinator over the current library's store file, a
// private-queue context that alone writes the file for the interface, and the main-queue context, its child,
// that the interface and the controllers use. Built on first use; kept for the whole run.
class PTStoreStack {
public:
    using SaveCompletion = std::function<void(const pt::Error& error)>;

    static inline const QString ErrorDomain = QStringLiteral("YOUR_ERROR_DOMAIN");
    static constexpr int InitializeErrorCode = 9999;
    // "Failed to initialize the store": the contexts could not be built.
    static pt::Error initializeError();
    // "The Library is read-only": the store opened for reading only; presented once, when it opens.
    static pt::Error readOnlyError(const QString& storePath);

    // The application's own data folder, $XDG_DATA_HOME/Pictern, made with the folders above it when missing.
    // When it cannot be made (a file stands in its place, a folder above it refuses) the error says why and
    // names the folder under pt::Error::FilePathKey.
    static pt::Result<QString> applicationFilesDirectory();

    // Installs the host and starts a new stack on it (built on first use). The shell calls it once.
    static void setHost(std::shared_ptr<PTStoreStackHost> host);
    // The stack of the installed host; null while none is installed.
    static PTStoreStack* shared();

    explicit PTStoreStack(std::shared_ptr<PTStoreStackHost> host);
    ~PTStoreStack();

    std::shared_ptr<const pt::store::ObjectModel> managedObjectModel() const;
    // Opens the store on first call; null (after presenting the error) while it cannot be opened, and the next
    // call tries again.
    std::shared_ptr<pt::store::StoreCoordinator> persistentStoreCoordinator();
    // Builds both contexts on first call; null (after the alert "Failed to initialize the store") while the
    // coordinator cannot be built.
    pt::store::ObjectContext* managedObjectContext();
    pt::store::ObjectContext* privateManagedObjectContext() const;
    bool hasManagedObjectContext() const;
    // The store file exists and was made by another model version. A missing store file is first recovered from
    // what a killed migration left (ProgressiveMigrator::recover); the launch asks this before opening the store.
    bool migrationIsNeeded() const;
    PTStoreStackHost& host() const { return *host_; }

    // The save path: permanent IDs for the main context's inserted objects, save main into private, then
    // (on the private queue) private into the file, then the completion on the main queue. It never blocks the
    // caller. A failure is logged and reported to the host; the completion always runs, with the first error
    // (or a null error), so that whoever waits for it is never left hanging. A failed private save keeps its
    // changes for the next save.
    void save(SaveCompletion completion);
    // Checkpoints and closes the store file, so that its files can be moved; the stack does not open it again
    // (the application restarts after such a move).
    pt::Result<void> closeStore();

private:
    // Both answer null with the errors to present; they run under the lock, the alerts after it.
    std::shared_ptr<pt::store::StoreCoordinator> coordinatorLocked(QVector<pt::Error>& errors);
    pt::store::ObjectContext* contextsLocked(QVector<pt::Error>& errors);
    void present(const QVector<pt::Error>& errors);

    std::shared_ptr<PTStoreStackHost> host_;
    mutable std::mutex mutex_;
    std::shared_ptr<pt::store::StoreCoordinator> coordinator_;
    std::shared_ptr<pt::store::ObjectContext> privateContext_;
    std::shared_ptr<pt::store::ObjectContext> mainContext_;
};
