// Benchmarks of the program's own code on a system layer that discards
// what is written: the day-by-day stepping, the whole dialogue at the
// largest day count, and reading numbers.

#include "calendar.h"
#include "console/input_stream.h"
#include "console/system_io.h"
#include "date_stepper.h"
#include "program.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

using datum::console::InputStream;

class DiscardingSink final : public datum::console::ByteSink {
public:
    std::ptrdiff_t write_some(const char* /*from*/, std::size_t size) override
    {
        return static_cast<std::ptrdiff_t>(size);
    }
};

class MemorySource final : public datum::console::ByteSource {
public:
    explicit MemorySource(std::string_view bytes) : rest_(bytes) {}

    std::ptrdiff_t read_some(char* into, std::size_t capacity) override
    {
        const std::size_t count = std::min(capacity, rest_.size());
        std::copy_n(rest_.data(), count, into);
        rest_.remove_prefix(count);
        return static_cast<std::ptrdiff_t>(count);
    }

private:
    std::string_view rest_;
};

void stepping(benchmark::State& state)
{
    constexpr std::int32_t days = 100'000'000;
    std::chrono::nanoseconds spent{0};
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        datum::Date date{1, 1, 2000};
        datum::MonthLengths lengths;
        lengths.set_february(date.year);
        std::int64_t years_entered = 0;
        std::int32_t remaining = days;
        while (datum::step_until_new_year(date, lengths, remaining)) {
            ++years_entered;
        }
        benchmark::DoNotOptimize(years_entered);
        benchmark::DoNotOptimize(date);
        spent += std::chrono::steady_clock::now() - start;
    }
    state.counters["ns_per_day"] = static_cast<double>(spent.count())
                                   / (static_cast<double>(days) * static_cast<double>(state.iterations()));
}
BENCHMARK(stepping)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void whole_dialogue_largest_count(benchmark::State& state)
{
    constexpr std::string_view input = "1 1 1 2147483647\n";
    for (auto _ : state) {
        DiscardingSink sink;
        MemorySource source(input);
        benchmark::DoNotOptimize(datum::run_program(source, sink));
    }
}
BENCHMARK(whole_dialogue_largest_count)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(7);

std::string mixed_tokens(std::size_t count)
{
    const std::string_view tokens[] = {"2023",       "-17",   "0x1A", "017", "+5",
                                       "4294967297", "0X7e7", "0189", "31"};
    const std::string_view separators[] = {" ", "\n", "\r\n", "\t"};
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        text += tokens[i % std::size(tokens)];
        text += separators[i % std::size(separators)];
    }
    return text;
}

void reading_numbers(benchmark::State& state)
{
    constexpr std::size_t count = 1'000'000;
    const std::string text = mixed_tokens(count);
    for (auto _ : state) {
        MemorySource source(text);
        InputStream in(source, nullptr);
        std::int32_t value = 0;
        for (std::size_t i = 0; i < count; ++i) {
            in >> value;
        }
        benchmark::DoNotOptimize(value);
        if (!in.good()) {
            state.SkipWithError("a number was not read");
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(count) * state.iterations());
    state.SetBytesProcessed(static_cast<std::int64_t>(text.size()) * state.iterations());
}
BENCHMARK(reading_numbers)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
