// Cross-checks of the packed lunar tables against properties every real lunar year has,
// and the pinned dates of the entries that astronomical new moons and terms corrected.
#include "calendar/calendar_date.h"
#include "calendar/lunar_tables.h"
#include "tests/generated/astronomical_reference.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace chenggu;

using CD = CalendarDate;

std::vector<int> MonthLengths(std::uint16_t lunarYear) {
    std::vector<int> lengths;
    for (std::uint16_t m = 1; m <= 12; ++m) {
        const std::uint32_t packed = CD::LunarMonthDays(lunarYear, m);
        lengths.push_back(static_cast<int>(packed & 0xffff));
        if (packed >> 16) lengths.push_back(static_cast<int>(packed >> 16));
    }
    return lengths;
}

TEST(LunarTables, EveryYearHasARealLength) {
    int yearsWithLeapMonth = 0;
    for (std::uint16_t y = 1901; y <= 2100; ++y) {
        const int days = CD::LunarYearDays(y);
        if (CD::LunarLeapMonth(y) != 0) {
            ++yearsWithLeapMonth;
            EXPECT_TRUE(days >= 383 && days <= 385) << y << ": " << days;
        } else {
            EXPECT_TRUE(days >= 353 && days <= 355) << y << ": " << days;
        }
    }
    EXPECT_EQ(yearsWithLeapMonth, 73);  // 55 of them in 1901-2050
}

TEST(LunarTables, BitsBelowTheLastMonthAreClear) {
    for (std::uint16_t y = 1645; y <= 2100; ++y) {
        const unsigned usedBits = CD::LunarLeapMonth(y, CalendarRule::Computed) != 0 ? 13 : 12;
        const unsigned unused =
            LunarTables::MonthSizes[static_cast<std::size_t>(y - LunarTables::FirstYear)] &
            ((1u << (16 - usedBits)) - 1);
        EXPECT_EQ(unused, 0u) << y;
    }
}

TEST(LunarTables, LeapMonthEntriesStayInTheObservedRange) {
    for (std::uint16_t y = 1901; y <= 2100; ++y) {
        const int leap = CD::LunarLeapMonth(y);
        EXPECT_TRUE(leap == 0 || (leap >= 2 && leap <= 11)) << y << ": " << leap;
    }
}

TEST(LunarTables, SectionalTermDaysStayBetween3And9) {
    for (std::uint16_t y = 1901; y <= 2100; ++y) {
        for (std::uint16_t m = 1; m <= 12; ++m) {
            const int day = CD::SectionalTermDay(y, m);
            if (m == 2) {
                EXPECT_TRUE(day >= 3 && day <= 5) << y << "-" << m << ": " << day;
            } else {
                EXPECT_TRUE(day >= 3 && day <= 9) << y << "-" << m << ": " << day;
            }
        }
    }
}

TEST(LunarTables, FirstAndLastYearsDecodeInBitOrder) {
    EXPECT_EQ(MonthLengths(1901),
              (std::vector<int>{29, 30, 29, 29, 30, 29, 30, 29, 30, 30, 30, 29}));
    // Leap month after month 5: it takes bit 10 and month 12 takes bit 3.
    EXPECT_EQ(MonthLengths(1903),
              (std::vector<int>{29, 30, 29, 30, 29, 29, 30, 29, 29, 30, 30, 29, 30}));
    // Leap month after month 3, read from the low nibble of the last element.
    EXPECT_EQ(MonthLengths(2050),
              (std::vector<int>{29, 30, 29, 30, 29, 30, 29, 30, 30, 29, 30, 30, 29}));
}

TEST(LunarTables, FirstAndLastTermRows) {
    const std::vector<int> first{6, 4, 6, 5, 6, 6, 8, 8, 8, 9, 8, 8};
    const std::vector<int> last{5, 3, 5, 4, 5, 5, 7, 7, 7, 8, 7, 7};
    for (std::uint16_t m = 1; m <= 12; ++m) {
        EXPECT_EQ(CD::SectionalTermDay(1901, m), first[m - 1u]) << "1901-" << m;
        EXPECT_EQ(CD::SectionalTermDay(2050, m), last[m - 1u]) << "2050-" << m;
    }
}

// Each corrected entry, pinned on both sides of the day it moves.
struct LunarPin {
    const char* why;
    std::uint16_t y, m, d;
    LunarDate lunar;
};

TEST(LunarTables, CorrectedMonthLengthsPlaceTheNewMoon) {
    const LunarPin pins[] = {
        {"1989 month 6 has 30 days", 1989, 8, 1, {1989, 6, 30, false}},
        {"1989 month 7 begins with the new moon", 1989, 8, 2, {1989, 7, 1, false}},
        {"1989 month 7 has 29 days", 1989, 8, 30, {1989, 7, 29, false}},
        {"2013 month 4 has 29 days", 2013, 6, 7, {2013, 4, 29, false}},
        {"2013 month 5 begins with the new moon", 2013, 6, 8, {2013, 5, 1, false}},
        {"2025 month 3 has 30 days", 2025, 4, 27, {2025, 3, 30, false}},
        {"2025 month 4 begins with the new moon", 2025, 4, 28, {2025, 4, 1, false}},
    };
    for (const LunarPin& pin : pins) {
        const std::int32_t offset = CD::DayDifference(pin.y, pin.m, pin.d, 1901, 1, 1);
        EXPECT_EQ(CD::LunarDateAt(offset), pin.lunar) << pin.why;
    }
    // The corrections move days inside a year, never a year's length or its new year.
    EXPECT_EQ(CD::LunarYearDays(1989), 355);
    EXPECT_EQ(CD::LunarYearDays(2013), 355);
    EXPECT_EQ(CD::LunarYearDays(2025), 384);
}

struct TermPin {
    std::uint16_t y, m;
    int termDay;
    const wchar_t* monthBefore;  // the stem-branch month of the day before the term
    const wchar_t* monthFrom;    // and from the term day on
};

TEST(LunarTables, CorrectedTermDaysOpenTheirMonth) {
    const TermPin pins[] = {
        {1904, 10, 9, L"癸酉", L"甲戌"}, {1929, 10, 9, L"癸酉", L"甲戌"},
        {1977, 5, 5, L"甲辰", L"乙巳"},  {1981, 11, 7, L"戊戌", L"己亥"},
        {1991, 5, 6, L"壬辰", L"癸巳"},  {2034, 8, 7, L"辛未", L"壬申"},
        {2049, 4, 4, L"丁卯", L"戊辰"},  {2050, 9, 7, L"甲申", L"乙酉"},
        // The calendars of the time printed these two a day before their instant (1917-12-08
        // 00:00:56 and 1927-09-09 00:05:35 at UTC+8): they used Beijing mean time, UT+7:46.
        {1917, 12, 7, L"辛亥", L"壬子"}, {1927, 9, 8, L"戊申", L"己酉"},
    };
    for (const TermPin& pin : pins) {
        SCOPED_TRACE(testing::Message() << pin.y << "-" << pin.m);
        EXPECT_EQ(CD::SectionalTermDay(pin.y, pin.m), pin.termDay);
        const auto day = static_cast<std::uint16_t>(pin.termDay);
        EXPECT_EQ(CalendarDate(pin.y, pin.m, day - 1).monthStemBranch, pin.monthBefore);
        EXPECT_EQ(CalendarDate(pin.y, pin.m, day).monthStemBranch, pin.monthFrom);
    }
}

// The tables against another library (npm lunar-javascript) over 1901-2100: its lunar months
// are those of the calendars printed at the time (lunar 1914-1916 and 1920, whose new moons at
// 00:02-00:05 the calendars of Beijing mean time put on the day before), its term days its own
// computation. They differ only on 2057, whose new moon at 23:59:50 on 09-28 it puts after
// midnight.
TEST(LunarTables, AgreeWithAstronomyButOnNewMoonsAtMidnight) {
    const std::set<int> atMidnight{2057};
    for (const auto& reference : AstronomicalReference::LunarYears) {
        const std::uint16_t y = reference.lunarYear;
        if (atMidnight.count(y) != 0) continue;
        std::string sizes;
        for (int length : MonthLengths(y)) sizes += length == 30 ? '1' : '0';
        EXPECT_EQ(sizes, reference.monthSizes) << y;
        const std::int32_t newYear =
            CD::DayDifference(y, reference.month, reference.day, 1901, 1, 1);
        EXPECT_EQ(CD::LunarDateAt(newYear), (LunarDate{y, 1, 1, false})) << y;
    }
    for (std::uint16_t y = 1901; y <= 2100; ++y) {
        const char* days = AstronomicalReference::SectionalTermDays[y - 1901u];
        for (std::uint16_t m = 1; m <= 12; ++m) {
            EXPECT_EQ(CD::SectionalTermDay(y, m, CalendarRule::Computed), days[m - 1] - '0')
                << y << "-" << m;
        }
    }
}

}  // namespace
