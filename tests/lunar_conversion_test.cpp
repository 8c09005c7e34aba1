// Gregorian arithmetic, the table readers and the Gregorian-to-lunar conversion on their
// worked values and boundaries.
#include "calendar/calendar_date.h"

#include <gtest/gtest.h>

#include <map>
#include <tuple>

namespace {

using namespace chenggu;

using CD = CalendarDate;

struct Ymd {
    std::uint16_t y, m, d;
};

LunarDate ToLunar(Ymd date) {
    std::uint16_t ly = 0, lm = 0, ld = 0;
    CD::GregorianToLunar(date.y, date.m, date.d, ly, lm, ld);
    return {ly, lm, ld,
            CD::LunarDateAt(CD::DayDifference(date.y, date.m, date.d, 1901, 1, 1)).leapMonth};
}

TEST(GregorianArithmetic, LeapYears) {
    const struct {
        std::uint16_t year;
        int leap;
    } cases[] = {{1900, 0}, {2100, 0}, {1901, 0}, {1904, 1}, {2000, 1}, {2048, 1}};
    for (const auto& c : cases) EXPECT_EQ(CD::IsGregorianLeapYear(c.year), c.leap) << c.year;
}

TEST(GregorianArithmetic, MonthDays) {
    const struct {
        std::uint16_t y, m, days;
    } cases[] = {
        {1900, 2, 28}, {2000, 2, 29}, {1904, 2, 29},    {2001, 2, 28}, {1901, 12, 31},
        {1901, 1, 31}, {1901, 4, 30}, {1901, 6, 30},    {1901, 9, 30}, {1901, 11, 30},
        {1901, 0, 0},  {1901, 13, 0}, {1901, 65535, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CD::GregorianMonthDays(c.y, c.m), c.days) << c.y << "-" << c.m;
    }
}

TEST(GregorianArithmetic, DayDifference) {
    const struct {
        Ymd a, b;
        std::int32_t days;
    } cases[] = {
        {{1901, 1, 1}, {1900, 1, 1}, 365},   {{1900, 1, 1}, {1901, 1, 1}, -365},
        {{2000, 3, 1}, {2000, 2, 28}, 2},    {{1900, 3, 1}, {1900, 2, 28}, 1},
        {{1901, 1, 1}, {1901, 2, 1}, -31},   {{2050, 12, 31}, {1901, 1, 1}, 54786},
        {{1901, 2, 30}, {1901, 3, 2}, 0},    {{2001, 2, 29}, {2001, 3, 1}, 0},
        {{2000, 1, 1}, {1900, 1, 1}, 36524},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CD::DayDifference(c.a.y, c.a.m, c.a.d, c.b.y, c.b.m, c.b.d), c.days)
            << c.a.y << "-" << c.a.m << "-" << c.a.d << " minus " << c.b.y << "-" << c.b.m << "-"
            << c.b.d;
    }
}

TEST(LunarTableReaders, LeapMonthNibbleFollowsParity) {
    const struct {
        std::uint16_t year, leap;
    } cases[] = {{1901, 0}, {1903, 5}, {1906, 4}, {1984, 10}, {2020, 4}, {2033, 11}, {2050, 3}};
    for (const auto& c : cases) EXPECT_EQ(CD::LunarLeapMonth(c.year), c.leap) << c.year;
}

TEST(LunarTableReaders, MonthDaysPackTheLeapMonthInTheHighHalf) {
    const struct {
        std::uint16_t year, month;
        std::uint32_t packed;
    } cases[] = {
        {2020, 4, 29u << 16 | 30},
        {2020, 5, 30},
        {2050, 3, 30u << 16 | 29},
        {1903, 12, 30},
        {1644, 1, 30},
        {1644, 12, 30},
        {1, 7, 30},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CD::LunarMonthDays(c.year, c.month), c.packed) << c.year << "-" << c.month;
    }
}

// The length of every month the conversion reaches is the number of days it converts into
// that month, and LunarMonthDays agrees.
TEST(LunarTableReaders, MonthLengthsAreTheDaysTheConversionGivesEachMonth) {
    std::map<std::tuple<int, int, bool>, int> counted;
    for (std::int32_t offset = -10; offset <= 54827; ++offset) {  // lunar 1900-11-1 to 2050-12-30
        const LunarDate lunar = CD::LunarDateAt(offset);
        ++counted[{lunar.year, lunar.month, lunar.leapMonth}];
    }
    ASSERT_EQ(counted.size(), 2u + 150 * 12 + 55);
    for (const auto& [month, days] : counted) {
        const auto [year, number, leap] = month;
        const auto y = static_cast<std::uint16_t>(year), m = static_cast<std::uint16_t>(number);
        ASSERT_EQ(CD::LunarMonthLength(y, m, leap), days) << year << "-" << number << " " << leap;
        const std::uint32_t packed = CD::LunarMonthDays(y, m);
        ASSERT_EQ(static_cast<int>(leap ? packed >> 16 : packed & 0xffff), days);
    }
}

TEST(LunarTableReaders, YearDays) {
    const struct {
        std::uint16_t year, days;
    } cases[] = {{1901, 354}, {1903, 383}, {2020, 384}, {2050, 384}};
    for (const auto& c : cases) EXPECT_EQ(CD::LunarYearDays(c.year), c.days) << c.year;
}

TEST(LunarTableReaders, SectionalTermDays) {
    const struct {
        std::uint16_t y, m;
        int day;
    } cases[] = {{1901, 2, 4}, {2017, 2, 3}, {1901, 10, 9}, {2050, 12, 7}, {1901, 1, 6}};
    for (const auto& c : cases) {
        EXPECT_EQ(CD::SectionalTermDay(c.y, c.m), c.day) << c.y << "-" << c.m;
    }
}

TEST(LunarConversion, WorkedDates) {
    const struct {
        const char* what;
        Ymd date;
        LunarDate lunar;
    } cases[] = {
        {"epoch", {1901, 1, 1}, {1900, 11, 11, false}},
        {"last day of lunar 1900-11", {1901, 1, 19}, {1900, 11, 29, false}},
        {"first day of lunar 1900-12", {1901, 1, 20}, {1900, 12, 1, false}},
        {"last day of lunar 1900", {1901, 2, 18}, {1900, 12, 30, false}},
        {"first day of the tables", {1901, 2, 19}, {1901, 1, 1, false}},
        {"2020 month 4", {2020, 4, 23}, {2020, 4, 1, false}},
        {"2020 month 4 ends", {2020, 5, 22}, {2020, 4, 30, false}},
        {"2020 leap month 4", {2020, 5, 23}, {2020, 4, 1, true}},
        {"2020 leap month 4 ends", {2020, 6, 20}, {2020, 4, 29, true}},
        {"2020 month 5", {2020, 6, 21}, {2020, 5, 1, false}},
        {"leap day", {2000, 2, 29}, {2000, 1, 25, false}},
        {"after the leap day", {2000, 3, 1}, {2000, 1, 26, false}},
        {"last day of the tables of the original design", {2050, 12, 31}, {2050, 11, 18, false}},
        {"last day of the range", {2100, 12, 31}, {2100, 12, 1, false}},
        {"a day past the month's end counts on", {1901, 2, 30}, {1901, 1, 12, false}},
        {"1901-03-02", {1901, 3, 2}, {1901, 1, 12, false}},
    };
    for (const auto& c : cases) EXPECT_EQ(ToLunar(c.date), c.lunar) << c.what;
}

TEST(LunarConversion, MonthsOfLunar2020BeginOnTheirNewMoons) {
    const Ymd firstDays[] = {
        {2020, 1, 25},  {2020, 2, 23},  {2020, 3, 24}, {2020, 4, 23}, {2020, 5, 23},
        {2020, 6, 21},  {2020, 7, 21},  {2020, 8, 19}, {2020, 9, 17}, {2020, 10, 17},
        {2020, 11, 15}, {2020, 12, 15}, {2021, 1, 13},
    };
    const std::uint16_t months[] = {1, 2, 3, 4, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    for (std::size_t i = 0; i < std::size(firstDays); ++i) {
        EXPECT_EQ(ToLunar(firstDays[i]), (LunarDate{2020, months[i], 1, i == 4}))
            << firstDays[i].m << "-" << firstDays[i].d;
    }
    EXPECT_EQ(ToLunar({2021, 2, 12}), (LunarDate{2021, 1, 1, false}));
}

TEST(LunarConversion, LunarNewYears) {
    const Ymd newYears[] = {{1901, 2, 19}, {1902, 2, 8},  {1949, 1, 29}, {1984, 2, 2},
                            {2000, 2, 5},  {2033, 1, 31}, {2050, 1, 23}};
    for (const Ymd& date : newYears) {
        EXPECT_EQ(ToLunar(date), (LunarDate{date.y, 1, 1, false})) << date.y;
    }
}

TEST(LunarConversion, OffsetsAtTheEdgesOfTheEpoch) {
    const struct {
        std::int32_t offset;
        LunarDate lunar;
    } cases[] = {
        {0, {1900, 11, 11, false}},  {18, {1900, 11, 29, false}}, {19, {1900, 12, 1, false}},
        {48, {1900, 12, 30, false}}, {49, {1901, 1, 1, false}},   {54786, {2050, 11, 18, false}},
    };
    for (const auto& c : cases) {
        std::uint16_t ly = 1, lm = 1, ld = 1;
        CD::LunarDateFromOffset(ly, lm, ld, c.offset);
        EXPECT_EQ((LunarDate{ly, lm, ld, c.lunar.leapMonth}), c.lunar) << c.offset;
    }
}

}  // namespace
