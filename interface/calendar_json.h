// The calendar as forms that offer dates in lists need it (the web page, through
// chenggu_months_json and chenggu_date_json).
#pragma once

#include <array>
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

CHENGGU_END_NAMESPACE
