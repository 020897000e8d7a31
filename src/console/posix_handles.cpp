// The system layer on POSIX: file descriptors 0 and 1.

#include "console/system_io.h"

#include <cerrno>
#include <csignal>
#include <unistd.h>

namespace datum::console {
namespace {

class DescriptorSource final : public ByteSource {
public:
    std::ptrdiff_t read_some(char* into, std::size_t capacity) override
    {
        for (;;) {
            const ssize_t got = ::read(STDIN_FILENO, into, capacity);
            if (got >= 0 || errno != EINTR) {
                return got;
            }
        }
    }
};

class DescriptorSink final : public ByteSink {
public:
    DescriptorSink()
    {
        // A reader that goes away early must make writes fail, not end the
        // process: the dialogue runs to its end and exits with status 0.
        static_cast<void>(std::signal(SIGPIPE, SIG_IGN));
    }

    // A call and nothing after it, so that the write returns straight to
    // the stream, line after line in a long run.
    std::ptrdiff_t write_some(const char* from, std::size_t size) override
    {
        return ::write(STDOUT_FILENO, from, size);
    }

    [[nodiscard]] bool interrupted() const override { return errno == EINTR; }
};

} // namespace

ByteSource& standard_input_handle()
{
    static DescriptorSource source;
    return source;
}

ByteSink& standard_output_handle()
{
    static DescriptorSink sink;
    return sink;
}

} // namespace datum::console
