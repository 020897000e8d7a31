#pragma once

#include "calendar.h"

#include <algorithm>
#include <cstdint>

namespace datum {

// Moves `date` forward by `count` calendar days; a count of 0 or below
// leaves it alone. On every step from December (or any month above it)
// into January, February is set for the new year and `announce_year(year)`
// is called, before the remaining days are stepped.
//
// The result and the announcements are those of stepping one day at a
// time; runs of days that change nothing else are taken together: the
// rest of a month, the months before January, and whole years from
// 1 January. A long run then costs one pass per year it enters.
template <typename AnnounceYear>
void step_days(Date& date, MonthLengths& lengths, std::int32_t count, AnnounceYear&& announce_year)
{
    // The steps that fit into `remaining`, out of `wanted` (which may lie
    // beyond 32 bits for days and months far below 1).
    const auto at_most = [](std::int64_t wanted, std::int32_t remaining) {
        return static_cast<std::int32_t>(std::min<std::int64_t>(wanted, remaining));
    };
    const auto enter_next_year = [&lengths, &announce_year](Date& at) {
        at.year = next_year(at.year);
        lengths.set_february(at.year);
        announce_year(at.year);
    };

    Date at = date;
    std::int32_t remaining = count;
    while (remaining > 0) {
        const std::int32_t month_length = lengths.of(at.month);
        if (at.day == 1 && at.month == 1 && remaining >= lengths.year_length()) {
            // A whole year, which ends on 1 January of the next.
            remaining -= lengths.year_length();
            enter_next_year(at);
        } else if (at.day < month_length) {
            // Up to the month's last day, one day per step.
            const std::int32_t days = at_most(std::int64_t{month_length} - at.day, remaining);
            at.day += days;
            remaining -= days;
        } else if (at.month < 1) {
            // A month before January has no days: each step moves on by a
            // month, to its first day, until January.
            const std::int32_t months = at_most(std::int64_t{1} - at.month, remaining);
            at.month += months;
            at.day = 1;
            remaining -= months;
        } else {
            // From the month's last day, or any day beyond it, to the first
            // of the next month.
            --remaining;
            at.day = 1;
            if (at.month >= 12) {
                enter_next_year(at);
                at.month = 1;
            } else {
                ++at.month;
            }
        }
    }
    date = at;
}

} // namespace datum
