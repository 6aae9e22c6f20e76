#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace pt {

// The last lines the application logged, kept in memory that never moves or grows, so that a signal handler can
// write them out. Appending may come from any thread at once; each append claims a slot of its own. Reading takes
// no lock: a line being written while the process dies may come out torn, never out of bounds.
class RecentLogLines {
public:
    static constexpr std::size_t Capacity = 64;
    static constexpr std::size_t LineBytes = 400;

    // Keeps the text (cut to LineBytes - 1 bytes, a newline added); the oldest line makes room.
    void append(const char* text, std::size_t length);
    // Writes the lines, oldest first, with write(2) only: safe in a signal handler.
    void writeTo(int fd) const;

private:
    struct Slot {
        std::atomic<std::uint32_t> length{0};
        char text[LineBytes];
    };
    std::atomic<std::uint64_t> next_{0};
    Slot slots_[Capacity];
};

} // namespace pt
