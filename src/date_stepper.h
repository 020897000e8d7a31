#pragma once

#include "calendar.h"

#include <algorithm>
#include <cstdint>

namespace datum {

// Steps `date` forward, one calendar day per step, until either `remaining`
// steps are used up (then it returns false) or a step has gone from
// December (or any month above it) into January: then February is set for
// the new year and it returns true, with the steps left in `remaining`.
// A remaining count of 0 or below takes no step.
//
// The result is that of stepping one day at a time, but runs of steps that
// change nothing else are taken together: the rest of a month, the months
// before January, and a whole year from 1 January. A long run then costs
// one pass per year it enters.
inline bool step_until_new_year(Date& date, MonthLengths& lengths, std::int32_t& remaining)
{
    // The steps that fit into `left`, out of `wanted` (which may lie beyond
    // 32 bits for days and months far below 1).
    const auto at_most = [](std::int64_t wanted, std::int32_t left) {
        return static_cast<std::int32_t>(std::min<std::int64_t>(wanted, left));
    };

    Date at = date;
    std::int32_t left = remaining;
    bool new_year = false;
    while (left > 0 && !new_year) {
        const std::int32_t month_length = lengths.of(at.month);
        if (at.day == 1 && at.month == 1 && left >= lengths.year_length()) {
            // A whole year, which ends on 1 January of the next.
            left -= lengths.year_length();
            new_year = true;
        } else if (at.day < month_length) {
            // Up to the month's last day, one day per step.
            const std::int32_t days = at_most(std::int64_t{month_length} - at.day, left);
            at.day += days;
            left -= days;
        } else if (at.month < 1) {
            // A month before January has no days: each step moves on by a
            // month, to its first day, until January.
            const std::int32_t months = at_most(std::int64_t{1} - at.month, left);
            at.month += months;
            at.day = 1;
            left -= months;
        } else {
            // From the month's last day, or any day beyond it, to the first
            // of the next month.
            --left;
            at.day = 1;
            new_year = at.month >= 12;
            at.month = new_year ? 1 : at.month + 1;
        }
    }
    if (new_year) {
        at.year = next_year(at.year);
        lengths.set_february(at.year);
    }
    date = at;
    remaining = left;
    return new_year;
}

} // namespace datum
