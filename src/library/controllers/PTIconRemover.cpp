#include "library/controllers/PTIconRemover.h"

#include "library/entities/PTCollection.h"
#include "library/entities/PTItem.h"
#include "library/entities/PTLicence.h"
#include "library/store/PTStoreFunctions.h"
#include "platform/runtime/OperationQueue.h"

#include <QDir>
#include <QFile>

std::shared_ptr<PTIconRemover> PTIconRemover::create()
{
    return std::shared_ptr<PTIconRemover>(new PTIconRemover());
}

namespace {

// Never destroyed: static destruction at exit must not wait for removals still running.
pt::OperationQueue& removalQueue()
{
    static pt::OperationQueue* queue = [] {
        auto* made = new pt::OperationQueue(QStringLiteral("com.pictern.icon.remover"));
        made->setMaxConcurrentOperationCount(10);
        return made;
    }();
    return *queue;
}

void deleteItem(pt::store::ObjectContext& context, PTItem* item)
{
    item->setLicence(nullptr);
    item->setCollection(nullptr);
    context.deleteObject(item);
}

} // namespace

void PTIconRemover::removeCollection(PTCollection* set, Handler beforeFinalDelete, Handler complete)
{
    const QVector<PTItem*> items = set->items();
    totalBatches_ = items.isEmpty() ? 1 : int((items.size() + BatchSize - 1) / BatchSize);
    const QString folder = set->formattedDirectory();
    const pt::store::ObjectID setID = set->objectID();
    auto self = shared_from_this();
    const auto batchFinished = [self, folder, setID, beforeFinalDelete, complete] {
        if (++self->finishedBatches_ != self->totalBatches_)
            return;
        if (!folder.isEmpty())
            QDir(folder).removeRecursively();
        pt::DispatchQueue::main().async([self, setID, beforeFinalDelete, complete] {
            if (beforeFinalDelete)
                beforeFinalDelete();
            pt::store::ObjectContext* context = PTMainManagedObjectContext();
            if (PTCollection* set = context ? PTCollection::from(context->existingObjectWithID(setID)) : nullptr) {
                // Items that joined the set (a merge) while its batches ran lost their files with the folder.
                for (PTItem* item : set->items())
                    deleteItem(*context, item);
                set->setLicence(nullptr);
                set->setGroup(nullptr);
                context->deleteObject(set);
            }
            PTSaveManagedObjectContextWithCompletion([self, complete](const pt::Error&) {
                if (complete)
                    complete();
            });
        });
    };
    if (items.isEmpty()) {
        pt::DispatchQueue::global(pt::QueuePriority::High).async(batchFinished);
        return;
    }
    auto batches = std::make_shared<Batches>();
    QVector<pt::store::ObjectID> batch;
    for (PTItem* item : items) {
        batch.append(item->objectID());
        if (batch.size() == BatchSize || item == items.last()) {
            batches->append(batch);
            batch.clear();
        }
    }
    startBatches(batches, 0, batchFinished);
}

// Each batch reads its file locations in a turn of the main queue of its own and queues the next one from there,
// so that a large set never holds the main thread for long.
void PTIconRemover::startBatches(std::shared_ptr<const Batches> batches, qsizetype index, Handler batchFinished)
{
    auto self = shared_from_this();
    pt::DispatchQueue::main().async([self, batches, index, batchFinished] {
        self->removeIconsWithObjectIDs(batches->at(index), batchFinished);
        if (index + 1 < batches->size())
            self->startBatches(batches, index + 1, batchFinished);
    });
}

void PTIconRemover::removeIconsWithObjectIDs(const QVector<pt::store::ObjectID>& ids, Handler complete)
{
    // The file locations are read here, on the main thread: workers carry only paths and IDs.
    QStringList files;
    if (pt::store::ObjectContext* context = PTMainManagedObjectContext()) {
        for (const pt::store::ObjectID& id : ids) {
            if (PTItem* item = PTItem::from(context->existingObjectWithID(id)))
                files << item->fileURL().toLocalFile();
        }
    }
    auto self = shared_from_this();
    removalQueue().addOperation([self, ids, files, complete] {
        for (const QString& file : files) {
            if (!file.isEmpty())
                QFile::remove(file);
        }
        pt::DispatchQueue::main().sync([&] {
            pt::store::ObjectContext* context = PTMainManagedObjectContext();
            if (!context)
                return;
            for (const pt::store::ObjectID& id : ids) {
                if (PTItem* item = PTItem::from(context->existingObjectWithID(id)))
                    deleteItem(*context, item);
            }
        });
        if (complete)
            complete();
    });
}
