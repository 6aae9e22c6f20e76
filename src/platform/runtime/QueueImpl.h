#pragma once

#include "platform/runtime/DispatchQueue.h"

class QThreadPool;

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

// The worker threads behind global and serial queues and operation queues. Larger than the core count because
// tasks may block (sleeps of the timeout queue, waits on other queues).
QThreadPool& workerPool();

} // namespace pt::detail
