#include "ui/sheets/PTMainQueueCoalescer.h"

#include "platform/runtime/DispatchQueue.h"

std::shared_ptr<PTMainQueueCoalescer> PTMainQueueCoalescer::create(int rate)
{
    return std::shared_ptr<PTMainQueueCoalescer>(new PTMainQueueCoalescer(rate));
}

PTMainQueueCoalescer::PTMainQueueCoalescer(int rate)
    : interval_(std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::seconds(1)) / rate)
{
}

void PTMainQueueCoalescer::post(int key, Update update)
{
    if (pt::DispatchQueue::main().isCurrent()) {
        {
            std::lock_guard lock(mutex_);
            if (closed_)
                return;
            pending_.erase(key);
        }
        update();
        return;
    }
    std::lock_guard lock(mutex_);
    if (closed_)
        return;
    pending_[key] = std::move(update);
    if (scheduled_)
        return;
    scheduled_ = true;
    const auto wait = std::max(std::chrono::steady_clock::duration::zero(),
                               lastFlush_ + interval_ - std::chrono::steady_clock::now());
    std::weak_ptr<PTMainQueueCoalescer> weak = weak_from_this();
    pt::DispatchQueue::main().after(std::chrono::duration<double>(wait).count(), [weak] {
        if (const std::shared_ptr<PTMainQueueCoalescer> self = weak.lock())
            self->flush();
    });
}

void PTMainQueueCoalescer::flush()
{
    std::map<int, Update> updates;
    {
        std::lock_guard lock(mutex_);
        scheduled_ = false;
        lastFlush_ = std::chrono::steady_clock::now();
        if (closed_)
            return;
        updates.swap(pending_);
        ++deliveries_;
    }
    for (auto& [key, update] : updates) {
        {
            // An earlier update may have closed the owner.
            std::lock_guard lock(mutex_);
            if (closed_)
                return;
        }
        update();
    }
}

void PTMainQueueCoalescer::close()
{
    std::lock_guard lock(mutex_);
    closed_ = true;
    pending_.clear();
}

int PTMainQueueCoalescer::deliveries() const
{
    std::lock_guard lock(mutex_);
    return deliveries_;
}
