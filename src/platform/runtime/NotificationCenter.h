#pragma once

#include <QString>
#include <QVariantMap>

#include <functional>
#include <memory>

namespace pt {

// A posted notification. The object is an identity only: the centre compares it and never dereferences it.
struct Notification {
    QString name;
    const void* object = nullptr;
    QVariantMap userInfo;
};

class NotificationCenter;

// Keeps one observer registered; destroying or resetting it removes the observer. Removal waits for a delivery
// to this observer running on another thread, so that after it returns the callback never runs again.
class ObserverToken {
public:
    ObserverToken() = default;
    ObserverToken(ObserverToken&&) noexcept = default;
    ObserverToken& operator=(ObserverToken&& other) noexcept;
    ~ObserverToken();

    void reset();
    bool isActive() const { return static_cast<bool>(entry_); }

private:
    friend class NotificationCenter;
    struct Entry;
    explicit ObserverToken(std::shared_ptr<Entry> entry) : entry_(std::move(entry)) {}
    std::shared_ptr<Entry> entry_;
};

// Named notifications. post() delivers synchronously on the posting thread to each observer registered for the
// name (an empty name: every name) and the object (nullptr: any object), in the order of registration; an
// observer that asked for it is called on the main queue instead. Observers removed during a delivery are not
// called by it.
class NotificationCenter {
public:
    enum class Delivery { PostingThread, MainQueue };
    using Callback = std::function<void(const Notification&)>;

    static NotificationCenter& defaultCenter();

    NotificationCenter();
    ~NotificationCenter();
    NotificationCenter(const NotificationCenter&) = delete;
    NotificationCenter& operator=(const NotificationCenter&) = delete;

    [[nodiscard]] ObserverToken addObserver(const QString& name, const void* object, Callback callback,
                                            Delivery delivery = Delivery::PostingThread);

    void post(const Notification& notification);
    void post(const QString& name, const void* object = nullptr, const QVariantMap& userInfo = {});

    struct State;

private:
    std::shared_ptr<State> state_;
};

} // namespace pt
