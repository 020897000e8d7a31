// The system layer on Windows: the console process's standard handles.

#include "console/system_io.h"

#include <windows.h>

namespace datum::console {
namespace {

class HandleSource final : public ByteSource {
public:
    std::ptrdiff_t read_some(char* into, std::size_t capacity) override
    {
        DWORD got = 0;
        if (ReadFile(handle_, into, static_cast<DWORD>(capacity), &got, nullptr) == 0) {
            return -1;
        }
        return static_cast<std::ptrdiff_t>(got);
    }

private:
    HANDLE handle_ = GetStdHandle(STD_INPUT_HANDLE);
};

class HandleSink final : public ByteSink {
public:
    std::ptrdiff_t write_some(const char* from, std::size_t size) override
    {
        DWORD put = 0;
        if (WriteFile(handle_, from, static_cast<DWORD>(size), &put, nullptr) == 0) {
            return -1;
        }
        return static_cast<std::ptrdiff_t>(put);
    }

private:
    HANDLE handle_ = GetStdHandle(STD_OUTPUT_HANDLE);
};

} // namespace

ByteSource& standard_input_handle()
{
    static HandleSource source;
    return source;
}

ByteSink& standard_output_handle()
{
    static HandleSink sink;
    return sink;
}

} // namespace datum::console
