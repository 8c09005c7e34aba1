// The pieces of chenggu's output and input: traditional lunar names, liang and qian, UTF-8,
// and the date and period forms it accepts.
#include "cli/arguments.h"
#include "cli/reading_text.h"
#include "cli/utf8.h"

#include <gtest/gtest.h>

namespace {

TEST(LunarNames, Months) {
    const struct {
        std::uint16_t month;
        bool leap;
        const char* name;
    } cases[] = {{1, false, "正月"},  {2, false, "二月"},  {4, true, "闰四月"}, {10, false, "十月"},
                 {11, false, "冬月"}, {12, false, "腊月"}, {11, true, "闰冬月"}};
    for (const auto& c : cases) EXPECT_EQ(LunarMonthName(c.month, c.leap), c.name) << c.month;
}

TEST(LunarNames, Days) {
    const struct {
        std::uint16_t day;
        const char* name;
    } cases[] = {{1, "初一"},  {4, "初四"},  {10, "初十"}, {11, "十一"}, {19, "十九"},
                 {20, "二十"}, {21, "廿一"}, {29, "廿九"}, {30, "三十"}};
    for (const auto& c : cases) EXPECT_EQ(LunarDayName(c.day), c.name) << c.day;
}

TEST(WeightText, LiangAndQian) {
    const struct {
        std::int32_t qian;
        const char* text;
    } cases[] = {{41, "四两一钱"}, {40, "四两"}, {21, "二两一钱"}, {71, "七两一钱"},
                 {72, "七两二钱"}, {30, "三两"}, {7, "七钱"}};
    for (const auto& c : cases) EXPECT_EQ(WeightText(c.qian), c.text) << c.qian;
}

TEST(Utf8, EncodesWideText) {
    EXPECT_EQ(Utf8(L""), "");
    EXPECT_EQ(Utf8(L"a-1"), "a-1");
    EXPECT_EQ(Utf8(L"称骨\r\n"), "称骨\r\n");
    EXPECT_EQ(Utf8(std::wstring(1, static_cast<wchar_t>(0xd800))), "\xef\xbf\xbd");
    if constexpr (sizeof(wchar_t) == 2) {
        const wchar_t pair[] = {static_cast<wchar_t>(0xd83d), static_cast<wchar_t>(0xde00), 0};
        EXPECT_EQ(Utf8(pair), "\xf0\x9f\x98\x80");
    }
}

TEST(ParseDate, AcceptsOneOrTwoDigitMonthsAndDays) {
    const struct {
        const char* text;
        GregorianDate date;
    } cases[] = {{"1990-01-30", {1990, 1, 30}},
                 {"1990-1-5", {1990, 1, 5}},
                 {"1901-01-01", {1901, 1, 1}},
                 {"2050-12-31", {2050, 12, 31}},
                 {"2000-02-29", {2000, 2, 29}}};
    for (const auto& c : cases) EXPECT_EQ(ParseDate(c.text), c.date) << c.text;
}

TEST(ParsePeriod, BranchesHalvesOfZiAndClockTimes) {
    constexpr ZiHalf Unsaid = ZiHalf::Unsaid, Early = ZiHalf::Early, Late = ZiHalf::Late;
    const struct {
        const char* text;
        PeriodInput period;
    } cases[] = {{"子", {0, Unsaid}},    {"子时", {0, Unsaid}},  {"早子", {0, Early}},
                 {"早子时", {0, Early}}, {"晚子", {0, Late}},    {"晚子时", {0, Late}},
                 {"丑", {1, Unsaid}},    {"亥时", {11, Unsaid}}, {"23:30", {0, Late}},
                 {"23:00", {0, Late}},   {"0:30", {0, Early}},   {"00:59", {0, Early}},
                 {"1:00", {1, Unsaid}},  {"2:59", {1, Unsaid}},  {"12:00", {6, Unsaid}},
                 {"22:59", {11, Unsaid}}};
    for (const auto& c : cases) EXPECT_EQ(ParsePeriod(c.text), c.period) << c.text;
}

TEST(ParseLunarDate, LeapMonthsByPrefix) {
    const struct {
        const char* text;
        LunarDate date;
    } cases[] = {{"2020-闰4-1", {2020, 4, 1, true}},    {"2020-L04-01", {2020, 4, 1, true}},
                 {"2020-4-1", {2020, 4, 1, false}},     {"2020-04-30", {2020, 4, 30, false}},
                 {"1900-11-11", {1900, 11, 11, false}}, {"2050-11-18", {2050, 11, 18, false}}};
    for (const auto& c : cases) EXPECT_EQ(ParseLunarDate(c.text), c.date) << c.text;
}

TEST(FormatDate, PadsMonthAndDay) {
    EXPECT_EQ(FormatDate({1990, 1, 5}), "1990-01-05");
    EXPECT_EQ(FormatDate({2050, 12, 31}), "2050-12-31");
}

}  // namespace
