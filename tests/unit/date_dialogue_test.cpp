#include "program.h"
#include "scripted_system.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

namespace {

using datum::testing::RecordingSink;
using datum::testing::ScriptedSource;

const std::string prompts =
    "Geben Sie das erste Datum TT MM JJJJ ein, bestaetigen Sie jeweils mit ENTER: \r\n"
    "Tag: \r\n"
    "Monat: \r\n"
    "Jahr: \r\n"
    "\r\n"
    "\r\n"
    "Geben Sie die Anzahl der Tage ein, bestaetigen Sie jeweils mit ENTER: \r\n";

struct DialogueRun {
    int status = -1;
    RecordingSink sink;
    ScriptedSource source;
};

void run(DialogueRun& r)
{
    r.status = datum::run_program(r.source, r.sink);
}

std::string expected_output(const std::vector<std::string>& announcements, const std::string& report)
{
    std::string text = prompts;
    for (const auto& a : announcements) {
        text += "im Jahr " + a + " Tage\r\n";
    }
    return text + "\r\n" + report + "\r\n";
}

TEST(DateDialogue, RunsTheExampleLineByLine)
{
    DialogueRun r;
    r.source.chunks = {"31\r\n", "12\r\n", "2023\r\n", "1\r\n", "x\r\n"};
    run(r);
    EXPECT_EQ(r.status, 0);
    const std::vector<std::string> lines{
        "Geben Sie das erste Datum TT MM JJJJ ein, bestaetigen Sie jeweils mit ENTER: \r\n",
        "Tag: \r\n",
        "Monat: \r\n",
        "Jahr: \r\n",
        "\r\n",
        "\r\n",
        "Geben Sie die Anzahl der Tage ein, bestaetigen Sie jeweils mit ENTER: \r\n",
        "im Jahr 2023 hat der Februar 28 Tage\r\n",
        "im Jahr 2024 hat der Februar 29 Tage\r\n",
        "\r\n",
        "1 Tage nach dem 31. 12. 2023 ist der 1. 1. 2024.\r\n",
    };
    // One system write per line, and every prompt leaves before its read.
    EXPECT_EQ(r.sink.calls, lines);
    EXPECT_EQ(r.source.requests.size(), 5U);
    EXPECT_TRUE(r.source.chunks.empty()) << "the final character was not read";
}

TEST(DateDialogue, ReportsEachEdgeCase)
{
    const struct {
        const char* input;
        std::vector<std::string> announcements;
        std::string report;
    } cases[] = {
        // The cases that tests/e2e/cases does not run through the program.
        {"1 1 2023 365\nx\n",
         {"2023 hat der Februar 28", "2024 hat der Februar 29"},
         "365 Tage nach dem 1. 1. 2023 ist der 1. 1. 2024."},
        {"31 12 1599 1\nx\n",
         {"1599 hat der Februar 28", "1600 hat der Februar 29"},
         "1 Tage nach dem 31. 12. 1599 ist der 1. 1. 1600."},
        {"15 6 2023 0\nx\n", {"2023 hat der Februar 28"}, "0 Tage nach dem 15. 6. 2023 ist der 15. 6. 2023."},
        {"31 4 2023 1\nx\n", {"2023 hat der Februar 28"}, "1 Tage nach dem 31. 4. 2023 ist der 1. 5. 2023."},
        {"35 1 2023 1\nx\n", {"2023 hat der Februar 28"}, "1 Tage nach dem 35. 1. 2023 ist der 1. 2. 2023."},
        {"0 1 2023 1\nx\n", {"2023 hat der Februar 28"}, "1 Tage nach dem 0. 1. 2023 ist der 1. 1. 2023."},
        {"31 12 -1 1\nx\n",
         {"-1 hat der Februar 28", "0 hat der Februar 29"},
         "1 Tage nach dem 31. 12. -1 ist der 1. 1. 0."},
    };
    for (const auto& c : cases) {
        DialogueRun r;
        r.source.chunks = {c.input};
        run(r);
        EXPECT_EQ(r.status, 0) << c.input;
        EXPECT_EQ(r.sink.written, expected_output(c.announcements, c.report)) << c.input;
    }
}

TEST(DateDialogue, WaitsForANonBlankCharacterAtTheEnd)
{
    DialogueRun r;
    r.source.chunks = {"1\n2\n3\n4\n", "\n", "   \n", "x\n", "never asked\n"};
    run(r);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.source.requests.size(), 4U);
    EXPECT_EQ(r.source.chunks.size(), 1U);
}

TEST(DateDialogue, RunsToItsEndWhenOutputFails)
{
    const std::vector<std::ptrdiff_t> always_fails(100, -1);
    const struct {
        std::vector<std::ptrdiff_t> answers;
        std::size_t calls;
        std::string written;
    } cases[] = {
        // The retry at the next end line goes through; nothing is pending after it.
        {{-1}, 2, prompts.substr(0, prompts.find('\n') + 1)},
        // The first line stays pending: it is handed over at each of the 10
        // end lines and 5 reads, and once more at exit.
        {always_fails, 16, ""},
    };
    for (const auto& c : cases) {
        DialogueRun r;
        r.sink.answers = c.answers;
        r.source.chunks = {"1\n", "2\n", "3\n", "4\n", "x\n", "never asked\n"};
        run(r);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.source.chunks.size(), 1U) << "every answer, the final character included, is read";
        EXPECT_EQ(r.sink.calls.size(), c.calls);
        EXPECT_EQ(r.sink.written, c.written);
    }
}

} // namespace
