#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>

namespace datum::console {

// The decimal form of a signed 32-bit integer: a minus sign for negative
// values, then the digits of the magnitude without leading zeros.
//
// A long run writes millions of years, so this takes no loop and few
// instructions: the digit count comes from the bit width, the digits are
// formed two per table look-up into machine words, and the text is stored
// as two whole words. The text of a number one more than the last is that
// of the last with its digits counted up in the word, with no memory
// between, so that consecutive years cost next to nothing.
class Decimal {
public:
    // write() stores this many bytes: the text, and after it bytes that
    // the next put overwrites.
    static constexpr std::size_t write_size = 2 * sizeof(std::uint64_t);

    explicit Decimal(std::int32_t value) : value_(value)
    {
        // From the unsigned magnitude, so the lowest value has a magnitude
        // like any other.
        const bool negative = value < 0;
        const auto magnitude =
            negative ? 0U - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
        const std::size_t digits = digit_count(magnitude);
        if (digits <= 2) {
            // Days, months, February: most numbers have two digits or one.
            tail_ = std::uint64_t{digit_pairs[magnitude]} >> (8U * (2U - digits));
        } else if (digits <= 4) {
            tail_ = four_digits(magnitude) >> (8U * (4U - digits));
        } else if (digits <= 8) {
            tail_ = eight_digits(magnitude) >> (8U * (8U - digits));
        } else {
            // The one or two digits above the lowest eight lead.
            const std::uint32_t top = magnitude / 100'000'000U;
            head_length_ = digits - 8;
            head_ = std::uint64_t{digit_pairs[top]} >> (8U * (2U - head_length_));
            tail_ = eight_digits(magnitude % 100'000'000U);
        }
        if (negative) {
            head_ = head_ << 8U | '-';
            ++head_length_;
        }
        length_ = head_length_ + (digits > 8 ? 8 : digits);
    }

    [[nodiscard]] std::size_t length() const { return length_; }

    // Becomes the text of `value`: counted on from this one where that is
    // one less, else formed anew.
    void count_to(std::int32_t value)
    {
        const bool one_more = value_ != std::numeric_limits<std::int32_t>::max() && value == value_ + 1;
        if (!one_more || !count_up()) {
            *this = Decimal(value);
        }
        value_ = value;
    }

    // The text of a value below 100 in the first one or two bytes.
    static constexpr std::array<char, 2> two_digits(std::uint32_t value) { return below_100[value]; }

    // Writes the text at `into`, which must have room for write_size bytes.
    void write(char* into) const
    {
        store(head_, into);
        store(tail_, into + head_length_);
    }

private:
    // "00", "01", ... "99", each as a number whose lower byte is the
    // first digit.
    static constexpr std::array<std::uint16_t, 100> digit_pairs = [] {
        std::array<std::uint16_t, 100> pairs{};
        for (std::uint32_t i = 0; i < 100; ++i) {
            pairs[i] = static_cast<std::uint16_t>(('0' + i / 10) | ('0' + i % 10) << 8U);
        }
        return pairs;
    }();

    static constexpr std::array<std::array<char, 2>, 100> below_100 = [] {
        std::array<std::array<char, 2>, 100> texts{};
        for (std::size_t i = 0; i < 100; ++i) {
            texts[i] = i < 10 ? std::array{static_cast<char>('0' + i), ' '}
                              : std::array{static_cast<char>('0' + i / 10), static_cast<char>('0' + i % 10)};
        }
        return texts;
    }();

    // 10^k at index k, but 0 at index 0 so that 0 has one digit.
    static constexpr std::array<std::uint32_t, 10> powers{
        0, 10, 100, 1'000, 10'000, 100'000, 1'000'000, 10'000'000, 100'000'000, 1'000'000'000};

    static constexpr std::size_t digit_count(std::uint32_t magnitude)
    {
        // floor(log10) from the bit width, at most one too small.
        const auto estimate = (static_cast<std::size_t>(std::bit_width(magnitude)) * 1233U) >> 12U;
        return estimate + (magnitude >= powers[estimate] ? 1U : 0U);
    }

    // The four digits of `value` below 10^4, leading zeros included, the
    // first in the lowest byte.
    static constexpr std::uint64_t four_digits(std::uint32_t value)
    {
        return std::uint64_t{digit_pairs[value / 100U]} | std::uint64_t{digit_pairs[value % 100U]} << 16U;
    }

    // The same for eight digits of `value` below 10^8.
    static constexpr std::uint64_t eight_digits(std::uint32_t value)
    {
        return four_digits(value / 10'000U) | four_digits(value % 10'000U) << 32U;
    }

    // Adds one to the digits in place, where nothing else changes: for a
    // value of 0 or more with at most eight digits, not all nines.
    bool count_up()
    {
        if (head_length_ != 0) {
            return false;
        }
        for (std::size_t digit = length_; digit != 0; --digit) {
            const std::size_t shift = 8 * (digit - 1);
            if ((tail_ >> shift & 0xFFU) != '9') {
                tail_ += std::uint64_t{1} << shift;
                return true;
            }
            // From 9 to 0, and carry one.
            tail_ -= std::uint64_t{9} << shift;
        }
        return false;
    }

    // The word's bytes in memory, lowest first, whatever the byte order.
    static void store(std::uint64_t word, char* at)
    {
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(at, &word, sizeof word);
        } else {
            for (std::size_t i = 0; i < sizeof word; ++i) {
                at[i] = static_cast<char>(word >> (8U * i));
            }
        }
    }

    // The sign and the digits above the lowest eight, and those eight (or
    // all the digits of a shorter number).
    std::uint64_t head_ = 0;
    std::size_t head_length_ = 0;
    std::uint64_t tail_ = 0;
    std::size_t length_ = 0;
    std::int32_t value_;
};

} // namespace datum::console
