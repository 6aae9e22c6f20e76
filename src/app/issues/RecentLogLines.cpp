#include "app/issues/RecentLogLines.h"

#include "app/issues/SignalSafeWrite.h"

#include <algorithm>
#include <cstring>

namespace pt {

void RecentLogLines::append(const char* text, std::size_t length)
{
    Slot& slot = slots_[next_.fetch_add(1, std::memory_order_relaxed) % Capacity];
    const std::size_t kept = std::min(length, LineBytes - 1);
    // Emptied first, so a reader never pairs the old length with the new text.
    slot.length.store(0, std::memory_order_release);
    std::memcpy(slot.text, text, kept);
    slot.text[kept] = '\n';
    slot.length.store(std::uint32_t(kept + 1), std::memory_order_release);
}

void RecentLogLines::writeTo(int fd) const
{
    const std::uint64_t end = next_.load(std::memory_order_acquire);
    const std::uint64_t begin = end > Capacity ? end - Capacity : 0;
    for (std::uint64_t index = begin; index < end; ++index) {
        const Slot& slot = slots_[index % Capacity];
        const std::size_t length = std::min<std::size_t>(slot.length.load(std::memory_order_acquire), LineBytes);
        signalSafe::write(fd, slot.text, length);
    }
}

} // namespace pt
