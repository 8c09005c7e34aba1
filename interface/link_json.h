// A link to the web page read as the page reads it: the reading it asks for, or, for a link
// that cannot be read, today's with a message saying why. The page (through the engine) and
// chenggu serve (for the page it sends with the reading in it) read links with this alone.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "chenggu/birth_reading.h"
#include "chenggu/error.h"
#include "chenggu/json.h"
#include "chenggu/script.h"

CHENGGU_BEGIN_NAMESPACE

// The page's parameters: date or lunar, period or time, place, lon, zone, lateZi, yearStart,
// leapMonth, solarTime, script. Others (those chat apps and trackers append) are ignored.
struct LinkReading {
    bool fromLink = false;         // the link held any of the page's parameters
    std::string requestJson;       // the library's request read (or today's)
    Request request;
    std::optional<BirthReading> reading;  // its reading
    std::string time, place, lon, zone;  // the birth time's fields as the link gave them
    std::string message;           // why the link could not be read; empty when it could
    bool today = true;             // the day read is today (no date in the link, or refused)
};

// today: "2026-12-08T14:30", the day and hour to read when the link gives no date or cannot be
// read; script: the one to read in when the link names none.
LinkReading ReadLink(std::string_view link, std::string_view today, Script script);

// The page's own parameters of a link, in its order, as a query without "?" (date=…&period=…):
// the link as the page knows it, without what chat apps and trackers append.
std::string PageQuery(std::string_view link);

// {"link": "?date=1990-01-30&period=子", "today": "2026-12-08T14:30", "script": "simplified",
//  "markup": true, "steps": true} answers {"fromLink": true, "request": {…}, "time": "",
// "place": "", "lon": "", "zone": "", "message": null, "reading": {…}}:
// the reading as ReadJson answers the request (with markup and steps when asked).
std::string LinkJson(std::string_view requestJson);

CHENGGU_END_NAMESPACE
