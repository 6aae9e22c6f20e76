#include "app/issues/SignalSafeWrite.h"

#include <cerrno>
#include <unistd.h>

namespace signalSafe {

void write(int fd, const char* data, std::size_t length)
{
    while (length > 0) {
        const ssize_t written = ::write(fd, data, length);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return;
        data += written;
        length -= std::size_t(written);
    }
}

void write(int fd, const char* text)
{
    std::size_t length = 0;
    while (text[length] != '\0')
        ++length;
    write(fd, text, length);
}

void writeNumber(int fd, std::uint64_t number)
{
    char digits[24];
    Buffer buffer(digits, sizeof digits);
    buffer.appendNumber(number);
    write(fd, buffer.data(), buffer.size());
}

Buffer::Buffer(char* data, std::size_t capacity) : data_(data), capacity_(capacity)
{
    data_[0] = '\0';
}

Buffer& Buffer::append(const char* text, std::size_t length)
{
    for (std::size_t index = 0; index < length && size_ + 1 < capacity_; ++index)
        data_[size_++] = text[index];
    data_[size_] = '\0';
    return *this;
}

Buffer& Buffer::append(const char* text)
{
    std::size_t length = 0;
    while (text[length] != '\0')
        ++length;
    return append(text, length);
}

Buffer& Buffer::appendNumber(std::uint64_t number, int width)
{
    char reversed[24];
    int count = 0;
    do {
        reversed[count++] = char('0' + number % 10);
        number /= 10;
    } while (number > 0);
    while (count < width && count < int(sizeof reversed))
        reversed[count++] = '0';
    while (count > 0)
        append(&reversed[--count], 1);
    return *this;
}

Buffer& Buffer::appendTime(std::int64_t seconds, bool compact)
{
    // Days to a civil date in the proleptic Gregorian calendar (eras of 400 years), as gmtime would, without it.
    std::int64_t days = seconds / 86400;
    std::int64_t rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    const std::int64_t day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
    const std::int64_t month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
    const std::int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);

    const char* dateSeparator = compact ? "" : "-";
    const char* timeSeparator = compact ? "" : ":";
    appendNumber(std::uint64_t(year), 4).append(dateSeparator).appendNumber(std::uint64_t(month), 2);
    append(dateSeparator).appendNumber(std::uint64_t(day), 2).append(compact ? "-" : " ");
    appendNumber(std::uint64_t(rest / 3600), 2).append(timeSeparator).appendNumber(std::uint64_t(rest / 60 % 60), 2);
    return append(timeSeparator).appendNumber(std::uint64_t(rest % 60), 2);
}

} // namespace signalSafe
