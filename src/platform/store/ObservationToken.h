#pragma once

#include <atomic>
#include <memory>

namespace pt::store {

// Keeps one observer (of an object's key, or of a context's saves) registered; destroying or resetting it
// removes the observer. The registration outlives neither side: an observed object that goes away simply
// drops the record. Release it on the observed context's thread.
class ObservationToken {
public:
    struct Record {
        virtual ~Record() = default;
        std::atomic<bool> active{true};
    };

    ObservationToken() = default;
    explicit ObservationToken(std::shared_ptr<Record> record) : record_(std::move(record)) {}
    ObservationToken(ObservationToken&&) noexcept = default;
    ObservationToken& operator=(ObservationToken&& other) noexcept
    {
        if (this != &other) {
            reset();
            record_ = std::move(other.record_);
        }
        return *this;
    }
    ~ObservationToken() { reset(); }

    void reset()
    {
        if (record_)
            record_->active = false;
        record_.reset();
    }
    bool isActive() const { return record_ != nullptr; }

private:
    std::shared_ptr<Record> record_;
};

} // namespace pt::store
