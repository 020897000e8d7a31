// Standard input (input_stream.h): each request to the system is
// translated once, as it arrives (Ctrl+Z cuts it, a carriage return before
// a line feed goes), and the reads then take bytes from the buffer one at
// a time, a number's value formed modulo 2^32 as its digits come.

#include "console/input_stream.h"

#include <cstring>

namespace datum::console {
namespace {

constexpr char ctrl_z = 26;

constexpr bool is_whitespace(int c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

constexpr bool is_decimal_digit(int c)
{
    return c >= '0' && c <= '9';
}

// The digit's value, or -1 for anything that is no hexadecimal digit.
constexpr int hex_digit_value(int c)
{
    if (is_decimal_digit(c)) {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

} // namespace

InputStream& InputStream::operator>>(std::int32_t& target)
{
    if (!skip_to_next_token()) {
        return *this;
    }
    // The value is accumulated modulo 2^32 while the digits are taken, so a
    // token of any length needs no storage and cannot overflow.
    int c = peek();
    const bool negative = c == '-';
    if (c == '-' || c == '+') {
        take();
        c = peek();
    }
    std::uint32_t magnitude = 0;
    bool has_digit = false;
    bool hexadecimal = false;
    bool has_hex_digit = false;
    if (c == '0') {
        take();
        has_digit = true;
        c = peek();
        if (c == 'x' || c == 'X') {
            take();
            hexadecimal = true;
            c = peek();
        }
    }
    if (hexadecimal) {
        for (int digit = hex_digit_value(c); digit >= 0; digit = hex_digit_value(c)) {
            magnitude = magnitude * 16U + static_cast<std::uint32_t>(digit);
            has_hex_digit = true;
            take();
            c = peek();
        }
    } else {
        // A leading 0 makes the token octal; its value ends at the first 8
        // or 9, but the decimal digits after that are still taken.
        const std::uint32_t base = has_digit ? 8U : 10U;
        bool counting = true;
        while (is_decimal_digit(c)) {
            const auto digit = static_cast<std::uint32_t>(c - '0');
            counting = counting && digit < base;
            if (counting) {
                magnitude = magnitude * base + digit;
            }
            has_digit = true;
            take();
            c = peek();
        }
    }
    if (c == end_of_input) {
        end_ = true;
    }
    if (!has_digit || (hexadecimal && !has_hex_digit)) {
        failed_ = true;
        return *this;
    }
    target = static_cast<std::int32_t>(negative ? 0U - magnitude : magnitude);
    return *this;
}

InputStream& InputStream::operator>>(char& target)
{
    if (skip_to_next_token()) {
        target = buffer_[next_];
        take();
    }
    return *this;
}

bool InputStream::skip_to_next_token()
{
    if (!good()) {
        failed_ = true;
        return false;
    }
    if (tie_ != nullptr) {
        tie_->flush();
    }
    int c = peek();
    while (is_whitespace(c)) {
        take();
        c = peek();
    }
    if (c == end_of_input) {
        end_ = true;
        failed_ = true;
        return false;
    }
    return true;
}

int InputStream::peek()
{
    if (next_ == limit_ && !refill()) {
        return end_of_input;
    }
    return static_cast<unsigned char>(buffer_[next_]);
}

// One request to the system, translated before any of it is used: Ctrl+Z
// cuts the chunk, and a carriage return directly before a line feed goes.
// A chunk that fills the whole request and ends in a carriage return may
// have its line feed at the start of the next chunk, so that carriage
// return is held back until the next request shows what follows it.
bool InputStream::refill()
{
    next_ = 1;
    limit_ = 1;
    if (end_after_held_) {
        end_after_held_ = false;
        return false;
    }
    const std::ptrdiff_t got = source_.read_some(buffer_.data() + 1, request_size);
    const std::size_t raw = got > 0 ? static_cast<std::size_t>(got) : 0U;
    const bool full_chunk_ends_in_carriage_return =
        raw == request_size && buffer_[raw] == '\r'
        && std::memchr(buffer_.data() + 1, ctrl_z, raw) == nullptr;
    limit_ = 1 + translate(1, raw);

    if (held_carriage_return_) {
        held_carriage_return_ = false;
        if (limit_ == 1) {
            // Input ended: hand out the carriage return on its own and the
            // end with the next request.
            end_after_held_ = true;
        }
        if (limit_ == 1 || buffer_[1] != '\n') {
            buffer_[0] = '\r';
            next_ = 0;
        }
    }
    if (full_chunk_ends_in_carriage_return) {
        held_carriage_return_ = true;
        --limit_;
    }
    return next_ != limit_;
}

std::size_t InputStream::translate(std::size_t first, std::size_t count)
{
    std::size_t kept = first;
    const std::size_t stop = first + count;
    for (std::size_t i = first; i < stop; ++i) {
        const char c = buffer_[i];
        if (c == ctrl_z) {
            break;
        }
        if (c == '\r' && i + 1 < stop && buffer_[i + 1] == '\n') {
            continue;
        }
        buffer_[kept++] = c;
    }
    return kept - first;
}

} // namespace datum::console
