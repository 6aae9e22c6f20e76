#include "platform/runtime/DelayedTaskTimer.h"

#include "platform/runtime/AlternateSignalStack.h"

#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

namespace pt::detail {

struct DelayedTaskTimer::State {
    struct Entry {
        DispatchQueue queue;
        DispatchQueue::Task task;
    };
    std::mutex mutex;
    std::condition_variable wake;
    // Keyed by (deadline, sequence): the map's order is the firing order.
    std::map<std::pair<Clock::time_point, quint64>, Entry> entries;
    quint64 nextSequence = 0;
};

DelayedTaskTimer& DelayedTaskTimer::instance()
{
    // Never destroyed: its thread may still wait when the process exits.
    static DelayedTaskTimer* timer = new DelayedTaskTimer;
    return *timer;
}

DelayedTaskTimer::DelayedTaskTimer() : state_(new State)
{
    std::thread([this] {
        AlternateSignalStack::ensureForCurrentThread();
        run();
    }).detach();
}

void DelayedTaskTimer::schedule(Clock::time_point deadline, DispatchQueue queue, DispatchQueue::Task task)
{
    {
        std::lock_guard lock(state_->mutex);
        state_->entries.emplace(std::make_pair(deadline, state_->nextSequence++),
                                State::Entry{std::move(queue), std::move(task)});
    }
    state_->wake.notify_one();
}

void DelayedTaskTimer::run()
{
    std::unique_lock lock(state_->mutex);
    for (;;) {
        if (state_->entries.empty()) {
            state_->wake.wait(lock);
            continue;
        }
        auto first = state_->entries.begin();
        if (Clock::now() < first->first.first) {
            state_->wake.wait_until(lock, first->first.first);
            continue;
        }
        State::Entry entry = std::move(first->second);
        state_->entries.erase(first);
        lock.unlock();
        entry.queue.async(std::move(entry.task));
        lock.lock();
    }
}

} // namespace pt::detail
