#include "platform/runtime/QueueImpl.h"

#include "platform/runtime/AlternateSignalStack.h"

#include <QThread>
#include <QThreadPool>

#include <algorithm>
#include <vector>

namespace pt::detail {

namespace {
// The queues whose tasks this thread is running, innermost last (inline sync nests them).
thread_local std::vector<const QueueImpl*> runningQueues;
} // namespace

bool QueueImpl::isCurrent() const
{
    return std::find(runningQueues.begin(), runningQueues.end(), this) != runningQueues.end();
}

void QueueImpl::runMarked(const DispatchQueue::Task& task) const
{
    runningQueues.push_back(this);
    struct Pop {
        ~Pop() { runningQueues.pop_back(); }
    } pop;
    task();
}

void startOnWorkerPool(std::function<void()> task, int priority)
{
    // Larger than the core count because tasks may block (sleeps of the timeout queue, waits on other queues).
    static QThreadPool* pool = [] {
        auto* p = new QThreadPool;
        p->setMaxThreadCount(std::max(64, QThread::idealThreadCount() * 8));
        p->setExpiryTimeout(30000);
        return p;
    }();
    pool->start(
        [task = std::move(task)] {
            AlternateSignalStack::ensureForCurrentThread();
            task();
        },
        priority);
}

} // namespace pt::detail
