#pragma once

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
class OutputStream {
public:
    static constexpr std::size_t buffer_size = 1024;

    explicit OutputStream(ByteSink& sink) : sink_(sink) {}
    OutputStream(const OutputStream&) = delete;
    OutputStream& operator=(const OutputStream&) = delete;
    ~OutputStream() = default;

    // Inline, so that the length of a string literal is known when compiling.
    OutputStream& operator<<(const char* text)
    {
        write_bytes(text, std::char_traits<char>::length(text));
        return *this;
    }
    OutputStream& operator<<(std::int32_t value);
    OutputStream& operator<<(EndLine /*line_end*/);

    // Hands everything pending to the system.
    OutputStream& flush();

    [[nodiscard]] bool failed() const { return failed_; }

private:
    void write_bytes(const char* bytes, std::size_t count)
    {
        if (count <= buffer_.size() - buffered_ && !failed_) {
            std::memcpy(buffer_.data() + buffered_, bytes, count);
            buffered_ += count;
        } else {
            write_bytes_through(bytes, count);
        }
    }
    void write_bytes_through(const char* bytes, std::size_t count);
    void stage_buffer();
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
