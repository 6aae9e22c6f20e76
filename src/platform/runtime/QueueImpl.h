#pragma once

#include "platform/runtime/DispatchQueue.h"

namespace pt::detail {

// What every kind of queue implements; DispatchQueue is a handle to one of these.
class QueueImpl : public std::enable_shared_from_this<QueueImpl> {
public:
    explicit QueueImpl(QString label) : label_(std::move(label)) {}
    virtual ~QueueImpl() = default;

    virtual void enqueue(DispatchQueue::Task task) = 0;
    virtual void runSync(const DispatchQueue::Task& task) = 0;
    virtual bool isCurrent() const;
    const QString& label() const { return label_; }

protected:
    // Runs a task with this queue recorded as the calling thread's current queue.
    void runMarked(const DispatchQueue::Task& task) const;

private:
    QString label_;
};

// Runs the task on the worker threads behind global and serial queues and operation queues (QThreadPool
// priorities). Each thread gets an alternate signal stack before its first task, so that a task that overflows
// its stack (a decoder deep in an untrusted file) is still reported.
void startOnWorkerPool(std::function<void()> task, int priority);

} // namespace pt::detail
