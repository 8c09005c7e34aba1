// The 24 solar terms (节气) as instants: the Sun's apparent longitude reaching 285° + 15° k for
// the term k of a Gregorian year (小寒 k = 0, 大寒 1, 立春 2, … 冬至 23), from the tables that
// scripts/solar-terms computes with astronomy (generated/solar_terms.h). The even terms are the
// sectional terms (节) that open the stem-branch months (立春 the year); the odd ones the
// principal terms (中气) that name the lunar months.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "chenggu/export.h"

CHENGGU_BEGIN_NAMESPACE

// The terms' names in year order, 小寒 first.
inline constexpr std::array<std::string_view, 24> SolarTermNames{
    "小寒", "大寒", "立春", "雨水", "惊蛰", "春分", "清明", "谷雨", "立夏", "小满", "芒种", "夏至",
    "小暑", "大暑", "立秋", "处暑", "白露", "秋分", "寒露", "霜降", "立冬", "小雪", "大雪", "冬至"};

// The years the instants cover.
inline constexpr int FirstSolarTermYear = 1645;
inline constexpr int LastSolarTermYear = 2101;

// The instant of term k (0-23) of a year, in seconds of UTC since 1901-01-01T00:00Z; nothing
// for a year or term outside the tables (and, in the web page's first engine, built with
// CHENGGU_TERMS_FROM_1900, for a year before 1900: its whole engine has them).
std::optional<std::int64_t> SolarTermInstant(int year, int term);
// The instant of the sectional term (节) of a Gregorian month (1-12): term 2 (month - 1).
std::optional<std::int64_t> SectionalTermInstant(int year, int month);

CHENGGU_END_NAMESPACE
