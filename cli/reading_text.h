// Readings as Simplified Chinese text for a terminal.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "reading/birth_reading.h"

// 子时 … 亥时.
std::string BranchName(int period);
// 正月 … 十月, 冬月, 腊月, with 闰 before a leap month.
std::string LunarMonthName(std::uint16_t month, bool leapMonth);
// 初一 … 初十, 十一 … 二十, 廿一 … 廿九, 三十.
std::string LunarDayName(std::uint16_t day);
// A weight in qian as liang and qian: 41 → 四两一钱, 40 → 四两, 21 → 二两一钱.
std::string WeightText(std::int32_t qian);
// The verse of a total weight in UTF-8, whole and as its lines (without line breaks or the
// blank line between them); empty outside 21-72.
struct VerseText {
    std::string verse;
    std::vector<std::string> lines;
};
const VerseText& VerseTextFor(std::int32_t totalWeight);

// One reading: the date and period, lunar date, stem-branch names, weights, total, verse,
// the conventions it follows and the totals under the others, where they differ.
std::string ReadingText(const BirthQuery& query, const BirthReading& reading);
// The date's lines and a table of all twelve periods, for an unknown birth hour.
std::string PeriodTableText(const BirthQuery& query, const std::array<BirthReading, 12>& readings);
