#pragma once

#include "library/ImportTyping.h"
#include "library/PTFileNamer.h"
#include "platform/runtime/OperationQueue.h"
#include "platform/store/ObjectContext.h"

#include <QHash>
#include <QSet>
#include <QStringList>
#include <QTemporaryDir>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

class PTCollection;
class PTGroup;
class PTImportFolderListing;
class PTImportJournal;
class PTItem;

// Copies icon files into the library: walks the paths (into folders with 0x4, folders becoming groups and sets
// with 0x2), types each file, refuses files that are not what they claim, expands fonts, sprite sheets and
// multi-image files into one item per part, makes one item per file with a tidy name and copies the file into
// its set's folder under a safe, unique name. Files are only ever created inside set folders, expansions only
// inside a private temporary folder that goes with the import. The work runs on ten workers, each batch in a
// context of its own that stores its items with their set, and each set or group made from a folder with its
// parent group: an import cut short leaves a tidy part of itself in place. Until it ends, a journal in the library
// records what it made, for the launch after an interruption to tidy. Made and begun on the main thread; keeps
// itself alive until its completion ran.
class PTImporter2 : public std::enable_shared_from_this<PTImporter2> {
public:
    static constexpr int MaxConcurrentOperationCount = 10;
    // Files of a folder beyond this count go into batches of their own, so a flat folder uses every worker.
    static constexpr int FilesPerBatch = 200;
    // Bitmaps with more pixels than this are refused before decoding.
    static constexpr qint64 MaxPixels = qint64(64) << 20;
    // New items checked for their set and saved together at the end, off the main thread: the main context
    // merges each save in one turn of its queue, so the saves stay small.
    static constexpr qsizetype ItemsPerSave = 500;
    // New objects loaded into the main context in one turn of its queue for the result.
    static constexpr qsizetype ObjectsPerTurn = 500;
    static inline const QString NoticeTitle = QStringLiteral("Icons Imported");
    static inline const QString NoticeMessage = QStringLiteral("%1 icons have successfully been imported.");

    struct Rejected {
        QString path;
        QString reason;
    };
    struct Result {
        QVector<PTItem*> items;
        QVector<PTCollection*> sets;
        QVector<PTGroup*> groups;
        QVector<Rejected> rejected;
    };
    using Completion = std::function<void(const Result& result)>;

    // The target is a set or a group of the main context.
    static std::shared_ptr<PTImporter2> create(pt::store::ManagedObject* target, const QStringList& paths,
                                               PTImportOptions options);
    void setCompletionHandler(Completion completion) { completion_ = std::move(completion); }
    // Told on the main queue, after each batch saved, how many items were made so far.
    void setProgressHandler(std::function<void(qint64 imported)> handler) { progress_ = std::move(handler); }
    void begin();
    ~PTImporter2();

    // The item made from the source file (main context), after the completion; items made by an expansion are
    // found under their temporary files' paths.
    PTItem* importedItemForPathURL(const QString& path) const;

    // Why the file is no image of its type; nothing when it is one. SVG files are never refused.
    static std::optional<QString> invalidReason(const QString& path, PTImportFileType type);

private:
    struct Batch {
        QStringList entries;
        QString parentPath;
        pt::store::ObjectID parentGroup;
        pt::store::ObjectID parentSet;
        bool forceUseSet = false;
    };
    struct Made {
        PTItem* item;
        QString source;
        QString copied;
    };

    PTImporter2() = default;
    void queueItems(Batch batch);
    void runBatch(const Batch& batch);
    // Queues the folder's contents: sub-folders and the first files together, further files in batches of their
    // own.
    void queueFolder(const QString& folder, const pt::store::ObjectID& group, const pt::store::ObjectID& set);
    // A new group or set for the folder, in the parent group (when there is one).
    pt::store::ManagedObject* insertContainer(pt::store::ObjectContext& context, const QString& entity,
                                              const QString& folder, PTGroup* parent, qint64 sort);
    // Stores the batch's items with their set; when that fails, takes their copies away and rejects them.
    void storeItems(pt::store::ObjectContext& context, PTCollection* set, const QVector<Made>& made);
    void importItemAtPath(const QString& path, const QString& folder, pt::store::ObjectContext& context,
                          QVector<Made>& made);
    PTItem* itemForPath(const QString& path, const PTImportPathInfo& info, bool temporary, const QString& folder,
                        pt::store::ObjectContext& context, QVector<Made>& made);
    void reject(const QString& path, const QString& reason);
    // Whether the folder was not met before (by its canonical path).
    bool firstVisit(const QString& folder);
    // Whether the file or folder, links resolved, lies within a folder the import was given.
    bool insideChosenFolders(const QString& path) const;
    // The folder's entries; the names that do not decode and would be taken are rejected on the way.
    PTImportFolderListing listFolder(const QString& folder);
    void finished();
    // On a worker: takes away the items whose set went away and the new sets and groups left empty, in contexts
    // of their own, then loads the result on the main thread.
    void settle();
    void dropItemsWithoutSet(pt::store::ObjectContext& context);
    void removeEmptyContainers(pt::store::ObjectContext& context);
    // Loads the kept objects from `first` on into the main context, a turn of its queue at a time, then ends the
    // import.
    void loadResultFrom(qsizetype first);
    void complete();
    void dropItem(const pt::store::ObjectID& id);

    PTImportOptions options_ = 0;
    pt::store::ObjectID target_;
    QStringList initialPaths_;
    // The canonical paths of the folders among the initial paths: links are followed only within them.
    QStringList chosenFolders_;
    // The initial paths themselves: a link the user chose is followed wherever it leads.
    QSet<QString> chosenPaths_;
    Completion completion_;
    std::function<void(qint64)> progress_;
    std::unique_ptr<pt::OperationQueue> queue_;
    std::shared_ptr<pt::store::StoreCoordinator> coordinator_;
    std::unique_ptr<QTemporaryDir> expansions_;
    std::atomic<qint64> expansionCount_ = 0;
    std::unique_ptr<PTImportJournal> journal_;
    std::atomic<qint64> imported_ = 0;
    // Names the copies: files of one name into one set cost a lookup each, not one per file before them.
    PTFileNamer namer_;

    std::mutex mutex_;
    QVector<pt::store::ObjectID> createdIDs_;
    QHash<pt::store::ObjectID, QString> pathMap_;
    // Where each new item's file was copied to, to take it away when the item cannot stay.
    QHash<pt::store::ObjectID, QString> copiedMap_;
    QVector<Rejected> rejected_;
    QSet<QString> visitedFolders_;
    QHash<QString, pt::store::ObjectID> permPathMap_;
    // Filled while settling and loading the result (one thread at a time).
    QSet<pt::store::ObjectID> filled_;
    QSet<pt::store::ObjectID> removed_;
    QVector<pt::store::ObjectID> kept_;
    Result result_;
};
