#include "platform/runtime/Operation.h"

namespace pt {

void Operation::addDependency(const std::shared_ptr<Operation>& other)
{
    if (other && other.get() != this)
        dependencies_.push_back(other);
}

void Operation::cancel()
{
    cancelled_.store(true);
    // A cancelled operation is ready at once; wake the queue that holds it.
    std::function<void()> wake;
    {
        std::lock_guard lock(mutex_);
        if (state_ != State::Pending)
            return;
        wake = readyListener_;
    }
    if (wake)
        wake();
}

bool Operation::isExecuting() const
{
    std::lock_guard lock(mutex_);
    return state_ == State::Executing;
}

bool Operation::isFinished() const
{
    std::lock_guard lock(mutex_);
    return state_ == State::Finished;
}

bool Operation::isReady() const
{
    if (isCancelled())
        return true;
    for (const auto& dependency : dependencies_) {
        if (!dependency->isFinished())
            return false;
    }
    return true;
}

void Operation::setCompletionBlock(std::function<void()> block)
{
    std::lock_guard lock(mutex_);
    completionBlock_ = std::move(block);
}

void Operation::waitUntilFinished()
{
    std::unique_lock lock(mutex_);
    finishedCondition_.wait(lock, [this] { return state_ == State::Finished; });
}

void Operation::setReadyListener(std::function<void()> listener)
{
    std::lock_guard lock(mutex_);
    readyListener_ = std::move(listener);
}

void Operation::addFinishListener(std::function<void()> listener)
{
    {
        std::lock_guard lock(mutex_);
        if (state_ != State::Finished) {
            finishListeners_.push_back(std::move(listener));
            return;
        }
    }
    listener();
}

void Operation::start()
{
    {
        std::lock_guard lock(mutex_);
        state_ = State::Executing;
    }
    if (!isCancelled())
        main();
    std::function<void()> completion;
    std::vector<std::function<void()>> listeners;
    {
        std::lock_guard lock(mutex_);
        state_ = State::Finished;
        completion = std::move(completionBlock_);
        listeners = std::move(finishListeners_);
        readyListener_ = nullptr;
    }
    finishedCondition_.notify_all();
    if (completion)
        completion();
    for (auto& listener : listeners)
        listener();
}

std::shared_ptr<BlockOperation> BlockOperation::create(std::function<void()> block)
{
    return std::make_shared<BlockOperation>(std::move(block));
}

void BlockOperation::main()
{
    if (block_)
        block_();
}

} // namespace pt
