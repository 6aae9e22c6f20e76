#pragma once

#include "library/bundle/PTImporter2Relations.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/OperationQueue.h"
#include "platform/store/ObjectContext.h"

#include <QHash>
#include <QJsonObject>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

class PTCollection;
class PTGroup;

// Reads an exchange bundle (see PTTernExporter) into the current library: licences are matched by name or made,
// groups, sets and items are made anew, icon files are copied into their sets' folders, and the links are made
// in one pass on the main context at the end. New top-level groups and sets follow the existing ones. A bundle
// comes from outside: a broken or hostile one may fail or import less, but never writes outside the library's
// set folders nor reads outside its own "icons" folder. Made and started on the main thread; keeps itself alive
// until its completion ran.
class PTTernImporter : public std::enable_shared_from_this<PTTernImporter> {
public:
    static inline const QString ErrorDomain = QStringLiteral("PTTernImporterErroDomain");
    enum ErrorCode { UnsupportedVersion = 0, Corrupt = 1 };
    static constexpr int MaxConcurrentOperationCount = 10;
    // Item records are read in batches of about this size, side by side.
    static constexpr int BatchSize = 100;
    // The inflated META is refused beyond this size.
    static constexpr qint64 MaxMetaSize = qint64(512) << 20;
    // Longest field the library can use, in UTF-8 bytes: names, file names and references, and free text
    // (descriptions, tags, licence texts and URLs). A record with a longer field is skipped.
    static constexpr qint64 MaxNameBytes = 255;
    static constexpr qint64 MaxTextBytes = 64 * 1024;
    // Records may name one file more than once; beyond the bytes of the "icons" folder, this much more may be
    // copied. A bundle whose records would copy more, or more than the disk has free, is corrupt.
    static constexpr qint64 SharedFileAllowance = qint64(64) << 20;

    using Completion = std::function<void(const QVector<pt::store::ObjectID>& objects)>;
    using ErrorHandler = std::function<void(const pt::Error& error)>;

    // A folder with the extension "pictern" (exactly) that holds a file "META".
    static bool isPathATern(const QString& path);
    // A warning alert for the error's code.
    static void presentError(const pt::Error& error);
    // Asks for a bundle with an open panel and imports it.
    static void openTernFromOpenPanel();
    // Imports the bundles one after another under one progress sheet, then selects the new top-level groups and
    // sets in the source list and calls the completion (when given).
    static void importRorevAtURLs(const QStringList& paths, std::function<void()> completion);

    static std::shared_ptr<PTTernImporter> create(const QString& path);
    // Receives the new top-level groups and sets (none after an error), on the main queue.
    void setCompletionHandler(Completion completion) { completion_ = std::move(completion); }
    void setErrorHandler(ErrorHandler handler) { errorHandler_ = std::move(handler); }
    void begin();
    // Lets the controllers of the main context see the imported objects; sent after the completion ran.
    static void purge();
    // Records left out because a field was longer than the library can use.
    qint64 skippedRecordCount() const { return skipped_; }

private:
    PTTernImporter() = default;

    void readMeta();
    // Keeps the records of each section whose fields fit the caps; counts the others.
    void keepRecordsWithinCaps(const QJsonObject& meta);
    // The bytes the item records would copy; -1 when that is more than the bundle holds or the disk has free.
    qint64 plannedCopyBytes() const;
    bool chargeCopy(qint64 bytes);
    // Removes what an import that broke off made: its sets' folders and every object it made.
    void rollBack(pt::store::ObjectContext& context);
    void handleErrorWithCode(ErrorCode code);
    void finished();
    void unarchiveLicences();
    void unarchiveGroups();
    void unarchiveSets();
    void processUnarchiveOfItems(const QVector<QJsonObject>& records);
    void queueSection(void (PTTernImporter::*step)(), std::shared_ptr<pt::Operation>& previous);
    // Runs the work in a worker context whose saves reach the main context.
    void inWorkerContext(const std::function<void(pt::store::ObjectContext&)>& work);

    pt::store::ManagedObject* objectForIdentifier(const QString& identifier, const QString& entityName,
                                                  pt::store::ObjectContext& context, bool create);
    PTGroup* groupForIdentifier(const QString& identifier, pt::store::ObjectContext& context);
    PTCollection* setForIdentifier(const QString& identifier, pt::store::ObjectContext& context, bool create);
    std::optional<pt::store::ObjectID> licenceForIdentifier(const QString& identifier);
    QVector<QJsonObject> records(const QString& section) const { return sections_.value(section); }

    QString path_;
    Completion completion_;
    ErrorHandler errorHandler_;
    std::unique_ptr<pt::OperationQueue> queue_;
    std::shared_ptr<pt::store::StoreCoordinator> coordinator_;
    PTImporter2Relations relations_;

    struct Created {
        std::mutex mutex;
        QHash<QString, pt::store::ObjectID> map;
        QVector<pt::store::ObjectID> order;
    };
    // Licences list only those made here in `order`; items use only `order`.
    Created groups_, sets_, licences_, items_;
    QVector<pt::store::ObjectID> libraryLicences_;
    QString libraryPath_;
    QHash<QString, QVector<QJsonObject>> sections_;
    std::atomic<qint64> skipped_ = 0;
    // Bytes the copies may still write; below zero once a copy would have written more than planned.
    std::atomic<qint64> copyBudget_ = 0;
};
