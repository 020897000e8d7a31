// The system layer on WASI: descriptors 0 and 1 through the fd_read and
// fd_write calls of the host that runs the module (host/).

#include "console/system_io.h"

#include <cstdint>
#include <wasi/api.h>

namespace datum::console {
namespace {

class WasiSource final : public ByteSource {
public:
    std::ptrdiff_t read_some(char* into, std::size_t capacity) override
    {
        const __wasi_iovec_t request{reinterpret_cast<std::uint8_t*>(into), capacity};
        __wasi_size_t got = 0;
        if (__wasi_fd_read(0, &request, 1, &got) != __WASI_ERRNO_SUCCESS) {
            return -1;
        }
        return static_cast<std::ptrdiff_t>(got);
    }
};

class WasiSink final : public ByteSink {
public:
    std::ptrdiff_t write_some(const char* from, std::size_t size) override
    {
        const __wasi_ciovec_t block{reinterpret_cast<const std::uint8_t*>(from), size};
        __wasi_size_t put = 0;
        if (__wasi_fd_write(1, &block, 1, &put) != __WASI_ERRNO_SUCCESS) {
            return -1;
        }
        return static_cast<std::ptrdiff_t>(put);
    }
};

} // namespace

ByteSource& standard_input_handle()
{
    static WasiSource source;
    return source;
}

ByteSink& standard_output_handle()
{
    static WasiSink sink;
    return sink;
}

} // namespace datum::console
