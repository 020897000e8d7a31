// The parts of standard output (output_stream.h) that are kept out of
// line: the slow way byte by byte, for texts that hold a line feed or do
// not fit, and what follows a write call that took only part of the
// block, was broken off or failed.

#include "console/output_stream.h"

#include <algorithm>

namespace datum::console {

OutputStream& OutputStream::put_number(const Decimal& number)
{
    return *this << number;
}

// A number that does not fit: formed beside the buffer and put byte by byte.
void OutputStream::put_one_by_one(const Decimal& number)
{
    std::array<char, Decimal::write_size> aside{};
    number.write(aside.data());
    put_one_by_one(aside.data(), number.length());
}

// The slow way, for texts that hold a line feed or do not fit: bytes enter
// the buffer while it has room; a full buffer is handed over only when
// another byte is to be put, so a text that fills it exactly waits for the
// next put or flush.
void OutputStream::put_one_by_one(const char* bytes, std::size_t count)
{
    for (const char* const end = bytes + count; bytes != end && !failed_; ++bytes) {
        if (!fits(1)) {
            hand_over();
            if (failed_) {
                return;
            }
        }
        if (*bytes == '\n') {
            put_line_end();
        } else {
            block_[block_size_++] = *bytes;
        }
    }
}

// After a call that took only part of the block, was broken off, or failed.
void OutputStream::hand_over_rest(std::ptrdiff_t taken)
{
    while (taken > 0 || (taken < 0 && sink_.interrupted())) {
        if (taken > 0) {
            sent_ += std::min(static_cast<std::size_t>(taken), block_size_ - sent_);
            if (sent_ == block_size_) {
                empty();
                return;
            }
        }
        taken = sink_.write_some(block_.data() + sent_, block_size_ - sent_);
    }
    failed_ = true;
    limit_ = 0;
}

} // namespace datum::console
