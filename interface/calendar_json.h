// The calendar as forms that offer dates in lists need it (the web page, through
// chenggu_months_json and chenggu_date_json).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "chenggu/script.h"
#include "chenggu/solar_terms.h"

#include "chenggu/export.h"

CHENGGU_BEGIN_NAMESPACE

// A request {"calendar": "gregorian" or "lunar", "year": 2020, "script": …, "language": "en"}
// answers the year's months in calendar order, each with its name, its days and the first and
// last of them inside the range (null when none is):
//   {"calendar": "lunar", "year": 2020, "firstYear": 1900, "lastYear": 2100,
//    "months": [{"month": 4, "leap": true, "name": "闰四月", "days": 29, "firstDay": 1,
//                "lastDay": 29}, …],
//    "dayNames": ["初一", …], "periods": [{"value": "子", "name": "子时",
//                "label": "23:00-0:59"}, {"value": "早子", …}, …]}
// or {"error": …, "code": …}.
std::string MonthsJson(std::string_view requestJson);
// A request {"date": "2020-闰4-1", "lunar": true} answers the day in both calendars:
//   {"date": "2020-05-23", "lunarYear": 2020, "lunarMonth": 4, "lunarDay": 1,
//    "leapMonth": true, "lunarDate": "2020-闰4-1"}, or {"error": …, "code": …}.
std::string DateJson(std::string_view requestJson);

// The 24 solar terms of a year: {"year": 2024, "terms": [{"name": "小寒", "utc":
// "2024-01-06T03:49:29Z", "beijing": "2024-01-06T11:49:29"}, …]}, names in the script asked
// for. indent: spaces a level, or -1 for a single line.
std::string SolarTermsJson(int year, const std::array<SolarTerm, 24>& terms, Script script,
                           int indent = -1);
// A request {"year": 2024, "script": "simplified", "language": "en"} answers the year's terms
// as above, or {"error": …, "code": …}.
std::string TermsJson(std::string_view requestJson);

// The longest range one calendar request covers: ten years.
inline constexpr std::int32_t LongestCalendarRange = 3660;
// A request {"from": "2024-02-01", "to": "2024-02-29", "script": …, "language": "en"} (to
// defaults to from; dates in the forms people write) answers the lunar calendar of the range,
// a day each, by the day's own rule (a day has the month of its sectional term):
//   {"from": "2024-02-01", "to": "2024-02-29", "days": [{"date": "2024-02-01",
//    "lunarYear": 2023, "lunarMonth": 12, "lunarDay": 22, "leapMonth": false,
//    "lunarMonthName": "腊月", "lunarDayName": "廿二", "yearStemBranch": "癸卯",
//    "monthStemBranch": "乙丑", "dayStemBranch": "己亥"}, …]}
// or {"error": …, "code": …}; over LongestCalendarRange days is request-too-large.
std::string CalendarJson(std::string_view requestJson);

CHENGGU_END_NAMESPACE
