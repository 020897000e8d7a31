#pragma once

#include "calendar.h"

#include <cstdint>

namespace datum {

// Moves `date` forward by `count` calendar days, one day per step; a count
// of 0 or below leaves it alone. On every step from December (or any month
// above it) into January, February is set for the new year and
// `announce_year(year)` is called, before the remaining days are stepped.
template <typename AnnounceYear>
void step_days(Date& date, MonthLengths& lengths, std::int32_t count, AnnounceYear&& announce_year)
{
    // Only February ever changes, and only while the month turns to January,
    // so the current month's length can be kept at hand between steps.
    std::int32_t month_length = lengths.of(date.month);
    for (std::int32_t remaining = count; remaining > 0; --remaining) {
        if (month_length > date.day) {
            ++date.day;
            continue;
        }
        date.day = 1;
        if (date.month >= 12) {
            date.year = next_year(date.year);
            lengths.set_february(date.year);
            announce_year(date.year);
            date.month = 1;
        } else {
            ++date.month;
        }
        month_length = lengths.of(date.month);
    }
}

} // namespace datum
