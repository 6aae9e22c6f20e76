#include "platform/runtime/DispatchQueue.h"

#include "platform/runtime/DelayedTaskTimer.h"
#include "platform/runtime/QueueImpl.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>

#include <condition_variable>
#include <algorithm>
#include <array>
#include <deque>
#include <mutex>

namespace pt {

namespace detail {
namespace {

// A one-shot latch for sync onto another thread.
class Latch {
public:
    void open()
    {
        {
            std::lock_guard lock(mutex_);
            open_ = true;
        }
        cv_.notify_all();
    }
    void wait()
    {
        std::unique_lock lock(mutex_);
        cv_.wait(lock, [this] { return open_; });
    }

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    bool open_ = false;
};

// Runs the task on the queue from another thread and returns when it has run.
void enqueueAndWait(QueueImpl& queue, const DispatchQueue::Task& task)
{
    Latch latch;
    queue.enqueue([&] {
        task();
        latch.open();
    });
    latch.wait();
}

class TaskEvent : public QEvent {
public:
    static QEvent::Type eventType()
    {
        static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
        return type;
    }
    explicit TaskEvent(DispatchQueue::Task task) : QEvent(eventType()), task(std::move(task)) {}
    DispatchQueue::Task task;
};

class MainQueue;

// Lives on the application's thread and runs posted tasks there. Posted events of one priority are delivered in
// posting order, which gives the main queue its FIFO order.
class MainQueueReceiver : public QObject {
public:
    explicit MainQueueReceiver(MainQueue* queue) : queue_(queue) {}
    bool event(QEvent* e) override;

private:
    MainQueue* queue_;
};

class MainQueue final : public QueueImpl {
public:
    MainQueue() : QueueImpl(QStringLiteral("com.pictern.main-queue")) {}

    void enqueue(DispatchQueue::Task task) override
    {
        // Once the application object is gone nothing runs the main queue: a late task (a timer firing while the
        // process ends) is dropped.
        if (QObject* target = receiver())
            QCoreApplication::postEvent(target, new TaskEvent(std::move(task)));
    }

    void runSync(const DispatchQueue::Task& task) override
    {
        if (isCurrent())
            task();
        else
            enqueueAndWait(*this, task);
    }

    bool isCurrent() const override
    {
        auto* app = QCoreApplication::instance();
        return app && QThread::currentThread() == app->thread();
    }

    void runTask(const DispatchQueue::Task& task) const { runMarked(task); }

private:
    QObject* receiver()
    {
        std::lock_guard lock(receiverMutex_);
        QCoreApplication* app = QCoreApplication::instance();
        if (!app)
            return nullptr;
        if (!receiver_) {
            receiver_ = new MainQueueReceiver(this);
            receiver_->moveToThread(app->thread());
        }
        return receiver_;
    }

    std::mutex receiverMutex_;
    QObject* receiver_ = nullptr;
};

bool MainQueueReceiver::event(QEvent* e)
{
    if (e->type() != TaskEvent::eventType())
        return QObject::event(e);
    queue_->runTask(static_cast<TaskEvent*>(e)->task);
    return true;
}

int poolPriority(QueuePriority priority)
{
    switch (priority) {
    case QueuePriority::High: return 3;
    case QueuePriority::Default: return 2;
    case QueuePriority::Low: return 1;
    case QueuePriority::Background: return 0;
    }
    return 2;
}

class GlobalQueue final : public QueueImpl {
public:
    GlobalQueue(QString label, QueuePriority priority) : QueueImpl(std::move(label)), priority_(priority) {}

    void enqueue(DispatchQueue::Task task) override
    {
        auto self = shared_from_this();
        startOnWorkerPool([self, task = std::move(task)] { static_cast<GlobalQueue*>(self.get())->runMarked(task); },
                          poolPriority(priority_));
    }

    void runSync(const DispatchQueue::Task& task) override { runMarked(task); }

private:
    QueuePriority priority_;
};

class SerialQueue final : public QueueImpl {
public:
    using QueueImpl::QueueImpl;

    void enqueue(DispatchQueue::Task task) override
    {
        bool startDrain = false;
        {
            std::lock_guard lock(mutex_);
            tasks_.push_back(std::move(task));
            startDrain = !draining_;
            draining_ = true;
        }
        if (startDrain) {
            auto self = std::static_pointer_cast<SerialQueue>(shared_from_this());
            startOnWorkerPool([self] { self->drain(); }, poolPriority(QueuePriority::Default));
        }
    }

    void runSync(const DispatchQueue::Task& task) override
    {
        if (isCurrent())
            runMarked(task);
        else
            enqueueAndWait(*this, task);
    }

private:
    void drain()
    {
        for (;;) {
            DispatchQueue::Task task;
            {
                std::lock_guard lock(mutex_);
                if (tasks_.empty()) {
                    draining_ = false;
                    return;
                }
                task = std::move(tasks_.front());
                tasks_.pop_front();
            }
            runMarked(task);
        }
    }

    std::mutex mutex_;
    std::deque<DispatchQueue::Task> tasks_;
    bool draining_ = false;
};

} // namespace
} // namespace detail

DispatchQueue DispatchQueue::main()
{
    // Never destroyed: workers may still post to it while the process's statics are torn down.
    static const auto* queue = new std::shared_ptr<detail::QueueImpl>(std::make_shared<detail::MainQueue>());
    return DispatchQueue(*queue);
}

DispatchQueue DispatchQueue::global(QueuePriority priority)
{
    // Never destroyed, as the main queue.
    static const auto* queues = new std::array<std::shared_ptr<detail::QueueImpl>, 4>{
        std::make_shared<detail::GlobalQueue>(QStringLiteral("com.pictern.global.high"), QueuePriority::High),
        std::make_shared<detail::GlobalQueue>(QStringLiteral("com.pictern.global.default"), QueuePriority::Default),
        std::make_shared<detail::GlobalQueue>(QStringLiteral("com.pictern.global.low"), QueuePriority::Low),
        std::make_shared<detail::GlobalQueue>(QStringLiteral("com.pictern.global.background"),
                                              QueuePriority::Background),
    };
    return DispatchQueue((*queues)[static_cast<int>(priority)]);
}

DispatchQueue DispatchQueue::serial(const QString& label)
{
    return DispatchQueue(std::make_shared<detail::SerialQueue>(label));
}

void DispatchQueue::async(Task task) const
{
    Q_ASSERT(d_);
    d_->enqueue(std::move(task));
}

void DispatchQueue::sync(const Task& task) const
{
    Q_ASSERT(d_);
    d_->runSync(task);
}

void DispatchQueue::after(double seconds, Task task) const
{
    Q_ASSERT(d_);
    // Clamped to a century so that the product fits in 64 bits.
    const auto nanos = seconds > 0 ? static_cast<qint64>(std::min(seconds, 3.2e9) * 1e9) : 0;
    detail::DelayedTaskTimer::instance().schedule(
        detail::DelayedTaskTimer::Clock::now() + std::chrono::nanoseconds(nanos), *this, std::move(task));
}

bool DispatchQueue::isCurrent() const
{
    return d_ && d_->isCurrent();
}

QString DispatchQueue::label() const
{
    return d_ ? d_->label() : QString();
}

void dispatchAfter(double seconds, const DispatchQueue& queue, DispatchQueue::Task task)
{
    queue.after(seconds, std::move(task));
}

} // namespace pt
