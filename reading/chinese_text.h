// Readings in words, as UTF-8: the traditional names of lunar months and days, weights in
// liang and qian, the lines of a verse and the conventions in a phrase. Shared by every
// face, so that the command line and the web page say the same thing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "reading/birth_reading.h"
#include "reading/reading_options.h"

// 正月 … 十月, 冬月, 腊月, with 闰 before a leap month; "?月" outside 1-12.
std::string LunarMonthName(std::uint16_t month, bool leapMonth);
// 初一 … 初十, 十一 … 十九, 二十, 廿一 … 廿九, 三十; "?" outside 1-30.
std::string LunarDayName(std::uint16_t day);
// A weight in qian as liang and qian: 41 → 四两一钱, 40 → 四两, 7 → 七钱.
std::string WeightText(std::int32_t qian);

// The verse of a total weight in UTF-8, whole and as its lines (without line breaks or the
// blank line between them); empty outside 21-72.
struct VerseText {
    std::string verse;
    std::vector<std::string> lines;
};
const VerseText& VerseTextFor(std::int32_t totalWeight);

// Each convention value as a phrase: 晚子时算次日, 年以立春为界, 闰月十六日起按下月.
std::string_view ConventionText(LateZi value);
std::string_view ConventionText(YearStart value);
std::string_view ConventionText(LeapMonthRule value);

// The switch that turns a reading into one of its alternatives, as a condition:
// 若晚子时算次日, or 若生于 23:00 后且晚子时算次日 when a plain 子 is taken as late.
std::string AlternativeName(const BirthReading& from, const BirthReading& alternative);
