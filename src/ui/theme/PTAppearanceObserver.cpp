#include "ui/theme/PTAppearanceObserver.h"

#include <QWidget>

#include <vector>

namespace {

struct Entry {
    PTAppearanceBlockRef block;
    bool removed = false;
};

// Main thread only, as every caller is interface code.
struct ObserverList {
    std::vector<std::shared_ptr<Entry>> entries;
    bool notifying = false;
    int notifiedValue = 0;
};

ObserverList& observers()
{
    static ObserverList list;
    return list;
}

} // namespace

void PTThemeAddAppearanceObserver(const PTAppearanceBlockRef& block)
{
    if (!block)
        return;
    ObserverList& list = observers();
    list.entries.push_back(std::make_shared<Entry>(Entry{block}));
    if (list.notifying)
        (*block)(list.notifiedValue);
}

void PTThemeRemoveAppearanceObserver(const PTAppearanceBlockRef& block)
{
    ObserverList& list = observers();
    std::erase_if(list.entries, [&](const std::shared_ptr<Entry>& entry) {
        if (entry->block != block)
            return false;
        entry->removed = true;
        return true;
    });
}

void PTThemeNotifyAppearanceObservers(int appearance)
{
    ObserverList& list = observers();
    // The pass works on a copy, so blocks may join or leave the list while it runs; leavers are skipped, since
    // their owner may be gone.
    const std::vector<std::shared_ptr<Entry>> pass = list.entries;
    const bool wasNotifying = std::exchange(list.notifying, true);
    const int previousValue = std::exchange(list.notifiedValue, appearance);
    for (const std::shared_ptr<Entry>& entry : pass) {
        if (!entry->removed)
            (*entry->block)(appearance);
    }
    list.notifying = wasNotifying;
    list.notifiedValue = previousValue;
}

PTAppearanceObserver::PTAppearanceObserver(PTAppearanceBlock block)
    : block_(std::make_shared<const PTAppearanceBlock>(std::move(block)))
{
    PTThemeAddAppearanceObserver(block_);
}

PTAppearanceObserver PTAppearanceObserver::repainting(QWidget* widget)
{
    return PTAppearanceObserver([guard = QPointer<QWidget>(widget)](int) {
        if (guard)
            guard->update();
    });
}

PTAppearanceObserver::~PTAppearanceObserver()
{
    if (block_)
        PTThemeRemoveAppearanceObserver(block_);
}

PTAppearanceObserver::PTAppearanceObserver(PTAppearanceObserver&& other) noexcept : block_(std::move(other.block_)) {}

PTAppearanceObserver& PTAppearanceObserver::operator=(PTAppearanceObserver&& other) noexcept
{
    if (this != &other) {
        if (block_)
            PTThemeRemoveAppearanceObserver(block_);
        block_ = std::move(other.block_);
    }
    return *this;
}
