#pragma once

#include "platform/runtime/DispatchQueue.h"
#include "platform/runtime/Operation.h"

#include <functional>
#include <memory>

namespace pt {

// Runs operations on the worker pool, at most maxConcurrentOperationCount at a time, each once its
// dependencies have finished. The end of a batch is observed with notifyWhenEmpty().
class OperationQueue {
public:
    static constexpr int DefaultMaxConcurrentOperationCount = -1;

    explicit OperationQueue(const QString& name = {});
    // Waits for the running operations; pending ones are cancelled first.
    ~OperationQueue();
    OperationQueue(const OperationQueue&) = delete;
    OperationQueue& operator=(const OperationQueue&) = delete;

    void addOperation(const std::shared_ptr<Operation>& operation);
    std::shared_ptr<Operation> addOperation(std::function<void()> block);

    // -1 leaves the limit to the worker pool.
    void setMaxConcurrentOperationCount(int count);
    int maxConcurrentOperationCount() const;
    void setPriority(QueuePriority priority);

    // A suspended queue starts nothing new; running operations go on.
    void setSuspended(bool suspended);
    bool isSuspended() const;

    void cancelAllOperations();
    // Operations queued and not yet finished.
    int operationCount() const;
    void waitUntilAllOperationsAreFinished();

    // Runs the callback once on the main queue when the operation count reaches zero (on the next turn of the
    // main queue when it is zero already).
    void notifyWhenEmpty(std::function<void()> callback);

    QString name() const;

private:
    struct State;
    std::shared_ptr<State> state_;
};

} // namespace pt
