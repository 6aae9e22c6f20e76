#include "foundation/DispatchHelpers.h"

#include <chrono>
#include <memory>
#include <mutex>
#include <utility>
#include <thread>

namespace {

const QString TimeoutQueueLabel = QStringLiteral("com.pictern.timeout.queue");

pt::DispatchQueue timeoutQueue()
{
    static const pt::DispatchQueue queue = pt::DispatchQueue::serial(TimeoutQueueLabel);
    return queue;
}

// The pause of one job: the timeout queue sleeps for the whole delay, measured from when the job runs.
void waitStep(double seconds)
{
    if (seconds <= 0)
        return;
    const auto nanos = static_cast<qint64>(std::min(seconds, 3.2e9) * 1e9);
    std::this_thread::sleep_for(std::chrono::nanoseconds(nanos));
}

} // namespace

void PTDispatchAfter(pt::DispatchQueue::Task block, const pt::DispatchQueue& queue, double seconds)
{
    queue.after(seconds, std::move(block));
}

void PTDispatchAfterOnTimeoutQueue(pt::DispatchQueue::Task block, const pt::DispatchQueue& queue, qint64 waitAfter,
                                   double seconds)
{
    timeoutQueue().async([block = std::move(block), queue, waitAfter, seconds]() mutable {
        if (waitAfter) {
            queue.async(std::move(block));
            waitStep(seconds);
        } else {
            waitStep(seconds);
            queue.async(std::move(block));
        }
    });
}

PTCancellableBlock PTNewCancellableBlock(pt::DispatchQueue::Task block)
{
    struct Held {
        std::mutex mutex;
        pt::DispatchQueue::Task block;
    };
    auto held = std::make_shared<Held>();
    held->block = std::move(block);
    return [held](bool cancel) {
        pt::DispatchQueue::Task taken;
        {
            const std::lock_guard lock(held->mutex);
            taken = std::exchange(held->block, nullptr);
        }
        if (!cancel && taken)
            pt::DispatchQueue::main().async(std::move(taken));
    };
}

void PTCancelBlock(const PTCancellableBlock& block)
{
    if (block)
        block(true);
}
