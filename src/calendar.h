#pragma once

#include <array>
#include <cstdint>

namespace datum {

// A date as the user typed it: nothing here checks that it names a real day.
struct Date {
    std::int32_t day = 0;
    std::int32_t month = 0;
    std::int32_t year = 0;
};

// Gregorian February, on signed years: year 0 and -400 are leap years,
// -100 is not. The rule applied in order (divisible by 4: 29; by 100: 28;
// by 400: 29) comes to this, where three years in four need one test.
constexpr std::int32_t february_length(std::int32_t year)
{
    if (year % 4 != 0) {
        return 28;
    }
    if (year % 100 != 0) {
        return 29;
    }
    return year % 400 == 0 ? 29 : 28;
}

// The year after `year`, wrapping from the highest 32-bit year to the lowest
// instead of overflowing.
constexpr std::int32_t next_year(std::int32_t year)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(year) + 1U);
}

// Days per month, January first. Only February changes, and it holds no
// length until it is set for a year.
class MonthLengths {
public:
    // A month outside 1 to 12 has no days, so stepping from it moves on to
    // the first of the following month.
    [[nodiscard]] constexpr std::int32_t of(std::int32_t month) const
    {
        return month >= 1 && month <= 12 ? days_[static_cast<std::size_t>(month - 1)] : 0;
    }

    [[nodiscard]] constexpr std::int32_t february() const { return days_[1]; }

    constexpr void set_february(std::int32_t year) { days_[1] = february_length(year); }

    // The days of the year whose February is set.
    [[nodiscard]] constexpr std::int32_t year_length() const { return days_besides_february + days_[1]; }

private:
    static constexpr std::array<std::int32_t, 12> unset{31, 0, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    static constexpr std::int32_t days_besides_february = [] {
        std::int32_t sum = 0;
        for (const std::int32_t days : unset) {
            sum += days;
        }
        return sum;
    }();

    std::array<std::int32_t, 12> days_ = unset;
};

} // namespace datum
