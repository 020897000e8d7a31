#include "console/output_stream.h"

#include <cstring>

namespace datum::console {

OutputStream& OutputStream::operator<<(const char* text)
{
    write_bytes(text, std::strlen(text));
    return *this;
}

OutputStream& OutputStream::operator<<(std::int32_t value)
{
    // Digits are formed from the unsigned magnitude, so the lowest value has
    // a magnitude like any other.
    const bool negative = value < 0;
    auto magnitude = static_cast<std::uint32_t>(value);
    if (negative) {
        magnitude = 0U - magnitude;
    }
    std::array<char, 11> digits{};
    std::size_t first = digits.size();
    do {
        digits[--first] = static_cast<char>('0' + magnitude % 10U);
        magnitude /= 10U;
    } while (magnitude != 0U);
    if (negative) {
        digits[--first] = '-';
    }
    write_bytes(digits.data() + first, digits.size() - first);
    return *this;
}

OutputStream& OutputStream::operator<<(EndLine /*line_end*/)
{
    if (!failed_) {
        put('\n');
    }
    return flush();
}

OutputStream& OutputStream::flush()
{
    if (has_pending() && !hand_over()) {
        failed_ = true;
    }
    return *this;
}

void OutputStream::write_bytes(const char* bytes, std::size_t count)
{
    for (std::size_t i = 0; i < count && !failed_; ++i) {
        put(bytes[i]);
    }
}

bool OutputStream::put(char byte)
{
    if (buffered_ == buffer_.size() && !hand_over()) {
        failed_ = true;
        return false;
    }
    buffer_[buffered_++] = byte;
    return true;
}

bool OutputStream::hand_over()
{
    if (sent_ == staged_) {
        staged_ = 0;
        sent_ = 0;
        for (std::size_t i = 0; i < buffered_; ++i) {
            if (buffer_[i] == '\n') {
                staging_[staged_++] = '\r';
            }
            staging_[staged_++] = buffer_[i];
        }
        buffered_ = 0;
    }
    while (sent_ < staged_) {
        const std::ptrdiff_t taken = sink_.write_some(staging_.data() + sent_, staged_ - sent_);
        if (taken <= 0) {
            return false;
        }
        sent_ += static_cast<std::size_t>(taken);
    }
    return true;
}

} // namespace datum::console
