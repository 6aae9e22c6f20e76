#include "platform/runtime/NotificationCenter.h"

#include "platform/runtime/DispatchQueue.h"

#include <mutex>
#include <vector>

namespace pt {

struct NotificationCenter::State {
    std::mutex mutex;
    std::vector<std::shared_ptr<ObserverToken::Entry>> entries;
};

struct ObserverToken::Entry {
    QString name;
    const void* object = nullptr;
    NotificationCenter::Callback callback;
    NotificationCenter::Delivery delivery = NotificationCenter::Delivery::PostingThread;
    std::weak_ptr<NotificationCenter::State> center;

    // Held while the callback runs; recursive so that a callback may remove its own observer.
    std::recursive_mutex callMutex;
    bool alive = true;

    bool matches(const Notification& n) const
    {
        return (name.isEmpty() || name == n.name) && (!object || object == n.object);
    }

    void deliver(const Notification& n)
    {
        std::lock_guard lock(callMutex);
        if (alive)
            callback(n);
    }
};

ObserverToken& ObserverToken::operator=(ObserverToken&& other) noexcept
{
    if (this != &other) {
        reset();
        entry_ = std::move(other.entry_);
    }
    return *this;
}

ObserverToken::~ObserverToken()
{
    reset();
}

void ObserverToken::reset()
{
    if (!entry_)
        return;
    {
        std::lock_guard lock(entry_->callMutex);
        entry_->alive = false;
    }
    if (auto center = entry_->center.lock()) {
        std::lock_guard lock(center->mutex);
        std::erase(center->entries, entry_);
    }
    entry_.reset();
}

NotificationCenter& NotificationCenter::defaultCenter()
{
    // Never destroyed: observers in static objects may outlive any destruction order we could choose.
    static NotificationCenter* center = new NotificationCenter;
    return *center;
}

NotificationCenter::NotificationCenter() : state_(std::make_shared<State>()) {}

NotificationCenter::~NotificationCenter() = default;

ObserverToken NotificationCenter::addObserver(const QString& name, const void* object, Callback callback,
                                              Delivery delivery)
{
    auto entry = std::make_shared<ObserverToken::Entry>();
    entry->name = name;
    entry->object = object;
    entry->callback = std::move(callback);
    entry->delivery = delivery;
    entry->center = state_;
    {
        std::lock_guard lock(state_->mutex);
        state_->entries.push_back(entry);
    }
    return ObserverToken(entry);
}

void NotificationCenter::post(const Notification& notification)
{
    std::vector<std::shared_ptr<ObserverToken::Entry>> targets;
    {
        std::lock_guard lock(state_->mutex);
        for (const auto& entry : state_->entries) {
            if (entry->matches(notification))
                targets.push_back(entry);
        }
    }
    for (const auto& entry : targets) {
        if (entry->delivery == Delivery::MainQueue)
            DispatchQueue::main().async([entry, notification] { entry->deliver(notification); });
        else
            entry->deliver(notification);
    }
}

void NotificationCenter::post(const QString& name, const void* object, const QVariantMap& userInfo)
{
    post(Notification{name, object, userInfo});
}

} // namespace pt
