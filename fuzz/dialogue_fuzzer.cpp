// Runs the whole dialogue on arbitrary standard-input bytes, cut into
// arbitrary chunks, once with a working standard output and once with one
// that fails at an arbitrary block, and checks what must hold for every
// input.
//
// Input layout: byte 0 sets the chunk size (0: one chunk), byte 1 the
// output call that fails (0: none; odd: the call reports an error, even: it
// takes nothing), byte 2 how many bytes each call takes before that (0: all).
// The rest is standard input.

#include "console/input_stream.h"
#include "program.h"
#include "scripted_system.h"

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

using datum::console::InputStream;
using datum::testing::RecordingSink;
using datum::testing::ScriptedSource;

// Keeps one input fast: every day is one step.
constexpr std::int32_t max_day_count = 100000;

void check(bool holds, const char* what)
{
    if (!holds) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

ScriptedSource chunked(std::string_view input, std::size_t chunk_size)
{
    ScriptedSource source;
    if (chunk_size == 0) {
        chunk_size = input.size() + 1;
    }
    for (std::size_t at = 0; at < input.size(); at += chunk_size) {
        source.chunks.emplace_back(input.substr(at, chunk_size));
    }
    return source;
}

struct Outcome {
    int status = -1;
    std::string written;
    std::size_t requests = 0;
};

Outcome run(ScriptedSource source, RecordingSink sink)
{
    Outcome outcome;
    outcome.status = datum::run_program(source, sink);
    outcome.written = std::move(sink.written);
    outcome.requests = source.requests.size();
    return outcome;
}

// Calendar arithmetic of its own, by day numbers rather than by stepping,
// as the oracle for start dates that name a real day.
bool is_leap(std::int64_t year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

std::int64_t days_in_month(std::int64_t year, std::int64_t month)
{
    constexpr std::int64_t days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && is_leap(year) ? 29 : days[month - 1];
}

std::int64_t floor_div(std::int64_t a, std::int64_t b)
{
    return a / b - (a % b != 0 && (a < 0) != (b < 0) ? 1 : 0);
}

// Days since 1 March of year 0.
std::int64_t day_number(std::int64_t year, std::int64_t month, std::int64_t day)
{
    const std::int64_t y = month <= 2 ? year - 1 : year;
    const std::int64_t era = floor_div(y, 400);
    const std::int64_t year_of_era = y - era * 400;
    const std::int64_t day_of_year = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    return era * 146097 + year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
}

struct Civil {
    std::int64_t year;
    std::int64_t month;
    std::int64_t day;
};

Civil civil_date(std::int64_t number)
{
    const std::int64_t era = floor_div(number, 146097);
    const std::int64_t day_of_era = number - era * 146097;
    const std::int64_t year_of_era =
        (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
    const std::int64_t day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
    const std::int64_t shifted_month = (5 * day_of_year + 2) / 153;
    const std::int64_t day = day_of_year - (153 * shifted_month + 2) / 5 + 1;
    const std::int64_t month = shifted_month < 10 ? shifted_month + 3 : shifted_month - 9;
    return {year_of_era + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

bool parse_int(std::string_view text, std::int64_t& value)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

// "<a><sep><b>..." with the separators given; fills the numbers in between.
bool split_numbers(std::string_view line, const std::vector<std::string_view>& separators,
                   std::vector<std::int64_t>& numbers)
{
    numbers.clear();
    for (const std::string_view separator : separators) {
        const std::size_t at = line.find(separator);
        std::int64_t value = 0;
        if (at == std::string_view::npos || !parse_int(line.substr(0, at), value)) {
            return false;
        }
        numbers.push_back(value);
        line.remove_prefix(at + separator.size());
    }
    return line.empty();
}

void check_dialogue_output(const std::string& bytes)
{
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            check(i > 0 && bytes[i - 1] == '\r', "line feed without carriage return");
        }
        if (bytes[i] == '\r') {
            check(i + 1 < bytes.size() && bytes[i + 1] == '\n', "carriage return on its own");
        }
    }
    std::vector<std::string_view> lines;
    std::string_view rest(bytes);
    while (!rest.empty()) {
        const std::size_t end = rest.find("\r\n");
        check(end != std::string_view::npos, "output does not end with a line end");
        lines.push_back(rest.substr(0, end));
        rest.remove_prefix(end + 2);
    }

    const std::vector<std::string_view> prompts{
        "Geben Sie das erste Datum TT MM JJJJ ein, bestaetigen Sie jeweils mit ENTER: ",
        "Tag: ",
        "Monat: ",
        "Jahr: ",
        "",
        "",
        "Geben Sie die Anzahl der Tage ein, bestaetigen Sie jeweils mit ENTER: ",
    };
    check(lines.size() >= prompts.size() + 3, "too few lines");
    for (std::size_t i = 0; i < prompts.size(); ++i) {
        check(lines[i] == prompts[i], "prompt");
    }

    std::vector<std::int64_t> numbers;
    std::vector<std::int64_t> years;
    std::size_t line = prompts.size();
    for (; line < lines.size() && lines[line].substr(0, 8) == "im Jahr "; ++line) {
        check(split_numbers(lines[line].substr(8), {" hat der Februar ", " Tage"}, numbers), "announcement");
        const std::int64_t year = numbers[0];
        check(numbers[1] == (is_leap(year) ? 29 : 28), "February length");
        if (!years.empty()) {
            const bool wrapped = years.back() == INT32_MAX && year == INT32_MIN;
            check(year == years.back() + 1 || wrapped, "years in order");
        }
        years.push_back(year);
    }
    check(!years.empty(), "no announcement for the start year");
    check(line + 2 == lines.size(), "lines after the announcements");
    check(lines[line].empty(), "empty line before the report");
    check(split_numbers(lines[line + 1], {" Tage nach dem ", ". ", ". ", " ist der ", ". ", ". ", "."},
                        numbers),
          "report line");
    check(numbers[3] == years.front(), "start year announced first");
    check(numbers[6] == years.back(), "result year announced last");

    const std::int64_t count = numbers[0];
    const Civil start{numbers[3], numbers[2], numbers[1]};
    const bool real_day = start.month >= 1 && start.month <= 12 && start.day >= 1
                          && start.day <= days_in_month(start.year, start.month) && start.year > -100000000
                          && start.year < 100000000;
    if (real_day && count >= 0) {
        const Civil expected = civil_date(day_number(start.year, start.month, start.day) + count);
        check(numbers[4] == expected.day && numbers[5] == expected.month && numbers[6] == expected.year,
              "result date");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 3) {
        return -1;
    }
    const std::size_t chunk_size = static_cast<std::size_t>(data[0]) * 5;
    const std::size_t failing_call = data[1];
    const auto take_per_call = static_cast<std::ptrdiff_t>(data[2] % 16);
    const std::string_view input(reinterpret_cast<const char*>(data) + 3, size - 3);

    {
        // The day count as the dialogue will read it.
        ScriptedSource source = chunked(input, chunk_size);
        InputStream in(source, nullptr);
        std::int32_t field = 0;
        std::int32_t day_count = 0;
        in >> field >> field >> field >> day_count;
        if (day_count > max_day_count) {
            return -1;
        }
    }

    const Outcome good = run(chunked(input, chunk_size), RecordingSink{});
    check(good.status == 0, "exit status");
    check_dialogue_output(good.written);

    RecordingSink failing;
    for (std::size_t call = 1; call < failing_call; ++call) {
        failing.answers.push_back(take_per_call == 0 ? PTRDIFF_MAX : take_per_call);
    }
    if (failing_call != 0) {
        failing.answers.push_back(failing_call % 2 == 1 ? -1 : 0);
    }
    const Outcome failed = run(chunked(input, chunk_size), failing);
    check(failed.status == 0, "exit status with failing output");
    check(good.written.compare(0, failed.written.size(), failed.written) == 0,
          "failing output is not a prefix of the full output");
    check(failed.requests == good.requests, "failing output changed how much input was read");
    return 0;
}
