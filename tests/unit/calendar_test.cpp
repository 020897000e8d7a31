#include "calendar.h"
#include "date_stepper.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
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
    datum::step_days(result.date, lengths, count, [&](std::int32_t year) {
        EXPECT_EQ(lengths.february(), datum::february_length(year));
        result.announced.push_back(year);
    });
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

} // namespace
