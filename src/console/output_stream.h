#pragma once

#include "console/system_io.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace datum::console {

// Marker for OutputStream::operator<<: a line feed, then a flush.
struct EndLine {};
inline constexpr EndLine endl{};

// Standard output: a 1024-byte buffer in front of a ByteSink, with a sticky
// failed condition. Every line feed leaves as carriage return plus line feed,
// whatever the destination. Failures are never reported; once failed, the
// stream writes nothing new but still retries what is pending on each flush.
class OutputStream {
public:
    static constexpr std::size_t buffer_size = 1024;

    explicit OutputStream(ByteSink& sink) : sink_(sink) {}
    OutputStream(const OutputStream&) = delete;
    OutputStream& operator=(const OutputStream&) = delete;
    ~OutputStream() = default;

    OutputStream& operator<<(const char* text);
    OutputStream& operator<<(std::int32_t value);
    OutputStream& operator<<(EndLine /*line_end*/);

    // Hands everything pending to the system.
    OutputStream& flush();

    [[nodiscard]] bool failed() const { return failed_; }

private:
    void write_bytes(const char* bytes, std::size_t count);
    bool put(char byte);
    [[nodiscard]] bool has_pending() const { return buffered_ != 0 || sent_ != staged_; }
    bool hand_over();

    ByteSink& sink_;
    bool failed_ = false;
    std::array<char, buffer_size> buffer_{};
    std::size_t buffered_ = 0;
    // One block on its way out, with a carriage return before every line
    // feed. After a failed hand-over its untaken rest stays here, so a later
    // flush resends only what the system has not taken yet.
    std::array<char, 2 * buffer_size> staging_{};
    std::size_t staged_ = 0;
    std::size_t sent_ = 0;
};

} // namespace datum::console
