#pragma once

// A system layer for tests: scripted chunks in, recorded blocks out.

#include "console/system_io.h"

#include <algorithm>
#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace datum::testing {

// Answers each request with the next scripted chunk (cut to the request's
// size, the rest kept for the next request); when the script is used up,
// every request reports end of input.
class ScriptedSource final : public console::ByteSource {
public:
    ScriptedSource() = default;
    explicit ScriptedSource(std::string_view whole) { chunks.emplace_back(whole); }
    ScriptedSource(std::initializer_list<std::string> parts) : chunks(parts) {}

    std::ptrdiff_t read_some(char* into, std::size_t capacity) override
    {
        requests.push_back(capacity);
        if (chunks.empty()) {
            return 0;
        }
        const std::string& chunk = chunks.front();
        const std::size_t count = std::min(capacity, chunk.size() - taken_from_front_);
        std::copy_n(chunk.data() + taken_from_front_, count, into);
        taken_from_front_ += count;
        if (taken_from_front_ == chunk.size()) {
            chunks.pop_front();
            taken_from_front_ = 0;
        }
        return static_cast<std::ptrdiff_t>(count);
    }

    std::deque<std::string> chunks;
    std::vector<std::size_t> requests;

private:
    std::size_t taken_from_front_ = 0;
};

// Records every hand-over. `answers` scripts the calls in order: a positive
// value takes at most that many bytes, 0 takes nothing, `broken_off` takes
// nothing as a call that a signal interrupted, any other negative value
// fails. Calls beyond the script take everything.
class RecordingSink final : public console::ByteSink {
public:
    static constexpr std::ptrdiff_t broken_off = -2;

    std::ptrdiff_t write_some(const char* from, std::size_t size) override
    {
        calls.emplace_back(from, size);
        std::ptrdiff_t answer = static_cast<std::ptrdiff_t>(size);
        if (calls.size() <= answers.size()) {
            answer = std::min(answers[calls.size() - 1], answer);
        }
        if (answer > 0) {
            written.append(from, static_cast<std::size_t>(answer));
        }
        last_answer_ = answer;
        return answer;
    }

    [[nodiscard]] bool interrupted() const override { return last_answer_ == broken_off; }

    std::vector<std::ptrdiff_t> answers;
    std::vector<std::string> calls;
    std::string written;

private:
    std::ptrdiff_t last_answer_ = 0;
};

} // namespace datum::testing
