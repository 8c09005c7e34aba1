// Readings in words: traditional lunar names, liang and qian, verse lines.
#include "reading/chinese_text.h"

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

TEST(VerseText, LinesWithoutBreaks) {
    EXPECT_EQ(VerseTextFor(46).lines,
              (std::vector<std::string>{"东西南北尽皆通，出姓移名更觉隆。",
                                        "衣禄无亏天数定，中年晚景一般同。"}));
    EXPECT_EQ(VerseTextFor(72).lines.back(), "天上紫微来照命，统治万民乐太平");
    EXPECT_TRUE(VerseTextFor(20).lines.empty());
    EXPECT_TRUE(VerseTextFor(73).verse.empty());
}

}  // namespace
