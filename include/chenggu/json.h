// Readings as JSON, the one answer every face shares: chenggu --json and --batch, the C
// interface, the Python module, the npm package and the web page all write it with these.
//
// A reading is an object with every member of the reading by name: date, period,
// periodLabel, periodHalf ("early", "late" or null), lunarYear, lunarMonth, lunarDay,
// lunarMonthName, lunarDayName, periodBranch, yearStemBranch, monthStemBranch,
// dayStemBranch, the four weights and totalWeight, verse (its lines joined by "\n"),
// leapMonth, weightText, conventions, readingDate, verseLines, leapMonthDate (lunar input
// only), birthTime (with a place or longitude: each step from the clock to the time read by), and
// alternatives: the full readings under each other convention that changes the total, on the other
// side of a near boundary and at the second of a repeated clock time, each with switched (the
// convention's name, "boundary" or "secondOccurrence") and condition (若…) instead of alternatives
// of its own; an alternative has a birthTime only when its own differs, at a second occurrence.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "chenggu/export.h"
#include "chenggu/birth.h"
#include "chenggu/birth_reading.h"
#include "chenggu/conventions.h"
#include "chenggu/error.h"
#include "chenggu/places.h"
#include "chenggu/script.h"

CHENGGU_BEGIN_NAMESPACE

// indent: spaces a level, or -1 for a single line (JSON Lines). No final newline. Every
// Chinese value in the script asked for (member names stay). steps adds birthTime.steps, the
// steps in words (BirthTimeSteps), for faces that show them.
CHENGGU_EXPORT std::string ReadingJson(const BirthReading& reading, int indent = 2,
                        Script script = Script::Simplified, bool steps = false);
// The twelve readings of a day, as an array in period order.
CHENGGU_EXPORT std::string ReadingsJson(const std::array<BirthReading, 12>& readings, int indent = 2,
                         Script script = Script::Simplified);

// A request: the fields of a line of chenggu --batch and the options.
struct Request {
    Birth birth;  // without a period: the twelve readings of the day
    Options options;
    Script script = Script::Simplified;     // of the answer's Chinese texts
    Language language = Language::English;  // of the reason, when the request is refused
    bool steps = false;                     // birthTime.steps in the answer
    // The web page's markup of the reading as the answer's last member, "markup":
    // {"headline": "<p class=\"total\">…", "details": "<dl class=\"dates\">…"}: HTML whose
    // elements carry data-field and data-value, every value escaped (one reading only).
    bool markup = false;
};

// A request from its JSON object:
//   {"date": "1990-01-30", "period": "子", "lunar": false, "lateZi": "same-day",
//    "yearStart": "new-year", "leapMonth": "whole", "script": "simplified", "language": "en"}
// date is required and takes the lunar form 2020-闰4-1 when lunar is true; period may be
// left out or null; the others default to the values shown; script is "simplified" or
// "traditional"; language is "en" or "zh" (Chinese in the request's script).
CHENGGU_EXPORT Result<Request> ParseRequest(std::string_view json);
// The answer to a request as JSON: one reading, or the array of twelve without a period.
CHENGGU_EXPORT Result<std::string> AnswerJson(const Request& request, int indent = -1);
// A request in, its answer out: the reading's JSON, or {"error": "<reason>", "code":
// "<code>"} (ErrorCodeName) for a request that cannot be read or answered. Never fails.
CHENGGU_EXPORT std::string ReadJson(std::string_view requestJson);

// A request {"query": "成都", "limit": 20} answers {"places": [{"name": "成都市", "fullName":
// "四川省成都市", "region": "四川省", "englishName": "", "longitude": 104.0667, "zone":
// "Asia/Shanghai"}, …]}, the places whose names hold the query, best first; or
// {"error": "<reason>", "code": "<code>"}.
CHENGGU_EXPORT std::string SearchPlacesJson(std::string_view requestJson);

CHENGGU_END_NAMESPACE
