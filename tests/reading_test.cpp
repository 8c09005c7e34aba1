// The weight tables, the verse and period tables, and MakeReading.
#include "reading/reading.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>

#include "calendar/calendar_date.h"
#include "reading/verses.h"
#include "reading/weight_tables.h"
#include "tests/lunar_walk.h"
#include "tests/whole_range.h"
#include "text/utf8.h"

namespace {

using namespace chenggu;

TEST(WeightTables, LookupsAtTheirBoundaryRows) {
    const struct {
        const char* what;
        std::int32_t actual, expected;
    } cases[] = {
        {"year 1900 uses the 1960 row", YearWeight(1900), 7},
        {"year 1918 uses the 1978 row", YearWeight(1918), 19},
        {"year 1940 is the last row", YearWeight(1940), 12},
        {"year 1941 is the first row", YearWeight(1941), 6},
        {"year 2000 is the last row", YearWeight(2000), 12},
        {"year 2001 starts the cycle again", YearWeight(2001), 6},
        {"year 2050 uses the 1990 row", YearWeight(2050), 9},
        {"year 1881, sixty years before 1941", YearWeight(1881), 6},
        {"year 0 uses the 1980 row", YearWeight(0), 8},
        {"month 3, the heaviest", MonthWeight(3), 18},
        {"month 9, the heaviest", MonthWeight(9), 18},
        {"month 5, the lightest", MonthWeight(5), 5},
        {"month 12, the lightest", MonthWeight(12), 5},
        {"month 0 does not exist", MonthWeight(0), 0},
        {"month 13 does not exist", MonthWeight(13), 0},
        {"day 30", DayWeight(30), 6},
        {"day 18", DayWeight(18), 18},
        {"day 26", DayWeight(26), 18},
        {"day 1", DayWeight(1), 5},
        {"day 19", DayWeight(19), 5},
        {"day 0 does not exist", DayWeight(0), 0},
        {"day 31 does not exist", DayWeight(31), 0},
        {"period 子", PeriodWeight(0), 16},
        {"period 巳", PeriodWeight(5), 16},
        {"period 丑", PeriodWeight(1), 6},
        {"period 戌", PeriodWeight(10), 6},
        {"period 亥", PeriodWeight(11), 6},
        {"period -1 does not exist", PeriodWeight(-1), 0},
        {"period 12 does not exist", PeriodWeight(12), 0},
    };
    for (const auto& c : cases) EXPECT_EQ(c.actual, c.expected) << c.what;
}

TEST(WeightTables, EveryYearOfTheCycleMatchesItsRow) {
    // The year weight depends only on the year's place in the sixty-year cycle.
    for (std::uint16_t y = 1900; y <= 2050; ++y) {
        EXPECT_EQ(YearWeight(y), YearWeight(static_cast<std::uint16_t>(y + 60))) << y;
    }
    for (std::size_t row = 0; row < YearWeights.size(); ++row) {
        EXPECT_EQ(YearWeights[row].key, 1941 + static_cast<int>(row));
        EXPECT_EQ(YearWeight(static_cast<std::uint16_t>(1941 + row)), YearWeights[row].weight);
    }
}

TEST(WeightTables, HoursMapToTheirTwoHourPeriods) {
    // Each period covers an odd hour and the even hour after it; 子 covers 23:00 and 0:00.
    for (std::uint16_t hour = 0; hour <= 23; ++hour) {
        EXPECT_EQ(PeriodForHour(hour), (hour + 1) / 2 % 12) << hour;
    }
    EXPECT_EQ(PeriodForHour(23), 0);
    EXPECT_EQ(PeriodForHour(0), 0);
    EXPECT_EQ(PeriodForHour(1), 1);
    EXPECT_EQ(PeriodForHour(2), 1);
    EXPECT_EQ(PeriodForHour(22), 11);
    EXPECT_EQ(PeriodForHour(24), 0);
    EXPECT_EQ(PeriodForHour(65535), 0);
}

TEST(BirthPeriods, LabelsNameTheirHoursAndBranches) {
    for (std::size_t i = 0; i < BirthPeriods.size(); ++i) {
        const int first = (static_cast<int>(i) * 2 + 23) % 24;
        EXPECT_EQ(BirthPeriods[i].firstHour, first) << i;
        EXPECT_EQ(BirthPeriods[i].periodLabel,
                  std::to_string(first) + ":00-" + std::to_string(2 * i) + ":59")
            << i;
        EXPECT_EQ(BirthPeriods[i].periodBranch, EarthlyBranches[i]) << i;
    }
}

TEST(Verses, EachIsTwoLinesOfTwoSevenCharacterPhrases) {
    ASSERT_EQ(Verses.size(), 52u);
    for (std::size_t k = 0; k < Verses.size(); ++k) {
        SCOPED_TRACE(testing::Message() << "verse of " << 21 + k << " qian");
        const bool last = k + 1 == Verses.size();
        for (std::size_t n = 0; n < 2; ++n) {
            const std::wstring line = Widen(Verses[k][n]);
            const bool unclosed = last && n == 1;  // the verse of 72 qian ends without 。
            ASSERT_EQ(line.size(), unclosed ? 15u : 16u);
            EXPECT_EQ(line[7], L'，');
            for (std::size_t i = 0; i < 15; ++i) {
                if (i != 7) {
                    EXPECT_GE(line[i], 0x4e00) << "a Chinese character at " << i;
                }
            }
            if (!unclosed) {
                EXPECT_EQ(line[15], L'。');
            }
        }
    }
}

TEST(Verses, VerseForIsTheWindowsFormOfTheTotals21To72) {
    EXPECT_EQ(VerseFor(41),
              L"此命推来事不同，为人能干异凡庸。\r\n\r\n中年还有逍遥福，不比前年云未通。");
    EXPECT_EQ(VerseFor(21), Widen(Verses[0][0]) + L"\r\n\r\n" + Widen(Verses[0][1]));
    EXPECT_EQ(VerseFor(72), Widen(Verses[51][0]) + L"\r\n\r\n" + Widen(Verses[51][1]));
    for (const std::int32_t outside : {20, 73, 0, -1, INT32_MIN, INT32_MAX}) {
        EXPECT_EQ(VerseFor(outside), L"") << outside;
    }
}

struct KnownReading {
    const char* what;
    std::uint16_t y, m, d;
    int period;
    std::int32_t year, month, day, periodWeight, total;
};

TEST(MakeReading, KnownReadings) {
    const KnownReading cases[] = {
        {"first day of the range", 1901, 1, 1, 0, 7, 9, 9, 16, 41},
        {"last day of lunar 1900", 1901, 2, 18, 0, 7, 5, 6, 16, 34},
        {"lunar new year 1901", 1901, 2, 19, 0, 7, 6, 5, 16, 34},
        {"the lightest reading", 1907, 6, 11, 1, 5, 5, 5, 6, 21},
        {"the heaviest reading", 1918, 4, 28, 0, 19, 18, 18, 16, 71},
        {"first day of a leap month", 2020, 5, 23, 0, 7, 9, 5, 16, 37},
        {"first day of the month before it", 2020, 4, 23, 0, 7, 9, 5, 16, 37},
        {"before Start of Spring", 1990, 1, 30, 0, 9, 6, 15, 16, 46},
        {"last day of the range", 2050, 12, 31, 11, 9, 9, 18, 6, 42},
    };
    for (const KnownReading& c : cases) {
        SCOPED_TRACE(c.what);
        const Reading r = MakeReading(c.y, c.m, c.d, c.period);
        EXPECT_EQ(r.yearWeight, c.year);
        EXPECT_EQ(r.monthWeight, c.month);
        EXPECT_EQ(r.dayWeight, c.day);
        EXPECT_EQ(r.periodWeight, c.periodWeight);
        EXPECT_EQ(r.totalWeight, c.total);
        EXPECT_EQ(r.verse, VerseFor(c.total));
        EXPECT_EQ(r.periodBranch,
                  Widen(BirthPeriods[static_cast<std::size_t>(c.period)].periodBranch));
    }
}

TEST(MakeReading, CopiesTheCalendarRecord) {
    const Reading r = MakeReading(1901, 1, 1, 0);
    EXPECT_EQ(r.lunarYear, 1900);
    EXPECT_EQ(r.lunarMonth, 11);
    EXPECT_EQ(r.lunarDay, 11);
    EXPECT_EQ(r.periodBranch, L"子");
    EXPECT_EQ(r.yearStemBranch, L"庚子");
    EXPECT_EQ(r.monthStemBranch, L"戊子");
    EXPECT_EQ(r.dayStemBranch, L"己卯");

    // The weighed year follows the lunar year; the named year changes at Start of Spring.
    const Reading beforeSpring = MakeReading(1990, 1, 30, 0);
    EXPECT_EQ(beforeSpring.lunarYear, 1990);
    EXPECT_EQ(beforeSpring.yearStemBranch, L"己巳");
}

TEST(MakeReading, DayPastTheMonthsEndReadsAsTheNextDay) {
    for (int period = 0; period < 12; ++period) {
        EXPECT_EQ(MakeReading(2001, 2, 29, period), MakeReading(2001, 3, 1, period)) << period;
    }
}

TEST(MakeReading, PeriodsChangeOnlyThePeriodFields) {
    const Reading zi = MakeReading(1984, 2, 2, 0), si = MakeReading(1984, 2, 2, 5),
                  chou = MakeReading(1984, 2, 2, 1);
    // 子 and 巳 weigh the same, so only the branch differs.
    Reading expected = zi;
    expected.periodBranch = L"巳";
    EXPECT_EQ(si, expected);
    expected.periodBranch = L"丑";
    expected.periodWeight = 6;
    expected.totalWeight = zi.totalWeight - 10;
    expected.verse = VerseFor(expected.totalWeight);
    EXPECT_EQ(chou, expected);
}

TEST(MakeReading, InputOutsideItsRangesGivesAnEmptyReading) {
    const struct {
        std::uint16_t y, m, d;
        int period;
    } cases[] = {
        {1645, 1, 27, 0},  {2101, 1, 1, 0},
        {2000, 0, 1, 0},    {2000, 13, 1, 0},
        {2000, 1, 0, 0},    {2000, 1, 32, 0},
        {2000, 1, 1, -1},   {2000, 1, 1, 12},
        {0, 0, 0, INT_MIN}, {65535, 65535, 65535, INT_MAX},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MakeReading(c.y, c.m, c.d, c.period), Reading{})
            << c.y << "-" << c.m << "-" << c.d << " period " << c.period;
    }
}

// Every date and period of the range: the lunar date is the one a plain walk over the lunar
// tables finds (tests/lunar_walk.h, not the engine's constant-time conversion) but on the days
// the calendars printed at the time differ, and the totals are 21 to 71, every one of them, so
// that every verse but the heaviest is reached.
TEST(MakeReading, EveryDateAndPeriodOfTheRange) {
    std::set<std::int32_t> totals;
    for (std::int32_t offset = FirstDate.DayOffset(); offset <= LastDate.DayOffset();
         offset += test::DayStride) {
        const GregorianDate date = GregorianDate::FromDayOffset(offset);
        const LunarDate printed = CalendarDate::LunarDateAt(offset);
        const bool differs = printed != CalendarDate::LunarDateAt(offset, CalendarRule::Computed);
        const LunarDate walked = differs ? printed : WalkToLunarDate(offset);
        for (int period = 0; period < 12; ++period) {
            const Reading r = MakeReading(date.year, date.month, date.day, period);
            ASSERT_EQ(std::tuple(r.lunarYear, r.lunarMonth, r.lunarDay),
                      std::tuple(walked.year, walked.month, walked.day))
                << IsoDate(date);
            totals.insert(r.totalWeight);
        }
    }
    if (test::DayStride > 1) return;  // a sample need not meet every total
    EXPECT_EQ(totals.size(), 51u);
    EXPECT_EQ(*totals.begin(), 21);
    EXPECT_EQ(*totals.rbegin(), 71);
}

}  // namespace
