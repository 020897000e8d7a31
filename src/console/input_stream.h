#pragma once

#include "console/output_stream.h"
#include "console/system_io.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace datum::console {

// Standard input: integers with a base taken from their prefix and values
// wrapped into 32 bits, and single characters after skipping whitespace.
// A read that cannot deliver sets sticky flags and leaves its target alone;
// once any flag is set every later read returns at once without waiting.
class InputStream {
public:
    static constexpr std::size_t request_size = 1024;

    // `tie` is flushed before every read that starts in good state, so a
    // prompt is always on screen before the program waits for its answer.
    InputStream(ByteSource& source, OutputStream* tie) : source_(source), tie_(tie) {}
    InputStream(const InputStream&) = delete;
    InputStream& operator=(const InputStream&) = delete;
    ~InputStream() = default;

    InputStream& operator>>(std::int32_t& target);
    InputStream& operator>>(char& target);

    [[nodiscard]] bool good() const { return !end_ && !failed_; }
    [[nodiscard]] bool at_end() const { return end_; }
    [[nodiscard]] bool failed() const { return failed_; }

    // The next unconsumed byte already in the buffer, or -1 if none is;
    // never asks the system for more.
    [[nodiscard]] int buffered_next() const
    {
        return next_ == limit_ ? -1 : static_cast<unsigned char>(buffer_[next_]);
    }

private:
    static constexpr int end_of_input = -1;

    bool skip_to_next_token();
    // The next character as an unsigned byte, or end_of_input; refills when
    // the buffer is used up. Looking does not consume.
    int peek();
    void take() { ++next_; }
    bool refill();
    std::size_t translate(std::size_t first, std::size_t count);

    ByteSource& source_;
    OutputStream* tie_;
    bool end_ = false;
    bool failed_ = false;

    // Slot 0 is kept free for a carriage return held back from the previous
    // chunk (see refill); requests fill from slot 1.
    std::array<char, 1 + request_size> buffer_{};
    std::size_t next_ = 0;
    std::size_t limit_ = 0;
    bool held_carriage_return_ = false;
    bool end_after_held_ = false;
};

} // namespace datum::console
