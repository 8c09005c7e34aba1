// The traditional names of lunar months and days (UTF-8, Simplified or Traditional
// characters): 正月 … 腊月, 初一 … 三十.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "chenggu/export.h"
#include "chenggu/date.h"
#include "chenggu/script.h"

CHENGGU_BEGIN_NAMESPACE

// 正月 … 十月, 冬月, 腊月, with 闰 before a leap month; "?月" outside 1-12.
CHENGGU_EXPORT std::string_view LunarMonthName(std::uint16_t month, bool leapMonth,
                                Script script = Script::Simplified);
// 初一 … 初十, 十一 … 十九, 二十, 廿一 … 廿九, 三十; "?" outside 1-30.
CHENGGU_EXPORT std::string_view LunarDayName(std::uint16_t day, Script script = Script::Simplified);
// 2020年闰四月初一.
CHENGGU_EXPORT std::string LunarDateName(const LunarDate& date, Script script = Script::Simplified);

CHENGGU_END_NAMESPACE
