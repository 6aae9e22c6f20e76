#pragma once

#include <QString>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace pt {

// A unit of work for an OperationQueue. It becomes ready when every dependency has finished (or when it is
// cancelled); a cancelled operation finishes without running main(). Subclasses override main() and check
// isCancelled() at convenient points of long work.
class Operation : public std::enable_shared_from_this<Operation> {
public:
    virtual ~Operation() = default;

    // Dependencies are added before the operation is queued.
    void addDependency(const std::shared_ptr<Operation>& other);
    const std::vector<std::shared_ptr<Operation>>& dependencies() const { return dependencies_; }

    void cancel();
    bool isCancelled() const { return cancelled_.load(); }
    bool isExecuting() const;
    bool isFinished() const;
    // True when cancelled or when every dependency has finished.
    bool isReady() const;

    // Runs on the thread that finished the operation, after main().
    void setCompletionBlock(std::function<void()> block);
    void waitUntilFinished();

    QString name;

protected:
    virtual void main() = 0;

private:
    friend class OperationQueue;
    enum class State { Pending, Executing, Finished };

    void start();
    // Called once when this operation has finished; listeners added after that run at once.
    void addFinishListener(std::function<void()> listener);
    // Called when a pending operation becomes ready by being cancelled.
    void setReadyListener(std::function<void()> listener);

    mutable std::mutex mutex_;
    std::condition_variable finishedCondition_;
    State state_ = State::Pending;
    std::atomic<bool> cancelled_{false};
    std::vector<std::shared_ptr<Operation>> dependencies_;
    std::vector<std::function<void()>> finishListeners_;
    std::function<void()> readyListener_;
    std::function<void()> completionBlock_;
};

// An operation whose work is a function.
class BlockOperation : public Operation {
public:
    explicit BlockOperation(std::function<void()> block) : block_(std::move(block)) {}
    static std::shared_ptr<BlockOperation> create(std::function<void()> block);

protected:
    void main() override;

private:
    std::function<void()> block_;
};

} // namespace pt
