#pragma once

#include <QString>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <mutex>

// Hands updates from any thread to the main queue, at most `rate` times a second. Updates under one key replace
// each other (the last one wins); calls made on the main thread run at once and drop what was pending under their
// key. Once the owner is gone (close()), pending and later updates are dropped.
class PTMainQueueCoalescer : public std::enable_shared_from_this<PTMainQueueCoalescer> {
public:
    using Update = std::function<void()>;

    static std::shared_ptr<PTMainQueueCoalescer> create(int rate = 30);

    void post(int key, Update update);
    // Drops everything; later posts do nothing.
    void close();

    // Deliveries to the main queue so far (at most one is ever queued at a time).
    int deliveries() const;

private:
    explicit PTMainQueueCoalescer(int rate);
    void flush();

    mutable std::mutex mutex_;
    std::map<int, Update> pending_;
    bool scheduled_ = false;
    bool closed_ = false;
    std::chrono::steady_clock::duration interval_;
    std::chrono::steady_clock::time_point lastFlush_{};
    int deliveries_ = 0;
};
