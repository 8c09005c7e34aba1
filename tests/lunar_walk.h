// The lunar conversion as a walk from lunar 1645-1-1 over whole lunar years, then months,
// reading the packed tables (the computed calendar) directly: the straightforward reading of
// the tables that the constant-time conversion is checked against (tests) and timed against
// (benchmarks).
#pragma once

#include "calendar/calendar_date.h"
#include "calendar/lunar_tables.h"

namespace chenggu {
namespace lunar_walk {

inline int LeapMonth(int year) {
    const int i = year - LunarTables::FirstYear;
    const unsigned pair = LunarTables::LeapMonths[static_cast<std::size_t>(i / 2)];
    return static_cast<int>(i % 2 == 0 ? pair >> 4 : pair & 0x0f);
}

// Days of the month in calendar position p (0-based, the leap month counted in its place).
inline int MonthDays(int year, int p) {
    return 29 + static_cast<int>(
                    LunarTables::MonthSizes[static_cast<std::size_t>(year - LunarTables::FirstYear)] >> (15 - p) & 1);
}

inline int YearDays(int year) {
    const int months = LeapMonth(year) == 0 ? 12 : 13;
    int days = 0;
    for (int p = 0; p < months; ++p) days += MonthDays(year, p);
    return days;
}

}  // namespace lunar_walk

inline LunarDate WalkToLunarDate(std::int32_t dayOffset) {
    using namespace lunar_walk;
    std::int32_t n = dayOffset - FirstDate.DayOffset();  // days after lunar 1645-1-1
    if (n < 0) return {};
    int year = LunarTables::FirstYear;
    for (; year <= LunarTables::LastYear && n >= YearDays(year); ++year) n -= YearDays(year);
    if (year > LunarTables::LastYear) return {};

    const int leap = LeapMonth(year);
    for (int p = 0;; ++p) {
        if (n < MonthDays(year, p)) {
            const bool isLeap = leap != 0 && p == leap;
            const int month = leap != 0 && p >= leap ? p : p + 1;
            return {static_cast<std::uint16_t>(year), static_cast<std::uint16_t>(month),
                    static_cast<std::uint16_t>(n + 1), isLeap};
        }
        n -= MonthDays(year, p);
    }
}

}  // namespace chenggu
