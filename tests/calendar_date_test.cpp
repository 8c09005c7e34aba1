// The CalendarDate record: lunar members and stem-branch names of known dates, and where
// the year and month names change.
#include "calendar/calendar_date.h"
#include "text/utf8.h"

#include <gtest/gtest.h>

#include <ctime>

namespace {

using namespace chenggu;

struct Expected {
    std::uint16_t y, m, d;
    std::uint16_t lunarYear, lunarMonth, lunarDay;
    const wchar_t* yearName;
    const wchar_t* monthName;
    const wchar_t* dayName;
};

void ExpectRecord(const Expected& e) {
    SCOPED_TRACE(testing::Message() << e.y << "-" << e.m << "-" << e.d);
    const CalendarDate date(e.y, e.m, e.d);
    EXPECT_EQ(date.year, e.y);
    EXPECT_EQ(date.month, e.m);
    EXPECT_EQ(date.day, e.d);
    EXPECT_EQ(date.lunarYear, e.lunarYear);
    EXPECT_EQ(date.lunarMonth, e.lunarMonth);
    EXPECT_EQ(date.lunarDay, e.lunarDay);
    EXPECT_EQ(date.yearStemBranch, e.yearName);
    EXPECT_EQ(date.monthStemBranch, e.monthName);
    EXPECT_EQ(date.dayStemBranch, e.dayName);
}

TEST(CalendarDate, WorkedValues) {
    const Expected cases[] = {
        {1901, 1, 1, 1900, 11, 11, L"庚子", L"戊子", L"己卯"},
        {1901, 1, 6, 1900, 11, 16, L"庚子", L"己丑", L"甲申"},
        {1901, 2, 3, 1900, 12, 15, L"庚子", L"己丑", L"壬子"},
        {1901, 2, 4, 1900, 12, 16, L"辛丑", L"庚寅", L"癸丑"},
        {1901, 2, 19, 1901, 1, 1, L"辛丑", L"庚寅", L"戊辰"},
        {1984, 2, 2, 1984, 1, 1, L"癸亥", L"乙丑", L"丙寅"},
        {1984, 2, 4, 1984, 1, 3, L"甲子", L"丙寅", L"戊辰"},
        {2000, 1, 1, 1999, 11, 25, L"己卯", L"丙子", L"戊午"},
        {2020, 5, 23, 2020, 4, 1, L"庚子", L"辛巳", L"丙寅"},
        {2050, 12, 31, 2050, 11, 18, L"庚午", L"戊子", L"乙酉"},
        {1990, 1, 30, 1990, 1, 4, L"己巳", L"丁丑", L"乙未"},
    };
    for (const Expected& e : cases) ExpectRecord(e);
}

TEST(CalendarDate, YearNameChangesOnStartOfSpringNotOnNewYear) {
    // Names run ahead of the lunar year between Start of Spring and the new year...
    for (std::uint16_t d = 4; d <= 18; ++d) {
        const CalendarDate date(1901, 2, d);
        EXPECT_EQ(date.lunarYear, 1900) << d;
        EXPECT_EQ(date.yearStemBranch, L"辛丑") << d;
    }
    EXPECT_EQ(CalendarDate(1901, 2, 3).yearStemBranch, L"庚子");
    // ...and lag behind it between the new year and Start of Spring.
    EXPECT_EQ(CalendarDate(1984, 2, 3).lunarYear, 1984);
    EXPECT_EQ(CalendarDate(1984, 2, 3).yearStemBranch, L"癸亥");
    EXPECT_EQ(CalendarDate(1984, 2, 4).yearStemBranch, L"甲子");
}

TEST(CalendarDate, JanuaryTakesThePreviousYearsNameAndMarchOnTheNew) {
    for (std::uint16_t y = 1901; y <= 2050; ++y) {
        const std::wstring previous = CalendarDate::StemBranchName(y - 1865);
        const std::wstring current = CalendarDate::StemBranchName(y - 1864);
        EXPECT_EQ(CalendarDate(y, 1, 31).yearStemBranch, previous) << y;
        EXPECT_EQ(CalendarDate(y, 3, 1).yearStemBranch, current) << y;
        EXPECT_EQ(CalendarDate(y, 12, 31).yearStemBranch, current) << y;
    }
}

TEST(CalendarDate, MonthNameChangesOnTheTermDay) {
    const Expected cases[] = {
        {1901, 1, 5, 1900, 11, 15, L"庚子", L"戊子", L"癸未"},
        {1901, 1, 6, 1900, 11, 16, L"庚子", L"己丑", L"甲申"},
        {1902, 1, 5, 1901, 11, 26, L"辛丑", L"庚子", L"戊子"},
        {1902, 1, 6, 1901, 11, 27, L"辛丑", L"辛丑", L"己丑"},
    };
    for (const Expected& e : cases) ExpectRecord(e);
}

TEST(CalendarDate, DayNamesStepAcrossTheYearEnd) {
    EXPECT_EQ(CalendarDate(1901, 12, 31).dayStemBranch, L"癸未");
    EXPECT_EQ(CalendarDate(1902, 1, 1).dayStemBranch, L"甲申");
}

TEST(CalendarDate, LeapMonthDaysCarryThePlainMonthNumber) {
    const CalendarDate regular(2020, 4, 23), leap(2020, 5, 23);
    EXPECT_EQ(regular.lunarMonth, 4);
    EXPECT_EQ(regular.lunarDay, 1);
    EXPECT_EQ(leap.lunarMonth, 4);
    EXPECT_EQ(leap.lunarDay, 1);
}

TEST(CalendarDate, TwentyNinthOfFebruaryInACommonYearReadsAsFirstOfMarch) {
    const CalendarDate overflow(2001, 2, 29), march(2001, 3, 1);
    EXPECT_EQ(overflow.lunarYear, march.lunarYear);
    EXPECT_EQ(overflow.lunarMonth, march.lunarMonth);
    EXPECT_EQ(overflow.lunarDay, march.lunarDay);
    EXPECT_EQ(overflow.yearStemBranch, march.yearStemBranch);
    EXPECT_EQ(overflow.monthStemBranch, march.monthStemBranch);
    EXPECT_EQ(overflow.dayStemBranch, march.dayStemBranch);
    EXPECT_EQ(overflow.day, 29) << "the record keeps the date as passed in";
}

TEST(CalendarDate, ArgumentsKeepTheirLow16Bits) {
    const CalendarDate date(1901 + 65536, 1 + 65536, 1 + 65536);
    EXPECT_EQ(date.year, 1901);
    EXPECT_EQ(date.month, 1);
    EXPECT_EQ(date.day, 1);
    EXPECT_EQ(date.dayStemBranch, L"己卯");
}

TEST(CalendarDate, DefaultIsTodaysLocalDate) {
    const std::time_t now = std::time(nullptr);
    const std::tm local = *std::localtime(&now);
    const CalendarDate today;
    const CalendarDate expected(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    if (today.day != expected.day) GTEST_SKIP() << "midnight passed during the test";
    EXPECT_EQ(today.year, expected.year);
    EXPECT_EQ(today.month, expected.month);
    EXPECT_EQ(today.lunarYear, expected.lunarYear);
    EXPECT_EQ(today.lunarMonth, expected.lunarMonth);
    EXPECT_EQ(today.lunarDay, expected.lunarDay);
    EXPECT_EQ(today.dayStemBranch, expected.dayStemBranch);
    EXPECT_FALSE(today.dayStemBranch.empty()) << "today lies inside 1901-2050";
}

// std::localtime hands every caller one shared buffer: the engine must not write into it
// (nor race another thread for it).
TEST(CalendarDate, TodayLeavesTheSharedLocalTimeBufferAlone) {
    const std::time_t epoch = 0;
    const std::tm* shared = std::localtime(&epoch);
    ASSERT_NE(shared, nullptr);
    const int year = shared->tm_year;
    const CalendarDate today;
    EXPECT_EQ(shared->tm_year, year) << "CalendarDate() went through std::localtime";
    EXPECT_GT(today.year, 1970);
}

TEST(StemBranchName, CycleOfSixty) {
    const struct {
        std::int32_t index;
        const wchar_t* name;
    } cases[] = {{0, L"甲子"},  {1, L"乙丑"},  {10, L"甲戌"},  {59, L"癸亥"},       {60, L"甲子"},
                 {36, L"庚子"}, {-1, L"癸亥"}, {-60, L"甲子"}, {INT32_MIN, L"丙辰"}};
    for (const auto& c : cases) {
        EXPECT_EQ(CalendarDate::StemBranchName(c.index), c.name) << c.index;
        EXPECT_EQ(Widen(StemBranchText(c.index)), c.name) << c.index;
    }
}

TEST(IsoDate, PadsMonthAndDay) {
    EXPECT_EQ(IsoDate({1990, 1, 5}), "1990-01-05");
    EXPECT_EQ(IsoDate({2050, 12, 31}), "2050-12-31");
}

}  // namespace
