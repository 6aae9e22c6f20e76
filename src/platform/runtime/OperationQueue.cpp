#include "platform/runtime/OperationQueue.h"

#include "platform/runtime/QueueImpl.h"

#include <condition_variable>
#include <list>
#include <mutex>
#include <unordered_map>

namespace pt {

struct OperationQueue::State : std::enable_shared_from_this<OperationQueue::State> {
    QString name;
    mutable std::mutex mutex;
    std::condition_variable emptyCondition;
    std::list<std::shared_ptr<Operation>> pending;
    std::list<std::shared_ptr<Operation>> executing;
    // Where each executing operation stands in `executing`: a finish must not search a list of thousands.
    std::unordered_map<const Operation*, std::list<std::shared_ptr<Operation>>::iterator> executingPlaces;
    int maxConcurrent = DefaultMaxConcurrentOperationCount;
    int poolPriority = 2;
    bool suspended = false;
    std::vector<std::function<void()>> emptyCallbacks;

    int count() const { return static_cast<int>(pending.size() + executing.size()); }

    // Starts every ready operation the limit allows, in queue order.
    void schedule()
    {
        std::vector<std::shared_ptr<Operation>> toStart;
        {
            std::lock_guard lock(mutex);
            if (suspended)
                return;
            for (auto it = pending.begin(); it != pending.end();) {
                if (maxConcurrent >= 0 && static_cast<int>(executing.size()) >= maxConcurrent)
                    break;
                if (!(*it)->isReady()) {
                    ++it;
                    continue;
                }
                toStart.push_back(*it);
                executingPlaces[it->get()] = executing.insert(executing.end(), *it);
                it = pending.erase(it);
            }
        }
        for (auto& operation : toStart) {
            auto self = shared_from_this();
            detail::startOnWorkerPool(
                [self, operation] {
                    operation->start();
                    self->finished(operation);
                },
                poolPriority);
        }
    }

    void finished(const std::shared_ptr<Operation>& operation)
    {
        std::vector<std::function<void()>> callbacks;
        {
            std::lock_guard lock(mutex);
            if (const auto place = executingPlaces.find(operation.get()); place != executingPlaces.end()) {
                executing.erase(place->second);
                executingPlaces.erase(place);
            }
            if (count() == 0)
                callbacks.swap(emptyCallbacks);
        }
        emptyCondition.notify_all();
        for (auto& callback : callbacks)
            DispatchQueue::main().async(std::move(callback));
        schedule();
    }
};

OperationQueue::OperationQueue(const QString& name) : state_(std::make_shared<State>())
{
    state_->name = name;
}

OperationQueue::~OperationQueue()
{
    cancelAllOperations();
    setSuspended(false);
    waitUntilAllOperationsAreFinished();
}

void OperationQueue::addOperation(const std::shared_ptr<Operation>& operation)
{
    std::weak_ptr<State> weak = state_;
    auto wake = [weak] {
        if (auto state = weak.lock())
            state->schedule();
    };
    operation->setReadyListener(wake);
    for (const auto& dependency : operation->dependencies())
        dependency->addFinishListener(wake);
    {
        std::lock_guard lock(state_->mutex);
        state_->pending.push_back(operation);
    }
    state_->schedule();
}

std::shared_ptr<Operation> OperationQueue::addOperation(std::function<void()> block)
{
    auto operation = BlockOperation::create(std::move(block));
    addOperation(operation);
    return operation;
}

void OperationQueue::setMaxConcurrentOperationCount(int count)
{
    {
        std::lock_guard lock(state_->mutex);
        state_->maxConcurrent = count;
    }
    state_->schedule();
}

int OperationQueue::maxConcurrentOperationCount() const
{
    std::lock_guard lock(state_->mutex);
    return state_->maxConcurrent;
}

void OperationQueue::setPriority(QueuePriority priority)
{
    std::lock_guard lock(state_->mutex);
    state_->poolPriority = 3 - static_cast<int>(priority);
}

void OperationQueue::setSuspended(bool suspended)
{
    {
        std::lock_guard lock(state_->mutex);
        state_->suspended = suspended;
    }
    if (!suspended)
        state_->schedule();
}

bool OperationQueue::isSuspended() const
{
    std::lock_guard lock(state_->mutex);
    return state_->suspended;
}

void OperationQueue::cancelAllOperations()
{
    std::list<std::shared_ptr<Operation>> snapshot;
    {
        std::lock_guard lock(state_->mutex);
        snapshot = state_->pending;
        snapshot.insert(snapshot.end(), state_->executing.begin(), state_->executing.end());
    }
    for (auto& operation : snapshot)
        operation->cancel();
}

int OperationQueue::operationCount() const
{
    std::lock_guard lock(state_->mutex);
    return state_->count();
}

void OperationQueue::waitUntilAllOperationsAreFinished()
{
    std::unique_lock lock(state_->mutex);
    state_->emptyCondition.wait(lock, [this] { return state_->count() == 0; });
}

void OperationQueue::notifyWhenEmpty(std::function<void()> callback)
{
    {
        std::lock_guard lock(state_->mutex);
        if (state_->count() != 0) {
            state_->emptyCallbacks.push_back(std::move(callback));
            return;
        }
    }
    DispatchQueue::main().async(std::move(callback));
}

QString OperationQueue::name() const
{
    return state_->name;
}

} // namespace pt
