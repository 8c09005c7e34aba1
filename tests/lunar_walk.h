// The lunar conversion as a walk from the 1901 epoch over whole lunar years, then months,
// read through the public table readers: the straightforward reading of the tables that
// the constant-time conversion is checked against (tests) and timed against (benchmarks).
#pragma once

#include "calendar/calendar_date.h"

inline LunarDate WalkToLunarDate(std::int32_t dayOffset) {
    using CD = CalendarDate;
    if (dayOffset < -10) return {};
    if (dayOffset <= 18) return {1900, 11, static_cast<std::uint16_t>(dayOffset + 11), false};
    if (dayOffset <= 48) return {1900, 12, static_cast<std::uint16_t>(dayOffset - 18), false};

    std::int32_t n = dayOffset - 49;  // days after lunar 1901-1-1
    std::uint16_t year = 1901;
    for (; year <= 2050 && n >= CD::LunarYearDays(year); ++year) n -= CD::LunarYearDays(year);
    if (year > 2050) return {};

    const std::uint16_t leap = CD::LunarLeapMonth(year);
    for (std::uint16_t month = 1;; ++month) {
        const std::uint32_t packed = CD::LunarMonthDays(year, month);
        const auto regular = static_cast<std::int32_t>(packed & 0xffff);
        if (n < regular) return {year, month, static_cast<std::uint16_t>(n + 1), false};
        n -= regular;
        if (month == leap) {
            const auto leapDays = static_cast<std::int32_t>(packed >> 16);
            if (n < leapDays) return {year, month, static_cast<std::uint16_t>(n + 1), true};
            n -= leapDays;
        }
    }
}
