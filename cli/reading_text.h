// Readings as Simplified Chinese text for a terminal.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "calendar/calendar_date.h"
#include "cli/arguments.h"
#include "reading/reading.h"

// 正月 … 十月, 冬月, 腊月, with 闰 before a leap month.
std::string LunarMonthName(std::uint16_t month, bool leapMonth);
// 初一 … 初十, 十一 … 二十, 廿一 … 廿九, 三十.
std::string LunarDayName(std::uint16_t day);
// A weight in qian as liang and qian: 41 → 四两一钱, 40 → 四两, 21 → 二两一钱.
std::string WeightText(std::int32_t qian);

// One reading: the date and period, lunar date, stem-branch names, weights, total, verse.
std::string ReadingText(const GregorianDate& date, const LunarDate& lunar, int period,
                        const Reading& reading);
// The date's lines and a table of all twelve periods, for an unknown birth hour.
std::string PeriodTableText(const GregorianDate& date, const LunarDate& lunar,
                            const std::array<Reading, 12>& readings);
