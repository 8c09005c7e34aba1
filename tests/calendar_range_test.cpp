// Whole-range properties, walking every day from 1645-01-28 to 2100-12-31 with std::chrono
// as an independent Gregorian calendar, under both calendar rules, and garbage input at every
// 16-bit corner.
#include "calendar/calendar_date.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <map>

#include "calendar/lunar_tables.h"
#include "tests/lunar_walk.h"

namespace {

using namespace chenggu;

using CD = CalendarDate;
namespace chrono = std::chrono;

struct Day {
    std::uint16_t y, m, d;
    std::int32_t offset;  // days since 1901-01-01
};

template <class Visit>
void ForEachDayOfTheRange(Visit visit) {
    const chrono::sys_days epoch = chrono::year{1901} / 1 / 1;
    const chrono::sys_days first = chrono::year{1645} / 1 / 28;
    const chrono::sys_days last = chrono::year{2100} / 12 / 31;
    for (chrono::sys_days day = first; day <= last; day += chrono::days{1}) {
        const chrono::year_month_day ymd{day};
        visit(Day{static_cast<std::uint16_t>(static_cast<int>(ymd.year())),
                  static_cast<std::uint16_t>(static_cast<unsigned>(ymd.month())),
                  static_cast<std::uint16_t>(static_cast<unsigned>(ymd.day())),
                  static_cast<std::int32_t>((day - epoch).count())});
    }
}

TEST(WholeRange, GregorianArithmeticAgreesWithChrono) {
    int days = 0;
    ForEachDayOfTheRange([&](const Day& day) {
        ++days;
        ASSERT_EQ(CD::DayDifference(day.y, day.m, day.d, 1901, 1, 1), day.offset);
        ASSERT_TRUE(CD::IsSupportedDate(day.y, day.m, day.d));
        if (day.d == 1) {
            const chrono::year_month_day_last end{chrono::year{day.y} / chrono::month{day.m} /
                                                  chrono::last};
            ASSERT_EQ(CD::GregorianMonthDays(day.y, day.m), static_cast<unsigned>(end.day()))
                << day.y << "-" << day.m;
        }
    });
    EXPECT_EQ(days, 166523);
}

// The lunar years in which the calendars issued at the time differ from the computation.
bool PrintedDiffers(std::uint16_t lunarYear) {
    for (const auto& printed : LunarTables::PrintedYears) {
        if (printed.year == lunarYear) return true;
    }
    return false;
}

TEST(WholeRange, ConversionEqualsTheWalkAndRoundTrips) {
    int printedDays = 0;
    ForEachDayOfTheRange([&](const Day& day) {
        const LunarDate computed = CD::LunarDateAt(day.offset, CalendarRule::Computed);
        ASSERT_EQ(computed, WalkToLunarDate(day.offset)) << day.offset;
        const GregorianDate date = GregorianDate::FromDayOffset(day.offset);
        ASSERT_EQ(date, (GregorianDate{day.y, day.m, day.d})) << day.offset;
        ASSERT_EQ(date.DayOffset(), day.offset);
        for (const CalendarRule rule : {CalendarRule::Printed, CalendarRule::Computed}) {
            const LunarDate lunar = CD::LunarDateAt(day.offset, rule);
            ASSERT_EQ(CD::CheckLunarDate(lunar, rule), LunarDateError::None) << day.offset;
            ASSERT_EQ(CD::LunarToGregorian(lunar, rule), date) << day.offset;
        }
        // The printed calendar differs only in the years it lists, and only before 1929.
        const LunarDate printed = CD::LunarDateAt(day.offset, CalendarRule::Printed);
        if (printed != computed) {
            ++printedDays;
            ASSERT_TRUE(PrintedDiffers(printed.year) || PrintedDiffers(computed.year)) << day.offset;
            ASSERT_LT(day.y, 1929);
        }
    });
    EXPECT_GT(printedDays, 0);
}

TEST(WholeRange, EveryLunarDateThatConvertsIsADayOfTheRange) {
    // Every combination of lunar year, month, leap flag and day: exactly the 166,523 days
    // of the range convert, each to the day whose lunar date it is.
    int convertible = 0;
    for (std::uint16_t y = 1644; y <= 2101; ++y) {
        for (std::uint16_t m = 0; m <= 13; ++m) {
            for (const bool leap : {false, true}) {
                for (std::uint16_t d = 0; d <= 31; ++d) {
                    const LunarDate lunar{y, m, d, leap};
                    const GregorianDate date = CD::LunarToGregorian(lunar);
                    const bool ok = CD::CheckLunarDate(lunar) == LunarDateError::None;
                    ASSERT_EQ(date.ok(), ok) << y << "-" << leap << m << "-" << d;
                    if (!ok) continue;
                    ++convertible;
                    ASSERT_EQ(CD::LunarDateAt(date.DayOffset()), lunar);
                }
            }
        }
    }
    EXPECT_EQ(convertible, 166523);
}

TEST(OutOfRange, LunarDatesThatDoNotConvertSayWhy) {
    using E = LunarDateError;
    const struct {
        const char* what;
        LunarDate lunar;
        LunarDateError error;
    } cases[] = {
        {"2020 has a leap month after month 4 only", {2020, 5, 1, true}, E::NoSuchLeapMonth},
        {"1901 has no leap month", {1901, 1, 1, true}, E::NoSuchLeapMonth},
        {"month 1 of 1901 has 29 days", {1901, 1, 30, false}, E::NoSuchDay},
        {"the leap month of 2020 has 29 days", {2020, 4, 30, true}, E::NoSuchDay},
        {"day 0", {2020, 4, 0, false}, E::NoSuchDay},
        {"month 0", {2020, 0, 1, false}, E::NoSuchMonth},
        {"month 13", {2020, 13, 1, false}, E::NoSuchMonth},
        {"the day before 1645-01-28", {1644, 12, 29, false}, E::OutsideRange},
        {"1645 has its printed leap month 6", {1645, 5, 1, true}, E::NoSuchLeapMonth},
        {"the day after 2100-12-31", {2100, 12, 2, false}, E::OutsideRange},
        {"lunar 2101", {2101, 1, 1, false}, E::OutsideRange},
        {"lunar 1644", {1644, 12, 1, false}, E::OutsideRange},
        {"month 11 of lunar 1900 has 29 days", {1900, 11, 30, false}, E::NoSuchDay},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CD::CheckLunarDate(c.lunar), c.error) << c.what;
        EXPECT_FALSE(CD::LunarToGregorian(c.lunar).ok()) << c.what;
    }
    EXPECT_FALSE(GregorianDate::FromDayOffset(FirstDate.DayOffset() - 1).ok());
    EXPECT_EQ(GregorianDate::FromDayOffset(FirstDate.DayOffset()), FirstDate);
    EXPECT_EQ(CD::CheckLunarDate({1645, 5, 1, true}, CalendarRule::Computed), E::None);
    EXPECT_FALSE(GregorianDate::FromDayOffset(73049).ok());
}

TEST(WholeRange, LunarDatesAdvanceOneDayAtATime) {
    LunarDate previous = CD::LunarDateAt(FirstDate.DayOffset());
    int monthLength = previous.day;
    std::map<int, int> yearLength, monthsInYear, leapMonthSeen;
    monthsInYear[previous.year] = 1;  // the range opens with lunar 1645's first month

    ForEachDayOfTheRange([&](const Day& day) {
        const LunarDate lunar = CD::LunarDateAt(day.offset);
        std::uint16_t ly = 0, lm = 0, ld = 0;
        CD::GregorianToLunar(day.y, day.m, day.d, ly, lm, ld);
        ASSERT_EQ((LunarDate{ly, lm, ld, lunar.leapMonth}), lunar) << day.offset;
        ++yearLength[lunar.year];

        if (day.offset > FirstDate.DayOffset()) {
            const bool sameMonth = lunar.year == previous.year && lunar.month == previous.month &&
                                   lunar.leapMonth == previous.leapMonth;
            if (sameMonth) {
                ASSERT_EQ(lunar.day, previous.day + 1) << day.offset;
                ++monthLength;
            } else {
                ASSERT_EQ(lunar.day, 1) << day.offset;
                ASSERT_TRUE(monthLength == 29 || monthLength == 30) << day.offset;
                monthLength = 1;
                ++monthsInYear[lunar.year];
                if (lunar.leapMonth) {
                    // A leap month repeats the number of the month it follows.
                    ASSERT_EQ(lunar.year, previous.year);
                    ASSERT_EQ(lunar.month, previous.month);
                    ASSERT_EQ(lunar.month, CD::LunarLeapMonth(lunar.year)) << lunar.year;
                    ++leapMonthSeen[lunar.year];
                } else if (lunar.year == previous.year) {
                    ASSERT_EQ(lunar.month, previous.month + 1) << day.offset;
                } else {
                    ASSERT_EQ(lunar.year, previous.year + 1);
                    ASSERT_EQ(lunar.month, 1);
                    ASSERT_EQ(previous.month, 12);
                }
            }
        }
        previous = lunar;
    });

    // Lunar 1645-2099 lie wholly inside the range; 2100 runs on into January 2101.
    for (std::uint16_t y = 1645; y <= 2099; ++y) {
        EXPECT_EQ(yearLength[y], CD::LunarYearDays(y)) << y;
        const bool hasLeap = CD::LunarLeapMonth(y) != 0;
        EXPECT_EQ(monthsInYear[y], hasLeap ? 13 : 12) << y;
        EXPECT_EQ(leapMonthSeen[y], hasLeap ? 1 : 0) << y;
    }
}

TEST(WholeRange, NamesChangeOnlyWhereTheyShould) {
    StemBranchIndex previous = CD::StemBranchIndices(1645, 1, 28);
    ForEachDayOfTheRange([&](const Day& day) {
        const StemBranchIndex index = CD::StemBranchIndices(day.y, day.m, day.d);
        if (day.offset > FirstDate.DayOffset()) {
            ASSERT_EQ(index.day, previous.day + 1) << day.offset;
            const int termDay = CD::SectionalTermDay(day.y, day.m);
            const bool springStarts = day.m == 2 && day.d == termDay;
            ASSERT_EQ(index.year, previous.year + (springStarts ? 1 : 0)) << day.offset;
            ASSERT_EQ(index.month, previous.month + (day.d == termDay ? 1 : 0)) << day.offset;
        }
        previous = index;
    });
}

TEST(OutOfRange, LunarDateAtAnswersNoDateOutsideTheTables) {
    const std::int32_t lastDayOfLunar2100 = CD::DayDifference(2101, 1, 28, 1901, 1, 1);
    const std::int32_t first = FirstDate.DayOffset();
    const struct {
        std::int32_t offset;
        LunarDate lunar;
    } cases[] = {
        {INT32_MIN, {}},
        {first - 1, {}},
        {first, {1645, 1, 1, false}},
        {-1, {1900, 11, 10, false}},
        {lastDayOfLunar2100, {2100, 12, 29, false}},
        {lastDayOfLunar2100 + 1, {}},
        {INT32_MAX, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(CD::LunarDateAt(c.offset), c.lunar) << c.offset;
}

TEST(OutOfRange, TableReadersAnswerSafelyForEveryYear) {
    const std::uint16_t months[] = {0, 1, 2, 11, 12, 13, 255, 65535};
    for (std::uint32_t y = 0; y <= 65535; ++y) {
        const auto year = static_cast<std::uint16_t>(y);
        const bool inTables = y >= 1645 && y <= 2100;
        if (!inTables) {
            ASSERT_EQ(CD::LunarLeapMonth(year), 0) << y;
            ASSERT_EQ(CD::LunarYearDays(year), y < 1645 ? 360 : 0) << y;
        }
        for (const std::uint16_t m : months) {
            const bool realMonth = m >= 1 && m <= 12;
            const std::uint32_t packed = CD::LunarMonthDays(year, m);
            if (y < 1645) {
                ASSERT_EQ(packed, 30u) << y << "-" << m;
            } else if (!inTables || !realMonth) {
                ASSERT_EQ(packed, 0u) << y << "-" << m;
            }
            const int term = CD::SectionalTermDay(year, m);
            if (inTables && realMonth) {
                ASSERT_TRUE(term >= 3 && term <= 9);
            } else {
                ASSERT_EQ(term, 0) << y << "-" << m;
            }
        }
    }
}

TEST(OutOfRange, RecordsOutsideTheDomainAreEmpty) {
    const std::uint16_t years[] = {0, 1, 1899, 1900, 1901, 2050, 2051, 2100, 2101, 32768, 65535};
    const std::uint16_t months[] = {0, 1, 2, 12, 13, 255, 65535};
    const std::uint16_t days[] = {0, 1, 28, 29, 31, 32, 255, 65535};
    for (const std::uint16_t y : years) {
        for (const std::uint16_t m : months) {
            for (const std::uint16_t d : days) {
                SCOPED_TRACE(testing::Message() << y << "-" << m << "-" << d);
                const CalendarDate date(y, m, d);
                std::uint16_t ly = 0, lm = 0, ld = 0;
                CD::GregorianToLunar(y, m, d, ly, lm, ld);
                (void)CD::DayDifference(y, m, d, d, m, y);
                (void)CD::StemBranchIndices(y, m, d);
                if (CD::IsInDomain(y, m, d)) {
                    EXPECT_NE(date.lunarYear, 0);
                    EXPECT_EQ(date.dayStemBranch.size(), 2u);
                } else {
                    EXPECT_EQ(date.lunarYear, 0);
                    EXPECT_EQ(date.lunarMonth, 0);
                    EXPECT_EQ(date.lunarDay, 0);
                    EXPECT_TRUE(date.yearStemBranch.empty());
                    EXPECT_TRUE(date.monthStemBranch.empty());
                    EXPECT_TRUE(date.dayStemBranch.empty());
                }
            }
        }
    }
}

TEST(OutOfRange, DayDifferenceCountsMonthsOnFromJanuary) {
    EXPECT_EQ(CD::DayDifference(2000, 13, 1, 2001, 1, 1), 0);
    EXPECT_EQ(CD::DayDifference(2000, 0, 1, 1999, 12, 1), 0);
    EXPECT_EQ(CD::DayDifference(2000, 25, 1, 2002, 1, 1), 0);
}

TEST(SupportedDates, OnlyRealDatesInsideTheRange) {
    const struct {
        std::uint16_t y, m, d;
        bool supported;
    } cases[] = {
        {1901, 1, 1, true},           {2100, 12, 31, true}, {2000, 2, 29, true},
        {1645, 1, 28, true},          {1645, 1, 27, false}, {1700, 2, 29, false},
        {1644, 12, 31, false},        {2101, 1, 1, false},  {2001, 2, 29, false},
        {2100, 2, 29, false},         {2096, 2, 29, true},
        {2020, 4, 31, false},         {2020, 4, 30, true},  {2020, 0, 1, false},
        {2020, 13, 1, false},         {2020, 1, 0, false},  {2020, 1, 32, false},
        {65535, 65535, 65535, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CD::IsSupportedDate(c.y, c.m, c.d), c.supported)
            << c.y << "-" << c.m << "-" << c.d;
    }
}

}  // namespace
