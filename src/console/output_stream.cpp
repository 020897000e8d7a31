#include "console/output_stream.h"

#include <algorithm>
#include <cstring>

namespace datum::console {

namespace {

// "00", "01", ... "99": two digits per division, as years are written
// millions of times in a long run.
constexpr std::array<char, 200> digit_pairs = [] {
    std::array<char, 200> pairs{};
    for (std::size_t i = 0; i < 100; ++i) {
        pairs[2 * i] = static_cast<char>('0' + i / 10);
        pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
    }
    return pairs;
}();

} // namespace

OutputStream& OutputStream::operator<<(std::int32_t value)
{
    // Digits are formed from the unsigned magnitude, so the lowest value has
    // a magnitude like any other.
    const bool negative = value < 0;
    auto magnitude = static_cast<std::uint32_t>(value);
    if (negative) {
        magnitude = 0U - magnitude;
    }
    std::array<char, 11> text{};
    std::size_t first = text.size();
    while (magnitude >= 100U) {
        const std::size_t pair = std::size_t{2} * (magnitude % 100U);
        magnitude /= 100U;
        first -= 2;
        text[first] = digit_pairs[pair];
        text[first + 1] = digit_pairs[pair + 1];
    }
    if (magnitude >= 10U) {
        const std::size_t pair = std::size_t{2} * magnitude;
        first -= 2;
        text[first] = digit_pairs[pair];
        text[first + 1] = digit_pairs[pair + 1];
    } else {
        text[--first] = static_cast<char>('0' + magnitude);
    }
    if (negative) {
        text[--first] = '-';
    }
    write_bytes(text.data() + first, text.size() - first);
    return *this;
}

OutputStream& OutputStream::operator<<(EndLine /*line_end*/)
{
    write_bytes("\n", 1);
    return flush();
}

OutputStream& OutputStream::flush()
{
    if (has_pending() && !hand_over()) {
        failed_ = true;
    }
    return *this;
}

// Bytes enter the buffer while it has room; a full buffer is handed over
// only when another byte is to be put, so a text that fills it exactly
// waits for the next put or flush.
void OutputStream::write_bytes_through(const char* bytes, std::size_t count)
{
    while (count != 0 && !failed_) {
        if (buffered_ == buffer_.size() && !hand_over()) {
            failed_ = true;
            return;
        }
        const std::size_t part = std::min(count, buffer_.size() - buffered_);
        std::memcpy(buffer_.data() + buffered_, bytes, part);
        buffered_ += part;
        bytes += part;
        count -= part;
    }
}

// Copies the buffer into the staging area with a carriage return before
// every line feed, and empties the buffer.
void OutputStream::stage_buffer()
{
    staged_ = 0;
    sent_ = 0;
    const char* from = buffer_.data();
    const char* const end = from + buffered_;
    while (from != end) {
        const auto* feed =
            static_cast<const char*>(std::memchr(from, '\n', static_cast<std::size_t>(end - from)));
        const char* const stop = feed != nullptr ? feed : end;
        std::memcpy(staging_.data() + staged_, from, static_cast<std::size_t>(stop - from));
        staged_ += static_cast<std::size_t>(stop - from);
        if (feed == nullptr) {
            break;
        }
        staging_[staged_++] = '\r';
        staging_[staged_++] = '\n';
        from = feed + 1;
    }
    buffered_ = 0;
}

bool OutputStream::hand_over()
{
    if (sent_ == staged_) {
        stage_buffer();
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
