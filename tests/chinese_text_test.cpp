// Readings in words: traditional lunar names, liang and qian, verse lines.
#include "chenggu/chinese_text.h"

#include <gtest/gtest.h>

namespace {

using namespace chenggu;

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

TEST(PeriodNames, TheTwelveAndTheHalvesOfZi) {
    const struct {
        Period period;
        const char* name;
        const char* label;
    } cases[] = {{{0}, "子时", "23:00-0:59"},
                 {{0, ZiHalf::Early}, "早子时", "0:00-0:59"},
                 {{0, ZiHalf::Late}, "晚子时", "23:00-23:59"},
                 {{1}, "丑时", "1:00-2:59"},
                 {{11}, "亥时", "21:00-22:59"},
                 {{12}, "?", "?"},
                 {{1, ZiHalf::Late}, "?", "?"}};
    for (const auto& c : cases) {
        EXPECT_EQ(PeriodName(c.period), c.name) << c.period.index;
        EXPECT_EQ(PeriodLabel(c.period), c.label) << c.period.index;
    }
}

TEST(VerseLines, TwoLinesWithoutBreaks) {
    EXPECT_EQ(VerseLines(46)[0], "东西南北尽皆通，出姓移名更觉隆。");
    EXPECT_EQ(VerseLines(46)[1], "衣禄无亏天数定，中年晚景一般同。");
    EXPECT_EQ(VerseLines(72)[1], "天上紫微来照命，统治万民乐太平");
    EXPECT_TRUE(VerseLines(20)[0].empty());
    EXPECT_TRUE(VerseLines(73)[1].empty());
}

}  // namespace
