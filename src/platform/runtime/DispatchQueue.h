#pragma once

#include <QString>

#include <functional>
#include <memory>

namespace pt {

namespace detail {
class QueueImpl;
}

enum class QueuePriority { High, Default, Low, Background };

// A queue of tasks, as the rest of the program uses them:
// - main(): the Qt event loop of the application's thread. Tasks posted before exec() wait for it; they run in
//   the order they were posted.
// - global(priority): concurrent; tasks run on a shared pool of worker threads.
// - serial(label): a new queue whose tasks run one at a time, in order, on pool threads.
// A DispatchQueue is a cheap handle; copies name the same queue, which lives while a handle or a pending task
// holds it.
class DispatchQueue {
public:
    using Task = std::function<void()>;

    static DispatchQueue main();
    static DispatchQueue global(QueuePriority priority = QueuePriority::Default);
    static DispatchQueue serial(const QString& label);

    DispatchQueue() = default;

    // Runs the task later, never inside this call.
    void async(Task task) const;
    // Runs the task and returns when it has run. Onto the queue the caller is already running on (main from the
    // main thread, a serial queue from one of its own tasks) the task runs inline instead of deadlocking; onto a
    // global queue it runs on the calling thread.
    void sync(const Task& task) const;
    // Runs the task after the delay (seconds, truncated to whole nanoseconds; negative means 0). Never inline;
    // tasks with equal deadlines run in the order they were scheduled.
    void after(double seconds, Task task) const;

    // True while the calling thread runs a task of this queue (for main: on the main thread).
    bool isCurrent() const;
    QString label() const;
    bool isNull() const { return !d_; }

    friend bool operator==(const DispatchQueue& a, const DispatchQueue& b) { return a.d_ == b.d_; }

private:
    explicit DispatchQueue(std::shared_ptr<detail::QueueImpl> d) : d_(std::move(d)) {}
    std::shared_ptr<detail::QueueImpl> d_;
};

// Runs the task on the queue after the delay; the free-function form used across the program.
void dispatchAfter(double seconds, const DispatchQueue& queue, DispatchQueue::Task task);

} // namespace pt
