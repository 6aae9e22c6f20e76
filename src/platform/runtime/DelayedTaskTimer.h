#pragma once

#include "platform/runtime/DispatchQueue.h"

#include <chrono>

namespace pt::detail {

// One thread that hands delayed tasks to their queues when their deadline passes. Equal deadlines keep the
// order in which they were scheduled.
class DelayedTaskTimer {
public:
    using Clock = std::chrono::steady_clock;

    static DelayedTaskTimer& instance();
    void schedule(Clock::time_point deadline, DispatchQueue queue, DispatchQueue::Task task);

private:
    DelayedTaskTimer();
    void run();

    struct State;
    State* state_;
};

} // namespace pt::detail
