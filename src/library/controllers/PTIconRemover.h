#pragma once

#include "platform/store/ObjectID.h"

#include <QVector>

#include <atomic>
#include <functional>
#include <memory>

class PTCollection;

// Removes a whole set, or a batch of items, together with their files. Files are deleted on workers (up to ten
// batches at once, on one queue shared by all removers, so that a remover never owns the thread it ends on),
// objects on the main context afterwards, each unlinked from its licence and set first. Made and started on the
// main thread; it keeps itself alive until its last completion ran.
class PTIconRemover : public std::enable_shared_from_this<PTIconRemover> {
public:
    using Handler = std::function<void()>;
    static constexpr int BatchSize = 100;

    static std::shared_ptr<PTIconRemover> create();

    // Removes the set's items in batches of BatchSize, then its folder; then, on the main queue, runs
    // beforeFinalDelete, deletes the set (with any item that joined it meanwhile) and saves; `complete` runs when
    // the save has ended. Answers at once: the batches start on later turns of the main queue.
    void removeCollection(PTCollection* set, Handler beforeFinalDelete, Handler complete);
    // One batch: deletes the items' files on a worker, then the items in the main context (not saved), then
    // runs `complete` on the worker.
    void removeIconsWithObjectIDs(const QVector<pt::store::ObjectID>& ids, Handler complete);

private:
    using Batches = QVector<QVector<pt::store::ObjectID>>;
    PTIconRemover() = default;
    void startBatches(std::shared_ptr<const Batches> batches, qsizetype index, Handler batchFinished);

    int totalBatches_ = 0;
    std::atomic<int> finishedBatches_{0};
};
