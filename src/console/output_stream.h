#pragma once

#include "console/decimal.h"
#include "console/system_io.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace datum::console {

// Marker for OutputStream::operator<<: a line feed, then a flush.
struct EndLine {};
inline constexpr EndLine endl{};

// Standard output: a 1024-byte buffer in front of a ByteSink, with a sticky
// failed condition. Every line feed leaves as carriage return plus line feed,
// whatever the destination. Failures are never reported; once failed, the
// stream writes nothing new but still retries what is pending on each flush.
//
// The operations a line is made of are inline: a long run writes millions
// of lines, and each should cost little more than its write call. The path
// from a line end to the write call is always inlined, whatever a compiler
// would choose: the write then returns straight into the caller's loop.
class OutputStream {
public:
    static constexpr std::size_t buffer_size = 1024;

    explicit OutputStream(ByteSink& sink) : sink_(sink) {}
    OutputStream(const OutputStream&) = delete;
    OutputStream& operator=(const OutputStream&) = delete;
    ~OutputStream() = default;

    // For a string literal, its length and whether it holds a line feed are
    // known when compiling, so the common text is one fixed-size copy.
    OutputStream& operator<<(const char* text)
    {
        const std::size_t count = std::char_traits<char>::length(text);
        if (fits(count) && std::char_traits<char>::find(text, count, '\n') == nullptr) {
            std::memcpy(block_.data() + block_size_, text, count);
            block_size_ += count;
        } else {
            put_one_by_one(text, count);
        }
        return *this;
    }

    OutputStream& operator<<(std::int32_t value)
    {
        // Days, months and February have one or two digits: those take
        // the short way.
        if (value >= 0 && value < 100 && fits(2)) {
            const auto digits = Decimal::two_digits(static_cast<std::uint32_t>(value));
            std::memcpy(block_.data() + block_size_, digits.data(), digits.size());
            block_size_ += value < 10 ? 1 : 2;
            return *this;
        }
        return put_number(Decimal(value));
    }

    OutputStream& operator<<(const Decimal& number)
    {
        if (fits(number.length())) {
            number.write(block_.data() + block_size_);
            block_size_ += number.length();
        } else {
            put_one_by_one(number);
        }
        return *this;
    }

    [[gnu::always_inline]] OutputStream& operator<<(EndLine /*line_end*/)
    {
        if (fits(1)) {
            put_line_end();
        } else {
            put_one_by_one("\n", 1);
        }
        return flush();
    }

    // Hands everything pending to the system.
    [[gnu::always_inline]] OutputStream& flush()
    {
        if (sent_ != block_size_) {
            hand_over();
        }
        return *this;
    }

    [[nodiscard]] bool failed() const { return failed_; }

private:
    [[nodiscard]] bool fits(std::size_t count) const { return block_size_ + count <= limit_; }
    void put_line_end()
    {
        std::memcpy(block_.data() + block_size_, "\r\n", 2);
        block_size_ += 2;
        ++limit_;
    }
    void put_one_by_one(const char* bytes, std::size_t count);
    // Not inline, as most numbers are small.
    OutputStream& put_number(const Decimal& number);
    void put_one_by_one(const Decimal& number);
    // Hands the block over; on failure the stream becomes failed. A block
    // goes in one call unless the system takes only part of it.
    [[gnu::always_inline]] void hand_over()
    {
        const std::size_t size = block_size_ - sent_;
        const std::ptrdiff_t taken = sink_.write_some(block_.data() + sent_, size);
        if (taken >= 0 && static_cast<std::size_t>(taken) == size) {
            empty();
        } else {
            hand_over_rest(taken);
        }
    }
    void hand_over_rest(std::ptrdiff_t taken);
    void empty()
    {
        block_size_ = 0;
        sent_ = 0;
        limit_ = failed_ ? 0 : buffer_size;
    }

    ByteSink& sink_;
    bool failed_ = false;
    // The pending output as it will leave: each line feed is stored with
    // its carriage return when it is put, so a block goes to the system as
    // it stands. The slack at the end lets a number be copied whole words
    // at a time.
    std::array<char, 2 * buffer_size + Decimal::write_size> block_{};
    std::size_t block_size_ = 0;
    // How much of the block the system has taken. After a failed hand-over
    // a later flush resends only the rest.
    std::size_t sent_ = 0;
    // The block size at which the buffer is full: its 1024 bytes count as
    // written, so every carriage return stored moves the limit by one. It
    // is 0 once the stream failed, so that nothing fits any more.
    std::size_t limit_ = buffer_size;
};

} // namespace datum::console
