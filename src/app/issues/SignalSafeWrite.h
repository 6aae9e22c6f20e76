#pragma once

#include <cstddef>
#include <cstdint>

// Text output for signal handlers: no allocation, no locks, no stdio; write(2) and arithmetic only.
namespace signalSafe {

// Writes all of the bytes, going on after interrupted or short writes; gives up on an error.
void write(int fd, const char* data, std::size_t length);
// A NUL-terminated string.
void write(int fd, const char* text);
void writeNumber(int fd, std::uint64_t number);

// Appends to a fixed buffer, always NUL-terminated, silently cut at its end.
class Buffer {
public:
    Buffer(char* data, std::size_t capacity);
    Buffer& append(const char* text);
    Buffer& append(const char* text, std::size_t length);
    // Decimal, at least `width` digits (zero-padded).
    Buffer& appendNumber(std::uint64_t number, int width = 1);
    // Seconds since the epoch as "YYYYMMDD-HHMMSS" (separator '-') or "YYYY-MM-DD HH:MM:SS" (separator ' '), UTC.
    Buffer& appendTime(std::int64_t seconds, bool compact);
    const char* data() const { return data_; }
    std::size_t size() const { return size_; }

private:
    char* data_;
    std::size_t capacity_;
    std::size_t size_ = 0;
};

} // namespace signalSafe
