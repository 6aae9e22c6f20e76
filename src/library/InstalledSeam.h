#pragma once

#include <memory>
#include <mutex>

// The one implementation of an interface that a higher layer installs at start-up (and tests replace); read from
// any thread.
template <class Interface>
class InstalledSeam {
public:
    void install(std::shared_ptr<Interface> implementation)
    {
        std::lock_guard lock(mutex_);
        current_ = std::move(implementation);
    }
    std::shared_ptr<Interface> get() const
    {
        std::lock_guard lock(mutex_);
        return current_;
    }

private:
    mutable std::mutex mutex_;
    std::shared_ptr<Interface> current_;
};
