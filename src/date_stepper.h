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
    Date at = date;
    std::int32_t month_length = lengths.of(at.month);
    std::int32_t remaining = count;
    while (remaining > 0) {
        // The steps that stay within the month: one day each.
        while (remaining > 0 && month_length > at.day) {
            ++at.day;
            --remaining;
        }
        if (remaining == 0) {
            break;
        }
        // The step into the next month.
        --remaining;
        at.day = 1;
        if (at.month >= 12) {
            at.year = next_year(at.year);
            lengths.set_february(at.year);
            announce_year(at.year);
            at.month = 1;
        } else {
            ++at.month;
        }
        month_length = lengths.of(at.month);
    }
    date = at;
}

} // namespace datum
