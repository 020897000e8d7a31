#include "console/input_stream.h"
#include "scripted_system.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

using datum::console::endl;
using datum::console::InputStream;
using datum::console::OutputStream;
using datum::testing::RecordingSink;
using datum::testing::ScriptedSource;

constexpr std::int32_t untouched = 999;
constexpr int nothing_buffered = -1;

enum class Flags { none, failed, end, end_and_failed };

Flags flags_of(const InputStream& in)
{
    if (in.at_end()) {
        return in.failed() ? Flags::end_and_failed : Flags::end;
    }
    return in.failed() ? Flags::failed : Flags::none;
}

TEST(InputStream, ReadsOneIntegerPerTypedLine)
{
    const struct {
        std::string line;
        std::int32_t value;
        Flags flags;
        int next;
    } cases[] = {
        {"42\n", 42, Flags::none, '\n'},
        {"  \t-17\n", -17, Flags::none, '\n'},
        {"+5\n", 5, Flags::none, '\n'},
        {"0x1A\n", 26, Flags::none, '\n'},
        {"0X1f\n", 31, Flags::none, '\n'},
        {"-0x10\n", -16, Flags::none, '\n'},
        {"017\n", 15, Flags::none, '\n'},
        {"08\n", 0, Flags::none, '\n'},
        {"09\n", 0, Flags::none, '\n'},
        {"010\n", 8, Flags::none, '\n'},
        {"0189\n", 1, Flags::none, '\n'},
        {"0181\n", 1, Flags::none, '\n'},
        {"0\n", 0, Flags::none, '\n'},
        {"2147483648\n", -2147483648, Flags::none, '\n'},
        {"-2147483648\n", -2147483648, Flags::none, '\n'},
        {"4294967295\n", -1, Flags::none, '\n'},
        {"4294967296\n", 0, Flags::none, '\n'},
        {"4294967297\n", 1, Flags::none, '\n'},
        {"-2147483649\n", 2147483647, Flags::none, '\n'},
        {"0xFFFFFFFF\n", -1, Flags::none, '\n'},
        {"0x123456789\n", 0x23456789, Flags::none, '\n'},
        {"040000000001\n", 1, Flags::none, '\n'},
        {"12abc\n", 12, Flags::none, 'a'},
        {"15.8.2023\n", 15, Flags::none, '.'},
        {"12\xe4\n", 12, Flags::none, 0xe4},
        {"\n\n7\n", 7, Flags::none, '\n'},
        {"abc\n", untouched, Flags::failed, 'a'},
        {"\xe4\n", untouched, Flags::failed, 0xe4},
        {"-\n", untouched, Flags::failed, '\n'},
        {"- 5\n", untouched, Flags::failed, ' '},
        {"+-5\n", untouched, Flags::failed, '-'},
        {"0x\n", untouched, Flags::failed, '\n'},
        {"0xg\n", untouched, Flags::failed, 'g'},
        {"-0X\n", untouched, Flags::failed, '\n'},
        {"x1\n", untouched, Flags::failed, 'x'},
        {"23", 23, Flags::end, nothing_buffered},
        {"0x", untouched, Flags::end_and_failed, nothing_buffered},
        {"-", untouched, Flags::end_and_failed, nothing_buffered},
        {" \n\t\r\v\f", untouched, Flags::end_and_failed, nothing_buffered},
        {"", untouched, Flags::end_and_failed, nothing_buffered},
    };
    for (const auto& c : cases) {
        ScriptedSource source(c.line);
        InputStream in(source, nullptr);
        std::int32_t target = untouched;
        in >> target;
        EXPECT_EQ(target, c.value) << c.line;
        EXPECT_EQ(flags_of(in), c.flags) << c.line;
        EXPECT_EQ(in.buffered_next(), c.next) << c.line;
    }
}

TEST(InputStream, DigitsOfAnyLengthAreTakenAndWrapped)
{
    const struct {
        std::string token;
        std::int32_t value;
    } cases[] = {
        // 10^32 is a multiple of 2^32.
        {std::string("1").append(31, '0').append("7"), 7},
        {std::string(100000, '0') + "5", 5},
        {std::string(100000, '9'), -1},
        {std::string("07").append(100000, '8'), 7},
        {std::string("0x").append(99999, 'f'), -1},
    };
    for (const auto& c : cases) {
        ScriptedSource source(c.token + "\n");
        InputStream in(source, nullptr);
        std::int32_t target = untouched;
        in >> target;
        EXPECT_EQ(target, c.value) << c.token.substr(0, 10);
        EXPECT_TRUE(in.good());
        EXPECT_EQ(in.buffered_next(), '\n');
    }
}

TEST(InputStream, ReadsFourNumbersFromOneLineWithoutAskingAgain)
{
    ScriptedSource source({"31 12 2023 1\n", "never asked\n"});
    InputStream in(source, nullptr);
    std::int32_t day = 0;
    std::int32_t month = 0;
    std::int32_t year = 0;
    std::int32_t count = 0;
    in >> day >> month >> year >> count;
    EXPECT_EQ((std::vector{day, month, year, count}), (std::vector{31, 12, 2023, 1}));
    EXPECT_EQ(source.requests, std::vector<std::size_t>{1024});
}

TEST(InputStream, ACharacterReadSkipsBlankLinesAndLeavesTheRest)
{
    ScriptedSource source({"5\n", "\n", "  \t\n", " xy\n"});
    InputStream in(source, nullptr);
    std::int32_t number = 0;
    char c = '?';
    in >> number >> c;
    EXPECT_EQ(c, 'x');
    EXPECT_EQ(in.buffered_next(), 'y');
    EXPECT_EQ(source.requests.size(), 4U);
    EXPECT_TRUE(in.good());
}

// Once a read has failed or met the end of input, no later read asks the
// system again: at a terminal the program does not wait after Ctrl+D.
TEST(InputStream, FailureAndEndAreStickyAndLaterReadsDoNotAsk)
{
    const struct {
        const char* first;
        std::int32_t value;
    } cases[] = {
        {"abc\n", untouched},
        {"", untouched},
        {"\x1a"
         "5\n",
         untouched},
        {"5", 5},
    };
    for (const auto& [first, value] : cases) {
        // The empty chunk is an end of input (Ctrl+D at a terminal); the
        // lines after it must never be asked for.
        ScriptedSource source({first, "", "7\n", "x\n"});
        InputStream in(source, nullptr);
        std::int32_t a = untouched;
        std::int32_t b = untouched;
        char c = '?';
        in >> a;
        const std::size_t asked = source.requests.size();
        in >> b >> c;
        EXPECT_EQ(a, value) << first;
        EXPECT_EQ(b, untouched) << first;
        EXPECT_EQ(c, '?') << first;
        EXPECT_TRUE(in.failed()) << first;
        EXPECT_EQ(source.requests.size(), asked) << first;
    }
}

TEST(InputStream, ATokenRunsOnAcrossChunks)
{
    ScriptedSource source({"12 34", "56\n"});
    InputStream in(source, nullptr);
    std::int32_t a = 0;
    std::int32_t b = 0;
    in >> a >> b;
    // The chunk boundary does not end the token: 34 and 56 are one number.
    EXPECT_EQ(b, 3456);
    EXPECT_TRUE(in.good());
    std::int32_t c = untouched;
    in >> c;
    EXPECT_EQ(c, untouched);
    EXPECT_EQ(flags_of(in), Flags::end_and_failed);
}

TEST(InputStream, TranslatesEachChunkBeforeUse)
{
    const struct {
        std::vector<std::string> chunks;
        std::vector<std::int32_t> numbers;
        int next_after_last;
    } cases[] = {
        // Ctrl+Z drops the rest of its chunk; the next line goes on the token.
        {{"12\x1a"
          "99\n",
          "5\n"},
         {125},
         '\n'},
        // A chunk that starts with Ctrl+Z is end of input.
        {{"7\n",
          "\x1a"
          "8\n",
          "9\n"},
         {7, untouched},
         nothing_buffered},
        // Carriage return and line feed become one line feed.
        {{"31\r\n12\r\n"}, {31, 12}, '\n'},
        // A lone carriage return stays, and separates like a blank.
        {{"1\r2\r"}, {1, 2}, '\r'},
        // Only the carriage return directly before the line feed goes.
        {{"4\r\r\n"}, {4}, '\r'},
        // A carriage return at the end of a short chunk stays as it is.
        {{"6\r", "\n"}, {6}, '\r'},
    };
    for (const auto& c : cases) {
        ScriptedSource source;
        source.chunks.assign(c.chunks.begin(), c.chunks.end());
        InputStream in(source, nullptr);
        std::vector<std::int32_t> read;
        for (std::size_t i = 0; i < c.numbers.size(); ++i) {
            std::int32_t n = untouched;
            in >> n;
            read.push_back(n);
        }
        EXPECT_EQ(read, c.numbers) << c.chunks.front();
        EXPECT_EQ(in.buffered_next(), c.next_after_last) << c.chunks.front();
    }
}

TEST(InputStream, AsksForRequestsOf1024Bytes)
{
    ScriptedSource source(std::string(3000, ' ') + "8\n");
    InputStream in(source, nullptr);
    std::int32_t n = 0;
    in >> n;
    EXPECT_EQ(n, 8);
    EXPECT_EQ(source.requests, (std::vector<std::size_t>{1024, 1024, 1024}));
}

// A carriage return that ends a full request may be the first half of a
// line end split across two requests.
TEST(InputStream, PairsACarriageReturnAcrossAFullChunk)
{
    const std::string full = std::string(1022, ' ') + "7\r";
    const struct {
        std::vector<std::string> after;
        int next_after_seven;
        std::int32_t second;
        std::size_t requests;
    } cases[] = {
        {{"\n8\n"}, '\n', 8, 2},
        {{"8\n"}, '\r', 8, 2},
        {{}, '\r', untouched, 2},
        {{"\x1a"}, '\r', untouched, 2},
        {{std::string(1023, ' ') + "\r", "\n9\n"}, '\r', 9, 3},
    };
    for (const auto& c : cases) {
        ScriptedSource source;
        source.chunks.push_back(full);
        source.chunks.insert(source.chunks.end(), c.after.begin(), c.after.end());
        InputStream in(source, nullptr);
        std::int32_t seven = 0;
        std::int32_t second = untouched;
        in >> seven;
        EXPECT_EQ(seven, 7);
        EXPECT_EQ(in.buffered_next(), c.next_after_seven);
        in >> second;
        EXPECT_EQ(second, c.second);
        // An end seen behind a held carriage return is kept, not asked again.
        EXPECT_EQ(source.requests.size(), c.requests);
    }
}

TEST(InputStream, FlushesItsTieBeforeEveryReadInGoodStateOnly)
{
    RecordingSink sink;
    OutputStream out(sink);
    ScriptedSource source("3 x");
    InputStream in(source, &out);
    std::int32_t n = 0;
    char c = '?';
    out << "Tag: ";
    in >> n;
    EXPECT_EQ(sink.calls, std::vector<std::string>{"Tag: "});
    out << "weiter";
    in >> c;
    EXPECT_EQ(sink.calls.size(), 2U);
    out << "danach";
    in >> n; // meets the end of input
    EXPECT_EQ(sink.calls.size(), 3U);
    EXPECT_EQ(source.requests.size(), 2U);
    out << "zuletzt";
    in >> c; // starts failed: neither flushes nor asks
    EXPECT_EQ(sink.calls.size(), 3U);
    EXPECT_EQ(source.requests.size(), 2U);
    EXPECT_EQ(c, 'x');
}

} // namespace
