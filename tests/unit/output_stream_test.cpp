#include "console/output_stream.h"
#include "scripted_system.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace {

using datum::console::endl;
using datum::console::OutputStream;
using datum::testing::RecordingSink;
using Calls = std::vector<std::string>;

TEST(OutputStream, EachLineLeavesInOneCallWithCarriageReturn)
{
    RecordingSink sink;
    OutputStream out(sink);
    out << "Tag: " << endl;
    out << endl << endl;
    EXPECT_EQ(sink.calls, (Calls{"Tag: \r\n", "\r\n", "\r\n"}));
    EXPECT_FALSE(out.failed());
}

TEST(OutputStream, WritesIntegersInPlainDecimal)
{
    const struct {
        std::int32_t value;
        const char* text;
    } cases[] = {
        {0, "0"},
        {7, "7"},
        {-5, "-5"},
        {10, "10"},
        {100, "100"},
        {-100, "-100"},
        {10000, "10000"},
        {-10000, "-10000"},
        {1000000, "1000000"},
        {-1000000, "-1000000"},
        {std::numeric_limits<std::int32_t>::max(), "2147483647"},
        {std::numeric_limits<std::int32_t>::min(), "-2147483648"},
    };
    for (const auto& c : cases) {
        RecordingSink sink;
        OutputStream out(sink);
        out << c.value << "|";
        out.flush();
        EXPECT_EQ(sink.written, std::string(c.text) + "|") << c.value;
    }

    // Every digit count and its edges: each single digit, then 10^k - 1,
    // 10^k and 10^k + 1 up to the 32-bit extremes, all with their negatives.
    std::vector<std::int64_t> values{std::numeric_limits<std::int32_t>::max() - 1,
                                     std::numeric_limits<std::int32_t>::min() + 1};
    for (std::int64_t digit = 0; digit <= 9; ++digit) {
        values.push_back(digit);
    }
    for (std::int64_t power = 10; power <= 1'000'000'000; power *= 10) {
        values.insert(values.end(), {power - 1, power, power + 1});
    }
    for (const std::int64_t magnitude : values) {
        for (const std::int64_t value : {magnitude, -magnitude}) {
            RecordingSink sink;
            OutputStream out(sink);
            out << static_cast<std::int32_t>(value) << "|";
            out.flush();
            EXPECT_EQ(sink.written, std::to_string(value) + "|") << value;
        }
    }
}

// Years are counted on from the last one's digits; any other move forms them
// anew.
TEST(OutputStream, WritesNumbersCountedOnInPlainDecimal)
{
    const std::vector<std::vector<std::int32_t>> runs = {
        {0, 1, 2, 9, 10, 11},
        {98, 99, 100, 101},
        {1999, 2000, 2001},
        {9999999, 10000000, 10000001},
        {99999998, 99999999, 100000000, 100000001},
        {2147483646, 2147483647, -2147483647 - 1, -2147483647},
        {-11, -10, -9, -2, -1, 0, 1},
        {5, 7, 6, 6, 2023},
    };
    for (const auto& run : runs) {
        RecordingSink sink;
        OutputStream out(sink);
        datum::console::Decimal counted(run.front());
        std::string expected;
        for (const std::int32_t value : run) {
            counted.count_to(value);
            out << counted << "|";
            expected += std::to_string(value) + "|";
        }
        out.flush();
        EXPECT_EQ(sink.written, expected) << run.front();
    }
}

TEST(OutputStream, HoldsTextUntilAFlushPoint)
{
    RecordingSink sink;
    OutputStream out(sink);
    out << ""
        << "abc" << 12;
    EXPECT_TRUE(sink.calls.empty());
    out.flush();
    out.flush();
    EXPECT_EQ(sink.calls, Calls{"abc12"});
}

TEST(OutputStream, FullBufferLeavesWhenTheNextByteIsPut)
{
    RecordingSink sink;
    OutputStream out(sink);
    const std::string exact(OutputStream::buffer_size, 'a');
    out << exact.c_str();
    EXPECT_TRUE(sink.calls.empty()) << "a full buffer waits for the next put or flush";
    out << "bc";
    EXPECT_EQ(sink.calls, Calls{exact});
    out << endl;
    EXPECT_EQ(sink.calls, (Calls{exact, "bc\r\n"}));
}

TEST(OutputStream, EndLineOnAFullBufferSendsTwoBlocks)
{
    RecordingSink sink;
    OutputStream out(sink);
    const std::string exact(OutputStream::buffer_size, 'z');
    out << exact.c_str() << endl;
    EXPECT_EQ(sink.calls, (Calls{exact, "\r\n"}));
}

TEST(OutputStream, InsertsCarriageReturnBeforeEveryLineFeedOnly)
{
    const struct {
        const char* text;
        const char* sent;
    } cases[] = {
        {"a\nb", "a\r\nb"}, {"\r\n", "\r\r\n"}, {"\n\n", "\r\n\r\n"}, {"\r", "\r"}, {"\x80\xff", "\x80\xff"},
    };
    for (const auto& c : cases) {
        RecordingSink sink;
        OutputStream out(sink);
        out << c.text;
        out.flush();
        EXPECT_EQ(sink.calls, Calls{c.sent}) << c.text;
    }
}

TEST(OutputStream, ABlockOfLineFeedsLeavesInOneDoubledCall)
{
    RecordingSink sink;
    OutputStream out(sink);
    const std::string feeds(OutputStream::buffer_size, '\n');
    out << feeds.c_str();
    out.flush();
    std::string doubled;
    for (std::size_t i = 0; i < feeds.size(); ++i) {
        doubled += "\r\n";
    }
    EXPECT_EQ(sink.calls, Calls{doubled});
}

TEST(OutputStream, PartialTakesContinueWithTheRest)
{
    const struct {
        std::vector<std::ptrdiff_t> answers;
        Calls calls;
    } cases[] = {
        {{3, 2}, {"Monat: \r\n", "at: \r\n", ": \r\n"}},
        // A call broken off by a signal is made again.
        {{RecordingSink::broken_off, 4, RecordingSink::broken_off},
         {"Monat: \r\n", "Monat: \r\n", "t: \r\n", "t: \r\n"}},
        // A system that takes one byte per call still makes progress.
        {std::vector<std::ptrdiff_t>(9, 1),
         {"Monat: \r\n", "onat: \r\n", "nat: \r\n", "at: \r\n", "t: \r\n", ": \r\n", " \r\n", "\r\n", "\n"}},
    };
    for (const auto& c : cases) {
        RecordingSink sink;
        sink.answers = c.answers;
        OutputStream out(sink);
        out << "Monat: " << endl;
        EXPECT_EQ(sink.calls, c.calls);
        EXPECT_EQ(sink.written, "Monat: \r\n");
        EXPECT_FALSE(out.failed());
    }
}

TEST(OutputStream, AFailedBlockMakesTheStreamFailedForGood)
{
    for (const std::ptrdiff_t refusal : {std::ptrdiff_t{-1}, std::ptrdiff_t{0}}) {
        RecordingSink sink;
        sink.answers = {refusal};
        OutputStream out(sink);
        out << "Tag: " << endl;
        EXPECT_TRUE(out.failed());
        // Nothing new is put, but each end line retries what is pending.
        out << "Monat: " << 5 << endl;
        EXPECT_EQ(sink.calls, (Calls{"Tag: \r\n", "Tag: \r\n"}));
        EXPECT_EQ(sink.written, "Tag: \r\n");
        // Once the retry went through, nothing is pending and nothing more is sent.
        out << endl;
        out.flush();
        EXPECT_EQ(sink.calls.size(), 2U);
        EXPECT_TRUE(out.failed());
    }
}

TEST(OutputStream, AFailureAfterAPartialTakeResendsOnlyTheRest)
{
    RecordingSink sink;
    sink.answers = {4, -1};
    OutputStream out(sink);
    out << "Jahr: " << endl;
    EXPECT_TRUE(out.failed());
    out.flush();
    EXPECT_EQ(sink.calls, (Calls{"Jahr: \r\n", ": \r\n", ": \r\n"}));
    EXPECT_EQ(sink.written, "Jahr: \r\n");
}

TEST(OutputStream, AFailedPutIntoAFullBufferKeepsTheBlockAndDropsTheByte)
{
    RecordingSink sink;
    sink.answers = {-1};
    OutputStream out(sink);
    const std::string exact(OutputStream::buffer_size, 'q');
    out << exact.c_str() << "r";
    EXPECT_TRUE(out.failed());
    out << endl;
    EXPECT_EQ(sink.calls, (Calls{exact, exact}));
}

} // namespace
