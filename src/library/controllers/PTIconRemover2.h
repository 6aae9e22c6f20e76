#pragma once

#include "platform/store/ObjectID.h"

#include <QSet>
#include <QString>
#include <QVector>

#include <functional>
#include <memory>

namespace pt::store {
class ManagedObject;
}
class PTItem;

// Removes a selection of items, sets and groups mixed, with their files: first the items, then the sets (with
// their items and folders), then the groups (with everything still inside). Works on the main context on the
// main thread and lets the event loop run after each object, so the interface keeps drawing. Whatever runs in
// those turns (a save path, a merge) sees a whole graph: every object is unlinked and deleted in one step, a
// set only once it holds no items, a group only once it holds nothing. The Miscellaneous set is never removed.
// Each stage is saved; once the last save has ended a notice is posted and the completion handler runs.
class PTIconRemover2 : public std::enable_shared_from_this<PTIconRemover2> {
public:
    using Handler = std::function<void()>;
    using Objects = QVector<pt::store::ManagedObject*>;

    // Asks (unless the user chose not to be asked), then removes the objects under a progress sheet:
    // `beforeRemoval` runs first, `completion` when all is saved and the sheet has gone. Answers whether the
    // removal started.
    static bool defaultRemovalForItems(const Objects& objects, Handler beforeRemoval, Handler completion);

    // A remover of the objects (of the main context); it keeps itself alive until its completion has run.
    static std::shared_ptr<PTIconRemover2> create(const Objects& objects);

    Handler completionHandler() const { return completionHandler_; }
    void setCompletionHandler(Handler handler) { completionHandler_ = std::move(handler); }

    // Removes everything (Main thread); returns when all objects are deleted, before the last save has ended.
    void process();

private:
    explicit PTIconRemover2(const Objects& objects);

    void processItems(const QVector<pt::store::ObjectID>& ids);
    void processCollections(const QVector<pt::store::ObjectID>& ids);
    void processGroups(const QVector<pt::store::ObjectID>& ids);
    void removeItem(PTItem* item);
    void removeCollection(const pt::store::ObjectID& id);
    void removeGroup(const pt::store::ObjectID& id, QSet<pt::store::ObjectID>& visited);
    void saveContextAndProcessChanges();
    void complete();
    void runComplete();

    QVector<pt::store::ObjectID> objects_;
    Handler completionHandler_;
};
