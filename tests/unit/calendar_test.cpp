#include "calendar.h"
#include "date_stepper.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <vector>

namespace {

using datum::Date;
using datum::MonthLengths;

constexpr std::int32_t max_year = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t min_year = std::numeric_limits<std::int32_t>::min();

TEST(FebruaryRule, FollowsTheGregorianRuleOnSignedYears)
{
    const struct {
        std::int32_t year;
        std::int32_t days;
    } cases[] = {
        {1900, 28}, {2000, 29}, {1600, 29}, {2100, 28},     {2400, 29},
        {3000, 28}, {2023, 28}, {2024, 29}, {0, 29},        {-4, 29},
        {-100, 28}, {-400, 29}, {-1, 28},   {max_year, 28}, {min_year, 29},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(datum::february_length(c.year), c.days) << c.year;
    }
}

TEST(MonthLengths, MonthsOutsideTheYearHaveNoDays)
{
    MonthLengths lengths;
    EXPECT_EQ(lengths.february(), 0);
    lengths.set_february(2024);
    EXPECT_EQ(lengths.of(2), 29);
    for (const std::int32_t month : {0, 13, -1, max_year, min_year}) {
        EXPECT_EQ(lengths.of(month), 0) << month;
    }
}

struct Stepped {
    Date date;
    std::vector<std::int32_t> announced;
};

Stepped step(Date start, std::int32_t count)
{
    MonthLengths lengths;
    lengths.set_february(start.year);
    Stepped result{start, {}};
    std::int32_t remaining = count;
    while (datum::step_until_new_year(result.date, lengths, remaining)) {
        EXPECT_EQ(lengths.february(), datum::february_length(result.date.year));
        result.announced.push_back(result.date.year);
    }
    EXPECT_LE(remaining, 0);
    return result;
}

TEST(StepDays, MovesOneCalendarDayPerStep)
{
    const struct {
        Date start;
        std::int32_t count;
        Date end;
        std::vector<std::int32_t> announced;
    } cases[] = {
        {{28, 2, 2023}, 1, {1, 3, 2023}, {}},
        {{1, 3, 1999}, 1000, {25, 11, 2001}, {2000, 2001}},
        {{15, 6, 2023}, -5, {15, 6, 2023}, {}},
        {{-3, 5, 2023}, 4, {1, 5, 2023}, {}},
        // Months outside the year have no days.
        {{5, 0, 2023}, 1, {1, 1, 2023}, {}},
        {{5, -2, 2023}, 3, {1, 1, 2023}, {}},
        {{5, 13, 2023}, 1, {1, 1, 2024}, {2024}},
        {{-2, 13, 2023}, 3, {1, 1, 2024}, {2024}},
        {{20, 0, 2023}, 32, {1, 2, 2023}, {}},
        // The year wraps in 32 bits.
        {{31, 12, max_year}, 1, {1, 1, min_year}, {min_year}},
        {{31, 12, -1}, 1, {1, 1, 0}, {0}},
    };
    for (const auto& c : cases) {
        const Stepped result = step(c.start, c.count);
        const auto where = ::testing::Message()
                           << c.start.day << "." << c.start.month << "." << c.start.year << " + " << c.count;
        EXPECT_EQ(result.date.day, c.end.day) << where;
        EXPECT_EQ(result.date.month, c.end.month) << where;
        EXPECT_EQ(result.date.year, c.end.year) << where;
        EXPECT_EQ(result.announced, c.announced) << where;
    }
}

TEST(StepDays, AnnouncesEveryYearEnteredInOrder)
{
    const Stepped result = step({1, 1, 1999}, 4 * 365 + 2);
    EXPECT_EQ(result.announced, (std::vector<std::int32_t>{2000, 2001, 2002, 2003}));
    EXPECT_EQ(result.date.day, 2);
    EXPECT_EQ(result.date.year, 2003);

    // 400 Gregorian years hold exactly 146097 days.
    const Stepped cycle = step({1, 1, 1900}, 146097);
    EXPECT_EQ(cycle.date.day, 1);
    EXPECT_EQ(cycle.date.month, 1);
    EXPECT_EQ(cycle.date.year, 2300);
    ASSERT_EQ(cycle.announced.size(), 400U);
    EXPECT_EQ(cycle.announced.front(), 1901);
    EXPECT_EQ(cycle.announced.back(), 2300);
}

// The definition, one day per step, with a month table of its own.
Stepped step_one_day_at_a_time(Date start, std::int32_t count)
{
    constexpr std::int32_t lengths[] = {31, 0, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    Stepped result{start, {}};
    Date& d = result.date;
    for (std::int32_t left = count; left > 0; --left) {
        const bool in_year = d.month >= 1 && d.month <= 12;
        const std::int32_t length = !in_year       ? 0
                                    : d.month == 2 ? datum::february_length(d.year)
                                                   : lengths[d.month - 1];
        if (length > d.day) {
            ++d.day;
        } else if (d.month >= 12) {
            d = {1, 1, datum::next_year(d.year)};
            result.announced.push_back(d.year);
        } else {
            d = {1, d.month + 1, d.year};
        }
    }
    return result;
}

void expect_same_as_one_day_at_a_time(Date start, std::int32_t count)
{
    const Stepped fast = step(start, count);
    const Stepped plain = step_one_day_at_a_time(start, count);
    const auto where = ::testing::Message()
                       << start.day << "." << start.month << "." << start.year << " + " << count;
    EXPECT_EQ(fast.date.day, plain.date.day) << where;
    EXPECT_EQ(fast.date.month, plain.date.month) << where;
    EXPECT_EQ(fast.date.year, plain.date.year) << where;
    EXPECT_EQ(fast.announced, plain.announced) << where;
}

TEST(StepDays, TakesTheSameCourseAsOneDayAtATime)
{
    const Date starts[] = {
        {1, 1, 2023},  {31, 12, 2023}, {28, 2, 2024},       {29, 2, 2024},       {28, 2, 2023},
        {1, 3, 1900},  {31, 1, 2000},  {30, 12, 1999},      {31, 4, 2023},       {0, 1, 2023},
        {45, 1, 2023}, {-5, 3, 2023},  {min_year, 1, 2000}, {max_year, 7, 2000}, {1, 0, 2023},
        {5, 13, 2023}, {-3, -2, 2023}, {1, max_year, 10},   {7, min_year, 10},   {1, 1, -1},
        {1, 1, 0},     {29, 2, -400},  {1, 3, -100},        {31, 12, max_year},  {1, 1, max_year - 1},
        {15, 6, -1601}};
    const std::int32_t counts[] = {min_year, -1,   0,     1,     2,     27,     28,     29,     30,    31,
                                   58,       59,   60,    364,   365,   366,    367,    730,    731,   1460,
                                   1461,     1462, 36524, 36525, 36526, 146096, 146097, 146098, 400000};
    for (const Date& start : starts) {
        for (const std::int32_t count : counts) {
            expect_same_as_one_day_at_a_time(start, count);
        }
    }

    std::mt19937 random(20261208);
    const auto between = [&random](std::int32_t low, std::int32_t high) {
        return std::uniform_int_distribution<std::int32_t>(low, high)(random);
    };
    for (int i = 0; i < 2000; ++i) {
        const std::int32_t year = i % 10 == 0 ? max_year - between(0, 3) : between(-2500, 2500);
        const std::int32_t count = i % 20 == 0 ? between(0, 300000) : between(-5, 3000);
        expect_same_as_one_day_at_a_time({between(-40, 40), between(-3, 15), year}, count);
    }
}

} // namespace
