#pragma once

#include "library/PTLibraryController.h"
#include "platform/runtime/OperationQueue.h"
#include "platform/store/ObjectContext.h"

#include <QHash>
#include <QJsonObject>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

class PTCollection;
class PTGroup;
class PTLicence;

// Writes a set, or a group with everything below it, as an exchange bundle: a folder "<name>.pictern" holding
// the icon files in "icons" and "META", the gzip of one JSON object with the sections "meta", "groups", "sets",
// "licences" and "items". Every library object gets a fresh upper-case UUID as its identifier in each export.
// Sets and groups are written concurrently, each in a worker context of its own; META is written last,
// atomically. Made and started on the main thread; keeps itself alive until its completion ran.
class PTTernExporter : public std::enable_shared_from_this<PTTernExporter> {
public:
    static inline const QString Extension = QStringLiteral("pictern");
    // Folders that panels show as one item: bundles and libraries.
    static inline const QStringList PackageExtensions{Extension, PTLibraryController::Extension};
    static inline const QString IconsFolder = QStringLiteral("icons");
    static inline const QString MetaFile = QStringLiteral("META");
    // Dates of the records, local time.
    static inline const QString DateFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");
    static constexpr double FormatVersion = 2.0;

    using Completion = std::function<void()>;

    // Asks for the bundle's place with a save panel, then exports there. Only sets and groups are exported.
    static void exportManagedObject(pt::store::ManagedObject* object);
    // Exports under a progress sheet without asking. The path gets the extension "pictern". What exists there
    // is replaced only when it is the path the user confirmed (`confirmedPath`) and not the library or a folder
    // holding it; otherwise the bundle gets a free name next to it.
    static void exportManagedObjectToPath(pt::store::ManagedObject* object, const QString& path,
                                          const QString& confirmedPath = {});

    static std::shared_ptr<PTTernExporter> create(pt::store::ManagedObject* object, const QString& path);
    void setCompletionHandler(Completion completion) { completion_ = std::move(completion); }
    // Icons whose files could not be copied into the bundle (missing or failed); any makes the export incomplete.
    int failedCopies() const { return failedCopies_; }
    // Why the bundle could not be written at all (refused, no folder, no META); empty when it was.
    const QString& failureReason() const { return failureReason_; }
    const Completion& completionHandler() const { return completion_; }
    // Replaces whatever stands at the path and writes the bundle; the completion runs on the main queue.
    void begin();

    // The path "<path without extension>.pictern" to write to, given the path the user chose.
    static QString bundlePathForPath(const QString& path, const QString& confirmedPath);

private:
    PTTernExporter() = default;

    void queueObject(const pt::store::ObjectID& id, bool ignoreParent);
    void exportCollection(PTCollection* set, bool ignoreParent);
    void exportGroup(PTGroup* group, bool ignoreParent);
    QString computeLicence(PTLicence* licence);
    QString identifierForObjectID(const pt::store::ObjectID& id);
    void fail(const QString& reason);
    void finished();
    // Writes META last and atomically; answers why it could not, or nothing.
    QString writeMeta();
    static void store(std::mutex& mutex, QHash<QString, QJsonObject>& records, const QJsonObject& record);
    static QJsonObject section(std::mutex& mutex, const QHash<QString, QJsonObject>& records);

    QString path_;
    QString iconsPath_;
    pt::store::ObjectID objectID_;
    std::shared_ptr<pt::store::StoreCoordinator> coordinator_;
    Completion completion_;
    std::unique_ptr<pt::OperationQueue> queue_;
    std::atomic<int> failedCopies_{0};
    QString failureReason_;

    std::mutex identifiersMutex_, groupsMutex_, setsMutex_, itemsMutex_, licencesMutex_;
    QHash<QString, QString> identifiers_;
    QHash<QString, QJsonObject> groups_, sets_, items_, licences_;
};
