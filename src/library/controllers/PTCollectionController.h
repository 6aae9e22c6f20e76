#pragma once

#include "platform/store/ObjectContext.h"
#include "platform/store/Predicate.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>
#include <optional>

class PTCollection;
struct PTFSEvent;
class PTIconRemover;
class PTItem;
class PTMenuBuilder;
class PTProgressSheet;

// The single owner of the library's sets: caches the ordinary sets and the one Miscellaneous set, creates sets,
// moves, copies and merges items between sets together with their files, orders sets as the source list shows
// them, and broadcasts the changes. Works on the main context on the main thread; its caches belong to that
// context, and whoever replaces the store stack calls purge().
//
// Notifications are posted on the default centre with the controller as object; the sets and items in their
// user info are pt::store::ManagedObject pointers.
class PTCollectionController {
public:
    static inline const QString CollectionsDidChangeNotification =
        QStringLiteral("PTCollectionControllerCollectionsDidChange");
    // User info "collection": the set about to go away.
    static inline const QString WillDeleteCollectionNotification =
        QStringLiteral("PTCollectionControllerCollectionsWillDeleteCollection");
    // User info "items": a QVariantList of the changed items.
    static inline const QString CollectionsDidUpdateNotification =
        QStringLiteral("PTCollectionControllerCollectionsDidUpdate");
    static inline const QString CollectionKey = QStringLiteral("collection");
    static inline const QString ItemsKey = QStringLiteral("items");
    // Set when the user chose not to be asked again before a set or items are deleted.
    static inline const QString DeleteSuppressionKey = QStringLiteral("PTCollectionControllerDeleteSuppressionKey");

    // The actions of the entries of menuForCollection; each takes the entry's set.
    static inline const QString AddIconsAction = QStringLiteral("addIconsFromMenuItem");
    static inline const QString RemoveCollectionAction = QStringLiteral("removeCollectionFromSender");

    using Handler = std::function<void()>;
    // Told the set and the names of its files that changed on disk.
    using ChangeHandler = std::function<void(PTCollection* set, const QStringList& names)>;

    static PTCollectionController& sharedController();

    const pt::store::EntityDescription* entity() const;
    // The ordinary sets (type nil or 0), fetched on first use; unordered.
    QVector<PTCollection*> collections();
    // The Miscellaneous set, fetched or (unsaved) created on first use.
    PTCollection* miscCollection();
    // Every set in source-list order: the Miscellaneous set, then depth first through the group tree.
    QVector<PTCollection*> collectionsSortedByGroup();
    // The sets in source-list order.
    QVector<PTCollection*> sortCollections(const QVector<PTCollection*>& sets);
    // The cached ordinary sets sorted by the attribute; none before the list was fetched or for a key that is
    // not an attribute of sets.
    std::optional<QVector<PTCollection*>> collectionsSortedByDescriptor(const pt::store::SortDescriptor& descriptor);

    // A new set with the trimmed name, last at the top level, in the context (the main context when null); the
    // caller saves.
    PTCollection* createCollectionWithName(const QString& name, pt::store::ObjectContext* context);
    // Moves the items of every other set into the first and deletes those sets; their folders go once the save
    // stored that. A set some of whose files could not be moved (or were missing) is kept with those items; the
    // kept sets are answered.
    QVector<PTCollection*> mergeCollections(const QVector<PTCollection*>& sets);
    // Copies the items not already in the target, files included, and answers the copies. An item whose file
    // cannot be copied or is missing gets no copy. Starts the save path.
    QVector<PTItem*> cloneItems(const QVector<PTItem*>& items, PTCollection* target);
    // Moves the items not already in the target with their files: each file is linked (or, across file systems,
    // copied) in; the handler runs, then the save path starts, and the old files are deleted only when that save
    // succeeded. An item whose file is missing or cannot be placed stays where it was; those items are answered.
    QVector<PTItem*> moveItems(const QVector<PTItem*>& items, PTCollection* target,
                               const Handler& beforeOriginalDelete = {});
    // Replaces the item's file by the file at the path, imported into the item's set through the installed
    // PTReplacementImport: the item takes the new contents with their type, date, code point and size, named with
    // the new extension when the type changed, and its thumbnails are dropped. The completion (main thread) is
    // told false, with the item left as it was, when no import is installed, no icon could be made of the file
    // (listed on a sheet with the reason) or it could not be put in place. The imported item never stays; saves.
    void replaceItem(PTItem* item, const QString& path, std::function<void(bool replaced)> completion);

    // Asks (unless suppressed), then removes the set with its items and files under a progress sheet. Answers
    // whether the removal started.
    bool deleteCollection(PTCollection* set);
    // Asks (unless suppressed), then removes the items with their files under a progress sheet and saves;
    // `completion` runs when all is done. Answers whether the removal started.
    bool deleteItemsAlerted(const QVector<PTItem*>& items, const Handler& beforeDelete, const Handler& completion);

    // The entry actions: the add-icons sheet for the set, and deleteCollection. Anything but a set is ignored.
    void addIconsFromMenuItem(pt::store::ManagedObject* object);
    void removeCollectionFromSender(pt::store::ManagedObject* object);
    // "Add Icons...", a separator, "Edit" (no action) and "Delete", each standing for the set.
    void menuForCollection(PTCollection* set, PTMenuBuilder& menu);

    // False when the user chose not to be asked before deletions.
    static bool requiresConfirmationOfRemoval();
    // Forgets the set (list and item count).
    void removeCollection(PTCollection* set);
    void broadcastRemovalOfCollection(PTCollection* set);
    void notifyObserversOfDidChange();
    void notifyObserversAboutUpdatesWithItems(const QVector<PTItem*>& items);
    // Drops the set list and the Miscellaneous set.
    void purge();
    // Purges this controller and the group controller, then posts did-change, runs the block, and posts
    // did-change again.
    void purgeAndNotify(const Handler& block);

    // Takes ordinary sets of the main context into the set list when it lacks them.
    void adopt(const QVector<PTCollection*>& sets);
    // Loads the sets and their items in one fetch; for speed only.
    void batchItemsFromCollectionsArray(const QVector<PTCollection*>& sets);
    // Loads the items in one fetch; for speed only.
    void batchCollectionsFromItemArray(const QVector<PTItem*>& items);
    // The set's number of items (and-ed with the predicate when given), cached by identifier while not zero.
    qint64 itemsCountForCollection(PTCollection* set, const std::optional<pt::store::Predicate>& predicate = {});
    // Removes the item's original file and its folder, and the file of its older location when that lies in the
    // library; errors are ignored.
    void cleanupFileSystemForObject(PTItem* item);
    // Moves the files of set folders still named by the set's normalised name into the identifier's folder.
    void checkLegacyFolders();

    // Kept for processPTFSEvent.
    void addChangeHandler(ChangeHandler handler);
    // Tells every change handler the set and the file names of those paths that were modified only (neither
    // created nor removed).
    void processPTFSEvent(const PTFSEvent& event, PTCollection* set);
    // Sets are not watched one by one (one observer covers the library folder), so there is no listener of a set
    // to stop, nor one to re-point after a rename.
    void removeFSListenerForCollection(PTCollection*) {}
    void commitRenameOfCollection(PTCollection*) {}

private:
    PTCollectionController();
    void post(const QString& name, const QVariantMap& userInfo = {});

    std::shared_ptr<PTProgressSheet> sheet_;
    std::optional<QVector<PTCollection*>> collections_;
    PTCollection* misc_ = nullptr;
    QHash<QString, qint64> itemCounts_;
    QVector<ChangeHandler> changeHandlers_;
};
