#pragma once

#include <cstddef>

namespace datum::console {

// The program's only contact with the operating system: one request per
// direction. Everything above it (buffers, line ends, Ctrl+Z, sticky flags)
// is shared code, so every platform hands identical bytes to these calls.

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Asks once for up to `capacity` bytes. Returns the count delivered,
    // 0 at end of input, or a negative value when the request failed.
    virtual std::ptrdiff_t read_some(char* into, std::size_t capacity) = 0;
};

class ByteSink {
public:
    virtual ~ByteSink() = default;
    // Hands `size` bytes over once. Returns how many the system took (which
    // may be fewer), or 0 or a negative value when it took nothing.
    virtual std::ptrdiff_t write_some(const char* from, std::size_t size) = 0;
    // Whether the last write_some that took nothing was only broken off (by
    // a signal, on POSIX), so that the same call may simply be made again.
    // The caller repeats it, not write_some: that stays a single call to the
    // system, which returns straight to the caller.
    [[nodiscard]] virtual bool interrupted() const { return false; }
};

// The process's standard input and output handles, taken on first use.
ByteSource& standard_input_handle();
ByteSink& standard_output_handle();

} // namespace datum::console
