// The day cursor against the conversion it stands in for, on every day of the range.
#include "calendar/day_cursor.h"

#include <gtest/gtest.h>

namespace {

using namespace chenggu;

using CD = CalendarDate;

void ExpectCursorMatchesConversionUntilTheEnd(std::uint16_t y, std::uint16_t m, std::uint16_t d) {
    DayCursor cursor(y, m, d);
    std::int32_t offset = CD::DayDifference(y, m, d, 1901, 1, 1);
    const std::int32_t last = CD::DayDifference(2050, 12, 31, 1901, 1, 1);
    for (; offset <= last; ++offset, cursor.Advance()) {
        ASSERT_EQ(CD::DayDifference(cursor.year(), cursor.month(), cursor.day(), 1901, 1, 1),
                  offset);
        ASSERT_EQ(cursor.lunar(), CD::LunarDateAt(offset))
            << cursor.year() << "-" << cursor.month() << "-" << cursor.day();
        ASSERT_EQ(cursor.index(),
                  CD::StemBranchIndices(cursor.year(), cursor.month(), cursor.day()))
            << cursor.year() << "-" << cursor.month() << "-" << cursor.day();
    }
}

TEST(DayCursor, MatchesTheConversionOnEveryDayFrom1901) {
    ExpectCursorMatchesConversionUntilTheEnd(1901, 1, 1);
}

TEST(DayCursor, StartsAnywhere) {
    const struct {
        const char* what;
        std::uint16_t y, m, d;
    } starts[] = {
        {"last day of lunar 1900", 1901, 2, 18},   {"inside a leap month", 2020, 6, 1},
        {"last day of a leap month", 2020, 6, 20}, {"on a term day", 2034, 8, 7},
        {"last day of the range", 2050, 12, 31},
    };
    for (const auto& start : starts) {
        SCOPED_TRACE(start.what);
        ExpectCursorMatchesConversionUntilTheEnd(start.y, start.m, start.d);
    }
}

}  // namespace
